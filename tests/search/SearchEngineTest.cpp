#include "search/SearchEngine.h"

#include "support/MemoryDocument.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <utility>
#include <vector>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Bytes64 = std::vector<std::uint64_t>;
using test::MemoryDocument;

constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::uint64_t kNone = UINT64_MAX; // expected: not found

std::uint64_t Forward(const IReadOnlyDocument& document, const Bytes& pattern, std::uint64_t start)
{
    const SearchOutcome outcome = SearchForward(&document, pattern, start, {}, {});
    return outcome.status == SearchStatus::Found ? outcome.offset : kNone;
}

std::uint64_t Backward(const IReadOnlyDocument& document, const Bytes& pattern, std::uint64_t start)
{
    const SearchOutcome outcome = SearchBackward(&document, pattern, start, {}, {});
    return outcome.status == SearchStatus::Found ? outcome.offset : kNone;
}

TEST(Search, FindsTheNearestMatchInEachDirectionWithoutWrapping)
{
    // The ends of the document and of the pattern; the planted-pattern property test holds
    // matches at, before and after the start.
    // clang-format off
    struct Case { const char* name; Bytes document; Bytes pattern; std::uint64_t start; std::uint64_t forward,
        backward; };
    // clang-format on
    const Bytes aaaa = {0x41, 0x41, 0x41, 0x41};
    const Case cases[] = {
        {"overlapping from 2", aaaa, {0x41, 0x41}, 2, 2, 2},
        {"no room after 3", aaaa, {0x41, 0x41}, 3, kNone, 2},
        {"start beyond the end", aaaa, {0x41, 0x41}, 100, kNone, 2},
        {"longer than the document", aaaa, {0x41, 0x41, 0x41, 0x41, 0x41}, 0, kNone, kNone},
        {"between two matches", {1, 2, 3, 2, 3}, {2, 3}, 2, 3, 1},
        {"last byte", {1, 2, 3}, {3}, 2, 2, 2},
        {"empty pattern", {1, 2, 3}, {}, 0, kNone, kNone},
        {"empty document", {}, {1}, 0, kNone, kNone},
    };
    for (const Case& c : cases) {
        const MemoryDocument document(c.document);
        EXPECT_EQ(Forward(document, c.pattern, c.start), c.forward) << c.name;
        EXPECT_EQ(Backward(document, c.pattern, c.start), c.backward) << c.name;
    }
    EXPECT_EQ(SearchForward(nullptr, Bytes{1}, 0, {}, {}).status, SearchStatus::NotFound);
    EXPECT_EQ(SearchBackward(nullptr, Bytes{1}, 0, {}, {}).status, SearchStatus::NotFound);
}

TEST(Search, ReportsProgressPerBlockAndAsksToGoOnBeforeEachRead)
{
    const std::uint64_t size = 2 * kMiB + kMiB / 2;
    const MemoryDocument document(Bytes(size, 0));
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
    const ProgressCallback progress = [&](std::uint64_t done, std::uint64_t total) {
        reports.emplace_back(done, total);
    };
    int checks = 0;
    const CancelCheck goOn = [&] {
        ++checks;
        return true;
    };

    // Backward as forward: the share of the document searched so far.
    const std::vector<std::pair<std::uint64_t, std::uint64_t>> expected = {
        {0, size}, {kMiB, size}, {2 * kMiB, size}, {size, size}};
    EXPECT_EQ(SearchForward(&document, Bytes{1}, 0, goOn, progress).status, SearchStatus::NotFound);
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(checks, 3);

    reports.clear();
    checks = 0;
    EXPECT_EQ(SearchBackward(&document, Bytes{1}, size, goOn, progress).status,
              SearchStatus::NotFound);
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(checks, 3);
}

TEST(Search, CancelStopsAtTheNextBlockEvenWithAMatchFurtherOn)
{
    // Both directions reach their match in the third block they read.
    MemoryDocument document(Bytes(3 * kMiB, 0));
    document.Bytes()[5] = 7;
    document.Bytes()[3 * kMiB - 3] = 7;
    for (const int allowed : {0, 1, 2, 3}) {
        int checks = 0;
        const CancelCheck cancel = [&] { return checks++ < allowed; };
        const SearchOutcome forward = SearchForward(&document, Bytes{7}, 6, cancel, {});
        EXPECT_EQ(forward.status, allowed < 3 ? SearchStatus::Cancelled : SearchStatus::Found)
            << allowed;
        EXPECT_EQ(checks, std::min(allowed + 1, 3)) << allowed;
        checks = 0;
        const SearchOutcome backward =
            SearchBackward(&document, Bytes{7}, 3 * kMiB - 4, cancel, {});
        EXPECT_EQ(backward.status, allowed < 3 ? SearchStatus::Cancelled : SearchStatus::Found)
            << allowed;
        if (allowed == 3) {
            EXPECT_EQ(forward.offset, 3 * kMiB - 3);
            EXPECT_EQ(backward.offset, 5u);
        }
    }
}

