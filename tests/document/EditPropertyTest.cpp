#include "document/EditableDocument.h"
#include "support/FaultyFileSystem.h"
#include "document/ReferenceOverlay.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint64_t Seed()
{
    const char* text = std::getenv("ORX_PROPERTY_SEED");
    return text != nullptr ? std::strtoull(text, nullptr, 10) : 20261206;
}

Bytes RandomBytes(std::mt19937_64& rng, std::size_t n)
{
    Bytes bytes(n);
    // A small alphabet makes overwrites with the file's own value (which cancel) common.
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng() % 4);
    return bytes;
}

class Sequence {
public:
    // Without the reference only the vector checks run: it walks the whole file per
    // operation, too slow for thousands of records.
    Sequence(std::mt19937_64& rng, Bytes file, EditableDocument& document, bool withReference)
        : rng_(rng), vector_(file), reference_(std::move(file)), document_(document),
          withReference_(withReference)
    {}

    // One random operation, applied to all three; returns a description for failures.
    std::string Step()
    {
        const std::uint64_t size = vector_.size();
        const auto value = static_cast<std::uint8_t>(rng_() % 4);
        // Offsets reach a little past the end so that refusals are exercised too.
        const std::uint64_t offset = rng_() % (size + 3);
        switch (rng_() % 7) {
        case 0:
        case 1: {
            const bool expected = offset < size;
            EXPECT_EQ(document_.OverwriteByte(offset, value), expected);
            if (withReference_) {
                EXPECT_EQ(reference_.Overwrite(offset, value), expected);
            }
            if (expected)
                vector_[offset] = value;
            return "overwrite " + std::to_string(offset);
        }
        case 2:
        case 3: {
            const bool expected = offset <= size;
            EXPECT_EQ(document_.InsertByte(offset, value), expected);
            if (withReference_) {
                EXPECT_EQ(reference_.Insert(offset, value), expected);
            }
            if (expected)
                vector_.insert(vector_.begin() + static_cast<std::ptrdiff_t>(offset), value);
            return "insert " + std::to_string(offset);
        }
        case 4:
        case 5: {
            const bool expected = offset < size;
            EXPECT_EQ(document_.DeleteByte(offset), expected);
            if (withReference_) {
                EXPECT_EQ(reference_.Delete(offset), expected);
            }
            if (expected)
                vector_.erase(vector_.begin() + static_cast<std::ptrdiff_t>(offset));
            return "delete " + std::to_string(offset);
        }
        default: {
            const std::uint64_t count =
                rng_() % 6 == 0 ? size - std::min(offset, size) + 1 : rng_() % 9;
            const bool expected = offset < size && count <= size - offset;
            EXPECT_EQ(document_.DeleteRange(offset, count),
                      expected || (count == 0 && offset <= size));
            if (expected) {
                for (std::uint64_t i = count; withReference_ && i-- > 0;)
                    reference_.Delete(offset + i);
                vector_.erase(vector_.begin() + static_cast<std::ptrdiff_t>(offset),
                              vector_.begin() + static_cast<std::ptrdiff_t>(offset + count));
            }
            return "delete range " + std::to_string(offset) + "+" + std::to_string(count);
        }
        }
    }

    void Check(const std::string& context)
    {
        SCOPED_TRACE(context);
        ASSERT_EQ(document_.VerifyRecords(), std::nullopt);
        const std::uint64_t size = vector_.size();
        ASSERT_EQ(document_.Size(), size);
        ASSERT_EQ(document_.EditedSize(), size);
        if (withReference_) {
            ASSERT_EQ(document_.IsModified(), reference_.IsModified());
        }
        for (int i = 0; i < 3; ++i) {
            const std::uint64_t offset = rng_() % (size + 2);
            // A whole-document read costs a file read per record; with thousands of
            // records do it now and then rather than after every step.
            const bool whole = i == 0 && (withReference_ || ++steps_ % 64 == 0);
            const std::uint64_t count = whole ? size + 1 : rng_() % 40;
            const ReadResult read = document_.Read(offset, count);
            ASSERT_EQ(read.offset, offset);
            const std::uint64_t from = std::min(offset, size);
            const std::uint64_t to = std::min(size, from + count);
            const Bytes expected(vector_.begin() + static_cast<std::ptrdiff_t>(from),
                                 vector_.begin() + static_cast<std::ptrdiff_t>(to));
            ASSERT_EQ(read.bytes, expected);
            if (i == 0) {
                // A plan made now must read these bytes after the next step's edit too.
                CheckPlan();
                planned_ = {document_.PlanRead(offset, count), expected};
            }
        }
    }

