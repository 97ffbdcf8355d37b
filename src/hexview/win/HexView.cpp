#include "hexview/win/HexView.h"

#include "ui/TimerIds.h"
#include "ui/WindowMessages.h"
#include "hexview/win/DWriteTextMeasurer.h"
#include "hexview/win/GdiFirstFrame.h"
#include "ui/win/StartupClock.h"
#include "ui/win/ThemeColors.h"
#include "ui/win/WinHandles.h"
#include "hexview/win/HexPainter.h"
#include "platform/win32/WinString.h"
#include "ui/win/ClipboardText.h"
#include "ui/win/Dpi.h"
#include "ui/win/GraphicsFactories.h"
#include "ui/win/FontResolver.h"
#include "ui/win/ScrollBars.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <utility>
#include <cmath>

namespace orx {

HexView::HexView()
{
    model_.SetTextMeasurer([this](const FontSpec& font) -> std::optional<TextMetrics> {
        if (!EnsureFactories()) {
            return std::nullopt;
        }
        auto metrics = win::MeasureFont(*dwriteFactory_.Get(), font);
        win::MarkStartup(trace_, "hex view: font measured");
        return metrics;
    });
}

HexView::~HexView()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool HexView::Create(HWND parent, HINSTANCE instance)
{
    CreateWindowExW(
        0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 100,
        100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), instance, this);
    return window_ != nullptr;
}

void HexView::SetDocument(const IReadOnlyDocument* document, IEditableDocument* editor)
{
    model_.SetDpi(win::WindowDpi(window_));
    Apply(model_.SetDocument(document, editor));
}

