#include "platform/FileSystem.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if defined(__linux__)
#include <chrono>
#include <thread>
#include <unistd.h>
#endif

namespace orx::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Bytes8(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// The system file system of whichever platform the suite is built for: the same contract
// holds natively and under Wine.
class FileSystemTest : public ::testing::Test {
protected:
    std::uint64_t SizeOf(const NativeFile& file)
    {
        std::uint64_t size = ~0ull;
        EXPECT_TRUE(fs.GetSize(file, size));
        return size;
    }

    FileSystem& fs = SystemFileSystem();
    test::TempDir dir;
};

TEST_F(FileSystemTest, SetEndCutsOrExtendsAtTheFilePosition)
{
    const std::u16string path = dir.Write(u"f.bin", "abcdef");
    NativeFile file = fs.OpenExistingForWrite(path);
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(fs.Seek(file, 2));
    ASSERT_TRUE(fs.SetEnd(file));
    EXPECT_EQ(SizeOf(file), 2u);
    ASSERT_TRUE(fs.Seek(file, 5)); // past the end: the gap reads as zeros
    ASSERT_TRUE(fs.SetEnd(file));
    EXPECT_EQ(SizeOf(file), 5u);
    file.Close();
    EXPECT_EQ(test::ReadAll(path), (Bytes{'a', 'b', 0, 0, 0}));
}

TEST_F(FileSystemTest, ReadsStopAtTheEndWithoutFailing)
{
    const std::u16string path = dir.Write(u"f.bin", "0123456789");
    NativeFile file = fs.OpenForRead(path);
    ASSERT_TRUE(file.IsOpen());
    // clang-format off
    struct Case { std::uint64_t offset; std::uint32_t count; std::string expected; };
    // clang-format on
    const Case cases[] = {{0, 4, "0123"}, {7, 8, "789"}, {10, 4, ""}, {1ull << 40, 4, ""}};
    for (const Case& c : cases) {
        Bytes buffer(c.count, 0xEE);
        std::uint32_t read = 99;
        ASSERT_TRUE(fs.ReadAt(file, c.offset, buffer.data(), c.count, read)) << c.offset;
        buffer.resize(read);
        EXPECT_EQ(buffer, Bytes8(c.expected)) << c.offset;
    }
    // The plain read continues from the file position.
    ASSERT_TRUE(fs.Seek(file, 6));
    Bytes buffer(8);
    std::uint32_t read = 0;
    ASSERT_TRUE(fs.Read(file, buffer.data(), 8, read));
    buffer.resize(read);
    EXPECT_EQ(buffer, Bytes8("6789"));
}

#if defined(__linux__)
// A pipe hands out what has arrived so far; a read must keep going until its count is met
// or the writer is done, as a read of a disk file does on Windows.
TEST_F(FileSystemTest, ReadsGatherBytesThatArriveInPieces)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    NativeFile readEnd(ends[0]);
    NativeFile file = fs.OpenForRead(u"/proc/self/fd/" + test::FromPath(std::to_string(ends[0])));
    readEnd.Close();
    ASSERT_TRUE(file.IsOpen());
    std::thread writer([out = ends[1]] {
        for (const std::string_view piece : {"abc", "defg", "h"}) {
            (void)!::write(out, piece.data(), piece.size());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::close(out);
    });
    Bytes buffer(8);
    std::uint32_t read = 0;
    EXPECT_TRUE(fs.Read(file, buffer.data(), 8, read));
    writer.join();
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + read), Bytes8("abcdefgh"));
}
#endif

TEST_F(FileSystemTest, RenameReplacesTheTargetOrLeavesBothAlone)
{
    const std::u16string from = dir.Write(u"new.bin", "new");
    const std::u16string to = dir.Write(u"old.bin", "older");
    ASSERT_TRUE(fs.MoveReplace(from, to));
    EXPECT_EQ(test::ReadAll(to), Bytes8("new"));
    EXPECT_EQ(dir.List(), std::vector<std::u16string>{u"old.bin"});

    // Into a folder that does not exist: refused, with the source kept.
    EXPECT_FALSE(fs.MoveReplace(to, dir.Path(u"missing/old.bin")));
    EXPECT_NE(fs.LastError(), 0u);
    EXPECT_EQ(test::ReadAll(to), Bytes8("new"));
}

TEST_F(FileSystemTest, TempFilesAreEmptyUniqueAndCarryThePrefix)
{
    std::u16string first;
    std::u16string second;
    ASSERT_TRUE(fs.CreateTempFile(test::FromPath(dir.Dir()), u"ORL", first));
    ASSERT_TRUE(fs.CreateTempFile(test::FromPath(dir.Dir()), u"ORL", second));
    EXPECT_NE(first, second);
    for (const std::u16string& name : dir.List()) {
        EXPECT_EQ(name.substr(0, 3), u"ORL");
        EXPECT_EQ(test::ReadAll(dir.Path(name)), Bytes{});
    }
    EXPECT_EQ(dir.List().size(), 2u);
    EXPECT_TRUE(fs.Delete(first));
    EXPECT_FALSE(fs.Delete(first));
    EXPECT_EQ(fs.LastError(), ErrorFileNotFound());
}

TEST_F(FileSystemTest, ADirectoryDoesNotOpenAsAFile)
{
    EXPECT_FALSE(fs.OpenForRead(test::FromPath(dir.Dir())).IsOpen());
    EXPECT_NE(fs.LastError(), 0u);
}

} // namespace
} // namespace orx::platform
