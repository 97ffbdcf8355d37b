#include "localization/StringTable.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace orx {
namespace {

struct ParseCase {
    const char* name;
    std::string file;
    std::string key;
    std::optional<std::u16string> text; // nothing: the key is not defined
};

TEST(StringFileTest, LinesFollowTheFormatRules)
{
    const ParseCase cases[] = {
        {"no blanks", "a.b=Open", "a.b", u"Open"},
        {"further equals signs belong to the text", "k = some = text\n", "k", u"some = text"},
        {"blanks, tabs and CR trimmed", "\t k \t=\t  x y \r\n", "k", u"x y"},
        {"empty text with blanks", "k =   \r\n", "k", u""},
        {"first definition wins", "k = one\nk = two\n", "k", u"one"},
        {"comment line", "# k = x\n", "# k", std::nullopt},
        {"comment sign after blanks is part of a key", "  # note = x\n", "# note", u"x"},
        {"line without equals sign", "k\nj = 1\n", "k", std::nullopt},
        {"following lines still read", "k\nj = 1\n", "j", u"1"},
        {"non-ASCII key letter becomes ?", "caf\xC3\xA9 = x\n", "caf?", u"x"},
        {"UTF-8 text", "k = \xE9\x96\x8B\xE3\x81\x8F\n", "k", u"\u958B\u304F"},
        {"byte-order mark skipped", "\xEF\xBB\xBFk = x\n", "k", u"x"},
        {"comment after byte-order mark", "\xEF\xBB\xBF# k = x\n", "# k", std::nullopt},
        {"invalid UTF-8 replaced, reading goes on",
         "k = a\xFF"
         "b\nj = c\n",
         "k", u"a\uFFFDb"},
        {"line after invalid UTF-8", "k = a\xFF\nj = c\n", "j", u"c"},
        {"empty key", "= x\n", "", u"x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StringMap map = ParseStringFile(c.file);
        const auto found = map.find(c.key);
        if (c.text) {
            ASSERT_NE(found, map.end());
            EXPECT_EQ(found->second, *c.text);
        } else {
            EXPECT_EQ(found, map.end());
        }
    }
}

TEST(LanguageCodeTest, SystemFollowsTheUserLocale)
{
    // clang-format off
    struct Case { UiLanguage language; std::optional<std::u16string> locale; std::u16string code; };
    // clang-format on
    const Case cases[] = {
        {UiLanguage::English, u"ja-JP", u"en-US"},
        {UiLanguage::Japanese, u"en-US", u"ja-JP"},
        {UiLanguage::Japanese, std::nullopt, u"ja-JP"},
        {UiLanguage::System, u"ja-JP", u"ja-JP"},
        {UiLanguage::System, u"ja", u"ja-JP"},
        {UiLanguage::System, u"j", u"en-US"},
        {UiLanguage::System, u"en-GB", u"en-US"},
        {UiLanguage::System, u"JA-JP", u"en-US"},
        {UiLanguage::System, u"", u"en-US"},
        {UiLanguage::System, std::nullopt, u"en-US"},
        {static_cast<UiLanguage>(7), u"ja-JP", u"ja-JP"},
        {static_cast<UiLanguage>(7), u"fr-FR", u"en-US"},
    };
    for (const auto& c : cases) {
        StringTable table([&] { return c.locale; });
        table.SetLanguage(c.language);
        EXPECT_EQ(table.LanguageCode(), c.code)
            << static_cast<unsigned>(c.language) << " "
            << (c.locale ? std::string(c.locale->begin(), c.locale->end()) : "none");
    }
}

class StringTableFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.Dir() / "resources" / "strings");
    }

    void WriteStrings(std::u16string_view code, std::string_view text)
    {
        dir.Write(u"resources/strings/" + std::u16string(code) + u".txt", text);
    }

    StringTable MakeTable(std::optional<std::u16string> locale = std::nullopt)
    {
        StringTable table([locale] { return locale; });
        table.SetBaseDirectory(test::FromPath(dir.Dir()));
        return table;
    }

    test::TempDir dir;
};

TEST_F(StringTableFilesTest, AKeyTheFileLacksComesBackAsItIs)
{
    WriteStrings(u"ja-JP", "menu.file = x\n");
    StringTable table = MakeTable();
    table.SetLanguage(UiLanguage::Japanese);
    EXPECT_EQ(table.Lookup("status.zoom"), u"status.zoom");
    // A key with bytes above 0x7F comes back byte by byte; the table never holds it.
    EXPECT_EQ(table.Lookup("caf\xC3\xA9"), std::u16string(u"caf\u00C3\u00A9"));
}

TEST_F(StringTableFilesTest, EachFileIsReadOnceEvenWhenItChangesOnDisk)
{
    WriteStrings(u"en-US", "k = english\n");
    WriteStrings(u"ja-JP", "k = japanese\n");
    StringTable table = MakeTable();
    table.SetLanguage(UiLanguage::English);
    EXPECT_EQ(table.Lookup("k"), u"english");
    table.SetLanguage(UiLanguage::Japanese);
    EXPECT_EQ(table.Lookup("k"), u"japanese");

    WriteStrings(u"en-US", "k = changed\n");
    std::filesystem::remove(dir.Dir() / "resources" / "strings" / "ja-JP.txt");
    table.SetLanguage(UiLanguage::English);
    EXPECT_EQ(table.Lookup("k"), u"english");
    table.SetLanguage(UiLanguage::Japanese);
    EXPECT_EQ(table.Lookup("k"), u"japanese");
}

TEST_F(StringTableFilesTest, AMissingFileIsNotLookedForAgain)
{
    WriteStrings(u"ja-JP", "k = japanese\n"); // never a stand-in for the missing file
    StringTable table = MakeTable();
    table.SetLanguage(UiLanguage::English);
    EXPECT_EQ(table.Lookup("k"), u"k");
    WriteStrings(u"en-US", "k = late\n");
    EXPECT_EQ(table.Lookup("k"), u"k");
}

TEST_F(StringTableFilesTest, SystemLanguageAsksTheLocaleAtEveryLookup)
{
    WriteStrings(u"en-US", "k = english\n");
    WriteStrings(u"ja-JP", "k = japanese\n");
    std::optional<std::u16string> locale = u"ja-JP";
    StringTable table([&locale] { return locale; });
    table.SetBaseDirectory(test::FromPath(dir.Dir()));
    EXPECT_EQ(table.Lookup("k"), u"japanese");
    locale = u"en-GB";
    EXPECT_EQ(table.Lookup("k"), u"english");
    locale.reset();
    EXPECT_EQ(table.Lookup("k"), u"english");
}

} // namespace
} // namespace orx
