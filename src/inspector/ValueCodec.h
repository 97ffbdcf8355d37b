#pragma once

#include "localization/StringLookup.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// The fixed-size values the inspector shows and edits, and a search can look for.
enum class ValueType : std::uint8_t {
    Int8,
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt16,
    UInt32,
    UInt64,
    Float16,
    Float32,
    Float64,
    UnixTime32,
    UnixTime64,
    FileTime,
    DosDateTime,
    Guid,
};

// The types a search by value offers, in the order it lists them.
inline constexpr std::array kSearchValueTypes = {
    ValueType::Int8,   ValueType::Int16,  ValueType::Int32,  ValueType::Int64,   ValueType::UInt8,
    ValueType::UInt16, ValueType::UInt32, ValueType::UInt64, ValueType::Float32, ValueType::Float64,
};

[[nodiscard]] std::size_t ValueSize(ValueType type);
// The short name the command line and the settings file use: "i8", "u32", "f64".
[[nodiscard]] std::u16string_view ValueTypeShortName(ValueType type);
[[nodiscard]] std::optional<ValueType> ValueTypeFromShortName(std::u16string_view name);
// The type's name in the user's language ("Int8", "Unix time (32-bit)").
[[nodiscard]] std::u16string ValueTypeName(ValueType type, const StringLookup& text);

// The value of the first ValueSize(type) bytes; nothing when there are fewer or they are no
// valid value of the type (a time outside years 1 to 9999, a DOS date with month 13). NaN
// shows as "NaN", infinities as "Infinity" and "-Infinity".
[[nodiscard]] std::optional<std::u16string>
FormatValue(ValueType type, std::span<const std::uint8_t> bytes, bool bigEndian);

enum class ValueError : std::uint8_t {
    None,
    Syntax, // not written in the type's notation
    Range,  // written right, but the type cannot hold it
};

struct EncodedValue {
    std::vector<std::uint8_t> bytes; // ValueSize(type) of them, unless there is an error
    ValueError error = ValueError::None;
};

// Parses `text` (surrounding blanks ignored) in the notation FormatValue writes: integers in
// decimal or 0x hexadecimal (a sign before either), floating-point numbers in decimal with an
// exponent or as NaN/Infinity, times as "YYYY-MM-DD HH:MM:SS" (UTC), a GUID with or without
// braces and hyphens; and encodes it in the byte order.
[[nodiscard]] EncodedValue EncodeValue(ValueType type, std::u16string_view text, bool bigEndian);

// The message for a refused value: "300 does not fit Int8 (-128 to 127)." and the like.
[[nodiscard]] std::u16string DescribeValueError(ValueError error, ValueType type,
                                                std::u16string_view text,
                                                const StringLookup& lookup);

} // namespace orx
