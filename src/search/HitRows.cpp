#include "search/HitRows.h"

#include "document/ReadOnlyDocument.h"
#include "hexview/RowFormat.h"
#include "search/HitList.h"

#include <algorithm>

namespace orx {

HitRowText FormatHitRow(const IReadOnlyDocument& document, std::uint64_t offset,
                        std::uint64_t length, TextEncoding encoding, std::uint64_t maxBytes)
{
    HitRowText row;
    row.offset = FormatRowOffset(&document, offset);
    if (!row.offset.empty() && row.offset.back() == u':') {
        row.offset.pop_back();
    }
    const std::uint64_t shown = std::min(length, maxBytes);
    const ReadResult hit = document.Read(offset, shown);
    for (const std::uint8_t byte : hit.bytes) {
        if (!row.bytes.empty()) {
            row.bytes += u' ';
        }
        AppendHexByte(row.bytes, byte);
    }
    if (shown < length) {
        row.bytes += u" …";
    }
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
        // The encoding does not matter: the context is not copied.
        const HitRowText row = FormatHitRow(document, hits.At(index), hits.HitLength(),
                                            TextEncoding::Ascii, hits.HitLength());
        const std::uint64_t lineChars = row.offset.size() + 1 + row.bytes.size() + 2;
        if (text.size() + lineChars > maxChars) {
            break;
        }
        text += row.offset + u'\t' + row.bytes + u"\r\n";
    }
    return text;
}

} // namespace orx
