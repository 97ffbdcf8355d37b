#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orx {

inline constexpr std::size_t kInspectorRowCount = 11;

// The rows' key suffixes in display order; each row's label is "inspector.data.row." + suffix.
inline constexpr std::array<std::string_view, kInspectorRowCount> kInspectorRowKeys = {
    "binary",    "uint8_dec", "uint16_le", "uint16_be", "uint32_le", "uint32_be",
    "uint64_le", "uint64_be", "utf8",      "utf16le",   "utf16be",
};

using InspectorValues = std::array<std::u16string, kInspectorRowCount>;

// The eleven interpretations of the bytes read at the caret (the first 32 at most matter); a row
// that cannot be computed shows `unavailableText`.
InspectorValues ComputeInspectorValues(std::span<const std::uint8_t> bytes,
                                       std::u16string_view unavailableText);

// "0x" + upper-case hex padded to `digits` + " / " + decimal, e.g. "0x0041 / 65".
std::u16string FormatHexDec(std::uint64_t value, int digits);

// The first UTF-8 character (one unit or a surrogate pair); nothing for a zero byte, an invalid
// or incomplete sequence.
std::optional<std::u16string> DecodeFirstUtf8Char(std::span<const std::uint8_t> bytes);

// The first UTF-16 character in the given byte order, provided the first 32 bytes look like
// UTF-16 text to the system.
std::optional<std::u16string> DecodeFirstUtf16Char(std::span<const std::uint8_t> bytes,
                                                   bool littleEndian);

// A character with its code point: "A (U+0041)", named for blanks: "Space (U+0020)".
std::u16string DescribeChar(std::u16string_view text);

} // namespace orx
