#pragma once

#include "hexview/TextEncoding.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orx {

// The forms Copy As puts bytes on the clipboard in; `orlin-cli dump --format` writes the
// same text (all but Text).
enum class CopyFormat : std::uint32_t {
    Hex = 0,        // "4D 5A 90 00", the plain copy's form
    HexCompact = 1, // "4D5A9000"
    CArray = 2,     // unsigned char data[4] = { ... }; 16 values a line
    Python = 3,     // b"\x4D\x5A\x90\x00"
    Base64 = 4,     // "TVqQAA=="
    Text = 5,       // the bytes decoded in the view's encoding
};

// The CLI's names: hex, hex-compact, c, python, base64.
[[nodiscard]] std::optional<CopyFormat> CopyFormatNamed(std::string_view name);

// The most characters `count` bytes can take in `format` (for Text, at most one UTF-16 unit a
// byte), so that a copy too large is refused before anything is read.
[[nodiscard]] std::uint64_t FormattedLengthBound(std::uint64_t count, CopyFormat format);

// `bytes` in `format` (ASCII; not Text). Lines end with "\n"; no line end after the last.
[[nodiscard]] std::string FormatBytes(std::span<const std::uint8_t> bytes, CopyFormat format);

// `bytes` decoded as `encoding` for the clipboard: a NUL, which would end the clipboard's
// text, and any byte or sequence that decodes to nothing become U+FFFD.
[[nodiscard]] std::u16string DecodeForCopy(std::span<const std::uint8_t> bytes,
                                           TextEncoding encoding);

} // namespace orx
