#include "inspector/win/DataInspectorWindow.h"

#include "platform/win32/WinString.h"
#include "ui/win/ClipboardText.h"
#include "ui/win/Dpi.h"
#include "ui/win/GraphicsFactories.h"
#include "ui/win/FontResolver.h"
#include "ui/win/ThemeColors.h"
#include "ui/win/WinHandles.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace orx {
namespace {

// Clipped to their boxes; emoji and other colour glyphs in their colours.
constexpr auto kTextOptions = static_cast<D2D1_DRAW_TEXT_OPTIONS>(
    D2D1_DRAW_TEXT_OPTIONS_CLIP | D2D1_DRAW_TEXT_OPTIONS_ENABLE_COLOR_FONT);

// Height at creation; docking gives it the main window's height at once.
constexpr int kInitialHeight = 640;

constexpr UINT_PTR kEditorSubclassId = 1;
// Posted to itself when the edit box lost the focus (wParam: that box).
constexpr UINT kMsgCloseEditor = WM_USER + 1;

D2D1_COLOR_F ToD2D(const ColorF& color)
{
    return D2D1::ColorF(color.r, color.g, color.b, color.a);
}

D2D1_RECT_F ToD2D(const InspectorBox& box)
{
    return D2D1::RectF(box.left, box.top, box.right, box.bottom);
}

// The frame is docked: only the right edge resizes (the left one would slide over the
// main window, top and bottom follow the main window's height).
LRESULT DockedHitTest(LRESULT hit)
{
    switch (hit) {
    case HTLEFT:
    case HTTOP:
    case HTBOTTOM:
    case HTTOPLEFT:
    case HTBOTTOMLEFT: return HTBORDER;
    case HTTOPRIGHT:
    case HTBOTTOMRIGHT: return HTRIGHT;
    default: return hit;
    }
}

} // namespace

DataInspectorWindow::~DataInspectorWindow()
{
    Destroy();
}

bool DataInspectorWindow::Create(HWND owner, HINSTANCE instance, InspectorTexts texts, Theme theme)
{
    if (window_ != nullptr) {
        return true;
    }
    if (!RegisterWindowClass(instance, {.style = CS_DBLCLKS})) {
        return false;
    }
    owner_ = owner;
    pendingRows_ = {};
    pacing_.Reset();
    texts_ = std::move(texts);
    theme_ = theme;
    table_ = InspectorTable();
    dockedFrame_.reset();
    CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, win::W(texts_.title),
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VSCROLL, CW_USEDEFAULT,
                    CW_USEDEFAULT, Width(), kInitialHeight, owner, nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    dpi_ = win::WindowDpi(window_);
    return true;
}

void DataInspectorWindow::Destroy()
{
    if (window_ != nullptr) {
        DestroyWindow(window_); // WM_DESTROY releases the drawing resources
    }
    dockedFrame_.reset();
}

void DataInspectorWindow::SetTexts(InspectorTexts texts)
{
    texts_ = std::move(texts);
    if (window_ != nullptr) {
        SetWindowTextW(window_, win::W(texts_.title));
    }
    Repaint();
}

void DataInspectorWindow::SetBigEndian(bool bigEndian)
{
    if (table_.BigEndian() != bigEndian) {
        table_.SetBigEndian(bigEndian);
        Repaint();
    }
}

void DataInspectorWindow::SetTheme(Theme theme)
{
    theme_ = theme;
    Repaint();
}

void DataInspectorWindow::SetValues(std::vector<std::u16string> values)
{
    // A caret move changes a few cells; the labels and the rest stay as painted.
    const std::vector<std::size_t> changed = table_.SetValues(std::move(values));
    for (const std::size_t row : changed) {
        pendingRows_[row] = true;
    }
    if (window_ != nullptr && !changed.empty() && pacing_.MayPaintNow(window_)) {
        RepaintPendingCells();
    }
}

bool DataInspectorWindow::ShowsCurrentValues() const
{
    const bool pending =
        std::find(pendingRows_.begin(), pendingRows_.end(), true) != pendingRows_.end();
    return window_ == nullptr || (!pending && GetUpdateRect(window_, nullptr, FALSE) == FALSE);
}

