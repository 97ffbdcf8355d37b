#include "hexview/RowFormat.h"

#include "document/ReadOnlyDocument.h"

namespace orx {
namespace {

constexpr std::uint64_t kFourGiB = std::uint64_t{1} << 32;

} // namespace

std::u16string FormatRowOffset(const IReadOnlyDocument* document, std::uint64_t rowStart)
{
    const std::size_t digits = document != nullptr && document->Size() >= kFourGiB ? 16 : 8;
    // A row start of 4 GiB or more in a smaller document cannot occur; if it did, the
    // digits beyond the eighth are still written rather than silently dropped.
    std::u16string text;
    AppendUpperHex(text, rowStart, digits);
    text.push_back(u':');
    return text;
}

std::u16string FormatHexCell(std::uint8_t value)
{
    std::u16string text;
    AppendHexByte(text, value);
    return text;
}

} // namespace orx
