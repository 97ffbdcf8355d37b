#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orx {

// The value of one hexadecimal digit, upper- or lower-case; nothing for anything else.
[[nodiscard]] constexpr std::optional<std::uint8_t> HexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return static_cast<std::uint8_t>(c - u'0');
    if (c >= u'a' && c <= u'f')
        return static_cast<std::uint8_t>(c - u'a' + 10);
    if (c >= u'A' && c <= u'F')
        return static_cast<std::uint8_t>(c - u'A' + 10);
    return std::nullopt;
}

// "0A1b" -> {0x0A, 0x1B}; nothing for an empty text, an odd count or a non-digit.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> HexPairsToBytes(std::u16string_view digits);

} // namespace orx
