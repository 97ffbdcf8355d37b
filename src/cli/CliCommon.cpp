#include "cli/CliCommon.h"

#include "platform/Utf.h"

namespace orx::cli {

void Print(std::ostream& stream, std::u16string_view text)
{
    stream << platform::Narrow(text);
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::u16string_view text)
{
    auto digit = [](char16_t c) -> int {
        if (c >= u'0' && c <= u'9') return c - u'0';
        if (c >= u'a' && c <= u'f') return c - u'a' + 10;
        if (c >= u'A' && c <= u'F') return c - u'A' + 10;
        return -1;
    };
    if (text.empty() || text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = digit(text[i]);
        const int lo = digit(text[i + 1]);
        if (hi < 0 || lo < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return bytes;
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
