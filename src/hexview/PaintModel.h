#pragma once

#include "hexview/ByteMarks.h"
#include "ui/Theme.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orx {

// A rectangle in device-independent pixels.
struct RectF {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    friend bool operator==(const RectF&, const RectF&) = default;
};

// Everything the painter draws, already positioned. Rows are painted top to bottom:
// marks, selection, caret, offset cells, hex cells, text cells, each inside its clip.
struct PaintCell {
    std::u16string text;
    RectF box; // the text is drawn into this box (leading, near)
};

struct PaintTextCell {
    std::u16string text;
    float x = 0.0f; // layout origin
    float y = 0.0f;
    float maxWidth = 0.0f; // layout box; a wide glyph may run into the following cells
    float maxHeight = 0.0f;
};

enum class CaretStyle {
    None, // not on this row, or the insert bar is in its hidden phase
    Box,  // fill both rectangles with the selection colour, outline them with the caret colour (1
          // DIP)
    Bar,  // fill both rectangles (2 DIPs wide bars) with the caret colour
};

struct PaintCaret {
    CaretStyle style = CaretStyle::None;
    RectF hex;
    RectF text;
};

// A marked run's band in one column, filled with its kind's colour.
struct PaintMark {
    RectF box;
    MarkKind kind = MarkKind::Hit;
    friend bool operator==(const PaintMark&, const PaintMark&) = default;
};

// The colours marks are filled with: the hit, the difference, the five region colours, then
// the struct view's field.
inline constexpr std::size_t kMarkColorCount = 8;

// Which of those a mark of `kind` takes.
[[nodiscard]] constexpr std::size_t MarkColorIndex(MarkKind kind)
{
    const auto value = static_cast<std::uint8_t>(kind);
    if (value >= static_cast<std::uint8_t>(MarkKind::RegionFirst) &&
        value <= static_cast<std::uint8_t>(MarkKind::RegionLast)) {
        return 2 + value - static_cast<std::uint8_t>(MarkKind::RegionFirst);
    }
    return kind == MarkKind::Hit ? 0 : kind == MarkKind::Field ? 7 : 1;
}

[[nodiscard]] constexpr ColorF MarkColorAt(const ThemePalette& palette, std::size_t index)
{
    return index == 0   ? palette.hit
           : index == 1 ? palette.difference
           : index == 7 ? palette.field
                        : palette.regions[index - 2];
}

[[nodiscard]] constexpr ColorF MarkColor(const ThemePalette& palette, MarkKind kind)
{
    return MarkColorAt(palette, MarkColorIndex(kind));
}

struct PaintRow {
    std::uint64_t rowIndex = 0;
    float top = 0.0f;
    RectF offsetClip;                     // offset cells
    RectF dataClip;                       // selection, caret, hex cells
    RectF glyphClip;                      // text cells (taller, so that tall glyphs are not cut)
    std::vector<PaintMark> marks;         // under the selection, inside dataClip
    std::vector<RectF> selection;         // filled with the selection colour, inside dataClip
    PaintCaret caret;                     // inside dataClip
    std::vector<PaintCell> offsetCells;   // one per character, offset colour
    std::vector<PaintCell> hexCells;      // one per byte, text colour
    std::vector<PaintTextCell> textCells; // non-empty cells only, text colour
};

struct PaintModel {
    ThemePalette palette; // the target is first cleared with palette.background
    std::vector<PaintRow> rows;
};

} // namespace orx
