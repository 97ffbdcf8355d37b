#include "app/Placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace orx::test {
namespace {

bool Inside(const ScreenRect& inner, const ScreenRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const ScreenRect& a, const ScreenRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// What every placement the editor makes itself must hold: the windows that are on lie in
// the work area, side by side without covering each other, each at least its minimum.
void ExpectOnScreenSideBySide(const WindowGroup& group, const ScreenRect& area,
                              const SideWindowSpan& left, const SideWindowSpan& right)
{
    std::vector<ScreenRect> shown{group.main};
    EXPECT_TRUE(Inside(group.main, area));
    for (const auto& [frame, span] : {std::pair{group.left, left}, std::pair{group.right, right}}) {
        if (!span.on) {
            EXPECT_TRUE(frame.IsEmpty());
            continue;
        }
        EXPECT_TRUE(Inside(frame, area));
        EXPECT_GE(frame.Width(), span.minimum);
        EXPECT_EQ(frame.top, group.main.top);
        EXPECT_EQ(frame.bottom, group.main.bottom);
        for (const ScreenRect& other : shown) {
            EXPECT_FALSE(Overlap(frame, other));
        }
        shown.push_back(frame);
    }
}

TEST(Placement, FittedGroupLiesInTheWorkAreaNarrowingSidesBeforeTheMainWindow)
{
    // 96 DPI: the main window as created (980 × 760 client) centred; struct view 700 wide
    // (at least 520), inspector 520 (at least 420). The 144-DPI rows scale all by 1.5.
    const SideWindowSpan structView{true, 700, 520};
    const SideWindowSpan inspector{true, 520, 420};
    const SideWindowSpan off{false, 700, 520};
    // clang-format off
    struct Case { const char* name; ScreenRect area; ScreenRect main; SideWindowSpan left;
                  SideWindowSpan right; ScreenRect fitted; std::int32_t leftWidth, rightWidth; };
    const Case cases[] = {
        {"2560 wide: nothing narrows, nothing moves", {0, 0, 2560, 1440}, {778, 300, 1774, 1099},
         structView, inspector, {778, 300, 1774, 1099}, 700, 520},
        {"slid left off the right edge", {0, 0, 2560, 1440}, {1900, 300, 2896, 1099}, structView,
         inspector, {1043, 300, 2039, 1099}, 700, 520},
        {"1920 wide: sides down to their minimums, main keeps 978", {0, 0, 1920, 1040},
         {462, 140, 1458, 939}, structView, inspector, {521, 140, 1499, 939}, 520, 420},
        {"1366 laptop: main narrows after the sides", {0, 0, 1366, 728}, {185, 0, 1181, 799},
         structView, inspector, {521, 0, 945, 728}, 520, 420},
        {"inspector only on a laptop", {0, 0, 1366, 728}, {185, 0, 1181, 799}, off, inspector,
         {0, 0, 945, 728}, 0, 420},
        {"sides narrow in proportion to their slack", {0, 0, 2000, 1000}, {500, 0, 1496, 800},
         structView, inspector, {561, 0, 1557, 800}, 560, 442},
        {"second monitor to the left, taskbar on top", {-1920, 40, 0, 1080},
         {-1400, 0, -404, 800}, structView, inspector, {-1399, 40, -421, 840}, 520, 420},
        {"144 DPI on a 1920 × 1080 monitor", {0, 0, 1920, 1032}, {200, 100, 1694, 1240},
         {true, 1050, 780}, off, {781, 0, 1920, 1032}, 780, 0},
        {"a main window already narrower than its minimum keeps its width", {0, 0, 1366, 728},
         {10, 10, 310, 500}, structView, inspector, {601, 10, 901, 500}, 600, 464},
    };
    // clang-format on
    constexpr std::int32_t kMainMinimum = 400;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowGroup group = FitWindowGroup(c.area, c.main, c.left, c.right, kMainMinimum);
        ExpectOnScreenSideBySide(group, c.area, c.left, c.right);
        EXPECT_EQ(group.main, c.fitted);
        EXPECT_EQ(group.left.Width(), c.leftWidth);
        EXPECT_EQ(group.right.Width(), c.rightWidth);
        EXPECT_EQ(group, DockSideWindows(group.main, {c.left.on, c.leftWidth, c.left.minimum},
                                         {c.right.on, c.rightWidth, c.right.minimum}));
    }
}

TEST(Placement, MinimumsWiderThanTheAreaStartAtItsLeftEdge)
{
    const ScreenRect area{100, 0, 1124, 768};
    const WindowGroup group =
        FitWindowGroup(area, {300, 0, 1300, 700}, {true, 700, 520}, {true, 520, 420}, 400);
    EXPECT_EQ(group.left.left, area.left);
    EXPECT_EQ(group.left.Width(), 520);
    EXPECT_EQ(group.right.Width(), 420);
    EXPECT_EQ(group.main.Width(), 400);
}

TEST(Placement, MaximisedMainWindowLeavesRoomForTheSideWindowsThatAreOn)
{
    // clang-format off
    struct Case { const char* name; ScreenRect area; SideWindowSpan left, right; ScreenRect main; };
    const Case cases[] = {
        {"both on", {0, 0, 1920, 1040}, {true, 700, 520}, {true, 520, 420}, {701, 0, 1399, 1040}},
        {"none on: the whole work area", {0, 0, 1920, 1040}, {false, 700, 520},
         {false, 520, 420}, {0, 0, 1920, 1040}},
        {"struct view only, second monitor", {1920, 30, 3840, 1080}, {true, 700, 520},
         {false, 520, 420}, {2621, 30, 3840, 1080}},
        {"laptop: the sides narrow so that the main window keeps its minimum", {0, 0, 1366, 728},
         {true, 700, 520}, {true, 520, 420}, {537, 0, 937, 728}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowGroup group = MaximizedWindowGroup(c.area, c.left, c.right, 400);
        EXPECT_EQ(group.main, c.main);
        ExpectOnScreenSideBySide(group, c.area, c.left, c.right);
    }
}

} // namespace
} // namespace orx::test
