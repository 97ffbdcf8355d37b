#include "app/CompareReport.h"

#include "app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

std::u16string English(std::string_view key)
{
    // clang-format off
    static const KeyText kTexts[] = {
        {"compare.status.searching", u"Searching {percent}%"},
        {"compare.status.difference", u"Difference {first}-{last} ({count} bytes)"},
        {"compare.status.difference_byte", u"Byte {first}"},
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
        {{Job::Counting, 42, {}, closed, 0x400, ""},
         u"Difference 0x000001F0-0x000001F3 (4 bytes)   Counting 42%"},
        {{Job::Searching, 7, 1234567, std::nullopt, 0x400, "compare.status.not_found_next"},
         u"Searching 7%   [compare.status.same]   1,234,567 differences"},
        {{Job::None, 0, 0, std::nullopt, 0x100000000, "compare.status.not_found_next"},
         u"[compare.status.not_found_next]   [compare.status.same]   [compare.status.identical]"},
        {{Job::None, 0, 3, Nearby{{0x8000, 1}, false, false}, 0x10000, ""},
         u"Byte 0x00008000   3 differences"},
        {{Job::None, 0, 3, open, 0x100000000, ""},
         u"Difference …0x0000000000000010-0x000000000000200F… (≥8,192 bytes)   3 differences"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(CompareStatusText(c.inputs, English), c.expected);
    }
    EXPECT_EQ(CompareTitle(u"C:\\data\\a.bin", u"/tmp/b.bin", English), u"a.bin | b.bin");
}

TEST(CompareReport, WindowLiesInsideTheWorkArea)
{
    // clang-format off
    struct Case { ScreenRect area; ScreenRect main; std::int32_t width, height; ScreenRect expected; };
    const Case cases[] = {
        {{0, 0, 1920, 1040}, {460, 100, 1460, 600}, 1400, 420, {260, 601, 1660, 1021}},
        {{0, 0, 1920, 1040}, {460, 100, 1460, 900}, 1400, 420, {260, 620, 1660, 1040}},
        {{0, 0, 1366, 728}, {0, 0, 1366, 728}, 1400, 420, {0, 308, 1366, 728}},
        {{0, 0, 1366, 728}, {900, 10, 1366, 400}, 1000, 900, {366, 0, 1366, 728}},
        {{-1366, 0, 0, 728}, {-1000, 0, -200, 300}, 1000, 300, {-1100, 301, -100, 601}},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(CompareWindowFrame(c.area, c.main, c.width, c.height), c.expected);
    }
}

} // namespace
} // namespace orx::test
