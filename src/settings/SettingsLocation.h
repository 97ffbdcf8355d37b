#pragma once

#include "localization/UiLanguage.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orx {

// The directory of the running executable.
[[nodiscard]] std::u16string ExecutableDirectory();

// Japanese for a user locale named "ja…", English otherwise and when the name is unknown.
[[nodiscard]] UiLanguage DefaultUiLanguageFor(const std::optional<std::u16string>& localeName);
[[nodiscard]] UiLanguage DefaultUiLanguage();

// What decides where the settings file lives; the system supplies it, tests inject it.
struct SettingsLocationInputs {
    std::optional<std::u16string> packageFamilyName; // set only when running packaged
    std::optional<std::u16string> localAppDataFolder;
    std::u16string executableDirectory;
    // Creates a directory with all missing parents; true when it exists afterwards.
    std::function<bool(const std::u16string&)> createDirectories;
};

// The packaged app's LocalState folder holds the file when it can be used; otherwise the
// executable's directory does, silently.
[[nodiscard]] std::u16string ComputeSettingsPath(const SettingsLocationInputs& inputs);
[[nodiscard]] std::u16string ComputeSettingsPath();

} // namespace orx
