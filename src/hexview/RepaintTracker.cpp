#include "hexview/RepaintTracker.h"

#include "hexview/RowGeometry.h"

#include <limits>

namespace orx {

RowSpan EditedRows(std::uint64_t offset, bool onwards, TextEncoding encoding)
{
    const DecodeReach reach = TextDecodeReach(encoding);
    const std::uint64_t row = offset / kBytesPerRow;
    const std::uint64_t first = row > reach.rowsBefore ? row - reach.rowsBefore : 0;
    constexpr std::uint64_t kEnd = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t last =
        onwards || kEnd - row < reach.rowsAfter ? kEnd : row + reach.rowsAfter;
    return {first, last};
}

void RepaintTracker::NewDocument()
{
    // The document object may be the same one opened on other bytes: nothing in the view's
    // state says the pixels are stale, so the whole view is painted anew.
    ++forcedRepaints_;
    repaintOnce_ = true;
}

RepaintPlan RepaintTracker::Take(ViewSnapshot now, bool wholePixelRows)
{
    now.frame.layout = layoutChanges_;
    now.frame.forced = forcedRepaints_;
    RepaintPlan plan = PlanRepaint(painted_, now, edited_, wholePixelRows);
    painted_ = now;
    edited_.clear();
    return plan;
}

bool RepaintTracker::TakeRepaintOnce()
{
    const bool once = repaintOnce_;
    repaintOnce_ = false;
    return once;
}

} // namespace orx
