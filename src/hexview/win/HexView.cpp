#include "hexview/win/HexView.h"

#include "document/ReadOnlyDocument.h"
#include "hexview/ViewNotifications.h"
#include "hexview/win/DWriteTextMeasurer.h"
#include "hexview/win/FontResolver.h"
#include "hexview/win/WinHandles.h"
#include "platform/win32/WinString.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace orx {
namespace {

using Microsoft::WRL::ComPtr;

D2D1_RECT_F ToD2D(const RectF& rect)
{
    return D2D1::RectF(rect.left, rect.top, rect.right, rect.bottom);
}

D2D1_COLOR_F ToD2D(const ColorF& color)
{
    return D2D1::ColorF(color.r, color.g, color.b, color.a);
}

const wchar_t* Chars(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Colour fonts for emoji; natural measuring so that every glyph sits where the model put
// its cell, whatever the font's own advances.
constexpr D2D1_DRAW_TEXT_OPTIONS kTextOptions = D2D1_DRAW_TEXT_OPTIONS_ENABLE_COLOR_FONT;

struct Brushes {
    ComPtr<ID2D1SolidColorBrush> text;
    ComPtr<ID2D1SolidColorBrush> offset;
    ComPtr<ID2D1SolidColorBrush> selection;
    ComPtr<ID2D1SolidColorBrush> caret;

    bool Create(ID2D1RenderTarget& target, const ThemePalette& palette)
    {
        return SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.text), &text)) &&
               SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.offset), &offset)) &&
               SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.selection), &selection)) &&
               SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.caret), &caret));
    }
};

class ClipScope {
public:
    ClipScope(ID2D1RenderTarget& target, const RectF& clip) : target_(target)
    {
        target_.PushAxisAlignedClip(ToD2D(clip), D2D1_ANTIALIAS_MODE_ALIASED);
    }
    ~ClipScope() { target_.PopAxisAlignedClip(); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    ID2D1RenderTarget& target_;
};

void DrawCaret(ID2D1RenderTarget& target, const PaintCaret& caret, const Brushes& brushes)
{
    switch (caret.style) {
    case CaretStyle::Box:
        for (const RectF& box : {caret.hex, caret.text}) {
            target.FillRectangle(ToD2D(box), brushes.selection.Get());
            target.DrawRectangle(ToD2D(box), brushes.caret.Get(), 1.0f);
        }
        break;
    case CaretStyle::Bar:
        target.FillRectangle(ToD2D(caret.hex), brushes.caret.Get());
        target.FillRectangle(ToD2D(caret.text), brushes.caret.Get());
        break;
    case CaretStyle::None:
        break;
    }
}

void DrawCells(ID2D1RenderTarget& target, IDWriteTextFormat& format, const std::vector<PaintCell>& cells,
               ID2D1Brush& brush)
{
    for (const PaintCell& cell : cells) {
        target.DrawText(Chars(cell.text), static_cast<UINT32>(cell.text.size()), &format, ToD2D(cell.box), &brush,
                        kTextOptions, DWRITE_MEASURING_MODE_NATURAL);
    }
}

void DrawRow(ID2D1RenderTarget& target, IDWriteFactory& factory, IDWriteTextFormat& format, const PaintRow& row,
             const Brushes& brushes)
{
    {
        ClipScope clip(target, row.dataClip);
        for (const RectF& band : row.selection) {
            target.FillRectangle(ToD2D(band), brushes.selection.Get());
        }
        DrawCaret(target, row.caret, brushes);
    }
    {
        ClipScope clip(target, row.offsetClip);
        DrawCells(target, format, row.offsetCells, *brushes.offset.Get());
    }
    {
        ClipScope clip(target, row.dataClip);
        DrawCells(target, format, row.hexCells, *brushes.text.Get());
    }
    ClipScope clip(target, row.glyphClip);
    for (const PaintTextCell& cell : row.textCells) {
        ComPtr<IDWriteTextLayout> layout;
        // A cell whose layout cannot be made is skipped; the rest of the row still shows.
        if (SUCCEEDED(factory.CreateTextLayout(Chars(cell.text), static_cast<UINT32>(cell.text.size()), &format,
                                               cell.maxWidth, cell.maxHeight, &layout))) {
            target.DrawTextLayout(D2D1::Point2F(cell.x, cell.y), layout.Get(), brushes.text.Get(), kTextOptions);
        }
    }
}

} // namespace

