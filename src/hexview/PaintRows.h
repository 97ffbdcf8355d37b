#pragma once

#include "hexview/ByteMarks.h"
#include "hexview/PaintModel.h"
#include "hexview/RowGeometry.h"
#include "hexview/TextEncoding.h"
#include "ui/Theme.h"

#include <cstdint>
#include <optional>
#include <span>

namespace orx {

class IReadOnlyDocument;

// What the painted rows show besides their geometry.
struct PaintInputs {
    const IReadOnlyDocument* document = nullptr; // open
    std::span<const IByteMarks* const> marks;
    Theme theme = Theme::Light;
    TextEncoding encoding = TextEncoding::Ascii;
    bool hasSelection = false;
    std::uint64_t selectionLow = 0; // inclusive
    std::uint64_t selectionHigh = 0;
    std::uint64_t caretOffset = 0;
    CaretStyle caret = CaretStyle::None; // as drawn on the caret's row
    // The empty row after the last full one, where the Insert caret waits at the end.
    std::optional<std::uint64_t> extraRow;
};

// Reads the screen rows [firstRow, endRow) that hold bytes (or are the extra row) and lays
// out everything the painter draws for them; only the palette without a document.
[[nodiscard]] PaintModel BuildPaintRows(const RowGeometry& geometry, const PaintInputs& inputs,
                                        std::uint64_t firstRow, std::uint64_t endRow);

} // namespace orx
