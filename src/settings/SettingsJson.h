#pragma once

#include "settings/AppSettings.h"

#include <string>
#include <string_view>

namespace orx {

// The settings file's text: UTF-8 without byte-order mark, CR LF line ends, one fixed layout.
[[nodiscard]] std::string SerializeSettings(const AppSettings& settings);

// Reads the values it recognises in `bytes` into `settings` and keeps the current value of
// everything missing or malformed, except the two lists, which become what the text holds.
// Any input is accepted.
void ParseSettingsText(AppSettings& settings, std::string_view bytes);

// A string as it appears between the quotes of the file.
[[nodiscard]] std::string EscapeJsonString(std::u16string_view text);

} // namespace orx
