#pragma once

#include "inspector/ValueCodec.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orx {

inline constexpr std::size_t kInspectorRowCount = 25;

// The rows' keys in display order, as `orlin-cli inspect` prints them. The first eleven show
// both byte orders themselves; the rows from kInspectorFirstOrderedRow on follow the
// inspector's byte-order switch.
inline constexpr std::array<std::string_view, kInspectorRowCount> kInspectorRowKeys = {
    "binary",       "uint8_dec", "uint16_le", "uint16_be", "uint32_le", "uint32_be", "uint64_le",
    "uint64_be",    "utf8",      "utf16le",   "utf16be",   "int8",      "int16",     "int32",
    "int64",        "float16",   "float32",   "float64",   "unix32",    "unix64",    "filetime",
    "dos_datetime", "guid",      "uleb128",   "sleb128",
};
inline constexpr std::size_t kInspectorFirstOrderedRow = 11;
inline constexpr std::size_t kInspectorUleb128Row = 23;
inline constexpr std::size_t kInspectorSleb128Row = 24;

// The LEB128 rows' text when no language's is at hand.
inline constexpr std::u16string_view kLeb128DefaultFormat = u"{value} (length {length})";

// The fixed-size type of a row, and the byte order it reads in; nothing for the binary,
// character and LEB128 rows.
struct InspectorRowType {
    ValueType type;
    bool bigEndian;
};
[[nodiscard]] std::optional<InspectorRowType> InspectorRowValueType(std::size_t row,
                                                                    bool bigEndian);

using InspectorValues = std::array<std::u16string, kInspectorRowCount>;

// The interpretations of the bytes read at the caret (the first 32 at most matter); a row that
// cannot be computed shows `unavailableText`. The rows after the first eleven read in the
// given byte order; the LEB128 rows show their value and length through `leb128Format`
// ("{value}", "{length}").
InspectorValues ComputeInspectorValues(std::span<const std::uint8_t> bytes,
                                       std::u16string_view unavailableText, bool bigEndian = false,
                                       std::u16string_view leb128Format = kLeb128DefaultFormat);

// A LEB128 number at the start of `bytes` and how many bytes it takes; nothing when it does
// not end within the bytes or does not fit 64 bits.
struct Leb128 {
    std::uint64_t value = 0; // the two's complement bits for a signed one
    std::size_t length = 0;
};
[[nodiscard]] std::optional<Leb128> DecodeUleb128(std::span<const std::uint8_t> bytes);
[[nodiscard]] std::optional<Leb128> DecodeSleb128(std::span<const std::uint8_t> bytes);

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
