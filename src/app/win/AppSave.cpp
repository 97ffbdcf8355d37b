#include "app/win/AppWindow.h"

#include "app/AppFlow.h"
#include "platform/System.h"

namespace orx {

bool AppWindow::SaveFile()
{
    if (!document_.IsOpen()) {
        return true;
    }
    saving_ = true;
    busy_ = true;
    saveProgressText_ = Text("status.saving");
    saveThrottle_.Reset();
    RebuildMenu();
    EnableWindow(hexView_.Window(), FALSE);
    RefreshStatus();
    UpdateWindow(statusBar_);
    PumpPendingMessages();

    const bool saved = document_.Save(
        [this](std::uint64_t done, std::uint64_t total) { UpdateSaveProgress(done, total); });

    EnableWindow(hexView_.Window(), TRUE);
    saving_ = false;
    busy_ = false;
    saveProgressText_.clear();
    saveThrottle_.Reset();
    RebuildMenu();
    UpdateTitle();
    RefreshStatus();
    if (!saved) {
        ShowError(SaveFailureMessage(Text("error.save_failed"), document_.LastError()));
    }
    return saved;
}

void AppWindow::UpdateSaveProgress(std::uint64_t done, std::uint64_t total)
{
    saving_ = true;
    const auto percent = NextProgressUpdate(saveThrottle_, done, total, platform::TickCount64());
    if (!percent) {
        return;
    }
    saveProgressText_ = ProgressText(Text("status.saving"), *percent);
    RefreshStatus();
    UpdateWindow(statusBar_);
    PumpPendingMessages();
}

} // namespace orx
