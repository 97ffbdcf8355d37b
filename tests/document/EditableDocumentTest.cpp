#include "document/EditableDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace orx {
namespace {

std::string Text(const EditableDocument& document)
{
    const ReadResult r = document.Read(0, document.Size() + 1);
    return std::string(r.bytes.begin(), r.bytes.end());
}

// Inserts `text` byte by byte from `offset`, as typing does.
bool TypeAt(EditableDocument& document, std::uint64_t offset, const std::string& text)
{
    for (const char c : text) {
        if (!document.InsertByte(offset++, static_cast<std::uint8_t>(c)))
            return false;
    }
    return true;
}

// clang-format off
struct EditCase { const char* name; const char* file; std::function<bool(EditableDocument&)> edit;
    std::string expected; bool modified; SaveStrategy strategy; };
// clang-format on

TEST(EditableDocument, EditsComposeAsTheRecordRulesSay)
{
    using D = EditableDocument;
    // clang-format off
    const EditCase cases[] = {
        {"insert into empty file", "", [](D& d) { return d.InsertByte(0, 'v'); }, "v", true, SaveStrategy::InPlace},
        {"overwrite with the file's own value", "abc", [](D& d) { return d.OverwriteByte(1, 'b'); }, "abc", false,
         SaveStrategy::Nothing},
        {"overwrite and restore", "abc", [](D& d) { return d.OverwriteByte(1, 'x') && d.OverwriteByte(1, 'b'); }, "abc",
         false, SaveStrategy::Nothing},
        {"insert then delete it", "abc", [](D& d) { return d.InsertByte(1, 'x') && d.DeleteByte(1); }, "abc", false,
         SaveStrategy::Nothing},
        {"typing at a file byte keeps order", "abc",
         [](D& d) { return d.InsertByte(1, 'x') && d.InsertByte(2, 'y') && d.InsertByte(3, 'z'); }, "axyzbc", true,
         SaveStrategy::ViaTempFile},
        {"inserting twice at one offset", "abc", [](D& d) { return d.InsertByte(1, 'x') && d.InsertByte(1, 'y'); },
         "ayxbc", true, SaveStrategy::ViaTempFile},
        {"deleting a byte keeps the run in front of it", "abc",
         [](D& d) { return d.InsertByte(1, 'x') && d.DeleteByte(2); }, "axc", true, SaveStrategy::ViaTempFile},
        {"deleting an overwritten byte drops the overwrite", "abc",
         [](D& d) { return d.OverwriteByte(2, 'z') && d.DeleteByte(2); }, "ab", true, SaveStrategy::InPlace},
        {"append after cutting the tail", "abcdef",
         [](D& d) { return d.DeleteRange(4, 2) && d.InsertByte(4, 'x') && d.InsertByte(5, 'y'); }, "abcdxy", true,
         SaveStrategy::InPlace},
        {"cut in the middle", "abcdef", [](D& d) { return d.DeleteRange(1, 2); }, "adef", true,
         SaveStrategy::ViaTempFile},
        {"range over runs and file bytes", "abcdef",
         [](D& d) { return d.InsertByte(2, 'x') && d.InsertByte(5, 'y') && d.DeleteRange(1, 5); }, "aef", true,
         SaveStrategy::ViaTempFile},
        // Short runs live in the record, long ones elsewhere: cross that line both ways.
        {"typing ten bytes at one place", "abc", [](D& d) { return TypeAt(d, 1, "0123456789"); }, "a0123456789bc", true,
         SaveStrategy::ViaTempFile},
        {"a long run cut short, then edited", "abc",
         [](D& d) {
             return TypeAt(d, 1, "0123456789") && d.DeleteRange(3, 6) && d.InsertByte(2, 'x') &&
                    d.OverwriteByte(4, 'y');
         },
         "a0x1y9bc", true, SaveStrategy::ViaTempFile},
        {"a run across the line and back", "Z",
         [](D& d) { return TypeAt(d, 0, "abcdefgh") && d.DeleteByte(7) && d.InsertByte(7, 'i') && d.DeleteByte(0); },
         "bcdefgiZ", true, SaveStrategy::ViaTempFile},
        {"replaced bytes on both sides of a run's key", "abcdef",
         [](D& d) { return d.OverwriteByte(2, 'X') && d.OverwriteByte(3, 'Y') && d.InsertByte(3, 'z'); }, "abXzYef",
         true, SaveStrategy::ViaTempFile},
        {"a run in the middle and one at the end", "abc",
         [](D& d) { return d.InsertByte(1, 'x') && d.InsertByte(4, 'y'); }, "axbcy", true, SaveStrategy::ViaTempFile},
        {"a long appended run saves in place", "ab", [](D& d) { return TypeAt(d, 2, "0123456789") && d.DeleteByte(3); },
         "ab023456789", true, SaveStrategy::InPlace},
        {"refused: overwrite at the end", "abc", [](D& d) { return !d.OverwriteByte(3, 'x'); }, "abc", false,
         SaveStrategy::Nothing},
        {"refused: delete at the end", "abc", [](D& d) { return !d.DeleteByte(3); }, "abc", false,
         SaveStrategy::Nothing},
        {"refused: insert past the end", "abc", [](D& d) { return !d.InsertByte(4, 'x'); }, "abc", false,
         SaveStrategy::Nothing},
        {"refused: range past the end", "abc", [](D& d) { return !d.DeleteRange(1, 3); }, "abc", false,
         SaveStrategy::Nothing},
        {"refused: range overflowing 64 bits", "abc", [](D& d) { return !d.DeleteRange(1, UINT64_MAX); }, "abc", false,
         SaveStrategy::Nothing},
    };
    // clang-format on
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::u16string path = dir.Write(u"f.bin", c.file);
        EditableDocument document;
        ASSERT_TRUE(document.Open(path));
        ASSERT_TRUE(c.edit(document));
        EXPECT_EQ(Text(document), c.expected);
        EXPECT_EQ(document.Size(), c.expected.size());
        EXPECT_EQ(document.IsModified(), c.modified);
        EXPECT_EQ(document.ChooseSaveStrategy(), c.strategy);
        ASSERT_TRUE(document.Save());
        const auto saved = test::ReadAll(path);
        EXPECT_EQ(std::string(saved.begin(), saved.end()), c.expected);
        EXPECT_EQ(Text(document), c.expected);
    }
}

