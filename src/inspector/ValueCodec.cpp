#include "inspector/ValueCodec.h"

#include "inspector/CivilTime.h"
#include "platform/Utf.h"
#include "text/HexDigit.h"
#include "text/HexFormat.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace orx {
namespace {

// FILETIME counts 100 ns from 1601-01-01, 11644473600 s before 1970-01-01.
constexpr std::int64_t kFileTimeEpochOffset = 11644473600;
constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kMaxShownFileTime =
    static_cast<std::uint64_t>(kMaxShownUnixSeconds + kFileTimeEpochOffset) * kTicksPerSecond +
    (kTicksPerSecond - 1);

struct TypeInfo {
    ValueType type;
    std::size_t size;
    std::u16string_view shortName;
    std::string_view nameKey;
    std::u16string_view low;
    std::u16string_view high;
};

constexpr std::array<TypeInfo, 16> kTypes = {{
    {ValueType::Int8, 1, u"i8", "value.type.int8", u"-128", u"127"},
    {ValueType::Int16, 2, u"i16", "value.type.int16", u"-32768", u"32767"},
    {ValueType::Int32, 4, u"i32", "value.type.int32", u"-2147483648", u"2147483647"},
    {ValueType::Int64, 8, u"i64", "value.type.int64", u"-9223372036854775808",
     u"9223372036854775807"},
    {ValueType::UInt8, 1, u"u8", "value.type.uint8", u"0", u"255"},
    {ValueType::UInt16, 2, u"u16", "value.type.uint16", u"0", u"65535"},
    {ValueType::UInt32, 4, u"u32", "value.type.uint32", u"0", u"4294967295"},
    {ValueType::UInt64, 8, u"u64", "value.type.uint64", u"0", u"18446744073709551615"},
    {ValueType::Float16, 2, u"f16", "value.type.float16", u"-65504", u"65504"},
    {ValueType::Float32, 4, u"f32", "value.type.float32", u"-3.4028235e+38", u"3.4028235e+38"},
    {ValueType::Float64, 8, u"f64", "value.type.float64", u"-1.7976931348623157e+308",
     u"1.7976931348623157e+308"},
    {ValueType::UnixTime32, 4, u"unix32", "value.type.unix32", u"1901-12-13 20:45:52",
     u"2038-01-19 03:14:07 UTC"},
    {ValueType::UnixTime64, 8, u"unix64", "value.type.unix64", u"0001-01-01 00:00:00",
     u"9999-12-31 23:59:59 UTC"},
    {ValueType::FileTime, 8, u"filetime", "value.type.filetime", u"1601-01-01 00:00:00",
     u"9999-12-31 23:59:59.9999999 UTC"},
    {ValueType::DosDateTime, 4, u"dostime", "value.type.dos_datetime", u"1980-01-01 00:00:00",
     u"2107-12-31 23:59:58"},
    {ValueType::Guid, 16, u"guid", "value.type.guid", u"", u""},
}};

const TypeInfo& Info(ValueType type)
{
    return kTypes[static_cast<std::size_t>(type)];
}

bool IsSigned(ValueType type)
{
    return type <= ValueType::Int64;
}

std::uint64_t Assemble(std::span<const std::uint8_t> bytes, std::size_t size, bool bigEndian)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value = (value << 8) | (bigEndian ? bytes[i] : bytes[size - 1 - i]);
    }
    return value;
}

std::vector<std::uint8_t> Store(std::uint64_t value, std::size_t size, bool bigEndian)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[bigEndian ? size - 1 - i : i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return bytes;
}

std::int64_t SignExtend(std::uint64_t value, std::size_t size)
{
    const unsigned shift = static_cast<unsigned>(64 - 8 * size);
    return static_cast<std::int64_t>(value << shift) >> shift;
}

double HalfToDouble(std::uint16_t half)
{
    const int exponent = (half >> 10) & 0x1F;
    const int fraction = half & 0x3FF;
    double magnitude = 0.0;
    if (exponent == 0) {
        magnitude = std::ldexp(fraction, -24);
    } else if (exponent == 31) {
        magnitude = fraction != 0 ? std::numeric_limits<double>::quiet_NaN()
                                  : std::numeric_limits<double>::infinity();
    } else {
        magnitude = std::ldexp(fraction + 1024, exponent - 25);
    }
    return (half & 0x8000) != 0 ? -magnitude : magnitude;
}

