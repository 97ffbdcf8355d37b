#include "search/ByteMatcher.h"

#include "search/SearchTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<std::uint64_t> First(const ByteMatcher& matcher, const Bytes& text, std::size_t from)
{
    const std::size_t hit = matcher.FindFirst(text, from);
    return hit == ByteMatcher::npos ? std::nullopt : std::optional<std::uint64_t>(hit);
}

std::optional<std::uint64_t> Last(const ByteMatcher& matcher, const Bytes& text, std::size_t limit)
{
    const std::size_t hit = matcher.FindLast(text, limit);
    return hit == ByteMatcher::npos ? std::nullopt : std::optional<std::uint64_t>(hit);
}

TEST(ByteMatcher, AgreesWithANaiveScanOnSmallAlphabets)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        const int alphabet = 1 + static_cast<int>(random() % 3);
        Bytes text(random() % 80);
        Bytes pattern(1 + random() % 6);
        for (auto& b : text)
            b = static_cast<std::uint8_t>('A' + random() % alphabet);
        for (auto& b : pattern)
            b = static_cast<std::uint8_t>('A' + random() % alphabet);
        const ByteMatcher matcher(pattern);
        for (std::size_t at = 0; at <= text.size() + 1; ++at) {
            ASSERT_EQ(First(matcher, text, at), test::NaiveFirst(text, pattern, at))
                << round << " from " << at;
            ASSERT_EQ(Last(matcher, text, at), test::NaiveLast(text, pattern, at))
                << round << " limit " << at;
        }
    }
}

// Text on which nearly every position passes the filter: the scan must stay linear and
// still report exactly the first and the last match.
TEST(ByteMatcher, PeriodicTextFallsBackToALinearScanWithTheSameResults)
{
    struct Case {
        const char* name;
        Bytes pattern;
        Bytes unit; // repeated to fill the text
    };
    Bytes longRun(4095, 'A');
    longRun.push_back('B');
    Bytes abPattern;
    for (int i = 0; i < 2000; ++i)
        abPattern.insert(abPattern.end(), {'A', 'B'});
    abPattern.push_back('A');
    abPattern.push_back('A');
    const Case cases[] = {
        {"run of A then B", longRun, {'A'}},
        {"alternating then AA", abPattern, {'A', 'B'}},
        {"single byte", {'A'}, {'A'}},
    };
    for (const Case& c : cases) {
        Bytes text;
        while (text.size() < (4u << 20))
            text.insert(text.end(), c.unit.begin(), c.unit.end());
        const ByteMatcher matcher(c.pattern);
        const bool everywhere = c.pattern.size() == 1;
        EXPECT_EQ(First(matcher, text, 7),
                  everywhere ? std::optional<std::uint64_t>(7) : std::nullopt)
            << c.name;
        EXPECT_EQ(Last(matcher, text, text.size()),
                  everywhere ? std::optional<std::uint64_t>(text.size() - 1) : std::nullopt)
            << c.name;
        if (everywhere) {
            continue;
        }
        // One occurrence planted in step with the period is the only one.
        for (const std::size_t at :
             {std::size_t{4}, text.size() / 2 + 2, text.size() - c.pattern.size() - 2}) {
            Bytes planted = text;
            std::copy(c.pattern.begin(), c.pattern.end(),
                      planted.begin() + static_cast<std::ptrdiff_t>(at));
            EXPECT_EQ(First(matcher, planted, 0), at) << c.name;
            EXPECT_EQ(First(matcher, planted, at + 1), std::nullopt) << c.name;
            EXPECT_EQ(Last(matcher, planted, planted.size()), at) << c.name;
            EXPECT_EQ(Last(matcher, planted, at - 1), std::nullopt) << c.name;
        }
    }
}

} // namespace
} // namespace orx
