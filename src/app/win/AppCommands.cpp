#include "app/win/AppWindow.h"

#include "app/AppFlow.h"
#include "app/CommandIds.h"
#include "app/RecentFiles.h"
#include "platform/System.h"

namespace orx {

LRESULT AppWindow::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const Command command = DecodeCommand(LOWORD(wParam), settings_.recentFiles.size());
    if (command.kind == CommandKind::Unknown) {
        return DefaultProc(WM_COMMAND, wParam, lParam);
    }
    if (CommandAllowed(command, busy_, findAll_.Running())) {
        RunCommand(command);
    }
    return 0;
}

void AppWindow::RunCommand(const Command& command)
{
    HexViewModel& view = hexView_.Model();
    switch (command.kind) {
    case CommandKind::Open: ChooseAndOpenFile(); break;
    case CommandKind::Save:
        (void)SaveFile(); // a failure has shown its box
        break;
    case CommandKind::Close: CloseFile(); break;
    case CommandKind::ToggleReadOnly: ToggleReadOnly(); break;
    case CommandKind::SetEncoding: SetEncoding(command.encoding); break;
    case CommandKind::SetTheme: SetTheme(command.theme); break;
    case CommandKind::SetLanguage: SetLanguage(command.language); break;
    case CommandKind::ZoomOut:
        hexView_.Apply(view.ZoomBy(-0.1f));
        RebuildMenu();
        break;
    case CommandKind::ZoomIn:
        hexView_.Apply(view.ZoomBy(0.1f));
        RebuildMenu();
        break;
    case CommandKind::ZoomReset:
        hexView_.Apply(view.ResetZoom());
        RebuildMenu();
        break;
    case CommandKind::ToggleInspector: SetInspectorVisible(!settings_.inspectorVisible); break;
    case CommandKind::ToggleStructView: SetStructViewVisible(!settings_.structViewVisible); break;
    case CommandKind::Exit:
        if (ConfirmSaveChanges()) {
            DestroyWindow(window_);
        }
        break;
    case CommandKind::OpenRecent:
        if (ConfirmSaveChanges()) {
            // A copy: opening reorders the list the entry lives in.
            const std::u16string path = settings_.recentFiles[command.recentIndex];
            (void)OpenFile(path);
        }
        break;
    case CommandKind::Find: FindNext(); break;
    case CommandKind::FindNextAgain: RepeatSearch(SearchDirection::Next); break;
    case CommandKind::FindPreviousAgain: RepeatSearch(SearchDirection::Previous); break;
    case CommandKind::GoTo: GoTo(); break;
    case CommandKind::Font: ShowFontDialog(); break;
    case CommandKind::About: ShowAboutDialog(); break;
    case CommandKind::Checksums: ShowChecksumDialog(); break;
    case CommandKind::Compare:
        if (const auto path = environment_.chooseFile(window_, Text("compare.choose_title"))) {
            if (!compare_.Open(window_, instance_, *path, DockedWindowGroup())) {
                ShowError(Text("error.open_failed"));
            }
        }
        break;
    case CommandKind::NextDifference: compare_.Step(true); break;
    case CommandKind::PreviousDifference: compare_.Step(false); break;
    case CommandKind::Ignored:
    case CommandKind::Unknown: break;
    }
}

bool AppWindow::OpenFile(const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    document_.Close();
    const bool opened = document_.File().Open(path);
    const OpenRefresh refresh = RefreshAfterOpen(opened);
    if (refresh.attachDocument) {
        hexView_.SetDocument(&document_, &document_);
    }
    if (refresh.addRecentFile && AddRecentFile(settings_.recentFiles, path)) {
        StampAndSaveSettings();
    }
    if (refresh.rebuildMenu) {
        RebuildMenu();
    }
    if (refresh.updateTitle) {
        UpdateTitle();
    }
    if (refresh.refreshStatus) {
        RefreshStatus();
    }
    RequestSideWindowUpdates(); // also after a failed open: the old document is gone
    if (refresh.showOpenError) {
        ShowError(Text("error.open_failed"));
    }
    return opened;
}

void AppWindow::ChooseAndOpenFile()
{
    if (!ConfirmSaveChanges()) {
        return;
    }
    if (const auto path = environment_.chooseFile(window_, Text("dialog.open.title"))) {
        (void)OpenFile(*path);
    }
}

void AppWindow::CloseFile()
{
    if (!ConfirmSaveChanges()) {
        return;
    }
    document_.Close();
    hexView_.SetDocument(&document_, &document_);
    RebuildMenu();
    UpdateTitle();
    RefreshStatus();
    RequestSideWindowUpdates();
}

bool AppWindow::ConfirmSaveChanges()
{
    if (!NeedsSaveConfirmation(document_.IsOpen(), document_.IsModified())) {
        return true;
    }
    const int answer = environment_.messageBox(window_, Text("confirm.save_changes"),
                                               Text("app.title"), MB_ICONWARNING | MB_YESNOCANCEL);
    const ConfirmAnswer decoded = answer == IDYES  ? ConfirmAnswer::Yes
                                  : answer == IDNO ? ConfirmAnswer::No
                                                   : ConfirmAnswer::Cancel;
    return ProceedAfterConfirmation(decoded, [this] { return SaveFile(); });
}

bool AppWindow::OpenInNewInstance(const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    const std::u16string executable = platform::ExecutablePath();
    if (environment_.launch(executable, NewInstanceCommandLine(executable, path))) {
        return true;
    }
    ShowError(Text("error.open_new_instance_failed"));
    return false;
}

void AppWindow::ToggleReadOnly()
{
    hexView_.Apply(hexView_.Model().ToggleEditingEnabled()); // repaints and notifies the change
    RebuildMenu();
    RefreshStatus();
}

void AppWindow::SetEncoding(TextEncoding encoding)
{
    hexView_.Apply(hexView_.Model().SetEncoding(encoding));
    findAll_.RefreshTexts(); // the text around each hit
    settings_.encoding = encoding;
    StampAndSaveSettings();
    RebuildMenu();
    RefreshStatus();
}

void AppWindow::SetTheme(Theme theme)
{
    hexView_.Apply(hexView_.Model().SetTheme(theme));
    compare_.SetTheme(theme);
    settings_.theme = theme;
    StampAndSaveSettings();
    SetStatusBarTheme();
    ApplySideWindowTheme();
    findAll_.SetTheme(theme);
    RebuildMenu();
    RefreshStatus();
    RequestStructViewUpdate();
}

void AppWindow::SetLanguage(UiLanguage language)
{
    strings_.SetLanguage(language);
    settings_.language = language;
    StampAndSaveSettings();
    RebuildMenu();
    UpdateTitle();
    RefreshStatus();
    RefreshSideWindowTexts();
    findAll_.RefreshTexts();
}

void AppWindow::SetSideWindowVisible(bool AppSettings::*flag, bool visible)
{
    // Only the stored choice and the menu's check mark; the callers create or destroy the
    // window. Showing a side window that is already on (at start-up) changes neither.
    if (settings_.*flag == visible) {
        return;
    }
    settings_.*flag = visible;
    StampAndSaveSettings();
    if (window_ != nullptr) {
        RebuildMenu();
    }
}

} // namespace orx
