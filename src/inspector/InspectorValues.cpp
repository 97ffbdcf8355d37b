#include "inspector/InspectorValues.h"

#include "localization/StringLookup.h"
#include "platform/CharType.h"
#include "platform/Utf.h"
#include "text/HexFormat.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orx {
namespace {

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::u16string Binary(std::uint8_t b)
{
    std::u16string text = u"0b";
    for (int bit = 7; bit >= 0; --bit) {
        text.push_back(((b >> bit) & 1) != 0 ? u'1' : u'0');
        if (bit == 4) {
            text.push_back(u'_');
        }
    }
    return text;
}

std::uint64_t Assemble(std::span<const std::uint8_t> bytes, std::size_t size, bool littleEndian)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = littleEndian ? bytes[size - 1 - i] : bytes[i];
        value = (value << 8) | b;
    }
    return value;
}

std::u16string Describe(const std::optional<std::u16string>& text, std::u16string_view unavailable)
{
    return text ? DescribeChar(*text) : std::u16string(unavailable);
}

std::u16string_view BlankName(char32_t codePoint)
{
    switch (codePoint) {
    case 0x09: return u"TAB";
    case 0x0A: return u"LF";
    case 0x0B: return u"VT";
    case 0x0C: return u"FF";
    case 0x0D: return u"CR";
    case 0x20: return u"Space";
    case 0x85: return u"NEL";
    case 0xA0: return u"NBSP";
    case 0x3000: return u"Ideographic Space";
    default: return {};
    }
}

// 64 bits take at most ten groups of seven.
constexpr std::size_t kMaxLeb128Bytes = 10;

std::u16string FormatLeb128(const std::optional<Leb128>& number, bool isSigned,
                            std::u16string_view format, std::u16string_view unavailable)
{
    if (!number) {
        return std::u16string(unavailable);
    }
    const std::string value = isSigned ? std::to_string(static_cast<std::int64_t>(number->value))
                                       : std::to_string(number->value);
    std::u16string text = FillIn(std::u16string(format), u"value", platform::Widen(value));
    return FillIn(std::move(text), u"length", platform::Widen(std::to_string(number->length)));
}

} // namespace

std::u16string FormatHexDec(std::uint64_t value, int digits)
{
    std::u16string text = u"0x";
    AppendUpperHex(text, value, static_cast<std::size_t>(digits));
    text += u" / ";
    text += platform::Widen(std::to_string(value));
    return text;
}

std::optional<std::u16string> DecodeFirstUtf8Char(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty() || bytes[0] == 0) {
        return std::nullopt;
    }
    const std::uint8_t lead = bytes[0];
    std::size_t length = 0;
    if (lead < 0x80) {
        length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
    } else {
        return std::nullopt;
    }
    if (bytes.size() < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) { // also rejects a zero byte
            return std::nullopt;
        }
    }
    const std::string_view sequence(reinterpret_cast<const char*>(bytes.data()), length);
    std::optional<std::u16string> text = platform::Utf8ToUtf16(sequence, true);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return text;
}

std::optional<std::u16string> DecodeFirstUtf16Char(std::span<const std::uint8_t> bytes,
                                                   bool littleEndian)
{
    if (bytes.size() < 2) {
        return std::nullopt;
    }
    // The system test reads little-endian units, so big-endian data is handed over swapped.
    const std::span<const std::uint8_t> head = bytes.first(std::min<std::size_t>(32, bytes.size()));
    std::vector<std::uint8_t> sample(head.begin(), head.end());
    if (!littleEndian) {
        for (std::size_t i = 0; i + 1 < sample.size(); i += 2) {
            std::swap(sample[i], sample[i + 1]);
        }
    }
    if (!platform::LooksLikeUtf16Text(sample)) {
        return std::nullopt;
    }
    auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(sample[i] | (sample[i + 1] << 8));
    };
    const char16_t first = unitAt(0);
    if (first == 0 || IsLowSurrogate(first)) {
        return std::nullopt;
    }
    if (!IsHighSurrogate(first)) {
        return std::u16string(1, first);
    }
    if (sample.size() < 4 || !IsLowSurrogate(unitAt(2))) {
        return std::nullopt;
    }
    return std::u16string{first, unitAt(2)};
}

std::u16string DescribeChar(std::u16string_view text)
{
    if (text.empty() || IsLowSurrogate(text[0]) ||
        (IsHighSurrogate(text[0]) && (text.size() < 2 || !IsLowSurrogate(text[1])))) {
        return std::u16string(text);
    }
    char32_t codePoint = text[0];
    if (IsHighSurrogate(text[0])) {
        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[1] - 0xDC00);
    }
    const std::u16string_view name = BlankName(codePoint);
    std::u16string result(name.empty() ? text : name);
    result += u" (U+";
    AppendUpperHex(result, codePoint, 4);
    result += u")";
    return result;
}