// Rounds to the nearest half, ties to even; nothing when that overflows a finite value.
std::optional<std::uint16_t> DoubleToHalf(double value)
{
    const std::uint16_t sign = std::signbit(value) ? 0x8000 : 0;
    const double magnitude = std::fabs(value);
    if (std::isnan(value)) {
        return static_cast<std::uint16_t>(sign | 0x7E00);
    }
    if (std::isinf(value)) {
        return static_cast<std::uint16_t>(sign | 0x7C00);
    }
    if (magnitude < 0x1p-14) {
        // Subnormal: steps of 2^-24; rounding up to 1024 gives the least normal exactly.
        return static_cast<std::uint16_t>(sign |
                                          static_cast<int>(std::nearbyint(magnitude * 0x1p24)));
    }
    int exponent = 0;
    const double mantissa = std::frexp(magnitude, &exponent); // [0.5, 1)
    auto fraction = static_cast<int>(std::nearbyint((mantissa * 2.0 - 1.0) * 1024.0));
    if (fraction == 1024) {
        fraction = 0;
        ++exponent;
    }
    const int field = exponent - 1 + 15;
    if (field >= 31) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(sign | (field << 10) | fraction);
}

template <class Float>
std::u16string FormatFloat(Float value)
{
    if (std::isnan(value)) {
        return u"NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-Infinity" : u"Infinity";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return platform::Widen(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

std::optional<std::u16string> FormatUnix(std::int64_t seconds, std::uint32_t ticks = 0)
{
    if (seconds < kMinShownUnixSeconds || seconds > kMaxShownUnixSeconds) {
        return std::nullopt;
    }
    return FormatCivil(CivilFromUnixSeconds(seconds, ticks), true);
}

std::optional<std::u16string> FormatDos(std::uint32_t value)
{
    const std::uint32_t date = value >> 16;
    const std::uint32_t time = value & 0xFFFF;
    CivilTime civil;
    civil.year = 1980 + (date >> 9);
    civil.month = static_cast<int>((date >> 5) & 0xF);
    civil.day = static_cast<int>(date & 0x1F);
    civil.hour = static_cast<int>(time >> 11);
    civil.minute = static_cast<int>((time >> 5) & 0x3F);
    civil.second = static_cast<int>((time & 0x1F) * 2);
    if (!IsValidCivil(civil)) {
        return std::nullopt;
    }
    return FormatCivil(civil, false);
}

std::u16string FormatGuid(std::span<const std::uint8_t> bytes, bool bigEndian)
{
    std::u16string text = u"{";
    AppendUpperHex(text, Assemble(bytes, 4, bigEndian), 8);
    text += u'-';
    AppendUpperHex(text, Assemble(bytes.subspan(4), 2, bigEndian), 4);
    text += u'-';
    AppendUpperHex(text, Assemble(bytes.subspan(6), 2, bigEndian), 4);
    text += u'-';
    for (std::size_t i = 8; i < 16; ++i) {
        if (i == 10) {
            text += u'-';
        }
        AppendUpperHex(text, bytes[i], 2);
    }
    text += u'}';
    return text;
}

std::u16string_view Trim(std::u16string_view text)
{
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

struct ParsedInteger {
    bool negative = false;
    std::uint64_t magnitude = 0;
    ValueError error = ValueError::None;
};

// A sign, then decimal digits or 0x and hexadecimal digits.
ParsedInteger ParseInteger(std::u16string_view text)
{
    ParsedInteger parsed;
    if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) {
        parsed.negative = text[0] == u'-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        parsed.error = ValueError::Syntax;
        return parsed;
    }
    for (const char16_t c : text) {
        const std::optional<std::uint8_t> digit = HexDigitValue(c);
        if (!digit || *digit >= base) {
            parsed.error = ValueError::Syntax;
            return parsed;
        }
        if (parsed.magnitude > (UINT64_MAX - *digit) / base) {
            parsed.error = ValueError::Range; // still read on: a later letter is a syntax error
        } else {
            parsed.magnitude = parsed.magnitude * base + *digit;
        }
    }
    return parsed;
}

EncodedValue EncodeInteger(ValueType type, std::u16string_view text, bool bigEndian)
{
    const std::size_t size = ValueSize(type);
    const ParsedInteger parsed = ParseInteger(text);
    if (parsed.error != ValueError::None) {
        return {{}, parsed.error};
    }
    const unsigned bits = static_cast<unsigned>(8 * size);
    const std::uint64_t unsignedMax = bits == 64 ? UINT64_MAX : (std::uint64_t{1} << bits) - 1;
    const std::uint64_t limit = IsSigned(type) ? (unsignedMax >> 1) + (parsed.negative ? 1 : 0)
                                               : (parsed.negative ? 0 : unsignedMax);
    if (parsed.magnitude > limit) {
        return {{}, ValueError::Range};
    }
    const std::uint64_t value = parsed.negative ? 0 - parsed.magnitude : parsed.magnitude;
    return {Store(value, size, bigEndian), ValueError::None};
}

template <class Float>
std::optional<Float> ParseFloat(std::u16string_view text, ValueError& error)
{
    std::string narrow;
    for (const char16_t c : text) {
        if (c > 0x7F) {
            error = ValueError::Syntax;
            return std::nullopt;
        }
        narrow += static_cast<char>(c);
    }
    if (!narrow.empty() && narrow[0] == '+') {
        narrow.erase(0, 1);
    }
    Float value{};
    const char* end = narrow.data() + narrow.size();
    const auto result = std::from_chars(narrow.data(), end, value);
    if (narrow.empty() || result.ptr != end ||
        (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
        error = ValueError::Syntax;
        return std::nullopt;
    }
    if (result.ec == std::errc::result_out_of_range) {
        error = ValueError::Range;
        return std::nullopt;
    }
    return value;
}

EncodedValue EncodeFloat(ValueType type, std::u16string_view text, bool bigEndian)
{
    ValueError error = ValueError::None;
    if (type == ValueType::Float32) {
        const std::optional<float> value = ParseFloat<float>(text, error);
        if (!value) {
            return {{}, error};
        }
        return {Store(std::bit_cast<std::uint32_t>(*value), 4, bigEndian), ValueError::None};
    }
    const std::optional<double> value = ParseFloat<double>(text, error);
    if (!value) {
        return {{}, error};
    }
    if (type == ValueType::Float64) {
        return {Store(std::bit_cast<std::uint64_t>(*value), 8, bigEndian), ValueError::None};
    }
    const std::optional<std::uint16_t> half = DoubleToHalf(*value);
    if (!half) {
        return {{}, ValueError::Range};
    }
    return {Store(*half, 2, bigEndian), ValueError::None};
}

EncodedValue EncodeTime(ValueType type, std::u16string_view text, bool bigEndian)
{
    const std::optional<CivilTime> time = ParseCivil(text);
    if (!time) {
        return {{}, ValueError::Syntax};
    }
    const std::int64_t seconds = UnixSecondsFromCivil(*time);
    const EncodedValue outOfRange{{}, ValueError::Range};
    switch (type) {
    case ValueType::UnixTime32:
        if (time->ticks != 0 || seconds < INT32_MIN || seconds > INT32_MAX) {
            return outOfRange;
        }
        return {Store(static_cast<std::uint64_t>(seconds), 4, bigEndian), ValueError::None};
    case ValueType::UnixTime64:
        if (time->ticks != 0) {
            return outOfRange;
        }
        return {Store(static_cast<std::uint64_t>(seconds), 8, bigEndian), ValueError::None};
    case ValueType::FileTime: {
        if (seconds < -kFileTimeEpochOffset) {
            return outOfRange;
        }
        const auto ticks =
            static_cast<std::uint64_t>(seconds + kFileTimeEpochOffset) * kTicksPerSecond +
            time->ticks;
        return {Store(ticks, 8, bigEndian), ValueError::None};
    }
    default: {
        if (time->ticks != 0 || time->year < 1980 || time->year > 2107 || time->second % 2 != 0) {
            return outOfRange;
        }
        const auto date =
            static_cast<std::uint32_t>(((time->year - 1980) << 9) | (time->month << 5) | time->day);
        const auto clock = static_cast<std::uint32_t>((time->hour << 11) | (time->minute << 5) |
                                                      (time->second / 2));
        return {Store((date << 16) | clock, 4, bigEndian), ValueError::None};
    }
    }
}

EncodedValue EncodeGuid(std::u16string_view text, bool bigEndian)
{
    if (text.size() >= 2 && text.front() == u'{' && text.back() == u'}') {
        text = text.substr(1, text.size() - 2);
    }
    std::u16string digits;
    const bool hyphens = text.size() == 36;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool hyphenPlace = hyphens && (i == 8 || i == 13 || i == 18 || i == 23);
        if (hyphenPlace != (text[i] == u'-')) {
            return {{}, ValueError::Syntax};
        }
        if (!hyphenPlace) {
            digits += text[i];
        }
    }
    const std::optional<std::vector<std::uint8_t>> bytes = HexPairsToBytes(digits);
    if (digits.size() != 32 || !bytes) {
        return {{}, ValueError::Syntax};
    }
    std::vector<std::uint8_t> encoded = *bytes; // as written: the big-endian form
    if (!bigEndian) {
        std::reverse(encoded.begin(), encoded.begin() + 4);
        std::reverse(encoded.begin() + 4, encoded.begin() + 6);
        std::reverse(encoded.begin() + 6, encoded.begin() + 8);
    }
    return {std::move(encoded), ValueError::None};
}

} // namespace

std::size_t ValueSize(ValueType type)
{
    return Info(type).size;
}

std::u16string_view ValueTypeShortName(ValueType type)
{
    return Info(type).shortName;
}

std::optional<ValueType> ValueTypeFromShortName(std::u16string_view name)
{
    for (const TypeInfo& info : kTypes) {
        if (info.shortName == name) {
            return info.type;
        }
    }
    return std::nullopt;
}

std::u16string ValueTypeName(ValueType type, const StringLookup& text)
{
    switch (type) {
    case ValueType::Int8: return text("value.type.int8");
    case ValueType::Int16: return text("value.type.int16");
    case ValueType::Int32: return text("value.type.int32");
    case ValueType::Int64: return text("value.type.int64");
    case ValueType::UInt8: return text("value.type.uint8");
    case ValueType::UInt16: return text("value.type.uint16");
    case ValueType::UInt32: return text("value.type.uint32");
    case ValueType::UInt64: return text("value.type.uint64");
    case ValueType::Float16: return text("value.type.float16");
    case ValueType::Float32: return text("value.type.float32");
    case ValueType::Float64: return text("value.type.float64");
    case ValueType::UnixTime32: return text("value.type.unix32");
    case ValueType::UnixTime64: return text("value.type.unix64");
    case ValueType::FileTime: return text("value.type.filetime");
    case ValueType::DosDateTime: return text("value.type.dos_datetime");
    case ValueType::Guid: return text("value.type.guid");
    }
    return {};
}

std::optional<std::u16string> FormatValue(ValueType type, std::span<const std::uint8_t> bytes,
                                          bool bigEndian)
{
    const std::size_t size = ValueSize(type);
    if (bytes.size() < size) {
        return std::nullopt;
    }
    const std::uint64_t raw = type == ValueType::Guid ? 0 : Assemble(bytes, size, bigEndian);
    switch (type) {
    case ValueType::Int8:
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64: return platform::Widen(std::to_string(SignExtend(raw, size)));
    case ValueType::UInt8:
    case ValueType::UInt16:
    case ValueType::UInt32:
    case ValueType::UInt64: return platform::Widen(std::to_string(raw));
    case ValueType::Float16:
        return FormatFloat(static_cast<float>(HalfToDouble(static_cast<std::uint16_t>(raw))));
    case ValueType::Float32:
        return FormatFloat(std::bit_cast<float>(static_cast<std::uint32_t>(raw)));
    case ValueType::Float64: return FormatFloat(std::bit_cast<double>(raw));
    case ValueType::UnixTime32: return FormatUnix(SignExtend(raw, 4));
    case ValueType::UnixTime64: return FormatUnix(static_cast<std::int64_t>(raw));
    case ValueType::FileTime:
        if (raw > kMaxShownFileTime) {
            return std::nullopt;
        }
        return FormatUnix(static_cast<std::int64_t>(raw / kTicksPerSecond) - kFileTimeEpochOffset,
                          static_cast<std::uint32_t>(raw % kTicksPerSecond));
    case ValueType::DosDateTime: return FormatDos(static_cast<std::uint32_t>(raw));
    case ValueType::Guid: return FormatGuid(bytes, bigEndian);
    }
    return std::nullopt;
}

EncodedValue EncodeValue(ValueType type, std::u16string_view text, bool bigEndian)
{
    text = Trim(text);
    switch (type) {
    case ValueType::Float16:
    case ValueType::Float32:
    case ValueType::Float64: return EncodeFloat(type, text, bigEndian);
    case ValueType::UnixTime32:
    case ValueType::UnixTime64:
    case ValueType::FileTime:
    case ValueType::DosDateTime: return EncodeTime(type, text, bigEndian);
    case ValueType::Guid: return EncodeGuid(text, bigEndian);
    default: return EncodeInteger(type, text, bigEndian);
    }
}

std::u16string DescribeValueError(ValueError error, ValueType type, std::u16string_view text,
                                  const StringLookup& lookup)
{
    const TypeInfo& info = Info(type);
    std::u16string message;
    if (type == ValueType::Guid) {
        message = lookup("error.value_guid");
    } else if (type == ValueType::DosDateTime && error == ValueError::Range &&
               ParseCivil(Trim(text)).has_value() && ParseCivil(Trim(text))->second % 2 != 0) {
        message = lookup("error.value_dos_seconds");
    } else {
        message = lookup(error == ValueError::Range ? "error.value_range" : "error.value_syntax");
    }
    message = FillIn(std::move(message), u"value", Trim(text));
    message = FillIn(std::move(message), u"type", ValueTypeName(type, lookup));
    message = FillIn(std::move(message), u"low", info.low);
    return FillIn(std::move(message), u"high", info.high);
}

} // namespace orx
