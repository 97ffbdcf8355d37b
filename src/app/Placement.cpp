#include "app/Placement.h"

#include <algorithm>
#include <limits>

namespace orx {

ScreenRect ChooseWorkArea(const std::optional<ScreenRect>& monitorWorkArea,
                          const ScreenRect& primaryWorkArea)
{
    if (!monitorWorkArea || monitorWorkArea->IsEmpty()) {
        return primaryWorkArea;
    }
    return *monitorWorkArea;
}

ScreenPoint CenterIn(const ScreenRect& area, std::int32_t width, std::int32_t height)
{
    // 64-bit arithmetic: extents of hostile rectangles must not overflow.
    const std::int64_t dx =
        std::max<std::int64_t>(0, (static_cast<std::int64_t>(area.right) - area.left - width) / 2);
    const std::int64_t dy =
        std::max<std::int64_t>(0, (static_cast<std::int64_t>(area.bottom) - area.top - height) / 2);
    return {static_cast<std::int32_t>(area.left + dx), static_cast<std::int32_t>(area.top + dy)};
}

ScreenRect DockRightOf(const ScreenRect& mainWindow, std::int32_t width)
{
    return {mainWindow.right + 1, mainWindow.top, mainWindow.right + 1 + width, mainWindow.bottom};
}

ScreenRect DockLeftOf(const ScreenRect& mainWindow, std::int32_t width)
{
    return {mainWindow.left - width - 1, mainWindow.top, mainWindow.left - 1, mainWindow.bottom};
}

namespace {

// Widths in 64 bits: hostile rectangles must not overflow the sums.
struct GroupWidths {
    std::int64_t left = 0;
    std::int64_t main = 0;
    std::int64_t right = 0;
};

// A side window's width as placement starts from: never below its minimum.
std::int64_t StartWidth(const SideWindowSpan& side)
{
    return std::max<std::int64_t>(side.width, side.minimum);
}

// What a side window takes beside the main window: its width and the one-pixel gap.
std::int64_t Room(const SideWindowSpan& side, std::int64_t width)
{
    return side.on ? width + 1 : 0;
}

std::int64_t GroupWidth(const SideWindowSpan& left, const SideWindowSpan& right,
                        const GroupWidths& widths)
{
    return Room(left, widths.left) + widths.main + Room(right, widths.right);
}

// Narrows the side windows that are on by up to `excess` pixels in all, each in proportion
// to how far it is above its minimum. Returns the part of `excess` they could not take.
std::int64_t NarrowSides(const SideWindowSpan& left, const SideWindowSpan& right,
                         GroupWidths& widths, std::int64_t excess)
{
    const std::int64_t slackLeft =
        left.on ? std::max<std::int64_t>(widths.left - left.minimum, 0) : 0;
    const std::int64_t slackRight =
        right.on ? std::max<std::int64_t>(widths.right - right.minimum, 0) : 0;
    const std::int64_t slack = slackLeft + slackRight;
    const std::int64_t take = std::min(excess, slack);
    if (take <= 0) {
        return excess;
    }
    const std::int64_t fromLeft = take * slackLeft / slack;
    widths.left -= fromLeft;
    widths.right -= take - fromLeft;
    return excess - take;
}

std::int32_t Clamp32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

WindowGroup DockWithWidths(const ScreenRect& main, const SideWindowSpan& left,
                           const SideWindowSpan& right, const GroupWidths& widths)
{
    return DockSideWindows(main, {left.on, Clamp32(widths.left), left.minimum},
                           {right.on, Clamp32(widths.right), right.minimum});
}

} // namespace

WindowGroup DockSideWindows(const ScreenRect& main, const SideWindowSpan& left,
                            const SideWindowSpan& right)
{
    WindowGroup group;
    group.main = main;
    if (left.on) {
        group.left = DockLeftOf(main, left.width);
    }
    if (right.on) {
        group.right = DockRightOf(main, right.width);
    }
    return group;
}

WindowGroup FitWindowGroup(const ScreenRect& workArea, const ScreenRect& main,
                           const SideWindowSpan& left, const SideWindowSpan& right,
                           std::int32_t mainMinimumWidth)
{
    GroupWidths widths{StartWidth(left), std::max<std::int64_t>(main.Width(), 1),
                       StartWidth(right)};
    const std::int64_t area = workArea.Width();
    if (const std::int64_t excess = GroupWidth(left, right, widths) - area; excess > 0) {
        const std::int64_t rest = NarrowSides(left, right, widths, excess);
        const std::int64_t floor = std::min<std::int64_t>(mainMinimumWidth, widths.main);
        widths.main = std::max(widths.main - rest, floor);
    }
    const std::int64_t groupWidth = GroupWidth(left, right, widths);
    const std::int64_t wantedLeft = static_cast<std::int64_t>(main.left) - Room(left, widths.left);
    const std::int64_t groupLeft =
        std::max<std::int64_t>(std::min(wantedLeft, workArea.right - groupWidth), workArea.left);
    const std::int64_t height =
        std::clamp<std::int64_t>(main.Height(), 1, std::max(workArea.Height(), 1));
    const std::int64_t top = std::max<std::int64_t>(
        std::min<std::int64_t>(main.top, workArea.bottom - height), workArea.top);
    const std::int64_t mainLeft = groupLeft + Room(left, widths.left);
    const ScreenRect fitted{Clamp32(mainLeft), Clamp32(top), Clamp32(mainLeft + widths.main),
                            Clamp32(top + height)};
    return DockWithWidths(fitted, left, right, widths);
}

WindowGroup MaximizedWindowGroup(const ScreenRect& workArea, const SideWindowSpan& left,
                                 const SideWindowSpan& right, std::int32_t mainMinimumWidth)
{
    GroupWidths widths{StartWidth(left), 0, StartWidth(right)};
    const std::int64_t area = workArea.Width();
    const auto sides = [&] { return Room(left, widths.left) + Room(right, widths.right); };
    const std::int64_t wanted = std::min<std::int64_t>(mainMinimumWidth, area);
    if (const std::int64_t shortfall = wanted - (area - sides()); shortfall > 0) {
        (void)NarrowSides(left, right, widths, shortfall);
    }
    widths.main = std::max<std::int64_t>(area - sides(), 1);
    const std::int64_t mainLeft = workArea.left + Room(left, widths.left);
    const ScreenRect main{Clamp32(mainLeft), workArea.top, Clamp32(mainLeft + widths.main),
                          workArea.bottom};
    return DockWithWidths(main, left, right, widths);
}

} // namespace orx
