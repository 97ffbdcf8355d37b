#pragma once

#include "localization/UiLanguage.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orx {

// One language's texts: ASCII key -> UTF-16 text.
using StringMap = std::unordered_map<std::string, std::u16string>;

// Reads the text of a string file (UTF-8, one "key = text" per line) into a map.
// Never fails: malformed lines are skipped, invalid UTF-8 becomes U+FFFD, a leading
// byte-order mark is ignored, and the first definition of a key wins.
[[nodiscard]] StringMap ParseStringFile(std::string_view bytes);

// The user-visible texts of the application, looked up by key in the current language.
// Each language's file (<base>/resources/strings/<code>.txt) is read at most once per run,
// on the first lookup that needs it. UI thread only.
class StringTable {
public:
    // Where the user's locale name comes from; tests inject a fixed one.
    using LocaleSource = std::function<std::optional<std::u16string>()>;

    // Asks the system for the user's default locale.
    StringTable();
    explicit StringTable(LocaleSource localeSource);

    // The directory that holds "resources/strings"; the executable's directory in the app.
    void SetBaseDirectory(std::u16string directory);
    [[nodiscard]] const std::u16string& BaseDirectory() const { return baseDirectory_; }

    // Takes effect at the next lookup; callers rebuild their texts themselves.
    void SetLanguage(UiLanguage language) { language_ = language; }
    [[nodiscard]] UiLanguage Language() const { return language_; }

    // "en-US" or "ja-JP". For System the user's locale is asked again on every call.
    [[nodiscard]] std::u16string LanguageCode() const;

    // Reads the file of `code` unless a table for it exists already (also an empty one,
    // left by a missing or unreadable file).
    void EnsureLoaded(const std::u16string& code);

    // The text of `key` in the current language, or the key itself when that language's
    // file does not define it.
    [[nodiscard]] std::u16string Lookup(std::string_view key);

    // The text of `key` in the current language, or nothing when that language's file does
    // not define it.
    [[nodiscard]] std::optional<std::u16string> Find(std::string_view key);

    // Full path of the string file for a language code.
    [[nodiscard]] std::u16string StringFilePath(const std::u16string& code) const;

private:
    std::u16string baseDirectory_;
    UiLanguage language_ = UiLanguage::System;
    std::unordered_map<std::u16string, StringMap> tables_;
    LocaleSource localeSource_;
};

} // namespace orx