    // The plan of the previous check reads what the document held when it was made.
    void CheckPlan()
    {
        Bytes bytes(planned_.first.Size());
        bytes.resize(planned_.first.ReadInto(bytes.data()));
        ASSERT_EQ(bytes, planned_.second);
    }

    const Bytes& Expected() const { return vector_; }
    const test::ReferenceOverlay* Reference() const
    {
        return withReference_ ? &reference_ : nullptr;
    }

private:
    std::mt19937_64& rng_;
    Bytes vector_;
    test::ReferenceOverlay reference_;
    EditableDocument& document_;
    bool withReference_;
    int steps_ = 0;
    std::pair<ReadPlan, Bytes> planned_;
};

SaveStrategy ExpectedStrategy(const test::ReferenceOverlay& reference)
{
    if (!reference.IsModified())
        return SaveStrategy::Nothing;
    return reference.SavesInPlace() ? SaveStrategy::InPlace : SaveStrategy::ViaTempFile;
}

void RunSequences(int count, std::size_t maxFileSize, int maxSteps, std::uint64_t seed,
                  bool withReference = true)
{
    std::mt19937_64 rng(seed);
    test::TempDir dir;
    test::FaultyFileSystem fs;
    fs.skipSync = true;
    for (int s = 0; s < count; ++s) {
        SCOPED_TRACE("sequence " + std::to_string(s) + " seed " + std::to_string(seed));
        const std::size_t fileSize = rng() % 8 == 0 ? 0 : rng() % (maxFileSize + 1);
        const std::u16string path = dir.Write(u"data.bin", RandomBytes(rng, fileSize));
        EditableDocument document(fs);
        ASSERT_TRUE(document.Open(path));
        Sequence sequence(rng, test::ReadAll(path), document, withReference);
        const int steps = static_cast<int>(rng() % static_cast<std::uint64_t>(maxSteps + 1));
        for (int i = 0; i < steps; ++i) {
            const std::string step = sequence.Step();
            sequence.Check(step);
            if (testing::Test::HasFatalFailure())
                return;
        }
        if (sequence.Reference() != nullptr) {
            ASSERT_EQ(document.ChooseSaveStrategy(), ExpectedStrategy(*sequence.Reference()));
        }
        sequence.CheckPlan(); // the save below may close the file it reads
        ASSERT_TRUE(document.Save())
            << std::string(document.LastError().begin(), document.LastError().end());
        ASSERT_EQ(test::ReadAll(path), sequence.Expected());
        ASSERT_FALSE(document.IsModified());
        ASSERT_EQ(document.Size(), sequence.Expected().size());
        ASSERT_EQ(document.Read(0, document.Size() + 1).bytes, sequence.Expected());
        ASSERT_EQ(dir.List(), std::vector<std::u16string>{u"data.bin"})
            << "a temporary file was left behind";
    }
}

TEST(EditOverlayProperty, RandomSequencesOnSmallFilesMatchTheModelsAndSaveByteForByte)
{
    RunSequences(5000, 48, 40, Seed());
}

TEST(EditOverlayProperty, LongSequencesBuildManyRunsAndRanges)
{
    RunSequences(60, 400, 600, Seed() + 1);
}

// Enough records that the index and the replaced-byte map hold many chunks, so splits,
// merges across chunk boundaries and emptied chunks all occur.
TEST(EditOverlayProperty, ThousandsOfRecordsSpanManyChunks)
{
    RunSequences(3, 20000, 9000, Seed() + 3, false);
}

