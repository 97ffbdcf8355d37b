#include "search/SearchQuery.h"

#include "text/HexDigit.h"
#include "platform/CodePage.h"
#include "platform/Utf.h"

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
    std::u16string digits;
    for (char16_t c : text) {
        if (!IsWhiteSpace(c)) {
            digits.push_back(c);
        }
    }
    return HexPairsToBytes(digits);
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

SearchPattern BuildSearchPattern(const SearchDialogResult& request, TextEncoding encoding)
{
    const std::u16string query = TrimQuery(request.query);
    const bool text = request.kind != kSearchKindHex;
    std::optional<std::vector<std::uint8_t>> bytes =
        text ? EncodeTextQuery(query, encoding) : ParseHexQuery(query);
    if (!bytes) {
        return {{}, text ? "error.search_invalid_text" : "error.search_invalid_hex"};
    }
    if (bytes->empty() || bytes->size() > kMaxSearchPatternBytes) {
        return {{}, "error.search_too_long"};
    }
    return {std::move(*bytes), {}};
}

} // namespace orx
