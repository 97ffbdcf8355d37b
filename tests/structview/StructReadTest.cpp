#include "structview/StructRead.h"

#include "PatternTestSupport.h"
#include "document/EditableDocument.h"
#include "platform/Utf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orx {
namespace {

using platform::Narrow;

// A document of any size whose byte at offset i is i & 0xFF; it remembers the reads.
class PatternDocument final : public IReadOnlyDocument {
public:
    explicit PatternDocument(std::uint64_t size) : size_(size) {}
    bool IsOpen() const override { return true; }
    std::uint64_t Size() const override { return size_; }
    std::u16string Path() const override { return u"pattern.bin"; }
    ReadResult Read(std::uint64_t offset, std::uint64_t count) const override
    {
        largestRead = std::max(largestRead, count);
        ReadResult result{offset, {}};
        const std::uint64_t end = offset + std::min(count, size_ > offset ? size_ - offset : 0);
        for (std::uint64_t i = offset; i < end; ++i) {
            result.bytes.push_back(static_cast<std::uint8_t>(i));
        }
        return result;
    }
    mutable std::uint64_t largestRead = 0;

private:
    std::uint64_t size_;
};

std::vector<std::string> Values(const std::u16string& pattern, const PatternDocument& document)
{
    std::u16string error;
    StructRowsInput input;
    input.file = test::LoadPattern(pattern, &error);
    EXPECT_NE(input.file, nullptr) << Narrow(error);
    if (!input.file) {
        return {};
    }
    input.bytes = ReadStructBytes(document, 0, *input.file);
    input.unavailableText = u"n/a";
    std::vector<std::string> values;
    for (const StructViewRow& row : BuildStructRows(input)) {
        values.push_back(Narrow(row.name) + "=" + Narrow(row.value));
    }
    return values;
}

TEST(StructRead, HugeMembersAreNotReadAndShowAsUnavailable)
{
    constexpr std::uint64_t kEightGiB = 8ull << 30;
    // clang-format off
    struct Case { std::u16string pattern; std::uint64_t expectedRead; std::vector<std::string> values; };
    // clang-format on
    const Case cases[] = {
        {u"struct S { char data[4000000000]; };", 0, {"data=n/a"}},
        {u"struct S { uint8_t a; uint8_t b; char data[4000000000]; uint8_t after; };",
         2,
         {"a=0x00", "b=0x01", "data=n/a", "after=n/a"}},
        // The first array fits below the limit and shows; the second would end past it.
        {u"struct S { uint8_t a[10000000]; uint8_t b[10000000]; };",
         10000000,
         {"a=00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ...", "b=n/a"}},
        // A member that ends exactly at the limit fits; the next byte does not.
        {u"struct S { char a[16777216]; char b; };",
         kMaxStructRead,
         {"a=00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ...", "b=n/a"}},
        // Members of a struct inside the entry struct count as well.
        {u"@entry S struct In { uint16_t x; char big[4000000000]; }; "
         u"struct S { uint8_t a; In in; };",
         4,
         {"a=0x00", "<padding>=01", "in : In=", "  x=0x0302", "  big=n/a"}},
        // A small struct ending in a flexible array reads its tail.
        {u"struct S { uint8_t n; char rest[]; };",
         1 + kFlexibleTailRead,
         {"n=0x00", "rest=01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 ..."}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(Narrow(test.pattern));
        PatternDocument document(kEightGiB);
        EXPECT_EQ(Values(test.pattern, document), test.values);
        EXPECT_EQ(document.largestRead, test.expectedRead);
        EXPECT_LE(document.largestRead, kMaxStructRead);
    }
}

// A worker's jobs, one after another in the same memory, show what rows read on the spot
// show: large and small patterns in turn (the memory is given back and taken again), on a
// document with insertions and overwritten bytes made between the jobs.
TEST(StructRead, WorkerJobsInReusedMemoryShowTheRowsOfTheEditedDocument)
{
    test::TempDir dir;
    std::vector<std::uint8_t> content(3u << 20);
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 5 : i * 13);
    }
    EditableDocument document;
    ASSERT_TRUE(document.Open(dir.Write(u"records.bin", content)));
    const std::u16string records = u"@entry File struct Record { uint8_t length; "
                                   u"uint8_t data[length]; }; struct File { Record r[...]; };";
    const std::u16string small = u"struct S { uint32_t a; uint16_t b[3]; };";
    struct Step {
        const std::u16string* pattern;
        std::uint64_t offset;
        void (*edit)(EditableDocument&);
    };
    const Step steps[] = {
        {&records, 0, nullptr},
        {&small, 3, [](EditableDocument& d) { ASSERT_TRUE(d.InsertByte(1, 0x40)); }},
        {&records, 1, [](EditableDocument& d) { ASSERT_TRUE(d.OverwriteByte(5, 2)); }},
        {&records, 0, [](EditableDocument& d) { ASSERT_TRUE(d.DeleteRange(0, 3)); }},
        {&small, 0, nullptr},
    };
    StructWorkerMemory memory;
    for (const Step& step : steps) {
        SCOPED_TRACE(Narrow(*step.pattern) + " at " + std::to_string(step.offset));
        if (step.edit != nullptr) {
            step.edit(document);
        }
        StructRowsJob job;
        job.input.file = test::LoadPattern(*step.pattern);
        ASSERT_NE(job.input.file, nullptr);
        job.input.baseOffset = step.offset;
        job.plan = document.PlanRead(step.offset, StructBytesToRead(*job.input.file));
        StructRowsInput direct = job.input;
        direct.bytes = ReadStructBytes(document, step.offset, *job.input.file);
        const std::vector<StructViewRow> expected = BuildStructRows(direct);
        EXPECT_EQ(BuildStructRows(job, memory), expected);
        EXPECT_EQ(memory.bytes, direct.bytes);
    }
}

// A newer request stops an evaluation of a whole window soon after it is asked to.
TEST(StructRead, AnEvaluationStopsSoonAfterItIsAskedTo)
{
    std::u16string error;
    StructRowsInput input;
    input.file = test::LoadPattern(u"@entry File struct Record { uint8_t length; uint8_t "
                                   u"data[length]; }; struct File { Record r[...]; };",
                                   &error);
    ASSERT_NE(input.file, nullptr) << Narrow(error);
    input.bytes.assign(kMaxStructRead, 0); // 16 million one-byte records
    int asked = 0;
    input.stopRequested = [&asked] { return ++asked >= 3; };
    const ValueTree tree = EvaluateRowsInput(input);
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(tree.workLimitReached);
    EXPECT_LT(tree.nodes.size(), 10000u);
}

} // namespace
} // namespace orx
