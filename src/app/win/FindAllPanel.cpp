#include "app/win/FindAllPanel.h"

#include "app/win/ModalDialog.h"
#include "platform/win32/WinString.h"
#include "ui/win/Dpi.h"
#include "ui/win/ThemeColors.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

namespace orx::win {
namespace {

constexpr int kCaptionHeight = 30; // 96 DPI
constexpr int kButtonWidth = 88;

} // namespace

FindAllPanel::~FindAllPanel()
{
    Destroy();
}

bool FindAllPanel::Create(HWND parent, Actions actions)
{
    if (window_ != nullptr) {
        return true;
    }
    actions_ = std::move(actions);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!RegisterWindowClass(instance, {.windowColour = false})) {
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, nullptr,
                           instance, this) != nullptr;
}

void FindAllPanel::Destroy()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    list_ = nullptr;
}

void FindAllPanel::OnCreate()
{
    list_ = CreateControl(window_, WC_LISTVIEWW, {},
                          LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP, 0,
                          {0, 0, 0, 0}, kList);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const int dpi = static_cast<int>(WindowDpi(window_));
    const int widths[] = {150, 300, 260};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW item{};
        item.mask = LVCF_WIDTH;
        item.cx = ScaleForDpi(widths[column], static_cast<UINT>(dpi));
        ListView_InsertColumn(list_, column, &item);
    }
    for (const int id : {kStop, kCopyAll, kClose}) {
        CreateControl(window_, L"BUTTON", {}, BS_PUSHBUTTON | WS_TABSTOP, 0, {0, 0, 0, 0}, id);
    }
}

void FindAllPanel::SetTexts(const FindAllPanelTexts& texts)
{
    if (window_ == nullptr) {
        return;
    }
    const std::u16string* headers[] = {&texts.offsetColumn, &texts.bytesColumn, &texts.textColumn};
    for (int column = 0; column < 3; ++column) {
        std::wstring text(W(*headers[column]));
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        item.pszText = text.data();
        ListView_SetColumn(list_, column, &item);
    }
    SetWindowTextW(GetDlgItem(window_, kStop), W(texts.stop));
    SetWindowTextW(GetDlgItem(window_, kCopyAll), W(texts.copyAll));
    SetWindowTextW(GetDlgItem(window_, kClose), W(texts.close));
}

void FindAllPanel::SetCaption(const std::u16string& caption)
{
    if (caption_ == caption) {
        return;
    }
    caption_ = caption;
    if (window_ != nullptr) {
        const RECT strip = CaptionStrip();
        InvalidateRect(window_, &strip, TRUE);
    }
}

RECT FindAllPanel::CaptionStrip() const
{
    RECT strip{};
    GetClientRect(window_, &strip);
    strip.bottom = ScaleForDpi(kCaptionHeight, WindowDpi(window_));
    return strip;
}

