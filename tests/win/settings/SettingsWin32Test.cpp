#include "localization/FileText.h"
#include "localization/StringTable.h"
#include "platform/System.h"
#include "settings/SettingsLocation.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orx {
namespace {

TEST(SettingsWin32Test, ExecutableDirectoryHoldsThisProgram)
{
    const std::u16string directory = ExecutableDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_FALSE(IsPathSeparator(directory.back()));
    EXPECT_EQ(directory + u"\\orx_win_settings_tests.exe", platform::ExecutablePath());
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(directory) /
                                                 "orx_win_settings_tests.exe"));
}

TEST(SettingsWin32Test, UnpackagedSettingsFileLivesBesideTheExecutable)
{
    ASSERT_FALSE(platform::PackageFamilyName().has_value());
    EXPECT_EQ(ComputeSettingsPath(), ExecutableDirectory() + u"\\orlin.settings.json");
}

TEST(SettingsWin32Test, DefaultLanguageFollowsTheUserLocale)
{
    const auto locale = platform::UserDefaultLocaleName();
    ASSERT_TRUE(locale.has_value());
    EXPECT_GE(locale->size(), 2u);
    const bool japanese = locale->starts_with(u"ja");
    EXPECT_EQ(DefaultUiLanguage(), japanese ? UiLanguage::Japanese : UiLanguage::English);

    StringTable strings;
    strings.SetLanguage(UiLanguage::System);
    EXPECT_EQ(strings.LanguageCode(), japanese ? u"ja-JP" : u"en-US");
    strings.SetLanguage(UiLanguage::English);
    EXPECT_EQ(strings.LanguageCode(), u"en-US");
}

} // namespace
} // namespace orx
