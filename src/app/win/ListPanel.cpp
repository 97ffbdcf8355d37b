#include "app/win/ListPanel.h"

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

ListPanel::~ListPanel()
{
    Destroy();
}

bool ListPanel::Create(HWND parent, Spec spec, Actions actions)
{
    if (window_ != nullptr) {
        return true;
    }
    spec_ = std::move(spec);
    actions_ = std::move(actions);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!win::RegisterWindowClass(instance, spec_.className, &BaseWindow::WindowProc,
                                  {.windowColour = false})) {
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return CreateWindowExW(WS_EX_CONTROLPARENT, spec_.className, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, nullptr,
                           instance, this) != nullptr;
}

void ListPanel::Destroy()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    list_ = nullptr;
}

void ListPanel::OnCreate()
{
    list_ = CreateControl(window_, WC_LISTVIEWW, {},
                          LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP, 0,
                          {0, 0, 0, 0}, spec_.listId);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const UINT dpi = WindowDpi(window_);
    for (std::size_t column = 0; column < spec_.columnWidths.size(); ++column) {
        LVCOLUMNW item{};
        item.mask = LVCF_WIDTH;
        item.cx = ScaleForDpi(spec_.columnWidths[column], dpi);
        ListView_InsertColumn(list_, static_cast<int>(column), &item);
    }
    for (const int id : spec_.buttonIds) {
        CreateControl(window_, L"BUTTON", {}, BS_PUSHBUTTON | WS_TABSTOP, 0, {0, 0, 0, 0}, id);
    }
}

void ListPanel::SetTexts(std::span<const std::u16string> columns,
                         std::span<const std::u16string> buttons)
{
    if (window_ == nullptr) {
        return;
    }
    for (std::size_t column = 0; column < columns.size(); ++column) {
        std::wstring text(W(columns[column]));
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        item.pszText = text.data();
        ListView_SetColumn(list_, static_cast<int>(column), &item);
    }
    for (std::size_t i = 0; i < buttons.size() && i < spec_.buttonIds.size(); ++i) {
        SetWindowTextW(GetDlgItem(window_, spec_.buttonIds[i]), W(buttons[i]));
    }
}

void ListPanel::SetCaption(const std::u16string& caption)
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

RECT ListPanel::CaptionStrip() const
{
    RECT strip{};
    GetClientRect(window_, &strip);
    strip.bottom = ScaleForDpi(kCaptionHeight, WindowDpi(window_));
    return strip;
}

void ListPanel::SetCount(std::uint64_t count)
{
    if (list_ != nullptr) {
        const auto rows = static_cast<int>(std::min<std::uint64_t>(count, INT_MAX));
        cachedIndex_ = ~0ull;
        ListView_SetItemCountEx(list_, rows, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    }
}

void ListPanel::EnableButton(int id, bool enabled)
{
    if (window_ != nullptr) {
        EnableWindow(GetDlgItem(window_, id), enabled ? TRUE : FALSE);
    }
}

void ListPanel::SetTheme(Theme theme)
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

void ListPanel::RefreshRows()
{
    cachedIndex_ = ~0ull;
    if (list_ != nullptr) {
        InvalidateRect(list_, nullptr, TRUE);
    }
}

int ListPanel::Height() const
{
    return window_ == nullptr ? 0 : ScaleForDpi(spec_.height, WindowDpi(window_));
}

int ListPanel::Place(int width, int bottom)
{
    if (window_ == nullptr) {
        return 0;
    }
    const int height = std::min(Height(), bottom / 2);
    MoveWindow(window_, 0, bottom - height, width, height, TRUE);
    return height;
}

void ListPanel::Layout()
{
    RECT client{};
    GetClientRect(window_, &client);
    const UINT dpi = WindowDpi(window_);
    const int caption = ScaleForDpi(kCaptionHeight, dpi);
    const int button = ScaleForDpi(kButtonWidth, dpi);
    const int gap = ScaleForDpi(4, dpi);
    int right = client.right - gap;
    for (const int id : spec_.buttonIds) {
        MoveWindow(GetDlgItem(window_, id), right - button, gap, button, caption - 2 * gap, TRUE);
        right -= button + gap;
    }
    MoveWindow(list_, 0, caption, client.right, std::max(0L, client.bottom - caption), TRUE);
}

void ListPanel::Paint()
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
    strip.right -= static_cast<LONG>(spec_.buttonIds.size()) * ScaleForDpi(kButtonWidth + 4, dpi);
    DrawTextW(dc, W(caption_), -1, &strip,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, font);
    EndPaint(window_, &paint);
}

std::vector<std::uint64_t> ListPanel::SelectedRows() const
{
    std::vector<std::uint64_t> rows;
    int index = -1;
    while ((index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) != -1) {
        rows.push_back(static_cast<std::uint64_t>(index));
    }
    return rows;
}

void ListPanel::ActivateFocused()
{
    const int index = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    if (index >= 0 && actions_.activate) {
        actions_.activate(static_cast<std::uint64_t>(index));
    }
}

LRESULT ListPanel::OnNotify(const NMHDR& header)
{
    if (header.idFrom != static_cast<UINT_PTR>(spec_.listId)) {
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
        const auto column = static_cast<std::size_t>(std::max(info.item.iSubItem, 0));
        const std::u16string empty;
        const std::u16string& text = column < cached_.size() ? cached_[column] : empty;
        // The list copies at most cchTextMax characters, terminator included.
        const auto room = static_cast<std::size_t>(std::max(info.item.cchTextMax, 1));
        const std::size_t count = std::min(text.size(), room - 1);
        std::copy_n(text.data(), count, reinterpret_cast<char16_t*>(info.item.pszText));
        info.item.pszText[count] = L'\0';
        return 0;
    }
    case LVN_ITEMACTIVATE:
    case NM_DBLCLK:
    case NM_RETURN: ActivateFocused(); return 0; // activating a row twice does no harm
    case LVN_KEYDOWN: {
        const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
        if (key.wVKey == 'C' && (GetKeyState(VK_CONTROL) & 0x8000) != 0 && actions_.copy) {
            const std::vector<std::uint64_t> rows = SelectedRows();
            actions_.copy(rows);
        } else if (key.wVKey == VK_DELETE && actions_.remove) {
            const std::vector<std::uint64_t> rows = SelectedRows();
            actions_.remove(rows);
        } else if (key.wVKey == VK_ESCAPE && actions_.escape) {
            actions_.escape();
        }
        return 0;
    }
    default: return 0;
    }
}

LRESULT ListPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1; // the caption strip and the list cover everything
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (actions_.button && std::find(spec_.buttonIds.begin(), spec_.buttonIds.end(), id) !=
                                   spec_.buttonIds.end()) {
            actions_.button(id);
            return 0;
        }
        break;
    }
    case WM_DESTROY: list_ = nullptr; return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

} // namespace orx::win
