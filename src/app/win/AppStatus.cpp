#include "app/win/AppWindow.h"

#include "app/StatusText.h"
#include "app/win/MenuBuilder.h"
#include "platform/win32/WinString.h"
#include "ui/win/ThemeColors.h"

#include <commctrl.h>

namespace orx {

void AppWindow::RebuildMenu()
{
    if (window_ == nullptr) {
        return;
    }
    if (menuBar_ && !startup_.finished) {
        startup_.menuOwed = true; // the bar is there; what changed shows after the first rows
        return;
    }
    const HexViewModel& view = hexView_.Model();
    MenuState state;
    state.busy = busy_;
    state.locked = findAll_.Running();
    state.documentOpen = document_.IsOpen();
    state.editingEnabled = view.EditingEnabled();
    state.encoding = view.Encoding();
    state.theme = view.CurrentTheme();
    state.language = strings_.Language();
    state.inspectorVisible = settings_.inspectorVisible;
    state.structViewVisible = settings_.structViewVisible;
    state.recentFiles = settings_.recentFiles;
    win::MenuHandle menu = win::BuildMenuHandle(
        BuildMenuBar(state, [this](std::string_view key) { return Text(key); }));
    SetMenu(window_, menu.Get());
    menuBar_ = std::move(menu); // destroys the previous bar, now detached
    DrawMenuBar(window_);
}

void AppWindow::RefreshStatus()
{
    const HexViewModel& view = hexView_.Model();
    StatusInputs inputs;
    inputs.flashActive = flashActive_;
    inputs.flashText = flashText_;
    inputs.saving = saving_;
    inputs.saveProgressText = saveProgressText_;
    inputs.searching = searching_;
    inputs.searchProgressText = searchProgressText_;
    inputs.documentOpen = document_.IsOpen();
    inputs.notice = fileOnDisk_.Notice();
    inputs.documentSize = document_.Size();
    inputs.modified = document_.IsModified();
    inputs.caretOffset = view.CaretOffset();
    inputs.encoding = view.Encoding();
    inputs.editingEnabled = view.EditingEnabled();
    inputs.insertMode = view.Mode() == EditMode::Insert;
    inputs.zoom = view.Zoom();
    inputs.hits = findAll_.StatusText();
    statusText_ = BuildStatusText(inputs, [this](std::string_view key) { return Text(key); });
    if (statusBar_ != nullptr) {
        // Owner-drawn: the control keeps only the pointer, and WM_DRAWITEM draws statusText_.
        SendMessageW(statusBar_, SB_SETTEXTW, 0 | SBT_OWNERDRAW,
                     reinterpret_cast<LPARAM>(statusText_.c_str()));
    }
}

void AppWindow::UpdateTitle()
{
    if (window_ == nullptr) {
        return;
    }
    const std::u16string title = BuildTitleText(
        document_.IsOpen(), document_.Path(), document_.IsModified(),
        [this](std::string_view key) { return Text(key); }, fileOnDisk_.FileDeleted());
    SetWindowTextW(window_, win::W(title));
}

void AppWindow::SetStatusBarTheme()
{
    if (statusBar_ == nullptr) {
        return;
    }
    const StatusBarColors colors = StatusBarColorsFor(hexView_.Model().CurrentTheme(), false);
    SendMessageW(statusBar_, SB_SETBKCOLOR, 0,
                 static_cast<LPARAM>(colors.background.value_or(CLR_DEFAULT)));
    InvalidateRect(statusBar_, nullptr, TRUE);
    UpdateWindow(statusBar_);
}

void AppWindow::DrawStatusBar(const DRAWITEMSTRUCT& item) const
{
    const StatusBarColors colors =
        StatusBarColorsFor(hexView_.Model().CurrentTheme(), flashActive_);
    const COLORREF background = colors.background.value_or(GetSysColor(COLOR_BTNFACE));
    RECT area = item.rcItem;
    win::FillSolid(item.hDC, area, background);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, colors.text);
    area.left += 6;
    DrawTextW(item.hDC, win::W(statusText_), -1, &area,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void AppWindow::FlashMessage(std::string_view key)
{
    flashActive_ = true;
    flashText_ = Text(key);
    KillTimer(window_, kFlashTimerId);
    SetTimer(window_, kFlashTimerId, kFlashMilliseconds, nullptr);
    MessageBeep(MB_ICONEXCLAMATION);
    RefreshStatus();
}

void AppWindow::ShowError(const std::u16string& text)
{
    environment_.messageBox(window_, text, Text("app.title"), MB_ICONERROR | MB_OK);
}

} // namespace orx