InspectorValues ComputeInspectorValues(std::span<const std::uint8_t> bytes,
                                       std::u16string_view unavailableText, bool bigEndian,
                                       std::u16string_view leb128Format)
{
    InspectorValues rows;
    const std::u16string unavailable(unavailableText);
    if (bytes.empty()) {
        rows.fill(unavailable);
        return rows;
    }
    rows[0] = Binary(bytes[0]);
    rows[1] = FormatHexDec(bytes[0], 2);
    const std::size_t sizes[] = {2, 4, 8};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t size = sizes[k];
        const int digits = static_cast<int>(size * 2);
        for (const bool littleEndian : {true, false}) {
            const std::size_t row = 2 + 2 * k + (littleEndian ? 0 : 1);
            rows[row] = bytes.size() >= size
                            ? FormatHexDec(Assemble(bytes, size, littleEndian), digits)
                            : unavailable;
        }
    }
    rows[8] = Describe(DecodeFirstUtf8Char(bytes), unavailable);
    rows[9] = Describe(DecodeFirstUtf16Char(bytes, true), unavailable);
    rows[10] = Describe(DecodeFirstUtf16Char(bytes, false), unavailable);
    for (std::size_t row = kInspectorFirstOrderedRow; row < kInspectorUleb128Row; ++row) {
        const auto typed = InspectorRowValueType(row, bigEndian);
        rows[row] = FormatValue(typed->type, bytes, bigEndian).value_or(unavailable);
    }
    rows[kInspectorUleb128Row] =
        FormatLeb128(DecodeUleb128(bytes), false, leb128Format, unavailable);
    rows[kInspectorSleb128Row] =
        FormatLeb128(DecodeSleb128(bytes), true, leb128Format, unavailable);
    return rows;
}

std::optional<InspectorRowType> InspectorRowValueType(std::size_t row, bool bigEndian)
{
    // The rows from Int8 on list these types in this order.
    constexpr std::array kOrderedTypes = {
        ValueType::Int8,       ValueType::Int16,    ValueType::Int32,       ValueType::Int64,
        ValueType::Float16,    ValueType::Float32,  ValueType::Float64,     ValueType::UnixTime32,
        ValueType::UnixTime64, ValueType::FileTime, ValueType::DosDateTime, ValueType::Guid,
    };
    switch (row) {
    case 1: return InspectorRowType{ValueType::UInt8, false};
    case 2: return InspectorRowType{ValueType::UInt16, false};
    case 3: return InspectorRowType{ValueType::UInt16, true};
    case 4: return InspectorRowType{ValueType::UInt32, false};
    case 5: return InspectorRowType{ValueType::UInt32, true};
    case 6: return InspectorRowType{ValueType::UInt64, false};
    case 7: return InspectorRowType{ValueType::UInt64, true};
    default: break;
    }
    if (row < kInspectorFirstOrderedRow ||
        row - kInspectorFirstOrderedRow >= kOrderedTypes.size()) {
        return std::nullopt;
    }
    return InspectorRowType{kOrderedTypes[row - kInspectorFirstOrderedRow], bigEndian};
}

std::optional<Leb128> DecodeUleb128(std::span<const std::uint8_t> bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < kMaxLeb128Bytes; ++i) {
        const std::uint8_t b = bytes[i];
        if (i == kMaxLeb128Bytes - 1) {
            // The tenth byte holds bit 63 alone.
            if ((b & 0xFE) != 0) {
                return std::nullopt;
            }
            return Leb128{value | (std::uint64_t{b} << 63), i + 1};
        }
        value |= std::uint64_t{b & 0x7Fu} << (7 * i);
        if ((b & 0x80) == 0) {
            return Leb128{value, i + 1};
        }
    }
    return std::nullopt;
}

std::optional<Leb128> DecodeSleb128(std::span<const std::uint8_t> bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < kMaxLeb128Bytes; ++i) {
        const std::uint8_t b = bytes[i];
        if (i == kMaxLeb128Bytes - 1) {
            // The tenth byte holds bit 63 and its sign extension: all zeros or all ones.
            if (b != 0x00 && b != 0x7F) {
                return std::nullopt;
            }
            return Leb128{value | (std::uint64_t{b & 1u} << 63), i + 1};
        }
        value |= std::uint64_t{b & 0x7Fu} << (7 * i);
        if ((b & 0x80) == 0) {
            if ((b & 0x40) != 0) {
                value |= ~std::uint64_t{0} << (7 * (i + 1));
            }
            return Leb128{value, i + 1};
        }
    }
    return std::nullopt;
}

} // namespace orx
