#include "structview/win/StructViewWindow.h"

#include "platform/win32/WinString.h"
#include "ui/win/ClipboardText.h"
#include "ui/win/ScrollBars.h"
#include "ui/win/ThemeColors.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace orx {
namespace {

constexpr UINT_PTR kEditSubclassId = 1;
constexpr std::array<int, 4> kButtonIds = {svid::kOpenButton, svid::kReloadButton,
                                           svid::kCloseButton, svid::kInfoButton};
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

struct Palette {
    COLORREF text;
    COLORREF caption;
    COLORREF background;
    COLORREF selection;
    COLORREF grid;
};

// The side windows' colours, as GDI takes them.
Palette PaletteFor(Theme theme)
{
    const SideWindowPalette palette = SideWindowPaletteFor(theme);
    return {win::ToColorRef(palette.text), win::ToColorRef(palette.header),
            win::ToColorRef(palette.background), win::ToColorRef(palette.selectedRow),
            win::ToColorRef(palette.grid)};
}

// The subtitle's colour: 28 % of the background and 72 % of the text, channel by channel.
COLORREF Blend(COLORREF background, COLORREF text)
{
    const auto mix = [](int b, int t) { return static_cast<BYTE>((28 * b + 72 * t) / 100); };
    return RGB(mix(GetRValue(background), GetRValue(text)),
               mix(GetGValue(background), GetGValue(text)),
               mix(GetBValue(background), GetBValue(text)));
}

RECT ToRect(const PixelRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void HorizontalLine(HDC dc, int width, int y, COLORREF color)
{
    win::FillSolid(dc, {0, y, width, y + 1}, color);
}

void DrawLabel(HDC dc, const std::u16string& text, RECT rect, UINT extra = 0)
{
    if (rect.right > rect.left) {
        DrawTextW(dc, win::W(text), static_cast<int>(text.size()), &rect, kTextFormat | extra);
    }
}

win::FontHandle MakeFont(int pixels)
{
    return win::FontHandle(CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Segoe UI"));
}

// Sets a control's text only when it differs, so that an edit keeps its selection and
// scroll position across refreshes that change nothing.
void SetTextIfChanged(HWND control, const std::u16string& text)
{
    const int length = GetWindowTextLengthW(control);
    std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, current.data(), length + 1);
    current.resize(static_cast<std::size_t>(length));
    if (win::FromW(current) != text) {
        SetWindowTextW(control, win::W(text));
    }
}

void Place(HWND control, const PixelRect& rect, bool visible)
{
    MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

} // namespace

StructViewWindow::~StructViewWindow()
{
    Destroy();
}

bool StructViewWindow::Create(HWND owner, HINSTANCE instance, StructViewTexts texts, Theme theme)
{
    if (window_ != nullptr) {
        return true;
    }
    if (!RegisterWindowClass(instance, {.style = CS_DBLCLKS})) {
        return false;
    }
    owner_ = owner;
    instance_ = instance;
    theme_ = theme;
    pacing_.Reset();
    model_.SetTexts(std::move(texts));
    const std::wstring title = win::ToW(model_.Texts().title);
    CreateWindowExW(0, kClassName, title.c_str(),
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                        WS_HSCROLL | WS_VSCROLL,
                    CW_USEDEFAULT, CW_USEDEFAULT, windowWidth_, kInitialHeight, owner, nullptr,
                    instance, this);
    return window_ != nullptr;
}

void StructViewWindow::Destroy()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    regularFont_.Reset();
    smallFont_.Reset();
}

void StructViewWindow::SetTexts(StructViewTexts texts)
{
    model_.SetTexts(std::move(texts));
    if (window_ != nullptr) {
        SetWindowTextW(window_, win::W(model_.Texts().title));
        Layout();
    }
}

void StructViewWindow::SetTheme(Theme theme)
{
    theme_ = theme;
    Apply({kSvRepaint});
    for (HWND panel : {infoEdit_, messageEdit_}) {
        if (panel != nullptr) {
            InvalidateRect(panel, nullptr, TRUE); // asks for the new colours
        }
    }
}

void StructViewWindow::SetContent(std::u16string fileName, std::vector<StructViewRow> rows,
                                  std::u16string info)
{
    StructViewEffects effects =
        model_.SetContent(std::move(fileName), std::move(rows), std::move(info));
    // New rows for the same pattern come with every caret move: their repaint is paced.
    if (!effects.Has(kSvLayout) && effects.Has(kSvRepaint)) {
        effects.bits &= ~kSvRepaint;
        if (window_ != nullptr && pacing_.MayPaintNow(window_)) {
            InvalidateRect(window_, nullptr, FALSE);
        }
    }
    Apply(effects);
}

bool StructViewWindow::ShowsCurrentRows() const
{
    return window_ == nullptr ||
           (!pacing_.Waiting() && GetUpdateRect(window_, nullptr, FALSE) == FALSE);
}

void StructViewWindow::SetEmptyMessage(std::u16string text)
{
    Apply(model_.SetEmptyMessage(std::move(text)));
}

void StructViewWindow::ShowError(std::u16string fileName, std::u16string error)
{
    Apply(model_.ShowError(std::move(fileName), std::move(error)));
}

void StructViewWindow::SetOptions(const StructValueOptions& options)
{
    Apply(model_.SetOptions(options));
}

void StructViewWindow::SelectRow(int index)
{
    Apply(model_.SelectRow(index));
}

void StructViewWindow::SetOffer(std::u16string button, std::u16string others)
{
    Apply(model_.SetOffer(std::move(button), std::move(others)));
}

win::MenuHandle StructViewWindow::BuildLibraryMenu() const
{
    win::MenuHandle menu(CreatePopupMenu());
    const auto append = [](HMENU target, const LibraryMenuItem& item) {
        AppendMenuW(target, MF_STRING,
                    static_cast<UINT_PTR>(svid::kLibraryFirst + static_cast<int>(item.pattern)),
                    win::W(item.label));
    };
    for (const LibraryMenuGroup& group : model_.LibraryMenu()) {
        if (group.title.empty()) { // the file's own matches, at the top
            for (const LibraryMenuItem& item : group.items) {
                append(menu.Get(), item);
            }
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        HMENU submenu = CreatePopupMenu();
        for (const LibraryMenuItem& item : group.items) {
            append(submenu, item);
        }
        // The menu owns its submenus from here on.
        AppendMenuW(menu.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), win::W(group.title));
    }
    const StructViewTexts& texts = model_.Texts();
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.Get(), MF_STRING | (model_.AutoApply() ? MF_CHECKED : MF_UNCHECKED),
                svid::kLibraryAutoApply, win::W(texts.libraryAutoApply));
    AppendMenuW(menu.Get(), MF_STRING, svid::kLibraryBrowse, win::W(texts.libraryBrowse));
    return menu;
}

