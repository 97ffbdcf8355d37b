#pragma once

#include "hexview/HexViewModel.h"
#include "ui/win/GlyphRunText.h"

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>

namespace orx::win {

// Draws the model's paint list between BeginDraw and EndDraw: the background, then per
// row the selection, the caret, the offset, the hex digits and the text cells, each in
// its clip. `grid` may be null; every character then goes through a text layout.
// False when the brushes could not be made (nothing was drawn).
[[nodiscard]] bool DrawPaintModel(ID2D1RenderTarget& target, IDWriteFactory& factory,
                                  IDWriteTextFormat& format, const GridFont* grid,
                                  const PaintModel& frame);

// Rectangles that touch side by side on the same row become one, so that a selection is
// one band without seams between the bytes (and one fill instead of one per byte).
[[nodiscard]] std::vector<RectF> MergeAdjacent(const std::vector<RectF>& rects);

} // namespace orx::win
