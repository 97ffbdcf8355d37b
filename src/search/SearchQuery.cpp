#include "search/SearchQuery.h"

#include "text/HexDigit.h"
#include "platform/CodePage.h"
#include "platform/Utf.h"

#include <algorithm>
#include <bit>

namespace orx {
namespace {

bool IsTrimmed(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// The Unicode white-space characters: the same set on every platform, rather than a C
// library's idea of it, which depends on the locale and the width of wchar_t.
bool IsWhiteSpace(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

std::optional<std::vector<std::uint8_t>> EncodeUtf16(std::u16string_view text, bool littleEndian)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        const auto low = static_cast<std::uint8_t>(unit & 0xFF);
        const auto high = static_cast<std::uint8_t>(unit >> 8);
        bytes.push_back(littleEndian ? low : high);
        bytes.push_back(littleEndian ? high : low);
    }
    return bytes;
}

std::u16string WithoutWhiteSpace(std::u16string_view text)
{
    std::u16string kept;
    for (char16_t c : text) {
        if (!IsWhiteSpace(c)) {
            kept.push_back(c);
        }
    }
    return kept;
}

// Case folding reaches the simple upper/lower-case pairs below wherever their encodings
// differ in one bit of one byte: clearing that bit in the mask then matches exactly the two
// spellings and nothing else, at no cost to the scan. So the ASCII letters fold in every
// encoding, but only as characters of their own (never the trail byte of a double-byte
// character, nor the low byte of a UTF-16 unit such as U+0141). Beyond ASCII the rule admits,
// in UTF-8 and UTF-16, the Latin-1 letters U+00C0-U+00DE (not the multiplication sign), Greek
// Alpha to Omicron and Cyrillic A to Pe; in Windows-949 and EUC-KR the Greek letters; in
// Shift_JIS Greek Alpha alone. Every other pair (sharp s, y with diaeresis, Greek Pi to Omega
// and Cyrillic Er to Ya in UTF-8/16, full-width Latin, ...) matches only as typed.
char16_t CasePartner(char16_t c)
{
    auto upper = [](int u) {
        return (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7) ||
               (u >= 0x391 && u <= 0x3A9 && u != 0x3A2) || (u >= 0x410 && u <= 0x42F);
    };
    if (upper(c)) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (upper(c - 0x20)) {
        return static_cast<char16_t>(c - 0x20);
    }
    return 0;
}

// The mask of one character's bytes: one bit cleared when the partner differs just there.
void AppendCharacterMask(const std::vector<std::uint8_t>& bytes, char16_t partner,
                         TextEncoding encoding, std::vector<std::uint8_t>& mask)
{
    const std::size_t first = mask.size();
    mask.resize(first + bytes.size(), 0xFF);
    if (partner == 0) {
        return;
    }
    const auto other = EncodeTextQuery(std::u16string_view(&partner, 1), encoding);
    if (!other || other->size() != bytes.size()) {
        return;
    }
    std::size_t differing = 0;
    std::size_t at = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (bytes[k] != (*other)[k]) {
            ++differing;
            at = k;
        }
    }
    if (differing != 1) {
        return;
    }
    const auto bit = static_cast<std::uint8_t>(bytes[at] ^ (*other)[at]);
    if (std::popcount(bit) == 1) {
        mask[first + at] = static_cast<std::uint8_t>(~bit);
    }
}

SearchPattern Refused(std::string key)
{
    SearchPattern pattern;
    pattern.errorKey = std::move(key);
    return pattern;
}

} // namespace

std::u16string TrimQuery(std::u16string_view text)
{
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && IsTrimmed(text[first])) {
        ++first;
    }
    while (end > first && IsTrimmed(text[end - 1])) {
        --end;
    }
    return std::u16string(text.substr(first, end - first));
}

std::optional<std::vector<std::uint8_t>> ParseHexQuery(std::u16string_view text)
{
    return HexPairsToBytes(WithoutWhiteSpace(text));
}

