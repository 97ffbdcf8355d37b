#include "hexview/RowGeometry.h"

#include <algorithm>
#include <cmath>

namespace orx {

namespace {

constexpr float kInsertBarWidth = 2.0f;

} // namespace

float RowGeometry::ToDips(std::int32_t pixels) const
{
    const std::uint32_t dots = dpi == 0 ? 96 : dpi;
    return static_cast<float>(pixels) * 96.0f / static_cast<float>(dots);
}

float RowGeometry::ClientWidthDips() const
{
    return ToDips(clientWidth);
}

float RowGeometry::ClientHeightDips() const
{
    return ToDips(clientHeight);
}

std::uint64_t RowGeometry::VisibleRows() const
{
    const float rows = (ClientHeightDips() - 2.0f * metrics.margin) / metrics.rowHeight;
    if (!(rows >= 1.0f)) {
        return 1;
    }
    return static_cast<std::uint64_t>(rows);
}

std::int32_t RowGeometry::ScrollViewWidth() const
{
    const float width = std::floor(
        ClientWidthDips() - (metrics.margin + metrics.offsetColumnWidth + metrics.columnGap) -
        metrics.margin);
    return width > 0.0f ? static_cast<std::int32_t>(width) : 0;
}

std::int32_t RowGeometry::ContentWidth() const
{
    const float width =
        std::ceil(metrics.hexColumnWidth + metrics.columnGap + metrics.textColumnWidth);
    return width > 0.0f ? static_cast<std::int32_t>(width) : 0;
}

std::int32_t RowGeometry::MaxHorizontalScroll() const
{
    return std::max(0, ContentWidth() - ScrollViewWidth());
}

float RowGeometry::DataLeft() const
{
    return metrics.margin + metrics.offsetColumnWidth + metrics.columnGap;
}

float RowGeometry::HexStart() const
{
    return DataLeft() - static_cast<float>(horizontalScroll);
}

float RowGeometry::HexEnd() const
{
    return HexStart() + metrics.hexColumnWidth;
}

float RowGeometry::TextStart() const
{
    return HexEnd() + metrics.columnGap;
}

ScrollBarInfo RowGeometry::VerticalScrollBar(std::uint64_t totalRows) const
{
    ScrollBarInfo info;
    info.maximum =
        totalRows == 0
            ? 0
            : static_cast<std::int32_t>(std::min<std::uint64_t>(totalRows - 1, kMaxScrollPosition));
    info.page =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(VisibleRows(), kMaxScrollPosition));
    info.position = static_cast<std::int32_t>(std::min<std::uint64_t>(topRow, kMaxScrollPosition));
    return info;
}

ScrollBarInfo RowGeometry::HorizontalScrollBar() const
{
    ScrollBarInfo info;
    info.maximum = std::max(0, ContentWidth() - 1);
    info.page = static_cast<std::uint32_t>(ScrollViewWidth());
    info.position = horizontalScroll;
    return info;
}

std::optional<std::uint64_t> RowGeometry::HitTest(std::int32_t x, std::int32_t y,
                                                  std::uint64_t documentSize) const
{
    // An empty document has no byte to hit, so a click there makes no selection.
    if (documentSize == 0) {
        return std::nullopt;
    }
    const float xd = ToDips(x);
    const float yd = ToDips(y);
    const float margin = metrics.margin;
    if (yd < margin || yd >= ClientHeightDips() - margin) {
        return std::nullopt;
    }
    const auto screenRow = static_cast<std::uint64_t>((yd - margin) / metrics.rowHeight);
    // Only what is painted can be hit: the full rows, and the scrolling data area between the
    // offset column and the right margin (cells scrolled under either are not drawn).
    if (screenRow >= VisibleRows() || xd < DataLeft() || xd >= ClientWidthDips() - margin) {
        return std::nullopt;
    }
    const std::uint64_t rowStart = (topRow + screenRow) * kBytesPerRow;
    const std::uint64_t lastByte = documentSize - 1;
    if (rowStart > lastByte) {
        return std::nullopt;
    }
    std::uint64_t column = 0;
    if (xd >= HexStart() && xd < HexEnd()) {
        column = static_cast<std::uint64_t>((xd - HexStart()) / (3.0f * metrics.hexCellWidth));
    } else if (xd >= TextStart() && xd < TextStart() + metrics.textColumnWidth) {
        column = static_cast<std::uint64_t>((xd - TextStart()) / metrics.textCellWidth);
    } else {
        return std::nullopt;
    }
    const std::uint64_t offset = rowStart + std::min<std::uint64_t>(column, 15);
    if (offset > lastByte) {
        return std::nullopt;
    }
    return offset;
}