TEST(EditableDocument, ClosedDocumentRefusesEverything)
{
    EditableDocument document;
    EXPECT_FALSE(document.IsOpen());
    EXPECT_EQ(document.Size(), 0u);
    EXPECT_FALSE(document.InsertByte(0, 1));
    EXPECT_FALSE(document.OverwriteByte(0, 1));
    EXPECT_FALSE(document.DeleteByte(0));
    EXPECT_FALSE(document.DeleteRange(0, 0));
    EXPECT_TRUE(document.Read(0, 10).bytes.empty());
}

// Deleting a huge selection must cost memory for ranges, not bytes, and keep every other
// edit.
TEST(EditableDocument, DeletingAHugeSelectionKeepsOneRangeAndTheOtherEdits)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"big.bin", "");
    const std::uint64_t size = std::uint64_t{8} << 30; // sparse: nothing is written
    std::filesystem::resize_file(test::ToPath(path), size);
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    ASSERT_TRUE(document.OverwriteByte(5, 0x55));
    ASSERT_TRUE(document.OverwriteByte(size - 1, 0x77));
    ASSERT_TRUE(document.OverwriteByte(1000, 0x11)); // falls inside the deleted range
    ASSERT_TRUE(document.DeleteRange(10, size - 20));
    EXPECT_EQ(document.Size(), 20u);
    EXPECT_EQ(document.DeletionRangeCount(), 1u);
    EXPECT_EQ(document.OverwriteCount(), 2u);
    const ReadResult r = document.Read(0, 100);
    ASSERT_EQ(r.bytes.size(), 20u);
    EXPECT_EQ(r.bytes[5], 0x55);
    EXPECT_EQ(r.bytes[19], 0x77);
    EXPECT_EQ(r.bytes[10], 0);
}

} // namespace
} // namespace orx