void StructViewWindow::ShowLibraryMenu()
{
    const win::MenuHandle menu = BuildLibraryMenu();
    const PixelRect box = model_.Geometry().buttons[0];
    POINT corner{box.left, box.bottom};
    ClientToScreen(window_, &corner);
    const int command = static_cast<int>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY,
                       corner.x, corner.y, 0, window_, nullptr));
    if (command == svid::kLibraryBrowse) {
        Post(kMsgStructOpenPattern);
    } else if (command == svid::kLibraryAutoApply) {
        Post(kMsgStructAutoApply);
    } else if (const int pattern = StructViewModel::LibraryPatternOfCommand(command);
               pattern >= 0) {
        Post(kMsgStructApplyLibrary, static_cast<WPARAM>(pattern));
    }
}

void StructViewWindow::SetCommandsEnabled(bool enabled)
{
    Apply(model_.SetCommandsEnabled(enabled));
}

void StructViewWindow::Copy() const
{
    (void)win::CopyTextToClipboard(window_, model_.BuildCopyText()); // a busy clipboard: nothing
}

void StructViewWindow::Dock(const RECT& frame, bool visible)
{
    if (window_ == nullptr) {
        return;
    }
    if (visible && !IsZoomed(window_)) {
        SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left,
                     frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    // SW_SHOWNA keeps the window's state: a maximised view stays maximised until the user
    // restores it (SW_SHOWNOACTIVATE would restore it).
    if ((IsWindowVisible(window_) != FALSE) != visible) {
        ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
    }
}

win::MenuHandle StructViewWindow::BuildFormatMenu() const
{
    win::MenuHandle menu(CreatePopupMenu());
    for (const StructFormatMenuGroup& group : model_.FormatMenu()) {
        HMENU submenu = CreatePopupMenu();
        for (const auto& item : group.items) {
            AppendMenuW(submenu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED),
                        static_cast<UINT_PTR>(item.command), win::W(item.label));
        }
        // The menu owns its submenus from here on.
        AppendMenuW(menu.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), win::W(group.title));
    }
    return menu;
}

