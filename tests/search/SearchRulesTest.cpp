#include "search/SearchRules.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

TEST(PlanSearchStart, SelectionIsSteppedOverAndCaretIsIncluded)
{
    constexpr auto kNext = SearchDirection::Next;
    constexpr auto kPrevious = SearchDirection::Previous;
    // clang-format off
    struct Case { SearchDirection direction; bool hasSelection; std::uint64_t low, caret, size;
        bool forward, scan; std::uint64_t start; };
    // clang-format on
    const Case cases[] = {
        {kNext, false, 0, 7, 100, true, true, 7},      // a match at the caret is found
        {kPrevious, false, 0, 7, 100, false, true, 7}, // backwards too
        {kNext, true, 5, 9, 100, true, true, 6},       // one after the hit's start
        {kPrevious, true, 5, 9, 100, false, true, 4},  // one before it
        {kNext, true, 99, 99, 100, true, false, 0},    // selection on the last byte
        {kNext, true, 98, 98, 100, true, true, 99},
        {kPrevious, true, 0, 3, 100, false, false, 0}, // selection from the first byte
        {kPrevious, true, 1, 3, 100, false, true, 0},
        {SearchDirection::None, false, 0, 2, 100, false, true, 2}, // anything else is backward
        {kNext, true, 0, 0, 0, true, false, 0},                    // empty document
    };
    for (const Case& c : cases) {
        const SearchStart start =
            PlanSearchStart(c.direction, c.hasSelection, c.low, c.caret, c.size);
        SCOPED_TRACE(testing::Message() << "low " << c.low << " caret " << c.caret);
        EXPECT_EQ(start.forward, c.forward);
        EXPECT_EQ(start.scan, c.scan);
        if (c.scan) {
            EXPECT_EQ(start.offset, c.start);
        }
    }
}

TEST(QueryCharacterLimit, MultiByteEncodingsHalveTheTextLimitAndHexIgnoresIt)
{
    // A text limit always leaves room for the byte limit at one byte per character at least.
    for (std::uint32_t e = 0; e <= 7; ++e) {
        const auto encoding = static_cast<TextEncoding>(e);
        const std::uint32_t limit = TextQueryCharacterLimit(encoding);
        const bool wide = e >= 2 && e <= 6;
        EXPECT_EQ(limit, wide ? 2048u : 4096u) << e;
        EXPECT_EQ(QueryCharacterLimit(true, limit), limit);
        // 4,096 pairs with single blanks between them fit exactly.
        EXPECT_EQ(QueryCharacterLimit(false, limit), 4096u * 3 - 1);
    }
}

} // namespace
} // namespace orx
