#pragma once

#include "hexview/TextEncoding.h"
#include "ui/Theme.h"
#include "localization/UiLanguage.h"
#include "structview/StructValueOptions.h"

#include "OrxVersion.h"

#include <string>
#include <string_view>
#include <vector>

namespace orx {

// Every write of the settings file stamps this version first. The number is the project's, from
// the build (CMakeLists.txt).
inline constexpr std::u16string_view kAppVersion = u"v" ORX_VERSION_TEXT;
inline constexpr std::u16string_view kDefaultFontFamily = u"Consolas";
inline constexpr float kDefaultFontSize = 12.0f;
inline constexpr std::u16string_view kSettingsFileName = u"orlin.settings.json";

// One query of the search dialog's history.
struct SearchHistoryEntry {
    std::u16string kind;  // "hex", "text", or a value's type and byte order ("value:u32:big")
    std::u16string query; // trimmed
    bool ignoreCase = false;

    friend bool operator==(const SearchHistoryEntry&, const SearchHistoryEntry&) = default;
};

// All persisted preferences. Default-constructed it holds the defaults the file reader
// starts from.
struct AppSettings {
    bool inspectorVisible = true;
    bool inspectorBigEndian = false; // the byte order of the inspector's switched rows
    bool structViewVisible = false;
    StructValueOptions structOptions;
    bool structApplyMatches = false; // the library's best match applies when a file opens
    std::u16string appVersion;
    TextEncoding encoding = TextEncoding::Ascii;
    Theme theme = Theme::DarkBlue;
    UiLanguage language = UiLanguage::System;
    std::u16string fontFamily{kDefaultFontFamily};
    float fontSize = kDefaultFontSize;
    bool fontBold = false;
    bool fontItalic = false;
    std::vector<std::u16string> recentFiles;       // most recent first
    std::vector<SearchHistoryEntry> searchHistory; // most recent first

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

} // namespace orx
