#include "text/HexDigit.h"

namespace orx {

std::optional<std::vector<std::uint8_t>> HexPairsToBytes(std::u16string_view digits)
{
    if (digits.empty() || digits.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::optional<std::uint8_t> high = HexDigitValue(digits[i]);
        const std::optional<std::uint8_t> low = HexDigitValue(digits[i + 1]);
        if (!high || !low) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(*high * 16 + *low));
    }
    return bytes;
}

} // namespace orx
