#pragma once

#include <cstdint>
#include <string>

namespace orx {

class IReadOnlyDocument;

// The offset column's text for a row: upper-case hexadecimal, 8 digits while the document is
// absent or smaller than 4 GiB, 16 digits from then on, followed by ':' (e.g. "00000010:").
std::u16string FormatRowOffset(const IReadOnlyDocument* document, std::uint64_t rowStart);

// A byte's hex cell: two upper-case hexadecimal digits.
std::u16string FormatHexCell(std::uint8_t value);

// Appends the two upper-case digits of `value` (for callers building longer hex texts).
void AppendHexByte(std::u16string& out, std::uint8_t value);

} // namespace orx
