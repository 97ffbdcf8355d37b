#include "search/HitList.h"

#include "search/HitRows.h"
#include "support/MemoryDocument.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

// Hits every 3 bytes, 4 bytes long (so neighbours overlap), across several chunks.
HitList EveryThirdByte(std::uint64_t count)
{
    HitList hits;
    hits.Reset(4);
    std::vector<std::uint64_t> batch;
    for (std::uint64_t i = 0; i < count; ++i) {
        batch.push_back(3 * i);
        if (batch.size() == 1000 || i + 1 == count) { // batches that do not align with chunks
            hits.Append(batch);
            batch.clear();
        }
    }
    return hits;
}

TEST(HitList, LooksUpAcrossChunksAndMarksEveryHitThatReachesTheSpan)
{
    const std::uint64_t count = 2 * HitList::kChunkHits + 5;
    HitList hits = EveryThirdByte(count);
    ASSERT_EQ(hits.Count(), count);
    // clang-format off
    struct Case { std::uint64_t first, end; std::uint64_t firstMarked; std::size_t marked; };
    const Case cases[] = {
        {0, 1, 0, 1},                 // only the hit at 0
        {4, 5, 3, 1},                 // 3 reaches 4..6; 0 ends at 3
        {5, 7, 3, 2},                 // 3 and 6
        {5, 6, 3, 1},                 // 6 starts where the span ends
        {3 * HitList::kChunkHits - 1, 3 * HitList::kChunkHits + 1, 3 * HitList::kChunkHits - 3, 2},
        {3 * count, 3 * count + 100, 3 * (count - 1), 1}, // the last hit's tail
        {3 * count + 10, ~0ull, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        std::vector<MarkedRange> marks;
        hits.MarksIn(c.first, c.end, marks);
        ASSERT_EQ(marks.size(), c.marked);
        if (c.marked > 0) {
            EXPECT_EQ(marks.front(), (MarkedRange{c.firstMarked, 4, MarkKind::Hit}));
        }
    }
    EXPECT_EQ(hits.At(HitList::kChunkHits), 3 * HitList::kChunkHits);
    EXPECT_EQ(hits.LowerBound(3 * HitList::kChunkHits + 1), HitList::kChunkHits + 1);
    EXPECT_EQ(hits.LowerBound(~0ull), count);
    // Eight bytes a hit, beyond one chunk at most.
    EXPECT_LE(hits.MemoryBytes(), 8 * count + 8 * HitList::kChunkHits);

    hits.MarkOutOfDate();
    std::vector<MarkedRange> marks;
    hits.MarksIn(0, 100, marks);
    EXPECT_TRUE(marks.empty());
    EXPECT_EQ(hits.Count(), count); // still listed
    hits.Reset(2);
    EXPECT_FALSE(hits.OutOfDate());
    EXPECT_EQ(hits.Count(), 0u);
}

TEST(HitRows, CopyTextKeepsEveryLineThatFitsItsLimit)
{
    const MemoryDocument document({0x4D, 0x5A, 0x90, 0x00, 0x4D, 0x5A, 0x90});
    HitList hits;
    hits.Reset(3);
    hits.Append(std::vector<std::uint64_t>{0, 4});
    const std::u16string first = u"00000000\t4D 5A 90\r\n"; // 19 characters
    const std::u16string second = u"00000004\t4D 5A 90\r\n";
    // clang-format off
    struct Case { std::vector<std::uint64_t> indices; std::uint64_t maxChars; std::u16string text; };
    const Case cases[] = {
        {{0, 1}, 38, first + second}, // the limit exactly the text's length
        {{0, 1}, 37, first},
        {{0, 1}, 19, first},
        {{0, 1}, 18, u""},
        {{1, 0}, 99, second + first}, // in the order asked
        {{1, 2, 0}, 99, second + first}, // no hit 2
        {{}, 99, u""},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(HitLinesText(document, hits, c.indices, c.maxChars), c.text) << c.maxChars;
    }
}

} // namespace
} // namespace orx::test
