#include "cli/CliCommon.h"

#include "platform/Utf.h"

namespace orx::cli {

void Print(std::ostream& stream, std::u16string_view text)
{
    stream << platform::Narrow(text);
}

std::optional<std::uint64_t> ParseDecimal(std::u16string_view text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        const auto d = static_cast<std::uint64_t>(c - u'0');
        if (value > (UINT64_MAX - d) / 10) {
            return std::nullopt;
        }
        value = value * 10 + d;
    }
    return value;
}

} // namespace orx::cli
