#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orx {

// The user's choice of UI language as stored in the settings. Any value other than these
// three behaves like System.
enum class UiLanguage : std::uint32_t {
    System = 0,
    English = 1,
    Japanese = 2,
};

// True when a locale name such as "ja-JP" or "ja" selects Japanese: at least two characters,
// the first two exactly "ja" (lower case). Nothing (the system call failed) is not Japanese.
[[nodiscard]] bool IsJapaneseLocaleName(const std::optional<std::u16string>& localeName);

// "en-US" or "ja-JP" for a language; System resolves through the given user locale name.
[[nodiscard]] std::u16string LanguageCodeFor(UiLanguage language,
                                             const std::optional<std::u16string>& localeName);

} // namespace orx
