#include "hexview/PaintRows.h"

#include "document/ReadOnlyDocument.h"
#include "hexview/RowModel.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace orx {

namespace {

PaintRow BuildPaintRow(const RowGeometry& geometry, const PaintInputs& inputs,
                       std::uint64_t rowIndex, std::uint64_t screenRow,
                       const std::vector<std::uint8_t>& bytes,
                       const std::vector<MarkedRange>& marks)
{
    const ViewMetrics& m = geometry.metrics;
    const std::uint64_t rowStart = rowIndex * kBytesPerRow;
    const float y = m.margin + static_cast<float>(screenRow) * m.rowHeight;
    const float bottom = y + m.rowHeight;
    const float dataLeft = geometry.DataLeft();
    const float hexStart = geometry.HexStart();
    const float textStart = geometry.TextStart();
    const float hexPitch = 3.0f * m.hexCellWidth;
    const float dataRight = std::max(geometry.ClientWidthDips() - m.margin, dataLeft);

    PaintRow row;
    row.rowIndex = rowIndex;
    row.top = y;
    row.offsetClip = {m.margin, y, m.margin + m.offsetColumnWidth, bottom};
    row.dataClip = {dataLeft, y, dataRight, bottom};
    row.glyphClip = {dataLeft, std::max(y - m.rowHeight, 0.0f), dataRight, y + 2.0f * m.rowHeight};

    constexpr std::uint64_t kNoOffset = std::numeric_limits<std::uint64_t>::max();
    // The hex and text bands of the row's bytes [low, high). A selected hex cell includes the
    // space after it, so that a selection is one band; a marked run's hex band ends at its
    // last digit, so that runs side by side stay apart.
    const auto bands = [&](std::uint64_t low, std::uint64_t high, bool trailingSpace) {
        const auto first = static_cast<float>(low - rowStart);
        const auto end = static_cast<float>(high - rowStart);
        const float hexRight = trailingSpace
                                   ? hexStart + end * hexPitch
                                   : hexStart + (end - 1.0f) * hexPitch + 2.0f * m.hexCellWidth;
        return std::pair<RectF, RectF>{
            {hexStart + first * hexPitch, y, hexRight, bottom},
            {textStart + first * m.textCellWidth, y, textStart + end * m.textCellWidth, bottom}};
    };
    const std::uint64_t rowEnd = rowStart + bytes.size();
    for (const MarkedRange& mark : marks) {
        const std::uint64_t markEnd =
            mark.length > kNoOffset - mark.first ? kNoOffset : mark.first + mark.length;
        const std::uint64_t low = std::max(mark.first, rowStart);
        const std::uint64_t high = std::min(markEnd, rowEnd);
        if (low < high) {
            const auto [hex, text] = bands(low, high, false);
            row.marks.push_back({hex, mark.kind});
            row.marks.push_back({text, mark.kind});
        }
    }
    if (inputs.hasSelection) {
        const std::uint64_t low = std::max(inputs.selectionLow, rowStart);
        const std::uint64_t high = std::min(inputs.selectionHigh + 1, rowEnd);
        if (low < high) {
            const auto [hex, text] = bands(low, high, true);
            row.selection = {hex, text};
        }
    }

    if (inputs.caret != CaretStyle::None && inputs.caretOffset / kBytesPerRow == rowIndex) {
        const auto [hex, text] =
            geometry.CaretCells(inputs.caretOffset, inputs.caret == CaretStyle::Bar);
        row.caret = {inputs.caret, hex, text};
    }

    RowModel texts = BuildRowModel(inputs.document, rowStart, bytes, inputs.encoding);
    for (std::size_t k = 0; k < texts.offsetText.size(); ++k) {
        const float left = m.margin + static_cast<float>(k) * m.hexCellWidth;
        row.offsetCells.push_back(
            {std::u16string(1, texts.offsetText[k]), {left, y, left + m.hexCellWidth, bottom}});
    }
    for (std::size_t j = 0; j < texts.hexCells.size(); ++j) {
        const float left = hexStart + static_cast<float>(j) * hexPitch;
        row.hexCells.push_back(
            {std::move(texts.hexCells[j]), {left, y, left + 2.0f * m.hexCellWidth, bottom}});
    }
    for (std::size_t j = 0; j < texts.textCells.size(); ++j) {
        std::u16string& text = texts.textCells[j];
        if (text.empty()) {
            continue;
        }
        const float width =
            std::max(static_cast<float>(text.size()) * m.textCellWidth, m.textCellWidth);
        row.textCells.push_back(
            {std::move(text), textStart + static_cast<float>(j) * m.textCellWidth, y,
             std::max(4.0f * m.textCellWidth, 2.0f * width), 3.0f * m.rowHeight});
    }
    return row;
}

} // namespace

PaintModel BuildPaintRows(const RowGeometry& geometry, const PaintInputs& inputs,
                          std::uint64_t firstRow, std::uint64_t endRow)
{
    PaintModel model;
    model.palette = HexViewPalette(inputs.theme);
    if (inputs.document == nullptr) {
        return model;
    }
    const std::uint64_t topRow = geometry.topRow;
    const std::uint64_t end = std::min(endRow, geometry.VisibleRows());
    // One question per source for all the rows painted, not one per row.
    std::vector<MarkedRange> marks;
    if (firstRow < end) {
        for (const IByteMarks* source : inputs.marks) {
            source->MarksIn((topRow + firstRow) * kBytesPerRow, (topRow + end) * kBytesPerRow,
                            marks);
        }
    }
    for (std::uint64_t r = firstRow; r < end; ++r) {
        const std::uint64_t rowIndex = topRow + r;
        ReadResult read = inputs.document->Read(rowIndex * kBytesPerRow, kBytesPerRow);
        if (read.bytes.empty() && inputs.extraRow != rowIndex) {
            break;
        }
        model.rows.push_back(BuildPaintRow(geometry, inputs, rowIndex, r, read.bytes, marks));
    }
    return model;
}

} // namespace orx
