// Patterns planted at and across the 1 MiB block boundaries: both directions must give what
// a naive scan of all bytes gives. Overlapping matches are the matcher's own tests.
#include "search/SearchEngine.h"

#include "search/SearchTestSupport.h"
#include "support/MemoryDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint64_t kMiB = 1 << 20;

Bytes RandomBytes(std::mt19937& random, std::size_t size)
{
    Bytes bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

// Offsets k * 2^20 - j around each block boundary, for a pattern of m bytes.
std::set<std::uint64_t> BoundaryOffsets(std::uint64_t m, std::uint64_t size)
{
    std::set<std::uint64_t> offsets;
    for (std::uint64_t k = 1; k * kMiB < size; ++k) {
        for (const std::uint64_t j : {std::uint64_t{0}, std::uint64_t{1}, m / 2, m - 1, m}) {
            if (k * kMiB >= j && k * kMiB - j + m <= size) {
                offsets.insert(k * kMiB - j);
            }
        }
    }
    return offsets;
}

// Every match start in `all`, by a naive scan; the pattern's first byte has no mask.
std::vector<std::uint64_t> AllMatches(const Bytes& all, const SearchPattern& pattern)
{
    std::vector<std::uint64_t> matches;
    // Only where the first byte occurs; the rest is compared byte by byte.
    const std::uint8_t first = pattern.bytes[0];
    for (auto it = std::find(all.begin(), all.end(), first); it != all.end();
         it = std::find(it + 1, all.end(), first)) {
        const auto at = static_cast<std::size_t>(it - all.begin());
        if (test::MatchesAt(all, pattern.bytes, at, pattern.mask)) {
            matches.push_back(at);
        }
    }
    return matches;
}

// Searches from `start` in one direction; the nearest match in `matches` must be found.
void Check(const IReadOnlyDocument& document, const SearchPattern& pattern,
           const std::vector<std::uint64_t>& matches, std::uint64_t start, bool forward,
           const std::string& label)
{
    std::optional<std::uint64_t> expected;
    const auto next = std::lower_bound(matches.begin(), matches.end(), start);
    const auto after = std::upper_bound(matches.begin(), matches.end(), start);
    if (forward && next != matches.end() && start < document.Size()) {
        expected = *next;
    } else if (!forward && after != matches.begin()) {
        expected = *(after - 1);
    }
    const SearchOutcome outcome = forward ? SearchForward(&document, pattern, start, {}, {})
                                          : SearchBackward(&document, pattern, start, {}, {});
    SCOPED_TRACE(label + (forward ? " forward from " : " backward from ") + std::to_string(start));
    EXPECT_EQ(outcome.status, expected ? SearchStatus::Found : SearchStatus::NotFound);
    if (expected) {
        EXPECT_EQ(outcome.offset, *expected);
    }
}

// Searches from a few starts around each planted offset and compares with the naive scan.
void CheckAround(const IReadOnlyDocument& document, const SearchPattern& pattern,
                 const std::set<std::uint64_t>& planted, const std::string& label)
{
    const Bytes all = document.Read(0, document.Size()).bytes;
    ASSERT_EQ(all.size(), document.Size());
    const std::vector<std::uint64_t> matches = AllMatches(all, pattern);
    const std::uint64_t m = pattern.Size();
    std::set<std::uint64_t> forward;
    std::set<std::uint64_t> backward;
    for (const std::uint64_t at : planted) {
        ASSERT_TRUE(std::binary_search(matches.begin(), matches.end(), at))
            << label << " planted at " << at;
        forward.insert({at, at + 1});
        backward.insert({at, at == 0 ? 0 : at - 1});
        // Starts that put a block boundary inside the match: the second forward block
        // begins at start + 1 MiB, the second backward block's candidates end just below
        // start + 1 - 1 MiB and its reads reach m - 1 bytes further.
        for (const std::uint64_t d : {std::uint64_t{1}, m / 2, m - 1}) {
            if (at + d >= kMiB) {
                forward.insert(at + d - kMiB);
            }
            backward.insert(at + kMiB + d - 1);
        }
    }
    for (const std::uint64_t start : forward) {
        Check(document, pattern, matches, start, true, label);
    }
    for (const std::uint64_t start : backward) {
        Check(document, pattern, matches, start, false, label);
    }
}

TEST(SearchBoundaryProperty, PlantedPatternsOfEverySizeAroundBlockBoundaries)
{
    std::mt19937 random(20240601);
    for (std::uint64_t m = 1; m <= 64; ++m) {
        const Bytes pattern = RandomBytes(random, m);
        // Without the pattern's first byte elsewhere, the plant is the only match, so
        // searches from far away must cross the boundaries to reach it.
        test::MemoryDocument document(RandomBytes(random, 2 * kMiB + 777));
        for (auto& b : document.Bytes()) {
            b = b == pattern[0] ? static_cast<std::uint8_t>(b + 1) : b;
        }
        for (const std::uint64_t at : BoundaryOffsets(m, 2 * kMiB)) {
            const auto where = document.Bytes().begin() + static_cast<std::ptrdiff_t>(at);
            const Bytes saved(where, where + static_cast<std::ptrdiff_t>(m));
            std::copy(pattern.begin(), pattern.end(), where);
            CheckAround(document, {pattern, {}, {}, {}}, {at},
                        "m=" + std::to_string(m) + " at " + std::to_string(at));
            std::copy(saved.begin(), saved.end(), where);
        }
    }
}

// Wildcards and folded letters after a fixed first byte, planted around every boundary at
// once: both directions and FindAll, whole reads and short ones, against the naive scan.
TEST(SearchBoundaryProperty, MaskedPatternsAndFindAllAroundBlockBoundaries)
{
    static constexpr std::uint8_t kMasks[] = {0xFF, 0x00, 0xF0, 0x0F, 0xDF};
    std::mt19937 random(20241207);
    for (const std::uint64_t m : {1, 2, 3, 7, 16, 64, 65, 300}) {
        SearchPattern pattern{RandomBytes(random, m), Bytes(m, 0xFF), {}, {}};
        for (std::size_t k = 1; k < m; ++k) {
            pattern.mask[k] = kMasks[random() % 5];
        }
        test::MemoryDocument document(RandomBytes(random, 2 * kMiB + 777));
        for (auto& b : document.Bytes()) {
            b = b == pattern.bytes[0] ? static_cast<std::uint8_t>(b + 1) : b;
        }
        for (const std::uint64_t at : BoundaryOffsets(m, 2 * kMiB)) {
            const auto where = document.Bytes().begin() + static_cast<std::ptrdiff_t>(at);
            const Bytes saved(where, where + static_cast<std::ptrdiff_t>(m));
            std::copy(pattern.bytes.begin(), pattern.bytes.end(), where);
            const std::string label = "masked m=" + std::to_string(m) + " at " + std::to_string(at);
            CheckAround(document, pattern, {at}, label);
            const std::vector<std::uint64_t> matches = AllMatches(document.Bytes(), pattern);
            for (const std::uint64_t limit : {UINT64_MAX, std::uint64_t{4099}}) {
                document.readLimit = limit;
                std::vector<std::uint64_t> found;
                const FindAllOutcome outcome =
                    FindAll(&document, pattern, UINT64_MAX, {}, {}, [&](auto hits) {
                        found.insert(found.end(), hits.begin(), hits.end());
                        return true;
                    });
                EXPECT_EQ(found, matches) << label << " reads of " << limit;
                EXPECT_EQ(outcome.count, matches.size()) << label;
            }
            document.readLimit = UINT64_MAX;
            std::copy(saved.begin(), saved.end(), where);
        }
    }
}

} // namespace
} // namespace orx
