#pragma once

#include <string_view>

namespace orx {

// Simple one-to-one lower-casing of a UTF-16 unit: ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic and full-width Latin letters, which covers what file and font names use.
[[nodiscard]] char16_t FoldCase(char16_t unit);

// Case-insensitive equality of UTF-16 texts, unit by unit after FoldCase.
[[nodiscard]] bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

} // namespace orx
