#pragma once

#include "hexview/TextEncoding.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orx {

class IReadOnlyDocument;

// The texts of one painted row: its offset, one two-digit hex cell per byte and one text
// cell per byte (empty when the byte continues a character drawn in an earlier cell).
struct RowModel {
    std::u16string offsetText;
    std::vector<std::u16string> hexCells;
    std::vector<std::u16string> textCells;
};

[[nodiscard]] RowModel BuildRowModel(const IReadOnlyDocument* document, std::uint64_t rowStart,
                                     std::span<const std::uint8_t> rowBytes, TextEncoding encoding);

} // namespace orx