void FindAllPanel::SetCount(std::uint64_t count)
{
    if (list_ != nullptr) {
        const auto rows = static_cast<int>(std::min<std::uint64_t>(count, INT_MAX));
        cachedIndex_ = ~0ull;
        ListView_SetItemCountEx(list_, rows, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    }
}

void FindAllPanel::SetRunning(bool running)
{
    if (window_ != nullptr) {
        EnableWindow(GetDlgItem(window_, kStop), running ? TRUE : FALSE);
    }
}

void FindAllPanel::SetTheme(Theme theme)
{
    theme_ = theme;
    if (list_ == nullptr) {
        return;
    }
    const SideWindowPalette palette = SideWindowPaletteFor(theme);
    ListView_SetBkColor(list_, ToColorRef(palette.background));
    ListView_SetTextBkColor(list_, ToColorRef(palette.background));
    ListView_SetTextColor(list_, ToColorRef(palette.text));
    InvalidateRect(window_, nullptr, TRUE);
    InvalidateRect(list_, nullptr, TRUE);
}

void FindAllPanel::RefreshRows()
{
    cachedIndex_ = ~0ull;
    if (list_ != nullptr) {
        InvalidateRect(list_, nullptr, TRUE);
    }
}

int FindAllPanel::Height() const
{
    return window_ == nullptr ? 0 : ScaleForDpi(kHeight, WindowDpi(window_));
}

void FindAllPanel::Layout()
{
    RECT client{};
    GetClientRect(window_, &client);
    const UINT dpi = WindowDpi(window_);
    const int caption = ScaleForDpi(kCaptionHeight, dpi);
    const int button = ScaleForDpi(kButtonWidth, dpi);
    const int gap = ScaleForDpi(4, dpi);
    int right = client.right - gap;
    for (const int id : {kClose, kCopyAll, kStop}) {
        MoveWindow(GetDlgItem(window_, id), right - button, gap, button, caption - 2 * gap, TRUE);
        right -= button + gap;
    }
    MoveWindow(list_, 0, caption, client.right, std::max(0L, client.bottom - caption), TRUE);
}

void FindAllPanel::Paint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window_, &paint);
    const SideWindowPalette palette = SideWindowPaletteFor(theme_);
    RECT strip = CaptionStrip();
    const UINT dpi = WindowDpi(window_);
    FillSolid(dc, strip, ToColorRef(palette.header));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(palette.text));
    const HGDIOBJ font = SelectObject(dc, MessageFont());
    strip.left += ScaleForDpi(8, dpi);
    strip.right -= 3 * ScaleForDpi(kButtonWidth + 4, dpi);
    DrawTextW(dc, W(caption_), -1, &strip,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, font);
    EndPaint(window_, &paint);
}

std::vector<std::uint64_t> FindAllPanel::SelectedRows() const
{
    std::vector<std::uint64_t> rows;
    int index = -1;
    while ((index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) != -1) {
        rows.push_back(static_cast<std::uint64_t>(index));
    }
    return rows;
}

void FindAllPanel::ActivateFocused()
{
    const int index = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    if (index >= 0 && actions_.activate) {
        actions_.activate(static_cast<std::uint64_t>(index));
    }
}

LRESULT FindAllPanel::OnNotify(const NMHDR& header)
{
    if (header.idFrom != kList) {
        return 0;
    }
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
        if ((info.item.mask & LVIF_TEXT) == 0 || !actions_.row) {
            return 0;
        }
        const auto index = static_cast<std::uint64_t>(info.item.iItem);
        if (index != cachedIndex_) {
            cached_ = actions_.row(index);
            cachedIndex_ = index;
        }
        const std::u16string& text = info.item.iSubItem == 0   ? cached_.offset
                                     : info.item.iSubItem == 1 ? cached_.bytes
                                                               : cached_.context;
        // The list copies at most cchTextMax characters, terminator included.
        const auto room = static_cast<std::size_t>(std::max(info.item.cchTextMax, 1));
        const std::size_t count = std::min(text.size(), room - 1);
        std::copy_n(text.data(), count, reinterpret_cast<char16_t*>(info.item.pszText));
        info.item.pszText[count] = L'\0';
        return 0;
    }
    case LVN_ITEMACTIVATE:
    case NM_DBLCLK:
    case NM_RETURN: ActivateFocused(); return 0; // going to a hit twice does no harm
    case LVN_KEYDOWN: {
        const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
        if (key.wVKey == 'C' && (GetKeyState(VK_CONTROL) & 0x8000) != 0 && actions_.copy) {
            const std::vector<std::uint64_t> rows = SelectedRows();
            actions_.copy(rows);
        } else if (key.wVKey == VK_ESCAPE && actions_.stop) {
            actions_.stop();
        }
        return 0;
    }
    default: return 0;
    }
}

LRESULT FindAllPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1; // the caption strip and the list cover everything
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: {
        const auto run = [](const std::function<void()>& action) {
            if (action) {
                action();
            }
        };
        switch (LOWORD(wParam)) {
        case kStop: run(actions_.stop); return 0;
        case kCopyAll: run(actions_.copyAll); return 0;
        case kClose: run(actions_.close); return 0;
        default: break;
        }
        break;
    }
    case WM_DESTROY: list_ = nullptr; return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

} // namespace orx::win
