// The change notification: controllers mark what changed, and the main window brings the
// title, the status bar, the menu and the side windows up to date in one place.
#include "app/win/AppWindow.h"

#include "app/StatusText.h"
#include "app/win/MenuBuilder.h"
#include "platform/win32/WinString.h"
#include "ui/WindowMessages.h"

namespace orx {

void AppWindow::Changed(Change what)
{
    if (changes_.Mark(what) && window_ != nullptr) {
        PostMessageW(window_, kMsgFlushChanges, 0, 0);
    }
}

void AppWindow::Flush()
{
    const Change changes = changes_.Take();
    if (changes == Change::None) {
        return;
    }
    if (Any(changes, Change::File)) {
        bookmarks_.FileChanged(); // the regions of the file now open
    }
    const Refreshes refresh = RefreshesFor(changes, startup_.finished);
    if (Any(changes, Change::Busy)) {
        sideWindows_.UpdateCommands();
    }
    if (refresh.sideWindowTheme) {
        statusBar_.SetTheme(settings_.theme);
        sideWindows_.SetTheme(settings_.theme);
    }
    if (refresh.menu) {
        RebuildMenu();
    }
    if (refresh.title) {
        UpdateTitle();
    }
    if (refresh.status) {
        RefreshStatus();
    }
    if (refresh.sideWindowTexts) {
        sideWindows_.RefreshTexts();
    }
    if (refresh.sideWindows) {
        sideWindows_.RequestUpdates();
    }
}

void AppWindow::RefreshNow()
{
    Flush();
    statusBar_.Paint();
}

void AppWindow::RebuildMenu()
{
    if (window_ == nullptr) {
        return;
    }
    const HexViewModel& view = hexView_.Model();
    MenuState state;
    state.busy = Busy();
    state.locked = search_.FindAll().Running();
    state.documentOpen = document_.IsOpen();
    state.editingEnabled = view.EditingEnabled();
    state.encoding = view.Encoding();
    state.theme = view.CurrentTheme();
    state.language = strings_.Language();
    state.inspectorVisible = settings_.inspectorVisible;
    state.structViewVisible = settings_.structViewVisible;
    state.recentFiles = settings_.recentFiles;
    state.bookmarksPanelVisible = bookmarks_.PanelShown();
    win::MenuHandle menu = win::BuildMenuHandle(BuildMenuBar(state, context_.Lookup()));
    SetMenu(window_, menu.Get());
    menuBar_ = std::move(menu); // destroys the previous bar, now detached
    DrawMenuBar(window_);
}

void AppWindow::RefreshStatus()
{
    const HexViewModel& view = hexView_.Model();
    StatusInputs inputs;
    statusBar_.FillIn(inputs);
    busy_.FillIn(inputs);
    inputs.documentOpen = document_.IsOpen();
    inputs.notice = files_.OnDisk().Notice();
    inputs.documentSize = document_.Size();
    inputs.modified = document_.IsModified();
    inputs.caretOffset = view.CaretOffset();
    inputs.hasSelection = view.HasSelection();
    if (inputs.hasSelection) {
        inputs.selectionLow = view.SelectionLow();
        inputs.selectionHigh = view.SelectionHigh();
    }
    inputs.encoding = view.Encoding();
    inputs.editingEnabled = view.EditingEnabled();
    inputs.insertMode = view.Mode() == EditMode::Insert;
    inputs.zoom = view.Zoom();
    inputs.hits = search_.FindAll().StatusText();
    statusBar_.Show(BuildStatusText(inputs, context_.Lookup()));
}

void AppWindow::UpdateTitle()
{
    if (window_ == nullptr) {
        return;
    }
    const std::u16string title =
        BuildTitleText(document_.IsOpen(), document_.Path(), document_.IsModified(),
                       context_.Lookup(), files_.OnDisk().FileDeleted());
    SetWindowTextW(window_, win::W(title));
}

void AppWindow::Flash(std::string_view key)
{
    statusBar_.StartFlash(window_, context_.Text(key));
    Changed(Change::Message);
}

void AppWindow::ShowError(const std::u16string& text)
{
    Flush(); // the box shows over the window as it now is
    environment_.messageBox(window_, text, context_.Text("app.title"), MB_ICONERROR | MB_OK);
}

} // namespace orx
