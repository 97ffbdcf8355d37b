#include "settings/SettingsLocation.h"

#include "localization/FileText.h"

#include <gtest/gtest.h>

#include <vector>

namespace orx {
namespace {

TEST(DefaultUiLanguageTest, JapaneseOnlyForAJaLocale)
{
    const std::pair<std::optional<std::u16string>, UiLanguage> cases[] = {
        {u"ja-JP", UiLanguage::Japanese}, {u"ja", UiLanguage::Japanese},
        {u"JA-JP", UiLanguage::English},  {u"en-US", UiLanguage::English},
        {u"j", UiLanguage::English},      {std::nullopt, UiLanguage::English},
    };
    for (const auto& [locale, language] : cases) {
        EXPECT_EQ(DefaultUiLanguageFor(locale), language);
    }
}

TEST(ComputeSettingsPathTest, PackagedLocalStateOrBesideTheExecutable)
{
    const std::u16string exe = u"C:\\Apps\\Orlin";
    const std::u16string appData = u"C:\\Users\\u\\AppData\\Local";
    const std::u16string family = u"Orlin_8wekyb3d8bbwe";
    const std::u16string localState =
        JoinPath(JoinPath(JoinPath(appData, u"Packages"), family), u"LocalState");
    const std::u16string packaged = JoinPath(localState, u"orlin.settings.json");
    const std::u16string beside = JoinPath(exe, u"orlin.settings.json");
    // clang-format off
    struct Case { const char* name; std::optional<std::u16string> family;
        std::optional<std::u16string> appData; bool created; std::u16string expected; bool creationAttempted;
        };
    // clang-format on
    const Case cases[] = {
        {"packaged", family, appData, true, packaged, true},
        {"not packaged", std::nullopt, appData, true, beside, false},
        {"empty family name", u"", appData, true, beside, false},
        {"no local app data folder", family, std::nullopt, true, beside, false},
        {"directory not created", family, appData, false, beside, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::u16string> created;
        SettingsLocationInputs inputs{c.family, c.appData, exe,
                                      [&](const std::u16string& directory) {
                                          created.push_back(directory);
                                          return c.created;
                                      }};
        EXPECT_EQ(ComputeSettingsPath(inputs), c.expected);
        EXPECT_EQ(created, c.creationAttempted ? std::vector<std::u16string>{localState}
                                               : std::vector<std::u16string>{});
    }
}

} // namespace
} // namespace orx
