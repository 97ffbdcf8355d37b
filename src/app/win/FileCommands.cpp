#include "app/win/FileCommands.h"

#include "app/AppFlow.h"
#include "app/RecentFiles.h"
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "platform/System.h"
#include "platform/win32/WinString.h"
#include "settings/AppSettings.h"
#include "ui/win/MessagePump.h"

#include <vector>

namespace orx {

void FileCommands::Attach()
{
    onDisk_.Attach({context_.window, &context_.document, &context_.view,
                    context_.environment.messageBox, context_.Lookup(),
                    [this] { context_.events.Changed(Change::File); }});
}

bool FileCommands::Open(const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    EditableDocument& document = context_.document;
    document.Close();
    const bool opened = document.File().Open(path);
    // Also after a failed open: the old document is gone, and everything must show that.
    context_.view.SetDocument(&document, &document);
    context_.events.Changed(Change::File);
    if (opened && AddRecentFile(context_.settings.recentFiles, path)) {
        context_.events.SettingsChanged();
    }
    if (!opened) {
        context_.events.ShowError(context_.Text("error.open_failed"));
    }
    return opened;
}

void FileCommands::ChooseAndOpen()
{
    if (!ConfirmSaveChanges()) {
        return;
    }
    if (const auto path =
            context_.environment.chooseFile(context_.window, context_.Text("dialog.open.title"))) {
        (void)Open(*path);
    }
}

void FileCommands::OpenRecent(std::size_t index)
{
    if (ConfirmSaveChanges()) {
        // A copy: opening reorders the list the entry lives in.
        const std::u16string path = context_.settings.recentFiles[index];
        (void)Open(path);
    }
}

void FileCommands::Close()
{
    if (!ConfirmSaveChanges()) {
        return;
    }
    context_.document.Close();
    context_.view.SetDocument(&context_.document, &context_.document);
    context_.events.Changed(Change::File);
}

bool FileCommands::ConfirmSaveChanges()
{
    const EditableDocument& document = context_.document;
    if (!NeedsSaveConfirmation(document.IsOpen(), document.IsModified())) {
        return true;
    }
    const int answer = context_.environment.messageBox(
        context_.window, context_.Text("confirm.save_changes"), context_.Text("app.title"),
        MB_ICONWARNING | MB_YESNOCANCEL);
    const ConfirmAnswer decoded = answer == IDYES  ? ConfirmAnswer::Yes
                                  : answer == IDNO ? ConfirmAnswer::No
                                                   : ConfirmAnswer::Cancel;
    return ProceedAfterConfirmation(decoded, [this] { return Save(); });
}

bool FileCommands::Save()
{
    EditableDocument& document = context_.document;
    if (!document.IsOpen()) {
        return true;
    }
    // When another program changed the file, nothing is written unless the user says so.
    const std::optional<SaveMode> mode = onDisk_.SaveModeFor(document.CheckFile());
    if (!mode) {
        return false; // cancelled: the file stays as the other program left it
    }
    bool saved = false;
    {
        BusyTask task(busy_, BusyKind::Saving, "status.saving");
        win::PumpPendingMessages();
        saved = document.Save(
            [&task](std::uint64_t done, std::uint64_t total) { task.Progress(done, total); },
            *mode);
    }
    context_.events.Changed(Change::File);
    if (!saved && document.RefusedChange() != FileChange::None) {
        return Save(); // changed after the look above: that save wrote nothing; ask now
    }
    if (!saved) {
        context_.events.ShowError(
            SaveFailureMessage(context_.Text("error.save_failed"), document.LastError()));
    }
    return saved;
}

bool FileCommands::OpenInNewInstance(const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    const std::u16string executable = platform::ExecutablePath();
    if (context_.environment.launch(executable, NewInstanceCommandLine(executable, path))) {
        return true;
    }
    context_.events.ShowError(context_.Text("error.open_new_instance_failed"));
    return false;
}

void FileCommands::OnDrop(HDROP drop)
{
    if (context_.events.DocumentInUse()) {
        // A save or a search is reading the open document: nothing may replace it now.
        DragFinish(drop);
        return;
    }
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    DropRouter router(context_.document.IsOpen());
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::vector<wchar_t> buffer(length + 1, L'\0');
        DragQueryFileW(drop, i, buffer.data(), length + 1);
        const std::u16string path = win::FromW(buffer.data());
        if (router.OpenHere()) {
            router.ReportOpened(Open(path));
        } else {
            (void)OpenInNewInstance(path); // a failure has shown its box
        }
    }
    DragFinish(drop);
}

} // namespace orx