std::optional<MaskedBytes> ParseWildcardHexQuery(std::u16string_view text)
{
    const std::u16string digits = WithoutWhiteSpace(text);
    if (digits.empty() || digits.size() % 2 != 0) {
        return std::nullopt;
    }
    MaskedBytes parsed;
    bool wild = false;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        unsigned value = 0;
        unsigned bits = 0;
        for (const char16_t c : {digits[i], digits[i + 1]}) {
            value <<= 4;
            bits <<= 4;
            if (c == u'?') {
                wild = true;
                continue;
            }
            const std::optional<std::uint8_t> digit = HexDigitValue(c);
            if (!digit) {
                return std::nullopt;
            }
            value |= *digit;
            bits |= 0xF;
        }
        parsed.bytes.push_back(static_cast<std::uint8_t>(value));
        parsed.mask.push_back(static_cast<std::uint8_t>(bits));
    }
    if (!wild) {
        parsed.mask.clear();
    }
    return parsed;
}

std::vector<std::uint8_t> CaseFoldMask(std::u16string_view text, TextEncoding encoding)
{
    // Encoding character by character costs a conversion each: not for text without letters.
    const bool letters =
        std::any_of(text.begin(), text.end(), [](char16_t c) { return CasePartner(c) != 0; });
    const std::optional<std::vector<std::uint8_t>> whole = EncodeTextQuery(text, encoding);
    if (!letters || !whole) {
        return {};
    }
    std::vector<std::uint8_t> joined; // the characters encoded one by one
    std::vector<std::uint8_t> mask;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair =
            (text[i] & 0xFC00) == 0xD800 && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00;
        const std::size_t units = pair ? 2 : 1;
        const auto bytes = EncodeTextQuery(text.substr(i, units), encoding);
        if (!bytes) {
            return {};
        }
        AppendCharacterMask(*bytes, pair ? char16_t{0} : CasePartner(text[i]), encoding, mask);
        joined.insert(joined.end(), bytes->begin(), bytes->end());
        i += units;
    }
    // A mask out of step with the query's bytes would fold the wrong ones.
    const bool folds =
        std::any_of(mask.begin(), mask.end(), [](auto bits) { return bits != 0xFF; });
    if (joined != *whole || !folds) {
        return {};
    }
    return mask;
}

std::optional<std::vector<std::uint8_t>> EncodeTextQuery(std::u16string_view text,
                                                         TextEncoding encoding)
{
    if (text.empty()) {
        return std::nullopt;
    }
    switch (encoding) {
    case TextEncoding::Ascii: {
        std::vector<std::uint8_t> bytes;
        for (char16_t unit : text) {
            if (unit > 0x7F) {
                return std::nullopt;
            }
            bytes.push_back(static_cast<std::uint8_t>(unit));
        }
        return bytes;
    }
    case TextEncoding::Utf8: {
        // No flags, as the system conversion is asked: an unpaired surrogate becomes U+FFFD.
        const std::optional<std::string> utf8 = platform::Utf16ToUtf8(text, false);
        if (!utf8 || utf8->empty()) {
            return std::nullopt;
        }
        return std::vector<std::uint8_t>(utf8->begin(), utf8->end());
    }
    case TextEncoding::Utf16Le: return EncodeUtf16(text, true);
    case TextEncoding::Utf16Be: return EncodeUtf16(text, false);
    case TextEncoding::ShiftJis:
        return platform::EncodeCodePage(platform::CodePage::ShiftJis, text);
    case TextEncoding::Windows949:
        return platform::EncodeCodePage(platform::CodePage::Windows949, text);
    case TextEncoding::EucKr: return platform::EncodeCodePage(platform::CodePage::EucKr, text);
    }
    return std::nullopt;
}

std::u16string_view ValueByteOrderName(ValueByteOrder order)
{
    switch (order) {
    case ValueByteOrder::Little: return u"little";
    case ValueByteOrder::Big: return u"big";
    case ValueByteOrder::Either: return u"either";
    }
    return {};
}

