#include "app/win/StatusBar.h"

#include "platform/win32/WinString.h"
#include "ui/win/ThemeColors.h"

#include <commctrl.h>

namespace orx {

void StatusBar::Create(HWND parent, HINSTANCE instance, Theme theme)
{
    // The common controls are loaded here, at their first use (see src/CMakeLists.txt).
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_LINK_CLASS;
    InitCommonControlsEx(&controls);
    bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                           0, 0, 0, parent, nullptr, instance, nullptr);
    if (bar_ != nullptr) {
        int rightEdges[] = {-1}; // one part over the whole width
        SendMessageW(bar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(rightEdges));
    }
    SetTheme(theme);
}

void StatusBar::Destroy(HWND parent)
{
    KillTimer(parent, kTimerStatusFlash);
}

int StatusBar::Dock() const
{
    if (bar_ == nullptr) {
        return 0;
    }
    SendMessageW(bar_, WM_SIZE, 0, 0); // it docks itself to the bottom
    RECT status{};
    GetWindowRect(bar_, &status);
    return status.bottom - status.top;
}

void StatusBar::Show(std::u16string text)
{
    text_ = std::move(text);
    if (bar_ != nullptr) {
        // Owner-drawn: the control keeps only the pointer, and WM_DRAWITEM draws text_.
        SendMessageW(bar_, SB_SETTEXTW, 0 | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(text_.c_str()));
    }
}

void StatusBar::SetTheme(Theme theme)
{
    theme_ = theme;
    if (bar_ == nullptr) {
        return;
    }
    const StatusBarColors colors = StatusBarColorsFor(theme, false);
    SendMessageW(bar_, SB_SETBKCOLOR, 0,
                 static_cast<LPARAM>(colors.background.value_or(CLR_DEFAULT)));
    InvalidateRect(bar_, nullptr, TRUE);
    UpdateWindow(bar_);
}

bool StatusBar::Draw(const DRAWITEMSTRUCT& item) const
{
    if (bar_ == nullptr || item.hwndItem != bar_) {
        return false;
    }
    const StatusBarColors colors = StatusBarColorsFor(theme_, flashActive_);
    const COLORREF background = colors.background.value_or(GetSysColor(COLOR_BTNFACE));
    RECT area = item.rcItem;
    win::FillSolid(item.hDC, area, background);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, colors.text);
    area.left += 6;
    DrawTextW(item.hDC, win::W(text_), -1, &area,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    return true;
}

void StatusBar::Paint() const
{
    UpdateWindow(bar_);
}

void StatusBar::StartFlash(HWND parent, std::u16string text)
{
    flashActive_ = true;
    flashText_ = std::move(text);
    KillTimer(parent, kTimerStatusFlash);
    SetTimer(parent, kTimerStatusFlash, kFlashMilliseconds, nullptr);
    MessageBeep(MB_ICONEXCLAMATION);
}

bool StatusBar::OnTimer(HWND parent, UINT_PTR id)
{
    if (id != kTimerStatusFlash) {
        return false;
    }
    KillTimer(parent, kTimerStatusFlash);
    flashActive_ = false;
    flashText_.clear();
    return true;
}

void StatusBar::FillIn(StatusInputs& inputs) const
{
    inputs.flashActive = flashActive_;
    inputs.flashText = flashText_;
}

} // namespace orx