LRESULT StructViewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: dpi_ = GetDpiForWindow(window_); return DefaultProc(message, wParam, lParam);
    case WM_CREATE: OnCreate(); return 0;
    case WM_DESTROY:
        RemoveWindowSubclass(infoEdit_, &StructViewWindow::EditProc, kEditSubclassId);
        RemoveWindowSubclass(messageEdit_, &StructViewWindow::EditProc, kEditSubclassId);
        buttons_ = {};
        infoEdit_ = nullptr;
        messageEdit_ = nullptr;
        offerButton_ = nullptr;
        return 0;
    case WM_PAINT: pacing_.Paint([this] { Paint(); }); return 0;
    case WM_TIMER:
        if (!pacing_.OnTimer(window_, wParam)) {
            return DefaultProc(message, wParam, lParam);
        }
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND: return 1; // the paint covers every pixel
    case WM_SIZE:
        if (wParam != SIZE_MAXIMIZED && wParam != SIZE_MINIMIZED) {
            RECT frame{};
            GetWindowRect(window_, &frame);
            windowWidth_ =
                std::max<int>(frame.right - frame.left, StructViewModel::kMinimumTrackWidth);
        }
        (void)model_.SetClientSize(LOWORD(lParam), HIWORD(lParam));
        if (inLayout_) {
            layoutAgain_ = true; // a scroll bar came or went while laying out
        } else {
            Layout();
        }
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {StructViewModel::kMinimumTrackWidth,
                                StructViewModel::kMinimumTrackHeight};
        return 0;
    }
    case WM_DPICHANGED:
        dpi_ = HIWORD(wParam) != 0 ? HIWORD(wParam) : USER_DEFAULT_SCREEN_DPI;
        MakeFonts();
        Layout();
        return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, wParam); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, wParam); return 0;
    case WM_MOUSEWHEEL: Apply(model_.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam))); return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window_);
        Apply(model_.OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONDBLCLK:
        SetFocus(window_);
        Apply(model_.OnLButtonDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        Apply(model_.OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONUP: Apply(model_.OnLButtonUp()); return 0;
    case WM_CAPTURECHANGED: Apply(model_.OnCaptureLost()); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT point{};
            GetCursorPos(&point);
            ScreenToClient(window_, &point);
            if (model_.SizingCursorAt(point.x, point.y)) {
                SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
                return TRUE;
            }
        }
        return DefaultProc(message, wParam, lParam);
    case WM_KEYDOWN: {
        const auto result =
            model_.OnKeyDown(static_cast<std::uint32_t>(wParam), GetKeyState(VK_CONTROL) < 0);
        Apply(result.effects);
        return result.handled ? 0 : DefaultProc(message, wParam, lParam);
    }
    case WM_COPY: Copy(); return 0;
    case WM_COMMAND:
        if (const int choice = StructViewModel::FormatChoiceOfCommand(LOWORD(wParam))) {
            Post(kMsgStructValueFormat, static_cast<WPARAM>(choice));
        } else if (HIWORD(wParam) == BN_CLICKED) {
            OnButton(LOWORD(wParam));
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        // The read-only panels in the theme's colours: a white panel in a dark theme glares.
        const Palette colors = PaletteFor(theme_);
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, colors.text);
        SetBkColor(dc, colors.background);
        if (!panelBrush_ || panelBrushColor_ != colors.background) {
            panelBrush_.Reset(CreateSolidBrush(colors.background));
            panelBrushColor_ = colors.background;
        }
        return reinterpret_cast<LRESULT>(panelBrush_.Get());
    }
    case WM_CLOSE: Post(kMsgStructViewClosed); return 0; // the owner destroys the window
    default: return DefaultProc(message, wParam, lParam);
    }
}

