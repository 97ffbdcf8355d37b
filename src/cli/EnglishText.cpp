#include "cli/EnglishText.h"

#include "localization/StringTable.h"
#include "settings/SettingsLocation.h"

namespace orx::cli {

std::u16string EnglishText(std::string_view key, const std::u16string& resourceDirectory)
{
    StringTable strings;
    strings.SetBaseDirectory(resourceDirectory.empty() ? ExecutableDirectory() : resourceDirectory);
    strings.SetLanguage(UiLanguage::English);
    return strings.Lookup(key);
}

} // namespace orx::cli
