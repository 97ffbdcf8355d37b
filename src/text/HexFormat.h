#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orx {

enum class HexCase { Upper, Lower };

// The one table of hexadecimal digits: the upper-case ones, then the lower-case ones.
inline constexpr char kHexDigits[] = "0123456789ABCDEF0123456789abcdef";

// The digit of the low four bits of `value`.
[[nodiscard]] constexpr char HexDigitChar(std::uint64_t value, HexCase letters = HexCase::Upper)
{
    return kHexDigits[(value & 0xF) + (letters == HexCase::Lower ? 16 : 0)];
}

// Appends the two digits of a byte: "0A". For narrow and UTF-16 texts alike.
template <typename Char>
void AppendHexByte(std::basic_string<Char>& out, std::uint8_t value,
                   HexCase letters = HexCase::Upper)
{
    out.push_back(static_cast<Char>(HexDigitChar(value >> 4, letters)));
    out.push_back(static_cast<Char>(HexDigitChar(value, letters)));
}

// Appends `value` in upper-case digits, zero-padded to at least `minDigits`: "00001A2B". Long
// listings call it per line, so it builds no temporary string.
template <typename Char>
void AppendUpperHex(std::basic_string<Char>& out, std::uint64_t value, std::size_t minDigits = 1)
{
    Char digits[16];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<Char>(HexDigitChar(value));
        value >>= 4;
    } while (value != 0);
    if (count < minDigits) {
        out.append(minDigits - count, static_cast<Char>('0'));
    }
    while (count > 0) {
        out.push_back(digits[--count]);
    }
}

// `value` in upper-case digits, zero-padded to at least `minDigits`.
[[nodiscard]] std::u16string UpperHex(std::uint64_t value, std::size_t minDigits = 1);

// Every byte as two lower-case digits: "00ff10".
[[nodiscard]] std::string LowerHex(std::span<const std::uint8_t> bytes);

} // namespace orx