std::optional<std::pair<std::int32_t, std::int32_t>>
RowGeometry::CellCenterPixels(std::uint64_t offset, bool textColumn) const
{
    const std::uint64_t row = offset / kBytesPerRow;
    if (row < topRow || row - topRow >= VisibleRows()) {
        return std::nullopt;
    }
    const auto column = static_cast<float>(offset % kBytesPerRow);
    const float y = metrics.margin + static_cast<float>(row - topRow) * metrics.rowHeight +
                    metrics.rowHeight / 2;
    const float x = textColumn
                        ? TextStart() + (column + 0.5f) * metrics.textCellWidth
                        : HexStart() + column * 3.0f * metrics.hexCellWidth + metrics.hexCellWidth;
    const float scale = static_cast<float>(dpi) / 96.0f;
    return std::make_pair(static_cast<std::int32_t>(std::lround(x * scale)),
                          static_cast<std::int32_t>(std::lround(y * scale)));
}

RectF RowGeometry::RowBand(std::uint64_t row) const
{
    const float top = metrics.margin + static_cast<float>(row) * metrics.rowHeight;
    const std::uint64_t visible = VisibleRows();
    return {0.0f, row == 0 ? 0.0f : top, ClientWidthDips(),
            row + 1 >= visible ? std::max(ClientHeightDips(), top + metrics.rowHeight)
                               : top + metrics.rowHeight};
}

std::pair<std::uint64_t, std::uint64_t> RowGeometry::RowsReaching(float top, float bottom) const
{
    const std::uint64_t visible = VisibleRows();
    const float rowHeight = metrics.rowHeight;
    // Row r draws within [top(r) - rowHeight, top(r) + 2 rowHeight).
    const float firstReach = std::floor((top - metrics.margin) / rowHeight) - 1.0f;
    const float endReach = std::floor((bottom - metrics.margin) / rowHeight) + 2.0f;
    const auto clamp = [visible](float row) {
        return row <= 0.0f ? std::uint64_t{0} : std::min(static_cast<std::uint64_t>(row), visible);
    };
    return {clamp(firstReach), clamp(endReach)};
}

std::pair<RectF, RectF> RowGeometry::CaretCells(std::uint64_t offset, bool bar) const
{
    const ViewMetrics& m = metrics;
    const std::uint64_t row = offset / kBytesPerRow;
    // As the row's own top is computed, so that both land on the same pixels.
    const auto screenRow = static_cast<float>(static_cast<std::int64_t>(row - topRow));
    const float y = m.margin + screenRow * m.rowHeight;
    const auto column = static_cast<float>(offset % kBytesPerRow);
    const float hexLeft = HexStart() + 3.0f * m.hexCellWidth * column;
    const float textLeft = TextStart() + column * m.textCellWidth;
    return {
        {hexLeft, y, hexLeft + (bar ? kInsertBarWidth : 2.0f * m.hexCellWidth), y + m.rowHeight},
        {textLeft, y, textLeft + (bar ? kInsertBarWidth : m.textCellWidth), y + m.rowHeight}};
}

bool RowGeometry::WholePixelRows() const
{
    const float pixels = metrics.rowHeight * static_cast<float>(dpi) / 96.0f;
    return std::fabs(pixels - std::round(pixels)) < 1e-3f;
}

} // namespace orx
