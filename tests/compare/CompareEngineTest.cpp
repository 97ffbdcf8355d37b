#include "compare/CompareEngine.h"
#include "compare/DifferenceMarks.h"
#include "document/EditableDocument.h"
#include "support/MemoryDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Runs = std::vector<Difference>;

// The differences as a byte-at-a-time loop sees them.
Runs NaiveRuns(const Bytes& left, const Bytes& right)
{
    Runs runs;
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        if (i < left.size() && i < right.size() && left[i] == right[i]) {
            continue;
        }
        if (!runs.empty() && runs.back().End() == i) {
            ++runs.back().length;
        } else {
            runs.push_back({i, 1});
        }
    }
    return runs;
}

// The runs from `from` on; each preview is checked against the bytes read directly.
Runs Visited(const ComparedPair& pair, std::uint64_t from)
{
    Runs runs;
    const auto first = [](const IReadOnlyDocument& side, const Difference& run) {
        return side.Read(run.offset, std::min<std::uint64_t>(run.length, kPreviewBytes)).bytes;
    };
    const auto visit = [&](const Difference& run, const DifferencePreview& preview) {
        runs.push_back(run);
        EXPECT_EQ(Bytes(preview.left.begin(), preview.left.begin() + preview.leftCount),
                  first(pair.left, run));
        EXPECT_EQ(Bytes(preview.right.begin(), preview.right.begin() + preview.rightCount),
                  first(pair.right, run));
        return true;
    };
    const CompareResult result = VisitDifferences(pair, from, visit);
    EXPECT_EQ(result.status, CompareStatus::Done);
    return runs;
}

// Every question the engine answers, checked against the naive runs.
void ExpectAgreesWithNaive(const IReadOnlyDocument& left, const IReadOnlyDocument& right,
                           const Runs& naive, std::size_t block)
{
    const ComparedPair pair{left, right, {}, {}, block};
    EXPECT_EQ(Visited(pair, 0), naive);
    DifferenceIndex index;
    const CompareResult count = CountDifferences(pair, &index);
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < naive.size(); ++i) {
        bytes += naive[i].length;
        EXPECT_EQ(NumberDifference(pair, index, naive[i].offset).number, i + 1);
    }
    EXPECT_EQ(count.count, naive.size());
    EXPECT_EQ(count.differingBytes, bytes);
    const std::uint64_t end = std::max(left.Size(), right.Size());
    for (std::uint64_t at = 0; at <= end + 1; at += 1 + at / 3) {
        std::optional<Difference> next;
        std::optional<Difference> previous;
        for (const Difference& run : naive) {
            if (!next && run.offset >= at) {
                next = run;
            }
            if (run.offset < at) {
                previous = run;
            }
        }
        SCOPED_TRACE(::testing::Message() << "at " << at << ", block " << block);
        EXPECT_EQ(FindNextDifference(pair, at).difference, next);
        EXPECT_EQ(FindPreviousDifference(pair, at).difference, previous);
    }
}

TEST(CompareEngine, RunsAtBlockEdgesEndsAndSizeMismatches)
{
    // Left and right are `size` bytes of one pattern; `flips` lists bytes of the right one
    // changed, and `extra` bytes are added to the right (negative: removed). Blocks of 16.
    // clang-format off
    struct Case { std::size_t size; std::vector<std::size_t> flips; int extra; Runs expected; };
    const Case cases[] = {
        {0, {}, 0, {}},                               {0, {}, 3, {{0, 3}}},
        {40, {}, 0, {}},                              {40, {0}, 0, {{0, 1}}},
        {40, {39}, 0, {{39, 1}}},                     {40, {15, 16}, 0, {{15, 2}}},
        {40, {14, 15, 16, 17, 31, 32}, 0, {{14, 4}, {31, 2}}},
        {40, {16}, 0, {{16, 1}}},                     {40, {15}, 0, {{15, 1}}},
        {40, {}, 5, {{40, 5}}},                       {40, {}, -8, {{32, 8}}},
        {40, {39}, 2, {{39, 3}}},                     {40, {30}, -8, {{30, 1}, {32, 8}}},
        {40, {31}, -8, {{31, 9}}},                    {300, {0, 1, 2, 100, 299}, 0, {{0, 3}, {100, 1}, {299, 1}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        Bytes left(c.size);
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] = static_cast<std::uint8_t>(i * 7);
        }
        Bytes right = left;
        for (const std::size_t flip : c.flips) {
            right[flip] ^= 0x5A;
        }
        right.resize(static_cast<std::size_t>(static_cast<int>(c.size) + c.extra), 0);
        SCOPED_TRACE(::testing::Message() << c.size << " bytes, extra " << c.extra);
        EXPECT_EQ(NaiveRuns(left, right), c.expected);
        for (const std::size_t block : {std::size_t{16}, std::size_t{1}, std::size_t{256}}) {
            ExpectAgreesWithNaive(test::MemoryDocument(left), test::MemoryDocument(right),
                                  c.expected, block);
            // Swapped sides give the same runs.
            ExpectAgreesWithNaive(test::MemoryDocument(right), test::MemoryDocument(left),
                                  c.expected, block);
        }
    }
}

