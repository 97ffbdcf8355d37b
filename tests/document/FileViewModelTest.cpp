#include "document/FileViewModel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FileViewModel, ReadsAreClippedToTheSizeAndEchoTheOffset)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"ten.bin", "0123456789");
    FileViewModel file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.Size(), 10u);
    EXPECT_EQ(file.Path(), path);

    // clang-format off
    struct Case { std::uint64_t offset, count; std::string expected; };
    // clang-format on
    const Case cases[] = {
        {0, 0, ""},
        {0, 10, "0123456789"},
        {9, 100, "9"},
        {10, 1, ""},
        {11, 5, ""},
        {3, 4, "3456"},
        {UINT64_MAX, UINT64_MAX, ""},
        {5, UINT64_MAX, "56789"},
    };
    for (const Case& c : cases) {
        const ReadResult r = file.Read(c.offset, c.count);
        EXPECT_EQ(r.offset, c.offset);
        EXPECT_EQ(std::string(r.bytes.begin(), r.bytes.end()), c.expected)
            << c.offset << "+" << c.count;
    }
}

TEST(FileViewModel, FailedOpenLeavesThePreviousFileClosed)
{
    test::TempDir dir;
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.Write(u"a.bin", "abc")));
    EXPECT_FALSE(file.Open(dir.Path(u"missing.bin")));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Size(), 0u);
    EXPECT_TRUE(file.Path().empty());
    EXPECT_TRUE(file.Read(0, 3).bytes.empty());
    // A directory is not a file that can be shown.
    EXPECT_FALSE(file.Open(test::FromPath(dir.Dir())));
}

TEST(FileViewModel, SizeIsTakenAtOpenAndReadsSeeTheFileShrink)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"shrink.bin", "0123456789");
    FileViewModel file;
    ASSERT_TRUE(file.Open(path));
    std::filesystem::resize_file(test::ToPath(path), 4);
    EXPECT_EQ(file.Size(), 10u);
    EXPECT_EQ(file.Read(2, 8).bytes, (Bytes{'2', '3'}));
    EXPECT_TRUE(file.Read(6, 2).bytes.empty());
}

} // namespace
} // namespace orx
