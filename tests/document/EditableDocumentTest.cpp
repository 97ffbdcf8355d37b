#include "document/EditableDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orx {
namespace {

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
    ASSERT_TRUE(document.OverwriteByte(1000, 0x11));    // falls inside the deleted range
    EXPECT_FALSE(document.DeleteRange(10, UINT64_MAX)); // its end would overflow
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
