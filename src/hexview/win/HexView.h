#pragma once

#include "hexview/HexViewModel.h"
#include "hexview/win/HexPainter.h"
#include "ui/StartupTrace.h"
#include "ui/win/BaseWindow.h"
#include "ui/win/GlyphRunText.h"

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

namespace orx {

class IReadOnlyDocument;
class IEditableDocument;

// The "Orlin.HexView" control: a thin window around HexViewModel. Messages go to the
// model, and the window carries out what the model decided (repaint, scroll bars,
// notifications, clipboard, capture, timer) and paints the model's paint list with
// Direct2D and DirectWrite.
class HexView final : public win::BaseWindow<HexView> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.HexView";
    static constexpr int kControlId = 2001;

    HexView();
    ~HexView();
    HexView(const HexView&) = delete;
    HexView& operator=(const HexView&) = delete;

    // Creates the child window (visible, both scroll bars, tab stop, 100 × 100 at 0, 0).
    bool Create(HWND parent, HINSTANCE instance);

    [[nodiscard]] HexViewModel& Model() { return model_; }
    [[nodiscard]] const HexViewModel& Model() const { return model_; }

    // Carries out what a model operation decided.
    void Apply(const ViewEffects& effects);

    // Attaches a document at the window's DPI (every open and close attaches again).
    void SetDocument(const IReadOnlyDocument* document, IEditableDocument* editor);

    // Where the view marks the steps of its first paint (factories, font, render target,
    // rows on screen); null for none. Once the first frame is drawn (with GDI, see
    // GdiFirstFrame.h), the view posts kMsgViewPainted to its parent.
    void SetStartupTrace(StartupTrace* trace) { trace_ = trace; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint();
    // Invalidates what the model says changed, moving the pixels of rows that stay.
    void Invalidate(const RepaintPlan& plan);
    void InvalidateDips(const RectF& area);
    // The rectangles of the update region (none: nothing pending); read before
    // BeginPaint empties it.
    [[nodiscard]] std::vector<RECT> UpdateRects() const;
    [[nodiscard]] bool EnsureFactories(); // DirectWrite's
    // DirectWrite's text format, then Direct2D's factory and render target.
    void EnsureDeviceResources();
    void EnsureTextFormat();
    // The very first frame, with GDI: Direct2D's start must not hold the rows back.
    void PaintFirstFrame();
    void DropTextResources(); // text format and glyph face: what metrics depend on
    void UpdateScrollBars();
    void OnScroll(int bar, WPARAM wParam);
    void CopyToClipboard(const std::u16string& text) const;
    void Notify(UINT message, bool synchronous) const;

    HexViewModel model_;
    Microsoft::WRL::ComPtr<ID2D1Factory> d2dFactory_;
    Microsoft::WRL::ComPtr<IDWriteFactory> dwriteFactory_;
    Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> target_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> textFormat_;
    std::unique_ptr<win::GridFont> gridFont_; // goes with the text format
    win::PaintBrushes brushes_;               // go with the render target
    StartupTrace* trace_ = nullptr;
    bool painted_ = false; // the first frame (GDI) is drawn and announced once
};

} // namespace orx