void StructViewWindow::OnCreate()
{
    const std::array<int, 4> widths = {90, 128, 80, 70};
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i] = CreateWindowExW(
            0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 10, widths[i], 26, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonIds[i])), instance_, nullptr);
    }
    offerButton_ = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | BS_LEFT, 0, 0, 1, 1, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(svid::kOfferButton)), instance_, nullptr);
    const DWORD editStyle = WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
    infoEdit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", editStyle, 0, 0, 1, 1, window_,
                                nullptr, instance_, nullptr);
    messageEdit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", editStyle, 0, 0, 1, 1, window_,
                                   nullptr, instance_, nullptr);
    for (HWND edit : {infoEdit_, messageEdit_}) {
        SetWindowSubclass(edit, &StructViewWindow::EditProc, kEditSubclassId,
                          reinterpret_cast<DWORD_PTR>(window_));
    }
    MakeFonts();
    RECT client{};
    GetClientRect(window_, &client);
    (void)model_.SetClientSize(client.right, client.bottom);
    Layout();
}

void StructViewWindow::MakeFonts()
{
    win::FontHandle regular = MakeFont(MulDiv(14, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI));
    win::FontHandle reduced = MakeFont(MulDiv(13, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI));
    // The controls take the new font before the old one goes.
    for (HWND control : {infoEdit_, messageEdit_, offerButton_, buttons_[0], buttons_[1],
                         buttons_[2], buttons_[3]}) {
        if (control != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(regular.Get()), FALSE);
        }
    }
    regularFont_ = std::move(regular);
    smallFont_ = std::move(reduced);
}

