#include "hexview/RowModel.h"

#include "hexview/RowFormat.h"

namespace orx {

RowModel BuildRowModel(const IReadOnlyDocument* document, std::uint64_t rowStart,
                       std::span<const std::uint8_t> rowBytes, TextEncoding encoding)
{
    RowModel row;
    row.offsetText = FormatRowOffset(document, rowStart);
    row.hexCells.reserve(rowBytes.size());
    for (const std::uint8_t value : rowBytes) {
        row.hexCells.push_back(FormatHexCell(value));
    }
    row.textCells = DecodeTextCells(document, rowStart, rowBytes, encoding);
    return row;
}

} // namespace orx
