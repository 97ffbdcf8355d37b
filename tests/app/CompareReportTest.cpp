#include "app/CompareReport.h"

#include "app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace orx::test {
namespace {

std::u16string English(std::string_view key)
{
    // clang-format off
    static const KeyText kTexts[] = {
        {"compare.status.searching", u"Searching {percent}%"},
        {"compare.status.difference", u"Difference {first}-{last} ({count} bytes)"},
        {"compare.status.difference_byte", u"Byte {first}"},
        {"compare.status.number", u"{number} of {total}"},
        {"compare.status.counting", u"Counting {percent}%"},
        {"compare.status.total", u"{count} differences"},
        {"compare.title", u"{left} | {right}"},
    };
    // clang-format on
    return TextFrom(kTexts, key);
}

TEST(CompareReport, StatusLinePartsInOrder)
{
    using Job = CompareStatusInputs::Job;
    using Nearby = DifferenceMarks::Nearby;
    const Nearby closed{{0x1F0, 4}, false, false};
    const Nearby open{{0x10, 0x2000}, true, true};
    // clang-format off
    struct Case { CompareStatusInputs inputs; std::u16string expected; };
    const Case cases[] = {
        {{Job::Counting, 42, {}, {}, closed, 0x400, ""},
         u"Difference 0x000001F0-0x000001F3 (4 bytes)   Counting 42%"},
        {{Job::Searching, 7, 1234567, 5, std::nullopt, 0x400, "compare.status.not_found_next"},
         u"Searching 7%   [compare.status.same]   1,234,567 differences"},
        {{Job::None, 0, 0, {}, std::nullopt, 0x100000000, "compare.status.not_found_next"},
         u"[compare.status.not_found_next]   [compare.status.same]   [compare.status.identical]"},
        {{Job::None, 0, 3, 2, Nearby{{0x8000, 1}, false, false}, 0x10000, ""},
         u"Byte 0x00008000   2 of 3   3 differences"},
        {{Job::None, 0, 3, {}, open, 0x100000000, ""},
         u"Difference …0x0000000000000010-0x000000000000200F… (≥8,192 bytes)   3 differences"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(CompareStatusText(c.inputs, English), c.expected);
    }
    EXPECT_EQ(CompareTitle(u"C:\\data\\a.bin", u"/tmp/b.bin", English), u"a.bin | b.bin");
}

TEST(CompareReport, WindowCoversNoneOfTheGroupWhenTheWorkAreaHasRoom)
{
    // 96 DPI: the main window as created (996 × 799) and both side windows, fitted to the
    // screen; the compare window 1820 × 491. `clear`: it covers none of the group.
    // clang-format off
    struct Case { const char* name; ScreenRect area, main; bool sides; std::int32_t width, height;
                  ScreenRect frame, moved; bool clear; };
    const Case cases[] = {
        {"2560 x 1440: the group moves up", {0, 0, 2560, 1400}, {782, 300, 1778, 1099}, true,
         1820, 491, {370, 909, 2190, 1400}, {782, 109, 1778, 908}, true},
        {"1920 x 1080: no room, over the group", {0, 0, 1920, 1040}, {521, 120, 1499, 919}, true,
         1820, 491, {100, 549, 1920, 1040}, {521, 120, 1499, 919}, false},
        {"1366 x 768: no room, over the group", {0, 0, 1366, 728}, {521, 0, 945, 728}, true, 1820,
         491, {0, 237, 1366, 728}, {521, 0, 945, 728}, false},
        {"room below to the pixel", {0, 0, 1920, 1040}, {460, 100, 1460, 548}, false, 1000, 491,
         {460, 549, 1460, 1040}, {460, 100, 1460, 548}, true},
        {"one pixel short below: the group moves one up", {0, 0, 1920, 1040},
         {460, 100, 1460, 549}, false, 1000, 491, {460, 549, 1460, 1040}, {460, 99, 1460, 548}, true},
        {"room above to the pixel", {0, 0, 1920, 1040}, {460, 492, 1460, 1000}, true, 1000, 491,
         {460, 0, 1460, 491}, {460, 492, 1460, 1000}, true},
        {"second monitor, taskbar on top, slid in from its right edge", {-1920, 40, 0, 1080},
         {-800, 60, 0, 400}, true, 1000, 300, {-1000, 401, 0, 701}, {-800, 60, 0, 400}, true},
        {"taller than the area", {0, 0, 1366, 728}, {0, 0, 700, 300}, false, 1000, 900,
         {0, 0, 1000, 728}, {0, 0, 700, 300}, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SideWindowSpan side{c.sides, 420, 420};
        const ComparePlacement place =
            PlaceCompareWindow(c.area, DockSideWindows(c.main, side, side), c.width, c.height);
        EXPECT_EQ(place, (ComparePlacement{c.frame, c.moved}));
        const WindowGroup moved = DockSideWindows(place.main, side, side);
        const bool covers = std::ranges::any_of(
            std::array{moved.main, moved.left, moved.right}, [&](const ScreenRect& window) {
                return window.left < place.frame.right && place.frame.left < window.right &&
                       window.top < place.frame.bottom && place.frame.top < window.bottom;
            });
        EXPECT_EQ(covers, !c.clear);
    }
}

} // namespace
} // namespace orx::test