// The marks of random spans are the naive runs cut to the span; Around finds the run that
// holds an offset, open where it reaches the edge of what it looked at.
void ExpectMarksAgree(const DifferenceMarks& marks, const Runs& naive, std::uint64_t size,
                      unsigned seed)
{
    std::mt19937 random(seed);
    for (int round = 0; round < 20; ++round) {
        const std::uint64_t first = random() % (size + 2);
        const std::uint64_t end = first + random() % 400;
        std::vector<MarkedRange> expected;
        std::vector<MarkedRange> got;
        for (const Difference& run : naive) {
            const std::uint64_t a = std::max(run.offset, first);
            const std::uint64_t b = std::min(run.End(), end);
            if (a < b) {
                expected.push_back({a, b - a, MarkKind::Difference});
            }
        }
        marks.MarksIn(first, end, got);
        EXPECT_EQ(got, expected) << first << ".." << end;
        const std::uint64_t reach = 1 + random() % 100;
        const auto around = marks.Around(first, reach);
        const auto holding = std::find_if(naive.begin(), naive.end(), [&](const Difference& r) {
            return r.offset <= first && first < r.End();
        });
        ASSERT_EQ(around.has_value(), holding != naive.end()) << first;
        if (around) {
            const std::uint64_t low = first - std::min(first, reach);
            EXPECT_EQ(around->run.offset, std::max(holding->offset, low));
            const std::uint64_t high = std::min(size, first + reach + 1);
            EXPECT_EQ(around->run.End(), std::min(holding->End(), high));
            // Open: the run reaches an edge of the span looked at that is not an end.
            EXPECT_EQ(around->openStart, holding->offset <= low && low > 0);
            EXPECT_EQ(around->openEnd, holding->End() >= high && high < size);
        }
    }
}

TEST(CompareEngine, RandomPairsAgreeWithTheNaiveLoop)
{
    std::mt19937 random(23);
    for (int round = 0; round < 60; ++round) {
        Bytes left(random() % 3000);
        for (std::uint8_t& byte : left) {
            byte = static_cast<std::uint8_t>(random());
        }
        Bytes right = left;
        // Sparse runs, some long enough to cross the vector paths, then a size change.
        const unsigned runs = random() % 12;
        for (unsigned r = 0; r < runs && !right.empty(); ++r) {
            const std::size_t first = random() % right.size();
            const std::size_t length =
                std::min<std::size_t>(1 + random() % 150, right.size() - first);
            for (std::size_t i = first; i < first + length; ++i) {
                right[i] = static_cast<std::uint8_t>(right[i] + 1 + random() % 255);
            }
        }
        right.resize(random() % 4 == 0 ? random() % 3000 : right.size(), 0x33);
        const std::size_t block = std::size_t{1} << (random() % 12);
        const test::MemoryDocument leftDocument(left);
        const test::MemoryDocument rightDocument(right);
        const Runs naive = NaiveRuns(left, right);
        ExpectAgreesWithNaive(leftDocument, rightDocument, naive, block);
        ExpectMarksAgree(DifferenceMarks(leftDocument, rightDocument), naive,
                         std::max(left.size(), right.size()), random());
    }
}

