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

// Masks of every kind: exact, wildcard byte, wildcard nibbles, an ASCII letter in either case.
TEST(ByteMatcher, AgreesWithANaiveScanOnSmallAlphabets)
{
    static constexpr std::uint8_t kLetters[] = {'A', 'a', 'B', 'b', 'q'};
    static constexpr std::uint8_t kMasks[] = {0xFF, 0x00, 0xF0, 0x0F, 0xDF};
    std::mt19937 random(1234);
    for (int round = 0; round < 6000; ++round) {
        const std::size_t alphabet = 1 + random() % 5;
        Bytes text(random() % 80);
        Bytes pattern(1 + random() % 6);
        Bytes mask(round % 2 == 0 ? 0 : pattern.size());
        for (auto& b : text)
            b = kLetters[random() % alphabet];
        for (auto& b : pattern)
            b = kLetters[random() % alphabet];
        for (auto& b : mask)
            b = kMasks[random() % 5];
        const ByteMatcher matcher(pattern, mask);
        for (std::size_t at = 0; at <= text.size() + 1; ++at) {
            ASSERT_EQ(First(matcher, text, at), test::NaiveFirst(text, pattern, at, mask))
                << round << " from " << at;
            ASSERT_EQ(Last(matcher, text, at), test::NaiveLast(text, pattern, at, mask))
                << round << " limit " << at;
        }
        std::vector<std::uint64_t> all;
        std::vector<std::uint64_t> naive;
        matcher.FindAll(text, 3, all, 100);
        for (auto hit = test::NaiveFirst(text, pattern, 3, mask); hit;
             hit = test::NaiveFirst(text, pattern, *hit + 1, mask))
            naive.push_back(100 + *hit);
        ASSERT_EQ(all, naive) << round;
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
        Bytes mask;
    };
    Bytes longRun(4095, 'A');
    longRun.push_back('B');
    Bytes abPattern;
    for (int i = 0; i < 2000; ++i)
        abPattern.insert(abPattern.end(), {'A', 'B'});
    abPattern.push_back('A');
    abPattern.push_back('A');
    Bytes wildRun(longRun.size(), 0xFF);
    wildRun[7] = 0x00;
    wildRun[100] = 0xF0;
    Bytes wildAb(abPattern.size(), 0xFF);
    wildAb[7] = 0x00;
    wildAb[100] = 0x0F;
    const Case cases[] = {
        {"run of A then B", longRun, {'A'}, {}},
        {"alternating then AA", abPattern, {'A', 'B'}, {}},
        {"single byte", {'A'}, {'A'}, {}},
        {"run with wildcards", longRun, {'A'}, wildRun},
        {"alternating with wildcards", abPattern, {'A', 'B'}, wildAb},
        {"alternating in either case", abPattern, {'a', 'B'}, Bytes(abPattern.size(), 0xDF)},
    };
    for (const Case& c : cases) {
        Bytes text;
        // Less for masks: their linear scan costs a word operation per 64 pattern bytes.
        while (text.size() < (c.mask.empty() ? 4u << 20 : 1u << 19))
            text.insert(text.end(), c.unit.begin(), c.unit.end());
        const ByteMatcher matcher(c.pattern, c.mask);
        const bool everywhere = c.pattern.size() == 1;
        EXPECT_EQ(First(matcher, text, 7),
                  everywhere ? std::optional<std::uint64_t>(7) : std::nullopt)
            << c.name;
        EXPECT_EQ(Last(matcher, text, text.size()),
                  everywhere ? std::optional<std::uint64_t>(text.size() - 1) : std::nullopt)
            << c.name;
        std::vector<std::uint64_t> all;
        matcher.FindAll(text, 0, all, 0);
        EXPECT_EQ(all.size(), everywhere ? text.size() : 0) << c.name;
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
