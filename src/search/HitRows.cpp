#include "search/HitRows.h"

#include "document/ReadOnlyDocument.h"
#include "hexview/RowFormat.h"
#include "search/HitList.h"

#include <algorithm>

namespace orx {

namespace {

// The offset as the offset column writes it, without its colon.
std::u16string OffsetText(const IReadOnlyDocument& document, std::uint64_t offset)
{
    std::u16string text = FormatRowOffset(&document, offset);
    if (!text.empty() && text.back() == u':') {
        text.pop_back();
    }
    return text;
}

// "4D 5A 90 00" for up to `maxBytes` of the hit's `length`, then " …" when it goes on.
std::u16string BytesText(const IReadOnlyDocument& document, std::uint64_t offset,
                         std::uint64_t length, std::uint64_t maxBytes)
{
    std::u16string text;
    const std::uint64_t shown = std::min(length, maxBytes);
    for (const std::uint8_t byte : document.Read(offset, shown).bytes) {
        if (!text.empty()) {
            text += u' ';
        }
        AppendHexByte(text, byte);
    }
    if (shown < length) {
        text += u" …";
    }
    return text;
}

} // namespace

HitRowText FormatHitRow(const IReadOnlyDocument& document, std::uint64_t offset,
                        std::uint64_t length, TextEncoding encoding, std::uint64_t maxBytes)
{
    HitRowText row{OffsetText(document, offset), BytesText(document, offset, length, maxBytes), {}};
    const std::uint64_t first = offset > kHitContextBytes ? offset - kHitContextBytes : 0;
    const ReadResult around =
        document.Read(first, offset - first + std::min(length, kHitRowBytes) + kHitContextBytes);
    for (const std::u16string& cell : DecodeTextCells(&document, first, around.bytes, encoding)) {
        row.context += cell;
    }
    return row;
}

std::u16string HitLinesText(const IReadOnlyDocument& document, const HitList& hits,
                            std::span<const std::uint64_t> indices, std::uint64_t maxChars)
{
    std::u16string text;
    for (const std::uint64_t index : indices) {
        if (index >= hits.Count()) {
            continue;
        }
        // Only what is copied is read: the context is not.
        const std::uint64_t offset = hits.At(index);
        const std::u16string line =
            OffsetText(document, offset) + u'\t' +
            BytesText(document, offset, hits.HitLength(), hits.HitLength()) + u"\r\n";
        if (text.size() + line.size() > maxChars) {
            break;
        }
        text += line;
    }
    return text;
}

} // namespace orx
