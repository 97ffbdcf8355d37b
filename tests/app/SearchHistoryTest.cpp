#include "app/SearchHistory.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using History = std::vector<SearchHistoryEntry>;

TEST(SearchHistory, NewestFirstWithoutRepeatsPerKind)
{
    History history;
    EXPECT_TRUE(AddSearchHistory(history, u"hex", u"41 41"));
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"41 41")); // same text, other kind
    EXPECT_TRUE(AddSearchHistory(history, u"hex", u"DE AD"));
    EXPECT_TRUE(AddSearchHistory(history, u"hex", u"41 41")); // moves to the front
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"Abc"));
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"abc", true)); // so does the case flag
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"abc"));       // case counts
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"abc", true));
    EXPECT_FALSE(AddSearchHistory(history, u"hex", u""));
    EXPECT_FALSE(AddSearchHistory(history, u"", u"41"));
    const History expected = {{u"text", u"abc", true}, {u"text", u"abc"},  {u"text", u"Abc"},
                              {u"hex", u"41 41"},      {u"hex", u"DE AD"}, {u"text", u"41 41"}};
    EXPECT_EQ(history, expected);
    EXPECT_EQ(SearchHistoryQueries(history, u"hex"),
              (std::vector<std::u16string>{u"41 41", u"DE AD"}));
    EXPECT_EQ(SearchHistoryQueries(history, u"Text"), std::vector<std::u16string>{});
}

TEST(SearchHistory, SeventeenthQueryDropsTheOldest)
{
    History history;
    for (int i = 0; i < 17; ++i) {
        EXPECT_TRUE(AddSearchHistory(history, u"hex", std::u16string(1, u'A' + i)));
    }
    ASSERT_EQ(history.size(), 16u);
    EXPECT_EQ(history.front().query, u"Q");
    EXPECT_EQ(history.back().query, u"B");
    // Repeating the oldest keeps sixteen and brings it forward.
    EXPECT_TRUE(AddSearchHistory(history, u"hex", u"B"));
    EXPECT_EQ(history.size(), 16u);
    EXPECT_EQ(history.front().query, u"B");
    EXPECT_EQ(history.back().query, u"C");
}

} // namespace
} // namespace orx
