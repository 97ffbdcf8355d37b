#include "app/ProgressThrottle.h"

#include <gtest/gtest.h>

#include <limits>

namespace orx::test {
namespace {

TEST(ProgressThrottle, PercentOfDoneOverTotal)
{
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    // clang-format off
    struct Case { std::uint64_t done, total, expected; };
    const Case cases[] = {
        {0, 1, 0},   {1, 3, 33},      {2, 3, 66},           {3, 3, 100},          {5, 0, 100},
        {7, 5, 100}, {999, 1000, 99}, {kMax / 2, kMax, 49}, {kMax - 1, kMax, 99}, {kMax, kMax, 100},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.done << "/" << c.total);
        EXPECT_EQ(ProgressPercent(c.done, c.total), c.expected);
    }
}

TEST(ProgressThrottle, SamePercentEvery100MsIntermediateEvery50MsEndsAtOnce)
{
    // done: of 1000
    // clang-format off
    struct Step { std::uint64_t done; std::uint64_t now; std::optional<std::uint64_t> shown; };
    const Step steps[] = {
        {0, 5000, 0},             // 0 % shows at once
        {0, 5010, std::nullopt},  // same percent within 100 ms
        {10, 5020, std::nullopt}, // 1 % within 50 ms
        {10, 5050, 1},
        {11, 5060, std::nullopt}, // still 1 %
        {20, 5099, std::nullopt}, // 2 % but only 49 ms later
        {20, 5100, 2},
        {20, 5199, std::nullopt},
        {20, 5200, 2},     // the same percent again after 100 ms
        {1000, 5201, 100}, // 100 % at once
        {1000, 5202, std::nullopt},
        {0, 5203, 0}, // a new 0 % at once
    };
    // clang-format on
    ProgressThrottle state;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.done << " at " << s.now);
        EXPECT_EQ(NextProgressUpdate(state, s.done, 1000, s.now), s.shown);
    }
    state.Reset();
    EXPECT_EQ(state.lastPercent, ProgressThrottle::kNone);
    EXPECT_EQ(NextProgressUpdate(state, 500, 1000, 0), std::nullopt); // 50 % within 50 ms of tick 0
    EXPECT_EQ(NextProgressUpdate(state, 500, 1000, 50), 50u);
}

TEST(ProgressThrottle, TextIsLabelSpacePercent)
{
    EXPECT_EQ(ProgressText(u"Saving", 42), u"Saving 42%");
    EXPECT_EQ(ProgressText(u"\u4FDD\u5B58\u4E2D", 100), u"\u4FDD\u5B58\u4E2D 100%");
}

} // namespace
} // namespace orx::test
