#pragma once

#include <cstdint>
#include <span>

namespace orx::platform {

// Whether the BMP unit is a non-spacing (combining) mark by the system's character types:
// GetStringTypeW(CT_CTYPE3) reporting C3_NONSPACING for a character that is not also
// C3_ALPHA. Windows marks precomposed letters such as U+00E9 non-spacing and diacritic as
// well; those take a cell of their own and must not be counted here.
[[nodiscard]] bool IsNonSpacingMark(char16_t unit);

// The system's UTF-16 plausibility test over little-endian units (IsTextUnicode with
// IS_TEXT_UNICODE_ASCII16 | IS_TEXT_UNICODE_STATISTICS | IS_TEXT_UNICODE_CONTROLS).
[[nodiscard]] bool LooksLikeUtf16Text(std::span<const std::uint8_t> bytes);

} // namespace orx::platform
