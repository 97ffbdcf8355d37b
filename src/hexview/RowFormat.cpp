#include "hexview/RowFormat.h"

#include "document/ReadOnlyDocument.h"

namespace orx {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
constexpr std::uint64_t kFourGiB = std::uint64_t{1} << 32;

} // namespace

std::u16string FormatRowOffset(const IReadOnlyDocument* document, std::uint64_t rowStart)
{
    const int digits = document != nullptr && document->Size() >= kFourGiB ? 16 : 8;
    std::u16string text(static_cast<std::size_t>(digits), u'0');
    std::uint64_t value = rowStart;
    // A row start of 4 GiB or more in a smaller document cannot occur; if it did, the
    // digits beyond the eighth are still written rather than silently dropped.
    for (int i = digits - 1; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kHexDigits[value & 0xF];
        value >>= 4;
    }
    while (value != 0) {
        text.insert(text.begin(), kHexDigits[value & 0xF]);
        value >>= 4;
    }
    text.push_back(u':');
    return text;
}

void AppendHexByte(std::u16string& out, std::uint8_t value)
{
    out.push_back(kHexDigits[value >> 4]);
    out.push_back(kHexDigits[value & 0xF]);
}

std::u16string FormatHexCell(std::uint8_t value)
{
    std::u16string text;
    AppendHexByte(text, value);
    return text;
}

} // namespace orx
