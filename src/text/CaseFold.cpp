#include "text/CaseFold.h"

namespace orx {

char16_t FoldCase(char16_t unit)
{
    const auto u = static_cast<unsigned>(unit);
    auto shifted = [](unsigned value) { return static_cast<char16_t>(value); };
    if (u >= 'A' && u <= 'Z') {
        return shifted(u + 0x20);
    }
    if (u < 0xC0) {
        return unit;
    }
    if (u <= 0xDE && u != 0xD7) {
        return shifted(u + 0x20);
    }
    if (u >= 0x0100 && u <= 0x0137 && u != 0x0130) {
        return shifted(u | 1); // pairs: upper even, lower odd
    }
    if ((u >= 0x0139 && u <= 0x0148) || (u >= 0x0179 && u <= 0x017E)) {
        return (u & 1) ? shifted(u + 1) : unit; // pairs: upper odd, lower even
    }
    if (u >= 0x014A && u <= 0x0177) {
        return shifted(u | 1);
    }
    if (u == 0x0178) {
        return u'\u00FF';
    }
    if (u >= 0x0391 && u <= 0x03A9 && u != 0x03A2) {
        return shifted(u + 0x20);
    }
    if (u >= 0x0400 && u <= 0x040F) {
        return shifted(u + 0x50);
    }
    if (u >= 0x0410 && u <= 0x042F) {
        return shifted(u + 0x20);
    }
    if (u >= 0xFF21 && u <= 0xFF3A) {
        return shifted(u + 0x20);
    }
    return unit;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace orx
