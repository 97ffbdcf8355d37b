#include "text/HexFormat.h"

namespace orx {

std::u16string UpperHex(std::uint64_t value, std::size_t minDigits)
{
    std::u16string text;
    AppendUpperHex(text, value, minDigits);
    return text;
}

std::string LowerHex(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        AppendHexByte(text, byte, HexCase::Lower);
    }
    return text;
}

} // namespace orx