HexView::HexView()
{
    model_.SetTextMeasurer([this](const FontSpec& font) -> std::optional<TextMetrics> {
        if (!EnsureFactories()) {
            return std::nullopt;
        }
        return win::MeasureFont(*dwriteFactory_.Get(), font);
    });
}

HexView::~HexView()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void HexView::RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &HexView::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
}

bool HexView::Create(HWND parent, HINSTANCE instance)
{
    CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 100,
                    100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), instance, this);
    return window_ != nullptr;
}

void HexView::SetDocument(const IReadOnlyDocument* document, IEditableDocument* editor)
{
    model_.SetDpi(window_ != nullptr ? GetDpiForWindow(window_) : 96);
    Apply(model_.SetDocument(document, editor));
}

void HexView::Apply(const ViewEffects& effects)
{
    if (effects.dropDeviceResources) {
        DropDeviceResources();
    }
    if (window_ == nullptr) {
        return;
    }
    if (effects.scrollBars) {
        UpdateScrollBars();
    }
    if (effects.captureMouse) {
        SetCapture(window_);
    }
    if (effects.releaseCapture && GetCapture() == window_) {
        ReleaseCapture();
    }
    if (effects.setFocus) {
        SetFocus(window_);
    }
    if (effects.blinkTimer) {
        KillTimer(window_, kBlinkTimerId);
        if (model_.BlinkTimerRuns()) {
            SetTimer(window_, kBlinkTimerId, HexViewModel::BlinkIntervalMs(GetCaretBlinkTime()), nullptr);
        }
    }
    if (effects.copySelection) {
        const ClipboardText copy = model_.SelectionClipboardText();
        if (copy.status == ClipboardText::Status::Ready) {
            CopyToClipboard(copy.text);
        }
    }
    if (effects.repaint) {
        InvalidateRect(window_, nullptr, FALSE);
    }
    if (effects.viewChanged) {
        Notify(kMsgViewChanged, false);
    }
    if (effects.editBlocked) {
        Notify(kMsgEditBlocked, false);
    }
    if (effects.copyRefused) {
        Notify(kMsgCopyRefused, false);
    }
    if (effects.zoomChanged) {
        Notify(kMsgZoomChanged, true);
    }
}

LRESULT HexView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    InputResult input;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel; erasing first would only flicker
    case WM_SIZE:
        Apply(model_.SetClientSize(LOWORD(lParam), HIWORD(lParam)));
        return 0;
    case WM_VSCROLL:
        OnScroll(SB_VERT, wParam);
        return 0;
    case WM_HSCROLL:
        OnScroll(SB_HORZ, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        Apply(model_.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0));
        return 0;
    case WM_DPICHANGED:
        model_.SetDpi(HIWORD(wParam));
        Apply(model_.Relayout());
        return 0;
    case WM_KEYDOWN:
        input = model_.OnKeyDown(static_cast<std::uint32_t>(wParam), GetKeyState(VK_CONTROL) < 0);
        break;
    case WM_CHAR:
        input = model_.OnChar(static_cast<char16_t>(wParam));
        break;
    case WM_LBUTTONDOWN:
        Apply(model_.OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        Apply(model_.OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONUP:
        Apply(model_.OnLButtonUp());
        return 0;
    case WM_CAPTURECHANGED:
        Apply(model_.OnCaptureChanged());
        return 0;
    case WM_SETFOCUS:
        Apply(model_.OnSetFocus());
        return 0;
    case WM_KILLFOCUS:
        Apply(model_.OnKillFocus());
        return 0;
    case WM_TIMER:
        if (wParam == kBlinkTimerId) {
            Apply(model_.OnBlinkTimer());
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    case WM_DESTROY:
        KillTimer(window_, kBlinkTimerId);
        DropDeviceResources();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
    Apply(input.effects);
    return input.handled ? 0 : DefaultProc(message, wParam, lParam);
}

void HexView::OnScroll(int bar, WPARAM wParam)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window_, bar, &info);
    const auto request = static_cast<ScrollRequest>(LOWORD(wParam));
    Apply(bar == SB_VERT ? model_.OnVerticalScroll(request, info.nTrackPos)
                         : model_.OnHorizontalScroll(request, info.nTrackPos));
}

