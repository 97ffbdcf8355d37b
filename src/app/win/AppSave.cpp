#include "app/win/AppWindow.h"

#include "app/AppFlow.h"
#include "platform/System.h"

namespace orx {

bool AppWindow::SaveFile()
{
    if (!document_.IsOpen()) {
        return true;
    }
    // When another program changed the file, nothing is written unless the user says so.
    const std::optional<SaveMode> mode = fileOnDisk_.SaveModeFor(document_.CheckFile());
    if (!mode) {
        return false; // cancelled: the file stays as the other program left it
    }
    saving_ = true;
    saveProgressText_ = Text("status.saving");
    saveThrottle_.Reset();
    SetBusy(true);
    RefreshStatus();
    UpdateWindow(statusBar_);
    PumpPendingMessages();

    const bool saved = document_.Save(
        [this](std::uint64_t done, std::uint64_t total) { UpdateSaveProgress(done, total); },
        *mode);

    saving_ = false;
    saveProgressText_.clear();
    saveThrottle_.Reset();
    SetBusy(false);
    UpdateTitle();
    RefreshStatus();
    if (!saved && document_.RefusedChange() != FileChange::None) {
        return SaveFile(); // changed after the look above: that save wrote nothing; ask now
    }
    if (!saved) {
        ShowError(SaveFailureMessage(Text("error.save_failed"), document_.LastError()));
    }
    return saved;
}

void AppWindow::UpdateSaveProgress(std::uint64_t done, std::uint64_t total)
{
    saving_ = true;
    ShowProgress(saveThrottle_, saveProgressText_, "status.saving", done, total);
}

void AppWindow::SetBusy(bool busy)
{
    busy_ = busy;
    EnableWindow(hexView_.Window(), busy ? FALSE : TRUE);
    // Disabling the view took the keyboard focus away from it; give it back so that typing
    // goes on where it stopped, unless another window (a dialog, another program) is active.
    if (!busy && GetActiveWindow() == window_) {
        SetFocus(hexView_.Window());
    }
    RebuildMenu();
    UpdatePatternCommands();
}

void AppWindow::ShowProgress(ProgressThrottle& throttle, std::u16string& text, std::string_view key,
                             std::uint64_t done, std::uint64_t total)
{
    const auto percent = NextProgressUpdate(throttle, done, total, platform::TickCount64());
    if (!percent) {
        return;
    }
    text = ProgressText(Text(key), *percent);
    RefreshStatus();
    UpdateWindow(statusBar_);
    PumpPendingMessages();
}

} // namespace orx
