#include "checksum/ChecksumEngine.h"
#include "document/EditableDocument.h"
#include "platform/Digest.h"
#include "support/MemoryDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace orx {
namespace {

using platform::kAllDigestAlgorithms;

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

// The values of `bytes` computed directly, one digest each, in the order of all algorithms.
std::vector<ChecksumValue> Direct(std::span<const std::uint8_t> bytes)
{
    std::vector<ChecksumValue> values;
    for (const DigestAlgorithm algorithm : kAllDigestAlgorithms) {
        const std::unique_ptr<platform::Digest> digest = platform::CreateDigest(algorithm);
        digest->Update(bytes);
        values.push_back({algorithm, digest->Finish()});
    }
    return values;
}

ChecksumOutcome All(const IReadOnlyDocument& document, ChecksumRange range,
                    const ChecksumOptions& options = {}, std::stop_token stop = {},
                    const ProgressCallback& progress = {})
{
    return ComputeChecksums(document, range, kAllDigestAlgorithms, std::move(stop), progress,
                            options);
}

TEST(ChecksumEngine, EveryLaneCountAndBlockSizeGivesTheDirectValues)
{
    const std::vector<std::uint8_t> bytes = RandomBytes(5000, 1);
    test::MemoryDocument document(bytes);
    // clang-format off
    struct Case { ChecksumRange range; std::size_t lanes; std::size_t block; };
    const Case cases[] = {
        {{0, 5000}, 1, 7},    {{0, 5000}, 2, 64},  {{0, 5000}, 3, 4999}, {{0, 5000}, 6, 5000},
        {{0, 5000}, 9, 1},    {{0, 5000}, 0, kChecksumBlockSize},
        {{17, 4000}, 2, 128}, {{4999, 1}, 4, 64},  {{5000, 0}, 2, 64},   {{0, 0}, 1, 64},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.range.offset << "+" << c.range.length << ", "
                                          << c.lanes << " lanes, block " << c.block);
        const ChecksumOutcome outcome = All(document, c.range, {c.lanes, c.block});
        ASSERT_EQ(outcome.status, ChecksumStatus::Done);
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(c.range.offset);
        EXPECT_EQ(outcome.values, Direct(std::vector<std::uint8_t>(
                                      first, first + static_cast<std::ptrdiff_t>(c.range.length))));
    }
}

TEST(ChecksumEngine, ProgressRisesBlockByBlockToTheLength)
{
    test::MemoryDocument document(RandomBytes(1000, 3));
    std::vector<std::uint64_t> reports;
    const ChecksumOutcome outcome =
        All(document, {100, 900}, {2, 256}, {}, [&](std::uint64_t done, std::uint64_t total) {
            EXPECT_EQ(total, 900u);
            reports.push_back(done);
        });
    EXPECT_EQ(outcome.status, ChecksumStatus::Done);
    EXPECT_EQ(reports, (std::vector<std::uint64_t>{256, 512, 768, 900}));

    int calls = 0;
    EXPECT_EQ(All(document, {5, 0}, {}, {}, [&](auto, auto) { ++calls; }).status,
              ChecksumStatus::Done);
    EXPECT_EQ(calls, 0) << "an empty range reports nothing";
}

// A read that delivers less than asked, or a range past the end, gives no value but the
// offset of the first byte that could not be read.
TEST(ChecksumEngine, UnreadableBytesEndItWithTheirOffsetAndNoValue)
{
    test::MemoryDocument document(RandomBytes(1000, 4));
    document.readLimit = 100; // every read delivers at most 100 bytes
    ChecksumOutcome outcome = All(document, {10, 500}, {1, 256});
    EXPECT_EQ(outcome.status, ChecksumStatus::Unreadable);
    EXPECT_EQ(outcome.failedOffset, 110u);
    EXPECT_TRUE(outcome.values.empty());

    document.readLimit = UINT64_MAX;
    outcome = All(document, {900, 101});
    EXPECT_EQ(outcome.status, ChecksumStatus::Unreadable);
    EXPECT_EQ(outcome.failedOffset, 1000u);
    EXPECT_TRUE(outcome.values.empty());
}

