#include "app/AppChanges.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

Refreshes Make(bool title, bool status, bool menu, bool side, bool texts, bool theme)
{
    return {title, status, menu, side, texts, theme};
}

TEST(AppChanges, EachChangeRefreshesWhatShowsIt)
{
    struct Case {
        Change change;
        Refreshes expected;
    };
    const Case cases[] = {
        {Change::None, Make(false, false, false, false, false, false)},
        {Change::Bytes, Make(true, true, false, true, false, false)},
        {Change::Caret, Make(false, true, false, true, false, false)},
        {Change::File, Make(true, true, true, true, false, false)},
        {Change::Mode, Make(false, true, true, false, false, false)},
        {Change::Busy, Make(false, true, true, false, false, false)},
        {Change::Language, Make(true, true, true, true, true, false)},
        {Change::Theme, Make(false, true, true, true, false, true)},
        {Change::Commands, Make(false, true, true, false, false, false)},
        {Change::Message, Make(false, true, false, false, false, false)},
        {Change::Caret | Change::Commands, Make(false, true, true, true, false, false)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RefreshesFor(c.change, true), c.expected) << static_cast<std::uint32_t>(c.change);
    }
}

TEST(AppChanges, BeforeTheFirstRowsOnlyTitleAndStatusFollow)
{
    const Change all = Change::Bytes | Change::Caret | Change::File | Change::Mode | Change::Busy |
                       Change::Language | Change::Theme | Change::Commands;
    EXPECT_EQ(RefreshesFor(all, false), Make(true, true, false, false, false, false));
    EXPECT_EQ(RefreshesFor(Change::Caret, false), Make(false, true, false, false, false, false));
}

TEST(AppChanges, OneFlushRequestUntilItIsServed)
{
    PendingChanges pending;
    EXPECT_TRUE(pending.Empty());
    EXPECT_TRUE(pending.Mark(Change::Caret));
    EXPECT_FALSE(pending.Mark(Change::Bytes)); // already asked for
    EXPECT_EQ(pending.Take(), Change::Caret | Change::Bytes);
    EXPECT_TRUE(pending.Empty());
    EXPECT_EQ(pending.Take(), Change::None);
    // Flushed by a dispatched message before the request came: still only one request.
    EXPECT_FALSE(pending.Mark(Change::Theme));
    pending.RequestServed();
    EXPECT_TRUE(pending.Mark(Change::Theme));
}

} // namespace
} // namespace orx
