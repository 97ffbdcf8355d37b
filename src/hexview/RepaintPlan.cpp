#include "hexview/RepaintPlan.h"

#include "hexview/BytesPerRow.h"

#include <algorithm>
#include <limits>

namespace orx {

namespace {

// Collects document rows and keeps those on screen, as screen rows.
class ScreenRows {
public:
    ScreenRows(std::uint64_t topRow, std::uint64_t visibleRows)
        : top_(topRow), visible_(visibleRows)
    {}

    void AddScreen(std::uint64_t first, std::uint64_t last)
    {
        for (std::uint64_t row = first; row <= last && row < visible_; ++row) {
            rows_.push_back(row);
        }
    }

    void AddDocument(std::uint64_t first, std::uint64_t last)
    {
        if (last < top_) {
            return;
        }
        const std::uint64_t from = first > top_ ? first - top_ : 0;
        if (from < visible_) {
            AddScreen(from, std::min(last - top_, visible_ - 1));
        }
    }

    void AddOffsets(std::uint64_t low, std::uint64_t high)
    {
        AddDocument(low / kBytesPerRow, high / kBytesPerRow);
    }

    [[nodiscard]] std::vector<std::uint64_t> Take()
    {
        std::sort(rows_.begin(), rows_.end());
        rows_.erase(std::unique(rows_.begin(), rows_.end()), rows_.end());
        return std::move(rows_);
    }

private:
    std::uint64_t top_;
    std::uint64_t visible_;
    std::vector<std::uint64_t> rows_;
};

// The bytes whose selection shading differs between two selections.
void AddSelectionChange(ScreenRows& rows, const ViewSnapshot& before, const ViewSnapshot& after)
{
    if (before.hasSelection != after.hasSelection) {
        const ViewSnapshot& shown = before.hasSelection ? before : after;
        rows.AddOffsets(shown.selectionLow, shown.selectionHigh);
        return;
    }
    if (!after.hasSelection) {
        return;
    }
    const auto addBetween = [&rows](std::uint64_t a, std::uint64_t b) {
        if (a != b) {
            rows.AddOffsets(std::min(a, b), std::max(a, b) - 1);
        }
    };
    // Two inclusive spans differ in [low ends) and (high ends].
    addBetween(before.selectionLow, after.selectionLow);
    addBetween(before.selectionHigh + 1, after.selectionHigh + 1);
}

} // namespace

RepaintPlan PlanRepaint(const ViewSnapshot& before, const ViewSnapshot& after,
                        std::span<const RowSpan> edited, bool wholePixelRows)
{
    RepaintPlan plan;
    if (before.frame != after.frame || before.visibleRows != after.visibleRows) {
        plan.all = true;
        return plan;
    }
    const std::uint64_t visible = after.visibleRows;
    ScreenRows rows(after.topRow, visible);
    if (before.topRow != after.topRow) {
        const bool down = after.topRow > before.topRow;
        const std::uint64_t moved =
            down ? after.topRow - before.topRow : before.topRow - after.topRow;
        if (moved >= visible || !wholePixelRows) {
            plan.all = true;
            return plan;
        }
        plan.scrolledRows =
            down ? static_cast<std::int64_t>(moved) : -static_cast<std::int64_t>(moved);
        // The rows that come into view, and the rows beside a seam: a wide glyph may reach
        // one row up or down, so the kept pixels next to a row that came or went are stale.
        if (down) {
            rows.AddScreen(0, 0);
            rows.AddScreen(visible - moved - 1, visible - 1);
        } else {
            rows.AddScreen(0, moved);
            rows.AddScreen(visible - 1, visible - 1);
        }
    }
    for (const RowSpan& span : edited) {
        rows.AddDocument(span.first, span.last);
    }
    if (before.documentSize != after.documentSize) {
        // Rows past the shorter end gained or lost bytes (the edited spans say the same
        // for the model's own edits; this covers a change made behind its back).
        const std::uint64_t shorter = std::min(before.documentSize, after.documentSize);
        const std::uint64_t firstRow = shorter / kBytesPerRow;
        rows.AddDocument(firstRow == 0 ? 0 : firstRow - 1,
                         std::numeric_limits<std::uint64_t>::max());
    }
    AddSelectionChange(rows, before, after);
    const bool caretMoved =
        before.caretOffset != after.caretOffset || before.insertBar != after.insertBar;
    if (caretMoved) {
        rows.AddOffsets(before.caretOffset, before.caretOffset);
        rows.AddOffsets(after.caretOffset, after.caretOffset);
    } else if (before.caretShown != after.caretShown) {
        plan.caretCells = true; // the blink: the bar's cells, not its row
    }
    plan.rows = rows.Take();
    if (plan.caretCells) {
        // Nothing to do off screen, nor when the caret's row is painted anyway.
        const std::uint64_t caretRow = after.caretOffset / kBytesPerRow;
        plan.caretCells =
            caretRow >= after.topRow && caretRow - after.topRow < visible &&
            !std::binary_search(plan.rows.begin(), plan.rows.end(), caretRow - after.topRow);
    }
    return plan;
}

} // namespace orx
