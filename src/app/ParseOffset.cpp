#include "app/ParseOffset.h"

#include "text/HexDigit.h"

namespace orx {
namespace {

bool IsTrimmed(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// White space as the C library's conversion skips it.
bool IsSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool HasHexPrefix(std::u16string_view s)
{
    return s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X');
}

} // namespace

std::optional<std::uint64_t> ParseOffset(std::u16string_view text)
{
    while (!text.empty() && IsTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsTrimmed(text.back()))
        text.remove_suffix(1);
    if (text.empty()) {
        return std::nullopt;
    }
    if (HasHexPrefix(text)) {
        text.remove_prefix(2);
        if (text.empty()) {
            return std::nullopt;
        }
    }

    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // The conversion's own prefix counts only when a digit follows it.
    if (HasHexPrefix(text.substr(i)) && i + 2 < text.size() && HexDigitValue(text[i + 2])) {
        i += 2;
    }
    const std::size_t firstDigit = i;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const std::optional<std::uint8_t> digit = HexDigitValue(text[i]);
        if (!digit) {
            return std::nullopt; // trailing characters
        }
        if (value > (UINT64_MAX >> 4)) {
            return std::nullopt; // above 2^64 - 1
        }
        value = (value << 4) | *digit;
    }
    if (i == firstDigit) {
        return std::nullopt; // nothing consumed
    }
    return negative ? static_cast<std::uint64_t>(0) - value : value;
}

} // namespace orx