LRESULT CALLBACK StructViewWindow::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR /*id*/, DWORD_PTR data)
{
    if (message == WM_KEYDOWN && wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_CHAR && wParam == 1) {
        return 0; // Ctrl+A's character: selecting all must not beep
    }
    if (message == WM_KEYDOWN && wParam == VK_F5) {
        // Reload works from the panels too: the key goes on to the view window.
        SendMessageW(reinterpret_cast<HWND>(data), WM_KEYDOWN, wParam, lParam);
        return 0;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void StructViewWindow::Apply(StructViewEffects effects)
{
    if (window_ == nullptr) {
        return;
    }
    if (effects.Has(kSvLayout)) {
        Layout();
    } else if (effects.Has(kSvScrollBars)) {
        UpdateScrollBars();
    }
    if (effects.Has(kSvCapture)) {
        SetCapture(window_);
    }
    if (effects.Has(kSvReleaseCapture) && GetCapture() == window_) {
        ReleaseCapture();
    }
    if (effects.Has(kSvRepaint)) {
        InvalidateRect(window_, nullptr, FALSE);
    }
    if (effects.Has(kSvCopy)) {
        Copy();
    }
    if (effects.Has(kSvReload)) {
        Post(kMsgStructReloadPattern);
    }
    if (effects.Has(kSvSelection)) {
        Post(kMsgStructRowSelected);
    }
    if (effects.Has(kSvGoToRow)) {
        Post(kMsgStructGoToRow);
    }
    if (effects.Has(kSvFormatMenu)) {
        ShowFormatMenu();
    }
}

void StructViewWindow::Layout()
{
    if (window_ == nullptr || inLayout_) {
        return;
    }
    inLayout_ = true;
    // Showing or hiding a scroll bar resizes the client area and lays out again; the
    // sizes settle within a few rounds.
    for (int round = 0; round < 4; ++round) {
        layoutAgain_ = false;
        int infoTextHeight = 0;
        if (!model_.InfoText().empty()) {
            HDC dc = GetDC(window_);
            const HGDIOBJ old = SelectObject(dc, regularFont_.Get());
            RECT measure{0, 0, model_.InfoTextWidth(), 0};
            const std::wstring info = win::ToW(model_.InfoText());
            DrawTextW(dc, info.c_str(), static_cast<int>(info.size()), &measure,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
            SelectObject(dc, old);
            ReleaseDC(window_, dc);
            infoTextHeight = measure.bottom - measure.top;
        }
        (void)model_.SetInfoTextHeight(infoTextHeight);
        const StructViewGeometry g = model_.Geometry();
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            Place(buttons_[i], g.buttons[i], true);
        }
        Place(infoEdit_, g.infoEdit, g.infoEditVisible);
        Place(messageEdit_, g.messageEdit, g.messageEditVisible);
        Place(offerButton_, g.offerButton, g.offerVisible);
        UpdateControls();
        UpdateScrollBars();
        if (!layoutAgain_) {
            break;
        }
    }
    inLayout_ = false;
    InvalidateRect(window_, nullptr, FALSE);
}

void StructViewWindow::UpdateControls()
{
    const StructViewTexts& texts = model_.Texts();
    const std::array<const std::u16string*, 4> captions = {&texts.openButton, &texts.reloadButton,
                                                           &texts.closeButton, &texts.infoButton};
    const std::array<bool, 4> enabled = {model_.OpenEnabled(), model_.ReloadEnabled(),
                                         model_.CloseEnabled(), model_.InfoEnabled()};
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        SetTextIfChanged(buttons_[i], *captions[i]);
        EnableWindow(buttons_[i], enabled[i] ? TRUE : FALSE);
    }
    SetTextIfChanged(infoEdit_, model_.InfoText());
    SetTextIfChanged(messageEdit_, model_.MessagePanelText());
    SetTextIfChanged(offerButton_, model_.OfferText());
    EnableWindow(offerButton_, model_.OpenEnabled() ? TRUE : FALSE);
}

void StructViewWindow::UpdateScrollBars()
{
    win::SetScrollBar(window_, SB_HORZ, model_.HorizontalScrollBar());
    win::SetScrollBar(window_, SB_VERT, model_.VerticalScrollBar());
}

void StructViewWindow::OnScroll(int bar, WPARAM wParam)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window_, bar, &info);
    const auto request = static_cast<StructScrollRequest>(LOWORD(wParam));
    Apply(bar == SB_VERT ? model_.OnVerticalScroll(request, info.nTrackPos)
                         : model_.OnHorizontalScroll(request, info.nTrackPos));
}

void StructViewWindow::OnButton(int id)
{
    switch (id) {
    case svid::kOpenButton:
        if (model_.LibraryMenu().empty()) {
            Post(kMsgStructOpenPattern);
        } else {
            ShowLibraryMenu();
        }
        break;
    case svid::kOfferButton: Post(kMsgStructApplyOffer); break;
    case svid::kReloadButton: Post(kMsgStructReloadPattern); break;
    case svid::kCloseButton: Post(kMsgStructClosePattern); break;
    case svid::kInfoButton: Apply(model_.ToggleInfo()); break;
    default: break;
    }
}

void StructViewWindow::ShowFormatMenu()
{
    const win::MenuHandle menu = BuildFormatMenu();
    const PixelRect box = model_.Geometry().dropDown;
    POINT corner{box.left, box.bottom};
    ClientToScreen(window_, &corner);
    const int command = static_cast<int>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY,
                       corner.x, corner.y, 0, window_, nullptr));
    if (const int choice = StructViewModel::FormatChoiceOfCommand(command)) {
        Post(kMsgStructValueFormat, static_cast<WPARAM>(choice));
    }
}

void StructViewWindow::Post(UINT message, WPARAM wParam) const
{
    if (owner_ != nullptr) {
        PostMessageW(owner_, message, wParam, 0);
    }
}