std::optional<ValueByteOrder> ValueByteOrderFromName(std::u16string_view name)
{
    for (const auto order : {ValueByteOrder::Little, ValueByteOrder::Big, ValueByteOrder::Either}) {
        if (ValueByteOrderName(order) == name) {
            return order;
        }
    }
    return std::nullopt;
}

std::u16string SearchHistoryValueKind(ValueType type, ValueByteOrder order)
{
    return u"value:" + std::u16string(ValueTypeShortName(type)) + u":" +
           std::u16string(ValueByteOrderName(order));
}

std::optional<SearchDialogResult> ParseSearchHistoryValueKind(std::u16string_view kind)
{
    constexpr std::u16string_view kPrefix = u"value:";
    const std::size_t colon = kind.rfind(u':');
    if (!kind.starts_with(kPrefix) || colon < kPrefix.size()) {
        return std::nullopt;
    }
    const auto type = ValueTypeFromShortName(kind.substr(kPrefix.size(), colon - kPrefix.size()));
    const auto order = ValueByteOrderFromName(kind.substr(colon + 1));
    if (!type || !order) {
        return std::nullopt;
    }
    SearchDialogResult request;
    request.kind = kSearchKindValue;
    request.valueType = *type;
    request.byteOrder = *order;
    return request;
}

SearchPattern BuildSearchPattern(const SearchDialogResult& request, TextEncoding encoding)
{
    const std::u16string query = TrimQuery(request.query);
    if (request.kind == kSearchKindValue) {
        if (query.empty()) {
            return Refused("error.search_empty");
        }
        const bool big = request.byteOrder == ValueByteOrder::Big;
        EncodedValue value = EncodeValue(request.valueType, query, big);
        if (value.error != ValueError::None) {
            return Refused(value.error == ValueError::Range ? "error.value_range"
                                                            : "error.value_syntax");
        }
        SearchPattern pattern{std::move(value.bytes), {}, {}, {}};
        if (request.byteOrder == ValueByteOrder::Either) {
            EncodedValue other = EncodeValue(request.valueType, query, true);
            if (other.bytes != pattern.bytes) {
                pattern.alternative = std::move(other.bytes);
            }
        }
        return pattern;
    }
    const bool text = request.kind != kSearchKindHex;
    // Blanks alone are no query either: text is trimmed and hex ignores every blank.
    if (text ? query.empty() : WithoutWhiteSpace(query).empty()) {
        return Refused("error.search_empty");
    }
    std::optional<MaskedBytes> parsed;
    if (!text) {
        parsed = ParseWildcardHexQuery(query);
    } else if (auto bytes = EncodeTextQuery(query, encoding)) {
        parsed = MaskedBytes{std::move(*bytes), {}};
    }
    if (!parsed) {
        return Refused(text ? "error.search_invalid_text" : "error.search_invalid_hex");
    }
    if (parsed->bytes.empty() || parsed->bytes.size() > kMaxSearchPatternBytes) {
        return Refused("error.search_too_long");
    }
    if (text && request.ignoreCase) {
        parsed->mask = CaseFoldMask(query, encoding);
    }
    for (std::size_t k = 0; k < parsed->mask.size(); ++k) {
        parsed->bytes[k] &= parsed->mask[k];
    }
    return {std::move(parsed->bytes), std::move(parsed->mask), {}, {}};
}

std::u16string SearchErrorText(const SearchPattern& pattern, const SearchDialogResult& request,
                               const StringLookup& text)
{
    if (request.kind == kSearchKindValue && pattern.errorKey != "error.search_empty") {
        const ValueError error =
            pattern.errorKey == "error.value_range" ? ValueError::Range : ValueError::Syntax;
        return DescribeValueError(error, request.valueType, TrimQuery(request.query), text);
    }
    return text(pattern.errorKey);
}

} // namespace orx
