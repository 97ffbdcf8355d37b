#pragma once

#include "hexview/RepaintPlan.h"
#include "hexview/TextEncoding.h"

#include <cstdint>
#include <vector>

namespace orx {

// The document rows whose text may change with the byte at `offset`, as far as decoding in
// `encoding` reaches; `onwards`: every row after it too (an insertion or deletion shifts them).
[[nodiscard]] RowSpan EditedRows(std::uint64_t offset, bool onwards, TextEncoding encoding);

// What the view last painted and what changed since that its state cannot show: edited
// rows, changed metrics, asked-for full repaints. Each plan taken counts as painted.
class RepaintTracker {
public:
    void NoteEdited(RowSpan rows) { edited_.push_back(rows); }
    void NoteLayoutChanged() { ++layoutChanges_; }
    void RepaintAll() { ++forcedRepaints_; }
    // A new document: the whole view, and the first paint is followed by another.
    void NewDocument();
    // Compares `now` (its frame's layout and forced counts are filled in here) with what
    // was last painted.
    [[nodiscard]] RepaintPlan Take(ViewSnapshot now, bool wholePixelRows);
    // True once after NewDocument.
    [[nodiscard]] bool TakeRepaintOnce();

private:
    std::uint64_t layoutChanges_ = 0;
    std::uint64_t forcedRepaints_ = 0;
    bool repaintOnce_ = false;
    ViewSnapshot painted_;
    std::vector<RowSpan> edited_;
};

} // namespace orx
