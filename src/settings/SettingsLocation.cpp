#include "settings/SettingsLocation.h"

#include "localization/FileText.h"
#include "platform/PathText.h"
#include "platform/System.h"
#include "settings/AppSettings.h"

#include <filesystem>
#include <system_error>

namespace orx {
namespace {

bool CreateDirectories(const std::u16string& directory)
{
    std::error_code error;
    const std::filesystem::path path(directory);
    std::filesystem::create_directories(path, error);
    return !error && std::filesystem::is_directory(path, error);
}

} // namespace

std::u16string ExecutableDirectory()
{
    return platform::DirectoryOfPath(platform::ExecutablePath());
}

UiLanguage DefaultUiLanguageFor(const std::optional<std::u16string>& localeName)
{
    return IsJapaneseLocaleName(localeName) ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage DefaultUiLanguage()
{
    return DefaultUiLanguageFor(platform::UserDefaultLocaleName());
}

std::u16string ComputeSettingsPath(const SettingsLocationInputs& inputs)
{
    const auto& family = inputs.packageFamilyName;
    const auto& appData = inputs.localAppDataFolder;
    if (family && !family->empty() && appData && !appData->empty() && inputs.createDirectories) {
        const std::u16string localState =
            JoinPath(JoinPath(JoinPath(*appData, u"Packages"), *family), u"LocalState");
        if (inputs.createDirectories(localState)) {
            return JoinPath(localState, kSettingsFileName);
        }
    }
    return JoinPath(inputs.executableDirectory, kSettingsFileName);
}

std::u16string ComputeSettingsPath()
{
    SettingsLocationInputs inputs;
    inputs.packageFamilyName = platform::PackageFamilyName();
    // The folder is only needed, and only asked for, when running packaged.
    if (inputs.packageFamilyName) {
        inputs.localAppDataFolder = platform::LocalAppDataFolder();
    }
    inputs.executableDirectory = ExecutableDirectory();
    inputs.createDirectories = CreateDirectories;
    return ComputeSettingsPath(inputs);
}

} // namespace orx
