#pragma once

#include "text/HexFormat.h" // AppendHexByte, for the callers that build longer hex texts

#include <cstdint>
#include <string>

namespace orx {

class IReadOnlyDocument;

// The offset column's text for a row: upper-case hexadecimal, 8 digits while the document is
// absent or smaller than 4 GiB, 16 digits from then on, followed by ':' (e.g. "00000010:").
std::u16string FormatRowOffset(const IReadOnlyDocument* document, std::uint64_t rowStart);

// A byte's hex cell: two upper-case hexadecimal digits.
std::u16string FormatHexCell(std::uint8_t value);

} // namespace orx
