#pragma once

#include "hexview/PaintModel.h"
#include "ui/win/GlyphRunText.h"

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <array>
#include <span>
#include <vector>

namespace orx::win {

// The brushes of one palette on one render target, kept across paints: they change only
// with the theme, and go with the target.
class PaintBrushes {
public:
    // Makes the brushes unless they are those of `palette` on `target` already.
    [[nodiscard]] bool Prepare(ID2D1RenderTarget& target, const ThemePalette& palette);
    void Reset();

    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> text;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> offset;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> selection;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> caret;
    // The brush of a mark of `kind`.
    [[nodiscard]] ID2D1SolidColorBrush* Mark(MarkKind kind) const
    {
        return marks_[MarkColorIndex(kind)].Get();
    }

private:
    std::array<Microsoft::WRL::ComPtr<ID2D1SolidColorBrush>, kMarkColorCount> marks_;
    const ID2D1RenderTarget* target_ = nullptr;
    ThemePalette palette_;
};

// Draws the model's paint list between BeginDraw and EndDraw into each of `areas` (DIPs,
// under the target's transform; none: the whole target): the background, then per row the
// selection, the caret, the offset, the hex digits and the text cells, each in its clip. Rows and
// cells that cannot reach an area are left out. `grid` may be null; every character then goes
// through a text layout. False when the brushes could not be made (nothing was drawn).
[[nodiscard]] bool DrawPaintModel(ID2D1RenderTarget& target, IDWriteFactory& factory,
                                  IDWriteTextFormat& format, const GridFont* grid,
                                  const PaintModel& frame, std::span<const RectF> areas,
                                  PaintBrushes& brushes);
// The whole target, with brushes of its own.
[[nodiscard]] bool DrawPaintModel(ID2D1RenderTarget& target, IDWriteFactory& factory,
                                  IDWriteTextFormat& format, const GridFont* grid,
                                  const PaintModel& frame);

// Rectangles that touch side by side on the same row become one, so that a selection is
// one band without seams between the bytes (and one fill instead of one per byte).
[[nodiscard]] std::vector<RectF> MergeAdjacent(const std::vector<RectF>& rects);

} // namespace orx::win