TEST(ChecksumEngine, AStopRequestEndsItWithoutAValue)
{
    test::MemoryDocument document(RandomBytes(10000, 5));
    std::stop_source before;
    before.request_stop();
    ChecksumOutcome outcome = All(document, {0, 10000}, {}, before.get_token());
    EXPECT_EQ(outcome.status, ChecksumStatus::Stopped);
    EXPECT_TRUE(outcome.values.empty());

    // Midway: after the fourth block of ten.
    std::stop_source midway;
    std::uint64_t last = 0;
    outcome = All(document, {0, 10000}, {2, 1000}, midway.get_token(),
                  [&](std::uint64_t done, std::uint64_t) {
                      last = done;
                      if (done == 4000) {
                          midway.request_stop();
                      }
                  });
    EXPECT_EQ(outcome.status, ChecksumStatus::Stopped);
    EXPECT_TRUE(outcome.values.empty());
    EXPECT_EQ(last, 4000u) << "no block is read after the request";
}

// The edited document's value is the value of the file as saved, also over a range that
// crosses an insertion, a deletion and an overwrite.
TEST(ChecksumEngine, AnEditedDocumentHashesAsTheFileItSavesTo)
{
    test::TempDir dir;
    std::vector<std::uint8_t> expected = RandomBytes(300000, 6);
    const std::u16string path = dir.Write(u"edited.bin", expected);
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    // Each edit made on the document and on the reference bytes alike.
    ASSERT_TRUE(document.InsertByte(1000, 0xAB));
    expected.insert(expected.begin() + 1000, 0xAB);
    for (std::uint8_t i = 0; i < 200; ++i) {
        ASSERT_TRUE(document.InsertByte(150000, i));
        expected.insert(expected.begin() + 150000, i);
    }
    ASSERT_TRUE(document.DeleteRange(2000, 5000));
    expected.erase(expected.begin() + 2000, expected.begin() + 7000);
    ASSERT_TRUE(document.OverwriteByte(100, 0x42));
    expected[100] = 0x42;
    ASSERT_TRUE(document.InsertByte(document.Size(), 0xEE));
    expected.push_back(0xEE);
    ASSERT_EQ(document.Size(), expected.size());

    const ChecksumOptions small{2, 4096}; // many blocks, some cut by the edits
    const ChecksumOutcome whole = All(document, {0, document.Size()}, small);
    ASSERT_EQ(whole.status, ChecksumStatus::Done);
    EXPECT_EQ(whole.values, Direct(expected));

    // From before the first insertion to past the deletion and into the inserted run.
    const ChecksumRange range{900, 149200};
    const ChecksumOutcome part = All(document, range, small);
    ASSERT_EQ(part.status, ChecksumStatus::Done);
    EXPECT_EQ(part.values, Direct(std::span<const std::uint8_t>(expected).subspan(900, 149200)));

    ASSERT_TRUE(document.Save());
    EXPECT_EQ(test::ReadAll(path), expected);
    EditableDocument saved;
    ASSERT_TRUE(saved.Open(path));
    EXPECT_EQ(All(saved, {0, saved.Size()}).values, whole.values);
}

TEST(ChecksumEngine, AFileShortenedWhileOpenIsReportedNotHashed)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"shrinks.bin", RandomBytes(100000, 7));
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    std::filesystem::resize_file(test::ToPath(path), 60000);
    const ChecksumOutcome outcome = All(document, {0, document.Size()}, {2, 16384});
    EXPECT_EQ(outcome.status, ChecksumStatus::Unreadable);
    EXPECT_EQ(outcome.failedOffset, 60000u);
    EXPECT_TRUE(outcome.values.empty());
}

TEST(ChecksumEngine, LanesAreBalancedByCost)
{
    // clang-format off
    struct Case { std::vector<double> costs; std::size_t lanes; std::vector<std::vector<std::size_t>> groups; };
    const Case cases[] = {
        {{1.3, 0.1, 1.3, 0.55, 0.55, 1.2}, 1, {{0, 1, 2, 3, 4, 5}}},
        {{0.35, 0.1, 1.3, 0.55, 0.55, 1.2}, 2, {{1, 2, 4}, {0, 3, 5}}},
        {{0.35, 0.1, 1.3, 0.55, 0.55, 1.2}, 4, {{2}, {5}, {0, 3}, {1, 4}}},
        {{5.0, 1.0}, 8, {{0}, {1}}},
        {{}, 3, {}},
        {{2.0, 1.0, 1.0}, 0, {{0, 1, 2}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lanes);
        EXPECT_EQ(BalanceLanes(c.costs, c.lanes), c.groups);
    }
}

} // namespace
} // namespace orx
