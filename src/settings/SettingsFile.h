#pragma once

#include "platform/FileSystem.h"
#include "settings/AppSettings.h"

#include <string>
#include <string_view>

namespace orx {

class StringTable;

// The record written when there is no readable settings file: defaults, stamped, with the
// given UI language (the user's locale default).
[[nodiscard]] AppSettings DefaultSettings(UiLanguage language);

// Reads the file at `path` into `settings` (see ParseSettingsText). False only when the
// file cannot be opened or read; `settings` is then untouched.
[[nodiscard]] bool ParseSettings(AppSettings& settings, const std::u16string& path);

// Writes the whole file. The text goes to a temporary file beside it that then replaces it,
// so an interrupted write never leaves a truncated settings file. False when anything fails;
// the old file is then unchanged and no temporary file is left behind.
[[nodiscard]] bool SaveSettings(const AppSettings& settings, const std::u16string& path,
                                platform::FileSystem& fs = platform::SystemFileSystem());

// Writes `bytes` as the whole file at `path` the way the settings file is written: into a
// temporary file beside it that then replaces it. False leaves the old file as it was.
[[nodiscard]] bool ReplaceFileContents(const std::u16string& path, std::string_view bytes,
                                       platform::FileSystem& fs = platform::SystemFileSystem());

// Start-up: fills `settings` from the file at `path`, or with the defaults (written out at
// once) when there is none or it cannot be read; repairs an empty font family or a size
// that is not positive; rewrites a file of another version once; and sets the string
// table's language from the result.
void LoadSettings(AppSettings& settings, const std::u16string& path, StringTable& strings);
// The same with the language the defaults get given, instead of the user's locale default.
void LoadSettings(AppSettings& settings, const std::u16string& path, StringTable& strings,
                  UiLanguage defaultLanguage);

} // namespace orx
