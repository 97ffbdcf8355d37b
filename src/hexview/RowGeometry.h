#pragma once

#include "hexview/BytesPerRow.h"
#include "hexview/PaintModel.h"
#include "hexview/ViewFont.h"
#include "hexview/ViewInput.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace orx {

// Where the rows and their cells sit in the client area for one state of the view. Plain
// values, so the model, the paint rows and the window answer the same questions alike.
// Pixel coordinates are client pixels; everything else is in DIPs.
struct RowGeometry {
    ViewMetrics metrics;
    std::uint32_t dpi = 96;
    std::int32_t clientWidth = 0; // physical pixels
    std::int32_t clientHeight = 0;
    std::uint64_t topRow = 0;
    std::int32_t horizontalScroll = 0; // DIPs

    [[nodiscard]] float ToDips(std::int32_t pixels) const;
    [[nodiscard]] float ClientWidthDips() const;
    [[nodiscard]] float ClientHeightDips() const;
    // Full rows between the margins, at least one.
    [[nodiscard]] std::uint64_t VisibleRows() const;
    // Widths of the scrolling data area on screen and of the hex and text columns in it.
    [[nodiscard]] std::int32_t ScrollViewWidth() const;
    [[nodiscard]] std::int32_t ContentWidth() const;
    [[nodiscard]] std::int32_t MaxHorizontalScroll() const;
    [[nodiscard]] float DataLeft() const; // where the scrolling data area starts
    [[nodiscard]] float HexStart() const; // the columns, moved by the horizontal scroll
    [[nodiscard]] float HexEnd() const;
    [[nodiscard]] float TextStart() const;
    // The scroll bars: rows of `totalRows`, and DIPs of the data area.
    [[nodiscard]] ScrollBarInfo VerticalScrollBar(std::uint64_t totalRows) const;
    [[nodiscard]] ScrollBarInfo HorizontalScrollBar() const;

    // The byte of a document of `documentSize` bytes under a client point, in either column.
    [[nodiscard]] std::optional<std::uint64_t> HitTest(std::int32_t x, std::int32_t y,
                                                       std::uint64_t documentSize) const;
    // Client-pixel centre of the hex cell (or text cell) of `offset` when it is on screen.
    [[nodiscard]] std::optional<std::pair<std::int32_t, std::int32_t>>
    CellCenterPixels(std::uint64_t offset, bool textColumn) const;
    // The strip of the client area that screen row `row` owns: the first and the last
    // visible row also own the margin beside them.
    [[nodiscard]] RectF RowBand(std::uint64_t row) const;
    // The screen rows [first, end) whose drawing can reach into [top, bottom): a row's
    // glyphs may run one row up or down.
    [[nodiscard]] std::pair<std::uint64_t, std::uint64_t> RowsReaching(float top,
                                                                       float bottom) const;
    // The hex and text cells of the caret at `offset`: boxes, or 2 DIPs wide bars.
    [[nodiscard]] std::pair<RectF, RectF> CaretCells(std::uint64_t offset, bool bar) const;
    // The row height is a whole number of physical pixels, so rows can move as pixels.
    [[nodiscard]] bool WholePixelRows() const;
};

} // namespace orx