void DataInspectorWindow::Dock(const RECT& frame, bool visible)
{
    if (window_ == nullptr) {
        return;
    }
    const bool moved = !dockedFrame_ || !EqualRect(&*dockedFrame_, &frame);
    if (visible && moved) {
        dockedFrame_ = frame;
        docking_ = true;
        SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left,
                     frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        docking_ = false;
    }
    if ((IsWindowVisible(window_) != FALSE) != visible) {
        ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
    }
}

int DataInspectorWindow::Width() const
{
    return width_ > 0 ? width_ : win::ScaleForDpi(kInspectorDefaultWidth, MonitorDpi());
}

int DataInspectorWindow::MinimumWidth() const
{
    return win::ScaleForDpi(kInspectorMinWidth, MonitorDpi());
}

UINT DataInspectorWindow::MonitorDpi() const
{
    // Before the window exists (placement plans for it at start-up), the system's DPI, at
    // which it will be made.
    return window_ != nullptr ? win::WindowDpi(window_) : GetDpiForSystem();
}

void DataInspectorWindow::Repaint() const
{
    if (window_ != nullptr) {
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void DataInspectorWindow::RepaintPendingCells()
{
    if (window_ == nullptr) {
        return;
    }
    if (std::exchange(paintFailed_, false)) {
        // The last paint drew nothing: the cells around the changed ones are missing too.
        pendingRows_ = {};
        InvalidateRect(window_, nullptr, FALSE);
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    const float width = ToDips(client.right);
    const float scale = static_cast<float>(dpi_) / static_cast<float>(USER_DEFAULT_SCREEN_DPI);
    for (std::size_t row = 0; row < pendingRows_.size(); ++row) {
        if (!std::exchange(pendingRows_[row], false)) {
            continue;
        }
        const InspectorBox cell = table_.ValueCell(row, width);
        const RECT pixels{static_cast<LONG>(std::floor(cell.left * scale)),
                          static_cast<LONG>(std::floor(cell.top * scale)),
                          static_cast<LONG>(std::ceil(cell.right * scale)),
                          static_cast<LONG>(std::ceil(cell.bottom * scale))};
        InvalidateRect(window_, &pixels, FALSE);
    }
}

float DataInspectorWindow::ToDips(int pixels) const
{
    return static_cast<float>(pixels) * static_cast<float>(USER_DEFAULT_SCREEN_DPI) /
           static_cast<float>(dpi_);
}

LRESULT DataInspectorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {MinimumWidth(),
                                win::ScaleForDpi(kInspectorMinHeight, win::WindowDpi(window_))};
        return 0;
    }
    case WM_NCHITTEST: return DockedHitTest(DefaultProc(message, wParam, lParam));
    case WM_WINDOWPOSCHANGING: {
        // Dragged by its caption or resized by the system: it stays docked.
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if (dockedFrame_ && !docking_) {
            if ((position->flags & SWP_NOMOVE) == 0) {
                position->x = dockedFrame_->left;
                position->y = dockedFrame_->top;
            }
            if ((position->flags & SWP_NOSIZE) == 0) {
                position->cy = dockedFrame_->bottom - dockedFrame_->top;
            }
        }
        return DefaultProc(message, wParam, lParam);
    }
    case WM_SIZE: {
        RECT frame{};
        GetWindowRect(window_, &frame);
        width_ = std::max<int>(MinimumWidth(), frame.right - frame.left);
        if (dockedFrame_) {
            dockedFrame_->right = dockedFrame_->left + width_;
        }
        (void)table_.ScrollBy(0, ToDips(HIWORD(lParam)));
        UpdateScrollBar();
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        wheelDelta_ += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = wheelDelta_ / WHEEL_DELTA;
        wheelDelta_ -= notches * WHEEL_DELTA;
        ScrollRows(-3 * notches);
        return 0;
    }
    case WM_VSCROLL: OnVerticalScroll(LOWORD(wParam)); return 0;
    case WM_ERASEBKGND: return 1; // the paint covers every pixel
    case WM_PAINT: pacing_.Paint([this] { Paint(); }); return 0;
    case WM_TIMER:
        if (!pacing_.OnTimer(window_, wParam)) {
            return DefaultProc(message, wParam, lParam);
        }
        RepaintPendingCells();
        return 0;
    case WM_CLOSE:
        // The owner switches the inspector off and destroys the window.
        PostMessageW(owner_, kMsgInspectorClosed, 0, 0);
        return 0;
    case WM_DESTROY:
        CloseEditor();
        ReleaseResources();
        return 0;
    case WM_LBUTTONDOWN:
        CloseEditor();
        SetFocus(window_);
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case kMsgCloseEditor:
        if (reinterpret_cast<HWND>(wParam) == editor_) {
            CloseEditor();
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        RequestEdit();
        return 0;
    case WM_KEYDOWN:
        if ((wParam == 'C' || wParam == VK_INSERT) && GetKeyState(VK_CONTROL) < 0) {
            CopySelectedValue();
            return 0;
        }
        if (wParam == VK_F2 || wParam == VK_RETURN) {
            RequestEdit();
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    case WM_CTLCOLOREDIT: {
        const SideWindowPalette palette = SideWindowPaletteFor(theme_);
        auto* dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, win::ToColorRef(palette.text));
        SetBkColor(dc, win::ToColorRef(palette.selectedRow));
        SetDCBrushColor(dc, win::ToColorRef(palette.selectedRow));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    case WM_COPY: CopySelectedValue(); return 0;
    case WM_DPICHANGED:
        // Its place follows the main window, so the suggested rectangle is not taken.
        dpi_ = HIWORD(wParam) != 0 ? HIWORD(wParam) : USER_DEFAULT_SCREEN_DPI;
        Repaint();
        return 0;
    default: return DefaultProc(message, wParam, lParam);
    }
}

void DataInspectorWindow::OnLButtonDown(int x, int y)
{
    RECT client{};
    GetClientRect(window_, &client);
    if (InspectorTable::HitsByteOrderSwitch(ToDips(x), ToDips(y), ToDips(client.right))) {
        PostMessageW(owner_, kMsgInspectorByteOrder, 0, 0);
        return;
    }
    if (table_.Click(ToDips(x), ToDips(y), ToDips(client.right))) {
        Repaint();
    }
}

void DataInspectorWindow::ScrollRows(int rows)
{
    RECT client{};
    GetClientRect(window_, &client);
    if (table_.ScrollBy(rows, ToDips(client.bottom))) {
        CloseEditor();
        UpdateScrollBar();
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void DataInspectorWindow::OnVerticalScroll(WORD request)
{
    RECT client{};
    GetClientRect(window_, &client);
    const auto page = static_cast<int>(InspectorTable::VisibleRows(ToDips(client.bottom)));
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window_, SB_VERT, &info);
    const int first = static_cast<int>(table_.FirstRow());
    switch (request) {
    case SB_LINEUP: ScrollRows(-1); break;
    case SB_LINEDOWN: ScrollRows(1); break;
    case SB_PAGEUP: ScrollRows(-page); break;
    case SB_PAGEDOWN: ScrollRows(page); break;
    case SB_TOP: ScrollRows(-first); break;
    case SB_BOTTOM: ScrollRows(static_cast<int>(kInspectorRowCount)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollRows(info.nTrackPos - first); break;
    default: break;
    }
}

void DataInspectorWindow::UpdateScrollBar() const
{
    RECT client{};
    GetClientRect(window_, &client);
    // A page as large as every row hides the bar.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = static_cast<int>(kInspectorRowCount) - 1;
    info.nPage = static_cast<UINT>(InspectorTable::VisibleRows(ToDips(client.bottom)));
    info.nPos = static_cast<int>(table_.FirstRow());
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

void DataInspectorWindow::RequestEdit() const
{
    if (table_.SelectedRow() >= 0) {
        SendMessageW(owner_, kMsgInspectorEdit, static_cast<WPARAM>(table_.SelectedRow()), 0);
    }
}

void DataInspectorWindow::OpenEditor(std::size_t row, const std::u16string& text)
{
    CloseEditor();
    RECT client{};
    GetClientRect(window_, &client);
    const InspectorBox cell = table_.ValueCell(row, ToDips(client.right));
    const float scale = static_cast<float>(dpi_) / static_cast<float>(USER_DEFAULT_SCREEN_DPI);
    const auto pixels = [scale](float dips) { return static_cast<int>(std::lround(dips * scale)); };
    editorFont_.Reset(CreateFontW(-pixels(kInspectorFontDips), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI"));
    const int height = pixels(kInspectorFontDips) + pixels(10.0f);
    const int top = pixels((cell.top + cell.bottom) / 2.0f) - height / 2;
    editor_ = CreateWindowExW(0, L"EDIT", win::W(text),
                              WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                              pixels(cell.left + 4.0f), top, pixels(cell.right - cell.left - 8.0f),
                              height, window_, nullptr, nullptr, nullptr);
    if (editor_ == nullptr) {
        return;
    }
    editorRow_ = row;
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(editorFont_.Get()), FALSE);
    SetWindowSubclass(editor_, &DataInspectorWindow::EditorProc, kEditorSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(editor_, EM_SETSEL, 0, -1);
    SetFocus(editor_);
}

void DataInspectorWindow::CloseEditor()
{
    const HWND editor = std::exchange(editor_, nullptr);
    if (editor != nullptr) {
        RemoveWindowSubclass(editor, &DataInspectorWindow::EditorProc, kEditorSubclassId);
        const bool focused = GetFocus() == editor;
        DestroyWindow(editor);
        if (focused && window_ != nullptr) {
            SetFocus(window_);
        }
    }
}

void DataInspectorWindow::CommitEdit()
{
    if (editor_ == nullptr) {
        return;
    }
    std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(editor_)) + 1, L'\0');
    typed.resize(static_cast<std::size_t>(
        GetWindowTextW(editor_, typed.data(), static_cast<int>(typed.size()))));
    const std::u16string text(typed.begin(), typed.end());
    committing_ = true;
    const bool taken =
        SendMessageW(owner_, kMsgInspectorEdit, editorRow_, reinterpret_cast<LPARAM>(&text)) != 0;
    committing_ = false;
    if (taken) {
        CloseEditor();
    } else if (editor_ != nullptr) {
        SetFocus(editor_); // refused: the owner said why; the text stays to be corrected
        SendMessageW(editor_, EM_SETSEL, 0, -1);
    }
}

LRESULT CALLBACK DataInspectorWindow::EditorProc(HWND edit, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<DataInspectorWindow*>(data);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DefSubclassProc(edit, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            self->CommitEdit();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            self->CloseEditor();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == L'\x1B') {
            return 0; // no beep for the keys handled above
        }
        break;
    case WM_KILLFOCUS:
        // The message about a refused value takes the focus while the box stays open; any
        // other loss closes it, after this message (the box is destroyed outside its own).
        if (!self->committing_) {
            PostMessageW(self->window_, kMsgCloseEditor, reinterpret_cast<WPARAM>(edit), 0);
        }
        break;
    default: break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void DataInspectorWindow::CopySelectedValue() const
{
    if (const auto value = table_.SelectedValue()) {
        (void)win::CopyTextToClipboard(window_, *value); // clipboard failures are silent
    }
}

bool DataInspectorWindow::EnsureResources()
{
    if (!d2dFactory_) {
        d2dFactory_ = win::CreateDirect2DFactory();
    }
    if (!dwriteFactory_) {
        dwriteFactory_ = win::CreateDirectWriteFactory();
    }
    if (!textFormat_ && dwriteFactory_) {
        textFormat_ = win::CreateResolvedTextFormat(
            *dwriteFactory_.Get(),
            {L"Segoe UI", kInspectorFontDips, false, false, win::FontRole::Interface});
        if (textFormat_) {
            textFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
            // A value wider than its cell (the 64-bit rows at the docked width) goes on two
            // lines, breaking after " / ": a row is tall enough for two.
            textFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP);
            gridFont_ = win::GridFont::Create(*dwriteFactory_.Get(), *textFormat_.Get());
        }
    }
    if (!target_ && d2dFactory_) {
        // Drawn into the paint DC, as the hex view does: it takes the window's size at each
        // paint, and it shows under Wine, where a window target may not.
        const auto properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        d2dFactory_->CreateDCRenderTarget(&properties, &target_);
    }
    return target_ && textFormat_;
}

void DataInspectorWindow::ReleaseResources()
{
    gridFont_.reset();
    textFormat_.Reset();
    brushes_ = {};
    target_.Reset();
    dwriteFactory_.Reset();
    d2dFactory_.Reset();
}

bool DataInspectorWindow::EnsureBrushes()
{
    if (brushes_[0] && brushTheme_ == theme_) {
        return true;
    }
    const SideWindowPalette palette = SideWindowPaletteFor(theme_);
    const std::array colors = {palette.header, palette.grid, palette.text, palette.selectedRow};
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (FAILED(target_->CreateSolidColorBrush(ToD2D(colors[i]), &brushes_[i]))) {
            brushes_ = {};
            return false;
        }
    }
    brushTheme_ = theme_;
    return true;
}

void DataInspectorWindow::Paint()
{
    win::PaintScope paint(window_);
    // Whatever returns early leaves the update region unpainted and validated.
    paintFailed_ = true;
    if (!EnsureResources()) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    RECT box{};
    if (!IntersectRect(&box, &paint.Area(), &client)) {
        paintFailed_ = false; // nothing to paint
        return;
    }
    const auto dpi = static_cast<float>(dpi_);
    target_->SetDpi(dpi, dpi);
    // The target covers the update box only, so EndDraw copies no more than that.
    if (FAILED(target_->BindDC(paint.Dc(), &box))) {
        target_.Reset(); // made again by the next paint
        brushes_ = {};
        return;
    }
    if (!EnsureBrushes()) {
        return;
    }
    auto& [header, grid, text, selected] = brushes_;
    const InspectorBox area{ToDips(box.left), ToDips(box.top), ToDips(box.right),
                            ToDips(box.bottom)};
    const InspectorFrame frame = table_.Layout(texts_, ToDips(client.right), ToDips(client.bottom));
    target_->BeginDraw();
    // Whole pixels, so that a cell painted alone lands where a full paint puts it.
    target_->SetTransform(D2D1::Matrix3x2F::Translation(-area.left, -area.top));
    target_->Clear(ToD2D(SideWindowPaletteFor(theme_).background));
    target_->FillRectangle(ToD2D(frame.header), header.Get());
    if (frame.selection) {
        target_->FillRectangle(ToD2D(*frame.selection), selected.Get());
    }
    // Lines on whole pixels, not smeared over two.
    target_->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    for (const InspectorBox& line : frame.gridLines) {
        target_->DrawLine({line.left, line.top}, {line.right, line.bottom}, grid.Get(), 1.0f);
    }
    target_->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    DrawTexts(frame.texts, area, *text.Get());
    // EndDraw must run whatever happened while drawing; a lost device shows up here.
    const HRESULT drawn = target_->EndDraw();
    paintFailed_ = FAILED(drawn);
    if (drawn == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        target_.Reset();
        brushes_ = {};
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void DataInspectorWindow::DrawTexts(const std::vector<InspectorText>& texts,
                                    const InspectorBox& area, ID2D1Brush& brush)
{
    // A text layout per cell is what costs under Wine; one glyph run for all cells is cheap.
    // Texts with characters the face lacks still go through a layout and its font fallback.
    std::optional<win::GlyphRunText> run;
    if (gridFont_) {
        run.emplace(*gridFont_);
    }
    for (const InspectorText& item : texts) {
        const InspectorBox& cell = item.box;
        const bool reaches = cell.left < area.right && cell.right > area.left &&
                             cell.top < area.bottom && cell.bottom > area.top;
        if (item.text.empty() || cell.right <= cell.left || !reaches) {
            continue;
        }
        // Centred in its row, as the format's paragraph alignment centres a layout.
        const float top =
            run ? cell.top + (cell.bottom - cell.top - gridFont_->LineHeight()) / 2.0f : 0.0f;
        if (!run || !run->Add(cell.left, top, item.text, cell.right)) {
            const std::wstring wide = win::ToW(item.text);
            target_->DrawText(wide.c_str(), static_cast<UINT32>(wide.size()), textFormat_.Get(),
                              ToD2D(cell), &brush, kTextOptions);
        }
    }
    if (run) {
        run->Flush(*target_.Get(), brush);
    }
}

} // namespace orx