void StructViewWindow::Paint()
{
    win::PaintScope paint(window_);
    RECT client{};
    GetClientRect(window_, &client);
    const int width = std::max<int>(client.right, 1);
    const int height = std::max<int>(client.bottom, 1);
    HDC screen = paint.Dc();
    HDC dc = CreateCompatibleDC(screen);
    win::UniqueHandle<win::GdiObjectTraits<HBITMAP>> bitmap(
        CreateCompatibleBitmap(screen, width, height));
    if (dc == nullptr || !bitmap) {
        if (dc != nullptr) {
            DeleteDC(dc);
        }
        return;
    }
    const HGDIOBJ oldBitmap = SelectObject(dc, bitmap.Get());
    const HGDIOBJ oldFont = SelectObject(dc, regularFont_.Get());
    SetBkMode(dc, TRANSPARENT);

    const Palette colors = PaletteFor(theme_);
    const StructViewGeometry g = model_.Geometry();
    const StructViewTexts& texts = model_.Texts();
    win::FillSolid(dc, {0, 0, width, height}, colors.background);
    win::FillSolid(dc, {0, 0, width, StructViewModel::kCaptionHeight}, colors.caption);
    HorizontalLine(dc, width, StructViewModel::kCaptionHeight, colors.grid);
    SetTextColor(dc, colors.text);
    DrawLabel(dc, texts.title, ToRect(g.title));
    SelectObject(dc, smallFont_.Get());
    SetTextColor(dc, Blend(colors.background, colors.text));
    DrawLabel(dc, model_.SubtitleText(), ToRect(g.subtitle));
    if (g.infoHeight > 0) {
        win::FillSolid(dc, {0, StructViewModel::kCaptionHeight, width, g.headerTop},
                       colors.caption);
        HorizontalLine(dc, width, g.headerTop, colors.grid);
    }
    if (model_.State() == StructViewState::Table) {
        SelectObject(dc, regularFont_.Get());
        SetTextColor(dc, colors.text);
        win::FillSolid(dc, {0, g.headerTop, width, g.rowsTop}, colors.caption);
        HorizontalLine(dc, width, g.rowsTop, colors.grid);
        const std::array<const std::u16string*, 4> titles = {
            &texts.columnOffset, &texts.columnValue, &texts.columnSize, &texts.columnName};
        for (std::size_t i = 0; i < titles.size(); ++i) {
            RECT cell{g.columns[i].left, g.headerTop, g.columns[i].right, g.rowsTop};
            if (i == 1) {
                cell.right -= 24; // room for the drop-down box
            }
            DrawLabel(dc, *titles[i], cell);
        }
        // The value-format box: white, outlined, with a down-pointing triangle.
        const RECT box = ToRect(g.dropDown);
        win::FillSolid(dc, box, RGB(0x20, 0x20, 0x20));
        win::FillSolid(dc, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
                       RGB(0xFF, 0xFF, 0xFF));
        SelectObject(dc, smallFont_.Get());
        SetTextColor(dc, RGB(0, 0, 0));
        DrawLabel(dc, u"\u25BC", box, DT_CENTER);
        for (std::size_t i = 0; i + 1 < g.dividers.size(); ++i) {
            win::FillSolid(dc, {g.dividers[i], g.headerTop, g.dividers[i] + 1, height},
                           colors.grid);
        }
        SelectObject(dc, regularFont_.Get());
        SetTextColor(dc, colors.text);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, 0, g.rowsTop, width, height);
        const auto [first, last] = model_.VisibleRows();
        for (std::size_t i = first; i < last; ++i) {
            const int top = model_.RowTop(i);
            const int bottom = top + StructViewModel::kRowHeight;
            if (static_cast<int>(i) == model_.SelectedRow()) {
                win::FillSolid(dc, {0, top, width, bottom}, colors.selection);
            }
            HorizontalLine(dc, width, bottom - 1, colors.grid);
            const StructViewRow& row = model_.Rows()[i];
            const std::array<const std::u16string*, 4> cells = {&row.offset, &row.value, &row.size,
                                                                &row.name};
            for (std::size_t c = 0; c < cells.size(); ++c) {
                DrawLabel(dc, *cells[c], {g.columns[c].left, top, g.columns[c].right, bottom});
            }
        }
        RestoreDC(dc, saved);
    }
    BitBlt(screen, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
}

} // namespace orx
