#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orx::platform {

// UTF-8 <-> UTF-16 with the conventions of code page 65001 on Windows.
// Strict decoding rejects overlong forms, encoded surrogates, code points above U+10FFFF and
// truncated sequences (MB_ERR_INVALID_CHARS); lenient decoding replaces each with U+FFFD.
std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes, bool strict);
// Fails on an unpaired surrogate (WC_ERR_INVALID_CHARS); lenient encodes it as U+FFFD.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text, bool strict);

// Convenience for ASCII/UTF-8 literals and file names in portable code.
std::u16string Widen(std::string_view utf8);
std::string Narrow(std::u16string_view text);

} // namespace orx::platform