void HexView::UpdateScrollBars()
{
    const auto set = [this](int bar, const ScrollBarInfo& values) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = values.minimum;
        info.nMax = values.maximum;
        info.nPage = values.page;
        info.nPos = values.position;
        SetScrollInfo(window_, bar, &info, TRUE);
    };
    set(SB_VERT, model_.VerticalScrollBar());
    set(SB_HORZ, model_.HorizontalScrollBar());
}

bool HexView::EnsureFactories()
{
    if (!d2dFactory_) {
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, d2dFactory_.GetAddressOf());
    }
    if (!dwriteFactory_) {
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown**>(dwriteFactory_.GetAddressOf()));
    }
    return dwriteFactory_ != nullptr;
}

void HexView::EnsureDeviceResources()
{
    if (!EnsureFactories()) {
        return;
    }
    if (!textFormat_) {
        const FontSpec font = model_.Font();
        textFormat_ = win::CreateResolvedTextFormat(
            *dwriteFactory_.Get(), {win::ToW(font.family), font.sizeDips, font.bold, font.italic});
    }
    if (!target_ && d2dFactory_ && window_ != nullptr) {
        RECT client{};
        GetClientRect(window_, &client);
        const D2D1_SIZE_U size = D2D1::SizeU(static_cast<UINT32>(std::max<LONG>(client.right, 1)),
                                             static_cast<UINT32>(std::max<LONG>(client.bottom, 1)));
        if (SUCCEEDED(d2dFactory_->CreateHwndRenderTarget(
                D2D1::RenderTargetProperties(), D2D1::HwndRenderTargetProperties(window_, size), &target_))) {
            const auto dpi = static_cast<float>(model_.Dpi());
            target_->SetDpi(dpi, dpi);
        }
    }
}

void HexView::DropDeviceResources()
{
    target_.Reset();
    textFormat_.Reset();
}

void HexView::Paint()
{
    {
        win::PaintScope paint(window_);
        EnsureDeviceResources();
        if (!target_ || !textFormat_) {
            return;
        }
        const PaintModel frame = model_.BuildPaintModel();
        Brushes brushes;
        if (!brushes.Create(*target_.Get(), frame.palette)) {
            DropDeviceResources();
            InvalidateRect(window_, nullptr, FALSE);
            return;
        }
        target_->BeginDraw();
        target_->SetTransform(D2D1::Matrix3x2F::Identity());
        target_->Clear(ToD2D(frame.palette.background));
        for (const PaintRow& row : frame.rows) {
            DrawRow(*target_.Get(), *dwriteFactory_.Get(), *textFormat_.Get(), row, brushes);
        }
        // EndDraw must run whatever happened while drawing; a lost device shows up here.
        if (target_->EndDraw() == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
            DropDeviceResources();
            InvalidateRect(window_, nullptr, FALSE);
        }
    }
    if (model_.TakeRepaintOnce()) {
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void HexView::CopyToClipboard(const std::u16string& text) const
{
    if (text.empty()) {
        return;
    }
    win::ClipboardScope clipboard(window_);
    if (!clipboard.IsOpen()) {
        return;
    }
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    win::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return;
    }
    void* locked = GlobalLock(memory.Get());
    if (locked == nullptr) {
        return;
    }
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(memory.Get());
    if (SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr) {
        memory.Release(); // the clipboard owns it now
    }
}

void HexView::Notify(UINT message, bool synchronous) const
{
    HWND parent = GetParent(window_);
    if (parent == nullptr) {
        return;
    }
    if (synchronous) {
        SendMessageW(parent, message, 0, 0);
    } else {
        PostMessageW(parent, message, 0, 0);
    }
}

} // namespace orx