// Thousands of records built up and then taken away again in random order, so that the
// index grows several levels deep and then empties node by node: runs vanish, ranges
// merge, and at the end one range covers the whole file.
TEST(EditOverlayProperty, RecordsTakenAwayInBulkLeaveOneRange)
{
    constexpr std::uint64_t kSize = 12000;
    using Build = void (*)(EditableDocument&, Bytes&);
    const struct {
        const char* name;
        Build build;
    } cases[] = {
        {"a run in front of every second byte",
         [](EditableDocument& d, Bytes& model) {
             for (std::uint64_t i = kSize - 2; i < kSize; i -= 2) {
                 ASSERT_TRUE(d.InsertByte(i, static_cast<std::uint8_t>(i % 251)));
                 model.insert(model.begin() + static_cast<std::ptrdiff_t>(i),
                              static_cast<std::uint8_t>(i % 251));
             }
         }},
        {"every second byte deleted",
         [](EditableDocument& d, Bytes& model) {
             for (std::uint64_t i = kSize - 1; i < kSize; i -= 2) {
                 ASSERT_TRUE(d.DeleteByte(i));
                 model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
             }
         }},
        {"runs, deletions and overwrites interleaved",
         [](EditableDocument& d, Bytes& model) {
             for (std::uint64_t i = kSize - 1; i < kSize; --i) {
                 const auto at = model.begin() + static_cast<std::ptrdiff_t>(i);
                 if (i % 3 == 0) {
                     ASSERT_TRUE(d.DeleteByte(i));
                     model.erase(at);
                 } else if (i % 3 == 1) {
                     ASSERT_TRUE(d.InsertByte(i, 7));
                     model.insert(at, 7);
                 } else {
                     ASSERT_TRUE(d.OverwriteByte(i, static_cast<std::uint8_t>(*at + 1)));
                     *at = static_cast<std::uint8_t>(*at + 1);
                 }
             }
         }},
    };
    std::mt19937_64 rng(Seed() + 4);
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u16string path = dir.Write(u"data.bin", RandomBytes(rng, kSize));
        EditableDocument document;
        ASSERT_TRUE(document.Open(path));
        Bytes model = test::ReadAll(path);
        c.build(document, model);
        ASSERT_EQ(document.Read(0, document.Size()).bytes, model);
        for (int step = 0; !model.empty(); ++step) {
            const std::uint64_t offset = rng() % model.size();
            ASSERT_TRUE(document.DeleteByte(offset));
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(offset));
            ASSERT_EQ(document.VerifyRecords(), std::nullopt) << "after step " << step;
            if (step % 997 == 0) {
                ASSERT_EQ(document.Read(0, document.Size() + 1).bytes, model)
                    << "after step " << step;
            }
        }
        EXPECT_EQ(document.Size(), 0u);
        EXPECT_EQ(document.ChooseSaveStrategy(), SaveStrategy::InPlace);
        ASSERT_TRUE(document.Save());
        EXPECT_EQ(test::ReadAll(path), Bytes{});
    }
}

// Files larger than the 1 MiB copy block, so that copying, skipping and replacing cross
// block boundaries while saving through a temporary file.
TEST(EditOverlayProperty, SavingFilesLargerThanOneCopyBlock)
{
    std::mt19937_64 rng(Seed() + 2);
    test::TempDir dir;
    for (int s = 0; s < 4; ++s) {
        const std::size_t fileSize = (2u << 20) + rng() % 5000;
        const std::u16string path = dir.Write(u"big.bin", RandomBytes(rng, fileSize));
        EditableDocument document;
        ASSERT_TRUE(document.Open(path));
        Bytes expected = test::ReadAll(path);
        for (int i = 0; i < 50; ++i) {
            const std::uint64_t offset = (1u << 20) * (rng() % 3) + rng() % 64 - 32 + 32;
            switch (rng() % 3) {
            case 0:
                ASSERT_TRUE(document.OverwriteByte(offset, 9));
                expected[offset] = 9;
                break;
            case 1:
                ASSERT_TRUE(document.InsertByte(offset, 7));
                expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(offset), 7);
                break;
            default:
                ASSERT_TRUE(document.DeleteRange(offset, 3));
                expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(offset),
                               expected.begin() + static_cast<std::ptrdiff_t>(offset + 3));
                break;
            }
        }
        std::uint64_t lastDone = 0;
        std::uint64_t reports = 0;
        ASSERT_TRUE(document.Save([&](std::uint64_t done, std::uint64_t total) {
            EXPECT_EQ(total, expected.size());
            EXPECT_LE(done, total);
            EXPECT_GE(done, lastDone);
            lastDone = done;
            ++reports;
        }));
        EXPECT_EQ(lastDone, expected.size());
        EXPECT_GE(reports, 3u);
        ASSERT_EQ(test::ReadAll(path), expected);
    }
}

} // namespace
} // namespace orx
