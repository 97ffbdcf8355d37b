#pragma once

#include "hexview/TextEncoding.h"
#include "ui/Theme.h"

#include <cstdint>
#include <span>
#include <vector>

namespace orx {

class IReadOnlyDocument;

// Rows of the document, first to last inclusive.
struct RowSpan {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

// Everything of the view's state that decides its pixels, the document's bytes aside: two
// equal snapshots over the same bytes paint the same picture.
struct ViewSnapshot {
    // What moves or restyles every row: any change here repaints the whole view.
    struct Frame {
        const IReadOnlyDocument* document = nullptr;
        bool open = false;
        std::int32_t horizontalScroll = 0;
        Theme theme = Theme::Light;
        TextEncoding encoding = TextEncoding::Ascii;
        std::uint32_t dpi = 96;
        std::int32_t clientWidth = 0; // physical pixels
        std::int32_t clientHeight = 0;
        std::uint64_t layout = 0; // counts the changes of the view's metrics
        std::uint64_t forced = 0; // bumped when someone asks for a full repaint
        friend bool operator==(const Frame&, const Frame&) = default;
    };
    Frame frame;
    std::uint64_t visibleRows = 1;
    std::uint64_t topRow = 0;
    std::uint64_t documentSize = 0;
    std::uint64_t caretOffset = 0;
    bool caretShown = false; // the box, or the insert bar in its visible phase
    bool insertBar = false;  // the caret is a bar (Insert mode) rather than a box
    bool hasSelection = false;
    std::uint64_t selectionLow = 0;
    std::uint64_t selectionHigh = 0;
    friend bool operator==(const ViewSnapshot&, const ViewSnapshot&) = default;
};

// What the window repaints after a change. Rows are screen rows of the new view; their
// bands reach across the margins at the top and bottom of the view.
struct RepaintPlan {
    bool all = false;
    // Rows the picture moved up (negative: down) before the listed rows are painted: the
    // rows that stay on screen keep their pixels.
    std::int64_t scrolledRows = 0;
    std::vector<std::uint64_t> rows; // ascending, each once
    bool caretCells = false;         // the caret's two cells, in addition to `rows`

    [[nodiscard]] bool Empty() const { return !all && rows.empty() && !caretCells; }
    friend bool operator==(const RepaintPlan&, const RepaintPlan&) = default;
};

// Compares what was last painted with what the view shows now. `edited` lists the document
// rows whose bytes changed in between (already widened by how far decoding reaches).
// `wholePixelRows` says whether a row is a whole number of physical pixels high, which
// moving pixels by rows needs.
[[nodiscard]] RepaintPlan PlanRepaint(const ViewSnapshot& before, const ViewSnapshot& after,
                                      std::span<const RowSpan> edited, bool wholePixelRows);

} // namespace orx
