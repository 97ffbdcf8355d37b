#include "app/RecentFiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

using List = std::vector<std::u16string>;

TEST(RecentFiles, SameFileInAnotherSpellingMovesToTheTopAsSpelledLast)
{
    // clang-format off
    struct Case { const char* name; List before; std::u16string added; List expected; };
    const Case cases[] = {
        {"into empty list", {}, u"C:\\A\\x.bin", {u"C:\\A\\x.bin"}},
        {"other case", {u"C:\\A\\x.bin", u"C:\\B\\y.bin"}, u"c:\\a\\X.BIN", {u"c:\\a\\X.BIN", u"C:\\B\\y.bin"}},
        {"from the middle", {u"a.bin", u"b.bin", u"c.bin"}, u"B.BIN", {u"B.BIN", u"a.bin", u"c.bin"}},
        {"every duplicate goes", {u"a.bin", u"x", u"A.bin"}, u"a.BIN", {u"a.BIN", u"x"}},
        {"Latin-1 and Cyrillic fold too", {u"\u00C4rger.bin", u"\u0416.bin"}, u"\u00E4RGER.bin",
         {u"\u00E4RGER.bin", u"\u0416.bin"}},
        {"the times and divide signs are no pair", {u"a\u00D7b"}, u"a\u00F7b", {u"a\u00F7b", u"a\u00D7b"}},
        {"full-width letters", {u"\uFF21.bin"}, u"\uFF41.bin", {u"\uFF41.bin"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        List list = c.before;
        EXPECT_TRUE(AddRecentFile(list, c.added));
        EXPECT_EQ(list, c.expected);
    }
}

TEST(RecentFiles, EmptyPathIsIgnoredAndTheListKeepsSixteen)
{
    List list{u"a"};
    EXPECT_FALSE(AddRecentFile(list, u""));
    EXPECT_EQ(list, List{u"a"});

    List full;
    for (int i = 0; i < 16; ++i) {
        full.insert(full.begin(), u"file" + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    }
    EXPECT_TRUE(AddRecentFile(full, u"seventeenth"));
    ASSERT_EQ(full.size(), 16u);
    EXPECT_EQ(full.front(), u"seventeenth");
    EXPECT_EQ(full.back(), u"fileB"); // the oldest, fileA, is gone
}

TEST(RecentFiles, PathsToTheSameExistingFileAreOneEntry)
{
    TempDir dir;
    const std::u16string path = dir.Write(u"data.bin", "x");
    const std::u16string dotted = dir.Path(u".") + u"/sub/../data.bin";
    std::filesystem::create_directory(dir.Dir() / "sub");
    List list{path, u"other"};
    EXPECT_TRUE(AddRecentFile(list, dotted));
    EXPECT_EQ(list, (List{dotted, u"other"}));
    // Missing files are never dropped for being missing.
    List missing{dir.Path(u"gone.bin")};
    EXPECT_TRUE(AddRecentFile(missing, path));
    EXPECT_EQ(missing.size(), 2u);
}

} // namespace
} // namespace orx::test