TEST(CompareEngine, TheEditedLeftSideIsWhatIsCompared)
{
    test::TempDir dir;
    Bytes original(5000);
    for (std::size_t i = 0; i < original.size(); ++i) {
        original[i] = static_cast<std::uint8_t>(i % 251);
    }
    EditableDocument left;
    ASSERT_TRUE(left.Open(dir.Write(u"left.bin", original)));
    test::MemoryDocument right(original);
    // clang-format off
    struct Edit { char kind; std::uint64_t offset; };
    const Edit edits[] = {{'o', 4096}, {'o', 0}, {'i', 2500}, {'d', 10}, {'d', 4999}, {'o', 1000}};
    // clang-format on
    Bytes model = original;
    for (const Edit& edit : edits) {
        const auto at = model.begin() + static_cast<std::ptrdiff_t>(edit.offset);
        if (edit.kind == 'o') {
            ASSERT_TRUE(left.OverwriteByte(edit.offset, 0xEE));
            *at = 0xEE;
        } else if (edit.kind == 'i') {
            ASSERT_TRUE(left.InsertByte(edit.offset, 0xEE));
            model.insert(at, 0xEE);
        } else {
            ASSERT_TRUE(left.DeleteByte(edit.offset));
            model.erase(at);
        }
        SCOPED_TRACE(::testing::Message() << edit.kind << " at " << edit.offset);
        ExpectAgreesWithNaive(left, right, NaiveRuns(model, original), 512);
    }
    // Putting the byte back removes the difference.
    ASSERT_TRUE(left.OverwriteByte(0, original[0]));
    model[0] = original[0];
    EXPECT_EQ(Visited({left, right, {}, {}, 512}, 0), NaiveRuns(model, original));
}

TEST(CompareEngine, StopsWhenAskedReportsProgressAndUnreadableSides)
{
    Bytes bytes(1000, 1);
    test::MemoryDocument left(bytes);
    bytes.back() = 2;
    test::MemoryDocument right(bytes);
    std::vector<std::uint64_t> done;
    const ProgressCallback progress = [&](std::uint64_t d, std::uint64_t total) {
        EXPECT_EQ(total, 1000u);
        done.push_back(d);
    };
    EXPECT_EQ(CountDifferences({left, right, {}, progress, 300}).count, 1u);
    EXPECT_EQ(done, (std::vector<std::uint64_t>{300, 600, 900, 1000, 1000}));

    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(FindNextDifference({left, right, stop.get_token()}, 0).status,
              CompareStatus::Stopped);
    EXPECT_EQ(FindPreviousDifference({left, right, stop.get_token()}, 1000).status,
              CompareStatus::Stopped);

    right.readLimit = 700;
    const CompareResult unreadable = FindNextDifference({left, right, {}, {}, 800}, 0);
    EXPECT_EQ(unreadable.status, CompareStatus::Unreadable);
    EXPECT_TRUE(unreadable.failedRight);
    EXPECT_EQ(unreadable.failedOffset, 700u);
}

// The longer side's tail is read for its preview: when it cannot be, the longer file is the
// one named, at the first byte it would not give.
TEST(CompareEngine, NamesTheLongerSideWhenItsTailIsUnreadable)
{
    struct Case {
        std::size_t leftSize;
        std::size_t rightSize;
        std::uint64_t unreadableFrom; // of the longer side
        bool lastCommonDiffers;       // the tail's run starts before the shorter one's end
        std::uint64_t failedOffset;
    };
    const Case cases[] = {
        {1000, 1500, 1000, false, 1000}, {1500, 1000, 1000, false, 1000},
        {1000, 1500, 1000, true, 1000},  {1500, 1000, 1000, true, 1000},
        {1000, 1500, 1003, false, 1003}, {1500, 1000, 1005, true, 1005},
    };
    for (const Case& c : cases) {
        const bool rightLonger = c.rightSize > c.leftSize;
        SCOPED_TRACE(::testing::Message() << c.leftSize << " against " << c.rightSize
                                          << ", unreadable from " << c.unreadableFrom);
        test::MemoryDocument left(Bytes(c.leftSize, 7));
        test::MemoryDocument right(Bytes(c.rightSize, 7));
        test::MemoryDocument& longer = rightLonger ? right : left;
        longer.unreadableFrom = c.unreadableFrom;
        if (c.lastCommonDiffers) {
            const std::size_t common = std::min(c.leftSize, c.rightSize);
            longer.Bytes()[common - 2] = longer.Bytes()[common - 1] = 8;
        }
        const ComparedPair pair{left, right, {}, {}, 256};
        for (const CompareResult& result :
             {FindNextDifference(pair, 0), CountDifferences(pair),
              FindPreviousDifference(pair, std::max(c.leftSize, c.rightSize))}) {
            EXPECT_EQ(result.status, CompareStatus::Unreadable);
            EXPECT_EQ(result.failedRight, rightLonger);
            EXPECT_EQ(result.failedOffset, c.failedOffset);
        }
    }
}

} // namespace
} // namespace orx
