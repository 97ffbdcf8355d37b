#include "app/FindAllSessionState.h"

#include "app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace orx::test {
namespace {

TEST(FindAllSessionState, RepaintsTheViewOnlyForBatchesThatMeetIt)
{
    // clang-format off
    struct Case { std::vector<std::uint64_t> offsets; bool meets; };
    const Case cases[] = {           // 2-byte hits, the view shows [0x100, 0x200)
        {{0x10, 0x20}, false}, {{0xFE}, false}, {{0x10, 0xFF}, true}, {{0x1FF}, true},
        {{0x200, 0x300}, false}, {{0x10, 0x300}, true}, {{}, false},
    };
    // clang-format on
    FindAllSessionState state;
    state.Start(2, u"q", 1);
    std::uint64_t count = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(state.Append(c.offsets, 0x100, 0x200), c.meets) << c.offsets.size();
        count += c.offsets.size();
    }
    EXPECT_EQ(state.Hits().Count(), count);
}

TEST(FindAllSessionState, ShowsNewsAtOnceThenAtMostEveryInterval)
{
    const std::uint64_t interval = FindAllSessionState::kRefreshMilliseconds;
    // clang-format off
    struct Case { std::uint64_t now; bool due; };
    const Case cases[] = {{1000, true}, {1001, false}, {1000 + interval - 1, false},
                          {1000 + interval, true}, {1000 + 2 * interval - 1, false},
                          {5000, true}};
    // clang-format on
    FindAllSessionState state;
    state.Start(1, u"q", 1);
    for (const Case& c : cases) {
        EXPECT_EQ(state.RefreshDue(c.now), c.due) << c.now;
    }
    state.Start(1, u"q", 1); // a new search shows its first news at once
    EXPECT_TRUE(state.RefreshDue(5001));
}

TEST(FindAllSessionState, RunsEndsAndGoesOutOfDate)
{
    FindAllSessionState state;
    EXPECT_FALSE(state.DocumentChanged(2)); // nothing listed
    state.Start(2, u"4D 5A", 5);
    state.RunAs(3);
    EXPECT_TRUE(state.Accepts(3));
    EXPECT_FALSE(state.Accepts(2)); // an older search's news
    (void)state.Append(std::vector<std::uint64_t>{0x40, 0x80}, 0, 0);
    EXPECT_EQ(state.CaptionState(), FindAllState::Running);
    EXPECT_FALSE(state.DocumentChanged(6)); // edits are held while it runs

    state.Finish(SearchStatus::Cancelled);
    EXPECT_FALSE(state.Accepts(3));
    EXPECT_EQ(state.CaptionState(), FindAllState::Stopped);
    EXPECT_EQ(state.HitOffset(1), 0x80u);
    EXPECT_EQ(state.HitOffset(2), std::nullopt);
    EXPECT_EQ(state.StatusText(kBracketLookup), u"[status.hits.many]");
    EXPECT_FALSE(state.DocumentChanged(5)); // the same bytes

    EXPECT_TRUE(state.DocumentChanged(6));
    EXPECT_EQ(state.CaptionState(), FindAllState::OutOfDate);
    EXPECT_EQ(state.HitOffset(0), std::nullopt);
    EXPECT_EQ(state.StatusText(kBracketLookup), u"");
    EXPECT_FALSE(state.DocumentChanged(7)); // said once

    state.Start(2, u"4D 5A", 7);
    state.Finish(SearchStatus::NotFound);
    EXPECT_EQ(state.CaptionState(), FindAllState::Done);
    state.Close();
    EXPECT_FALSE(state.Listed());
    EXPECT_EQ(state.StatusText(kBracketLookup), u"");
    EXPECT_FALSE(state.DocumentChanged(8));
}

} // namespace
} // namespace orx::test
