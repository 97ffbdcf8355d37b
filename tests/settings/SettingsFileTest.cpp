#include "settings/SettingsFile.h"

#include "localization/StringTable.h"
#include "settings/SettingsJson.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orx {
namespace {

std::string ReadText(const std::u16string& path)
{
    const auto bytes = test::ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
}

class SettingsFileTest : public ::testing::Test {
protected:
    std::u16string Path() const { return dir.Path(kSettingsFileName); }

    // Loads into a fresh record, as at start-up, with a fixed default language.
    AppSettings Load(UiLanguage defaultLanguage = UiLanguage::Japanese)
    {
        AppSettings settings;
        LoadSettings(settings, Path(), strings, defaultLanguage);
        return settings;
    }

    test::TempDir dir;
    StringTable strings{[] { return std::optional<std::u16string>(); }};
};

TEST_F(SettingsFileTest, MissingFileGivesLocaleDefaultsWrittenAtOnce)
{
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        std::filesystem::remove(test::ToPath(Path()));
        const AppSettings settings = Load(language);
        EXPECT_EQ(settings, DefaultSettings(language));
        EXPECT_EQ(settings.appVersion, kAppVersion);
        EXPECT_EQ(strings.Language(), language);
        EXPECT_EQ(ReadText(Path()), SerializeSettings(settings));
    }
}

TEST_F(SettingsFileTest, CurrentFileIsNotRewrittenOtherVersionsAreRewrittenOnce)
{
    // clang-format off
    struct Case { const char* name; std::string file; bool rewritten; };
    // clang-format on
    const std::string current = SerializeSettings(DefaultSettings(UiLanguage::English));
    const auto withVersion = [&](std::string_view version) {
        std::string text = current;
        return text.replace(text.find("v1.03"), 5, version);
    };
    const Case cases[] = {
        {"current", current, false},
        {"current with byte-order mark", "\xEF\xBB\xBF" + current, false},
        {"current, hand-edited layout", R"({"appVersion":"v1.03","theme":"Black"})", false},
        {"older version", withVersion("v1.02"), true},
        {"no version", R"({"theme": "Black", "language": "English"})", true},
        {"empty version", withVersion(""), true},
        {"empty file", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write(kSettingsFileName, c.file);
        const AppSettings loaded = Load();
        EXPECT_EQ(loaded.appVersion, kAppVersion);
        EXPECT_EQ(ReadText(Path()), c.rewritten ? SerializeSettings(loaded) : c.file);
    }
}

TEST_F(SettingsFileTest, UnversionedFileKeepsItsValuesWhenRewritten)
{
    dir.Write(kSettingsFileName,
              R"({"theme": "Black", "language": "English", "recentFiles": ["a.bin"]})");
    const AppSettings loaded = Load(UiLanguage::Japanese);
    EXPECT_EQ(loaded.theme, Theme::Black);
    EXPECT_EQ(loaded.language, UiLanguage::English);
    EXPECT_EQ(strings.Language(), UiLanguage::English) << "the stored language, not the default";
    EXPECT_EQ(loaded.recentFiles, std::vector<std::u16string>{u"a.bin"});
    // Restarting reads back the same record.
    EXPECT_EQ(Load(UiLanguage::Japanese), loaded);
}

TEST_F(SettingsFileTest, SaveReplacesTheWholeFileAndLeavesNoTemporaryFile)
{
    dir.Write(kSettingsFileName, std::string(10000, 'x'));
    AppSettings settings = DefaultSettings(UiLanguage::English);
    settings.recentFiles = {u"C:\\\u65E5\u672C\\a]b.bin"};
    ASSERT_TRUE(SaveSettings(settings, Path()));
    EXPECT_EQ(ReadText(Path()), SerializeSettings(settings));
    EXPECT_EQ(dir.List(), std::vector<std::u16string>{std::u16string(kSettingsFileName)});
    AppSettings back;
    ASSERT_TRUE(ParseSettings(back, Path()));
    EXPECT_EQ(back, settings);
}

TEST_F(SettingsFileTest, DirectoryWithNonAsciiName)
{
    std::filesystem::create_directory(dir.Dir() / std::filesystem::path(u"\u8A2D\u5B9A"));
    const std::u16string path = dir.Path(u"\u8A2D\u5B9A/orlin.settings.json");
    AppSettings stored = DefaultSettings(UiLanguage::Japanese);
    stored.fontFamily = u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF";
    ASSERT_TRUE(SaveSettings(stored, path));
    AppSettings loaded;
    LoadSettings(loaded, path, strings, UiLanguage::English);
    EXPECT_EQ(loaded, stored);
}

TEST_F(SettingsFileTest, FailedWriteKeepsTheOldFile)
{
    const std::string good = SerializeSettings(DefaultSettings(UiLanguage::Japanese));
    const AppSettings changed = DefaultSettings(UiLanguage::English);
    using Fault = void (*)(test::FaultyFileSystem&);
    const Fault faults[] = {
        [](test::FaultyFileSystem& fs) { fs.failWriteNumber = 1; },
        [](test::FaultyFileSystem& fs) { fs.failCreate = true; },
        [](test::FaultyFileSystem& fs) { fs.failFlush = true; },
        [](test::FaultyFileSystem& fs) { fs.failTempFile = true; },
        [](test::FaultyFileSystem& fs) { fs.failMove = true; },
    };
    for (const Fault fault : faults) {
        dir.Write(kSettingsFileName, good);
        test::FaultyFileSystem fs;
        fault(fs);
        EXPECT_FALSE(SaveSettings(changed, Path(), fs));
        EXPECT_EQ(ReadText(Path()), good);
        EXPECT_EQ(dir.List(), std::vector<std::u16string>{std::u16string(kSettingsFileName)});
    }
}

} // namespace
} // namespace orx