void HexView::Apply(const ViewEffects& effects)
{
    if (effects.dropDeviceResources) {
        DropTextResources();
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
        KillTimer(window_, kTimerCaretBlink);
        if (model_.BlinkTimerRuns()) {
            SetTimer(window_, kTimerCaretBlink, HexViewModel::BlinkIntervalMs(GetCaretBlinkTime()),
                     nullptr);
        }
    }
    if (effects.copySelection) {
        const ClipboardText copy = model_.SelectionClipboardText();
        if (copy.status == ClipboardText::Status::Ready) {
            CopyToClipboard(copy.text);
        }
    }
    // Asked after every operation, flagged or not: the plan compares what is on screen
    // with what the view shows now, so nothing changed means nothing painted.
    Invalidate(model_.TakeRepaintPlan());
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
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND:
        // The paint covers every pixel, and erasing before it would only flicker. Until the
        // first paint has drawn (Direct2D takes a while to start) the theme's background
        // stands in, never the system's white.
        if (!painted_) {
            RECT client{};
            GetClientRect(window_, &client);
            win::FillSolid(reinterpret_cast<HDC>(wParam), client,
                           win::ToColorRef(HexViewPalette(model_.CurrentTheme()).background));
        }
        return 1;
    case WM_SIZE: Apply(model_.SetClientSize(LOWORD(lParam), HIWORD(lParam))); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, wParam); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, wParam); return 0;
    case WM_MOUSEWHEEL:
        Apply(model_.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam),
                                  (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0));
        return 0;
    case WM_DPICHANGED:
        model_.SetDpi(HIWORD(wParam));
        Apply(model_.Relayout());
        return 0;
    case WM_KEYDOWN:
        input = model_.OnKeyDown(static_cast<std::uint32_t>(wParam), GetKeyState(VK_CONTROL) < 0);
        break;
    case WM_CHAR: input = model_.OnChar(static_cast<char16_t>(wParam)); break;
    case WM_LBUTTONDOWN:
        Apply(model_.OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        Apply(model_.OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONUP: Apply(model_.OnLButtonUp()); return 0;
    case WM_CAPTURECHANGED: Apply(model_.OnCaptureChanged()); return 0;
    case WM_SETFOCUS: Apply(model_.OnSetFocus()); return 0;
    case WM_KILLFOCUS: Apply(model_.OnKillFocus()); return 0;
    case WM_TIMER:
        if (wParam == kTimerCaretBlink) {
            Apply(model_.OnBlinkTimer());
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    case WM_DESTROY:
        KillTimer(window_, kTimerCaretBlink);
        brushes_.Reset();
        target_.Reset();
        DropTextResources();
        return 0;
    default: return DefaultProc(message, wParam, lParam);
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
    win::SetScrollBar(window_, SB_VERT, model_.VerticalScrollBar());
    win::SetScrollBar(window_, SB_HORZ, model_.HorizontalScrollBar());
}

bool HexView::EnsureFactories()
{
    // DirectWrite only: measuring and the first frame need no Direct2D.
    if (!dwriteFactory_) {
        dwriteFactory_ = win::CreateDirectWriteFactory();
        win::MarkStartup(trace_, "hex view: DirectWrite factory");
    }
    return dwriteFactory_ != nullptr;
}

void HexView::EnsureDeviceResources()
{
    EnsureTextFormat();
    if (!d2dFactory_) {
        d2dFactory_ = win::CreateDirect2DFactory();
        win::MarkStartup(trace_, "hex view: Direct2D factory");
    }
    if (!target_ && d2dFactory_) {
        // A render target that draws into the paint DC rather than one bound to the window:
        // under Wine a window target of a child window renders off screen and never shows.
        // Bound anew at every paint, it takes the window's current size without re-creation.
        const auto properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        d2dFactory_->CreateDCRenderTarget(&properties, &target_);
        win::MarkStartup(trace_, "hex view: render target");
    }
}

void HexView::EnsureTextFormat()
{
    if (textFormat_ || !EnsureFactories()) {
        return;
    }
    const FontSpec font = model_.Font();
    textFormat_ = win::CreateResolvedTextFormat(
        *dwriteFactory_.Get(), {win::ToW(font.family), font.sizeDips, font.bold, font.italic});
    if (textFormat_) {
        gridFont_ = win::GridFont::Create(*dwriteFactory_.Get(), *textFormat_.Get());
    }
    win::MarkStartup(trace_, "hex view: font resolved");
}

void HexView::PaintFirstFrame()
{
    win::PaintScope paint(window_);
    RECT client{};
    GetClientRect(window_, &client);
    EnsureTextFormat();
    std::wstring family;
    if (textFormat_) {
        family.resize(textFormat_->GetFontFamilyNameLength() + 1);
        if (FAILED(textFormat_->GetFontFamilyName(family.data(),
                                                  static_cast<UINT32>(family.size())))) {
            family.clear();
        }
        family.resize(std::wcslen(family.c_str()));
    }
    HDC screen = paint.Dc();
    HDC dc = CreateCompatibleDC(screen);
    // 32-bit, top-down: the glyph runs are blended into its pixels directly.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = std::max<LONG>(client.right, 1);
    info.bmiHeader.biHeight = -std::max<LONG>(client.bottom, 1);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const win::UniqueHandle<win::GdiObjectTraits<HBITMAP>> bitmap(
        CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (dc != nullptr && bitmap) {
        const HGDIOBJ old = SelectObject(dc, bitmap.Get());
        const FontSpec font = model_.Font();
        win::DrawFirstFrameWithGdi(
            dc, client, model_.BuildPaintModel(),
            {dwriteFactory_.Get(), gridFont_.get(), family, font.sizeDips, font.bold, font.italic},
            static_cast<float>(model_.Dpi()) / 96.0f);
        BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(dc, old);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    painted_ = true;
    win::MarkStartup(trace_, "hex view: first paint");
    Notify(kMsgViewPainted, false);
    InvalidateRect(window_, nullptr, FALSE); // Direct2D's frame comes next
}

void HexView::DropTextResources()
{
    // What metrics, size and DPI depend on. The render target follows size and DPI at each
    // paint and goes only with the device.
    textFormat_.Reset();
    gridFont_.reset();
}

void HexView::Invalidate(const RepaintPlan& plan)
{
    if (plan.all) {
        InvalidateRect(window_, nullptr, FALSE);
        return;
    }
    if (plan.scrolledRows != 0) {
        const float pixelsPerRow =
            model_.Metrics().rowHeight * static_cast<float>(model_.Dpi()) / 96.0f;
        const auto dy =
            static_cast<int>(std::lround(-static_cast<float>(plan.scrolledRows) * pixelsPerRow));
        // What is still waiting to be painted moves with the pixels, or the stale pixels
        // would stay on screen.
        win::RegionHandle pending(CreateRectRgn(0, 0, 0, 0));
        const bool hasPending = pending && GetUpdateRgn(window_, pending.Get(), FALSE) > NULLREGION;
        // Copied through the window's own DC rather than ScrollWindowEx: under Wine the
        // latter can leave the screen showing pixels from before the last paints. The rows
        // that come into view are in the plan.
        RECT client{};
        GetClientRect(window_, &client);
        const int kept = client.bottom - std::abs(dy);
        HDC dc = GetDC(window_);
        BitBlt(dc, 0, std::max(dy, 0), client.right, kept, dc, 0, std::max(-dy, 0), SRCCOPY);
        ReleaseDC(window_, dc);
        if (hasPending) {
            OffsetRgn(pending.Get(), 0, dy);
            InvalidateRgn(window_, pending.Get(), FALSE);
        }
    }
    for (const std::uint64_t row : plan.rows) {
        InvalidateDips(model_.Geometry().RowBand(row));
    }
    if (plan.caretCells) {
        const auto [hex, text] = model_.CaretCells();
        InvalidateDips(hex);
        InvalidateDips(text);
    }
}

void HexView::InvalidateDips(const RectF& area)
{
    const float scale = static_cast<float>(model_.Dpi()) / 96.0f;
    // Outwards to whole pixels: antialiased edges touch the pixels they partly cover.
    const RECT pixels{static_cast<LONG>(std::floor(area.left * scale)),
                      static_cast<LONG>(std::floor(area.top * scale)),
                      static_cast<LONG>(std::ceil(area.right * scale)),
                      static_cast<LONG>(std::ceil(area.bottom * scale))};
    InvalidateRect(window_, &pixels, FALSE);
}

std::vector<RECT> HexView::UpdateRects() const
{
    // Past a handful of rectangles one box costs less than drawing the rows again each time.
    constexpr DWORD kMaxRects = 8;
    std::vector<RECT> rects;
    win::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (!region || GetUpdateRgn(window_, region.Get(), FALSE) <= NULLREGION) {
        return rects;
    }
    const DWORD bytes = GetRegionData(region.Get(), 0, nullptr);
    std::vector<std::uint8_t> data(bytes);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (bytes == 0 || GetRegionData(region.Get(), bytes, header) == 0 ||
        header->rdh.nCount > kMaxRects) {
        RECT box{};
        GetRgnBox(region.Get(), &box);
        rects.push_back(box);
        return rects;
    }
    const auto* first = reinterpret_cast<const RECT*>(header->Buffer);
    rects.assign(first, first + header->rdh.nCount);
    return rects;
}

void HexView::Paint()
{
    if (!painted_) {
        PaintFirstFrame();
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    std::vector<RECT> rects = UpdateRects();
    if (rects.empty()) {
        rects.push_back(client);
    }
    // The target covers the box around the update region only: the less it covers, the
    // less EndDraw copies to the window.
    RECT box = rects.front();
    for (const RECT& rect : rects) {
        UnionRect(&box, &box, &rect);
    }
    IntersectRect(&box, &box, &client);
    const float dips = 96.0f / static_cast<float>(model_.Dpi());
    std::vector<RectF> areas;
    std::uint64_t firstRow = model_.VisibleRows();
    std::uint64_t endRow = 0;
    for (const RECT& rect : rects) {
        const RectF area{static_cast<float>(rect.left) * dips, static_cast<float>(rect.top) * dips,
                         static_cast<float>(rect.right) * dips,
                         static_cast<float>(rect.bottom) * dips};
        areas.push_back(area);
        // Only the rows that can reach the update region are read and laid out.
        const auto [first, end] = model_.Geometry().RowsReaching(area.top, area.bottom);
        firstRow = std::min(firstRow, first);
        endRow = std::max(endRow, end);
    }
    {
        win::PaintScope paint(window_);
        EnsureDeviceResources();
        if (!target_ || !textFormat_ || IsRectEmpty(&box)) {
            return;
        }
        const auto dpi = static_cast<float>(model_.Dpi());
        target_->SetDpi(dpi, dpi);
        if (FAILED(target_->BindDC(paint.Dc(), &box))) {
            target_.Reset(); // made again by the next paint
            brushes_.Reset();
            return;
        }
        target_->BeginDraw();
        // Whole pixels, so that every glyph lands on the pixels a full paint gives it.
        target_->SetTransform(D2D1::Matrix3x2F::Translation(static_cast<float>(-box.left) * dips,
                                                            static_cast<float>(-box.top) * dips));
        const bool drawn = win::DrawPaintModel(
            *target_.Get(), *dwriteFactory_.Get(), *textFormat_.Get(), gridFont_.get(),
            model_.BuildPaintModel(firstRow, endRow), areas, brushes_);
        // EndDraw must run whatever happened while drawing; a lost device shows up here.
        const HRESULT result = target_->EndDraw();
        if (!drawn || result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
            target_.Reset();
            brushes_.Reset();
            DropTextResources();
            InvalidateRect(window_, nullptr, FALSE);
        } else {
            win::MarkStartup(trace_, "hex view: first Direct2D paint");
        }
    }
    if (model_.TakeRepaintOnce()) {
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void HexView::CopyToClipboard(const std::u16string& text) const
{
    (void)win::CopyTextToClipboard(window_, text); // a busy clipboard copies nothing
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
