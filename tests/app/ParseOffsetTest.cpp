#include "app/ParseOffset.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

TEST(ParseOffset, GoToAnswers)
{
    constexpr std::uint64_t kMax = ~0ull;
    // clang-format off
    struct Case { std::u16string text; std::optional<std::uint64_t> expected; };
    const Case cases[] = {
        {u"  0X1f \t", 31},
        {u"10", 16}, // always hexadecimal
        {u"0", 0},
        {u"\r\nFFFFFFFFFFFFFFFF\n", kMax},
        {u"0x0x10", 16}, // the conversion takes a prefix of its own
        {u"-1", kMax},   // a minus wraps like the standard conversion
        {u"+a", 10},
        {u"0x -2", kMax - 1},
        {u"0x", std::nullopt},
        {u"", std::nullopt},
        {u" \t\r\n", std::nullopt},
        {u"g", std::nullopt},
        {u"0xg", std::nullopt},
        {u"1 2", std::nullopt},
        {u"12h", std::nullopt},
        {u"FFFFFFFFFFFFFFFFF", std::nullopt}, // seventeen digits overflow
        {u"10000000000000000", std::nullopt},
        {u"-", std::nullopt},
        {u"0x0x", std::nullopt},
        {u"\u0661", std::nullopt}, // only ASCII digits count
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text.size() << " units");
        EXPECT_EQ(ParseOffset(c.text), c.expected);
    }
}

} // namespace
} // namespace orx::test
