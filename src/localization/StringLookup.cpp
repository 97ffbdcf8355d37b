#include "localization/StringLookup.h"

namespace orx {

std::u16string FillIn(std::u16string text, std::u16string_view name, std::u16string_view value)
{
    // Appended in place: GCC 12's -Wrestrict misreads operator+ on UTF-16 strings at -O3.
    std::u16string placeholder(1, u'{');
    placeholder.append(name).push_back(u'}');
    for (std::size_t at = text.find(placeholder); at != std::u16string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
    return text;
}

std::u16string GroupedDecimal(std::uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::u16string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text.push_back(u',');
        }
        text.push_back(static_cast<char16_t>(digits[i]));
    }
    return text;
}

} // namespace orx