TEST(Search, UnreadableBlocksEndTheForwardSearchAndAreSkippedBackward)
{
    MemoryDocument document(Bytes(kMiB, 0));
    document.Bytes()[10] = 9;
    document.Bytes()[20] = 9;
    document.Bytes()[21] = 9;
    document.readLimit = 0;
    EXPECT_EQ(Forward(document, Bytes{9}, 0), kNone);
    EXPECT_EQ(Backward(document, Bytes{9}, kMiB), kNone);

    // Short reads: the forward search goes on from where each read ended; a backward block
    // shorter than the pattern is skipped, a longer one is searched as far as it goes.
    document.readLimit = 7;
    document.reads = 0;
    EXPECT_EQ(Forward(document, Bytes{9, 9}, 0), 20u);
    EXPECT_GT(document.reads, 2u);
    EXPECT_EQ(Backward(document, Bytes{9}, 30), kNone); // reads at 0 deliver offsets 0..6 only
    document.readLimit = 1;
    EXPECT_EQ(Backward(document, Bytes{9, 9}, kMiB), kNone);
}

TEST(Search, ReadsShorterThanThePatternStillFindAMatchAcrossThem)
{
    // Each read ends inside the match: the bytes kept from earlier reads must add up.
    MemoryDocument document(Bytes(200, 0));
    const Bytes pattern = {1, 2, 3, 4, 5, 6};
    std::copy(pattern.begin(), pattern.end(), document.Bytes().begin() + 101);
    for (const std::uint64_t limit : {1, 2, 3, 4}) {
        document.readLimit = limit;
        EXPECT_EQ(Forward(document, pattern, 0), 101u) << limit;
        EXPECT_EQ(Forward(document, pattern, 100), 101u) << limit;
    }
}

// Runs of three 5s every 1,000 bytes (two overlapping hits of 5 5 each), one across the first
// block edge. Expected counts and offsets come from the planted list.
TEST(FindAll, HandsOverHitsInAscendingBatchesUpToTheLimitUntilCancelled)
{
    MemoryDocument document(Bytes(3 * kMiB + kMiB / 2, 0));
    std::vector<std::uint64_t> planted;
    for (std::uint64_t at = 500; at + 3 <= document.Size(); at += 1000) {
        at = at == 1048500 ? kMiB - 2 : at;
        std::fill_n(document.Bytes().begin() + static_cast<std::ptrdiff_t>(at), 3, 5);
        planted.insert(planted.end(), {at, at + 1});
    }
    const std::uint64_t inFirstView = static_cast<std::uint64_t>(
        std::lower_bound(planted.begin(), planted.end(), kMiB - 1) - planted.begin());
    const SearchPattern pattern{{5, 5}, {}, {}, {}};
    // clang-format off
    struct Case { const char* name; std::uint64_t maxHits; int checks; int batches;
        std::uint64_t count; SearchStatus status; };
    const Case cases[] = {
        {"all", UINT64_MAX, 99, 99, planted.size(), SearchStatus::Found},
        {"at most 5", 5, 99, 99, 5, SearchStatus::Found},
        {"none wanted", 0, 99, 99, 0, SearchStatus::NotFound},
        {"cancelled in the second block", UINT64_MAX, 1, 99, inFirstView, SearchStatus::Cancelled},
        {"refused after the first batch", UINT64_MAX, 99, 1, inFirstView, SearchStatus::Cancelled},
    };
    // clang-format on
    for (const Case& c : cases) {
        int checks = 0;
        std::vector<std::uint64_t> found;
        std::vector<std::size_t> sizes;
        const FindAllOutcome outcome = FindAll(
            &document, pattern, c.maxHits, [&] { return checks++ < c.checks; }, {},
            [&](std::span<const std::uint64_t> hits) {
                found.insert(found.end(), hits.begin(), hits.end());
                sizes.push_back(hits.size());
                return static_cast<int>(sizes.size()) < c.batches;
            });
        EXPECT_EQ(outcome.status, c.status) << c.name;
        EXPECT_EQ(outcome.count, c.count) << c.name;
        EXPECT_EQ(found, Bytes64(planted.begin(), planted.begin() + c.count)) << c.name;
        EXPECT_LE(sizes.size(), 4u) << c.name; // one batch per block
    }
    EXPECT_EQ(FindAll(&document, {{6}, {}, {}, {}}, UINT64_MAX, {}, {}, {}).status,
              SearchStatus::NotFound);
}

} // namespace
} // namespace orx
