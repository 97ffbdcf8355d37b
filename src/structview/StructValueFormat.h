#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace orx {

using ByteSpan = std::span<const std::uint8_t>;

// "0A 1B FF": every byte, upper-case, in memory order.
[[nodiscard]] std::u16string HexDump(ByteSpan bytes);
// The first 16 bytes as a hex dump, " ..." when there are more; "0 bytes" when empty.
[[nodiscard]] std::u16string FormatByteArray(ByteSpan bytes);
// Printable ASCII in double quotes up to the first zero, at most 64 characters; "..." marks
// text cut short by an unprintable byte or the limit.
[[nodiscard]] std::u16string FormatCharArray(ByteSpan bytes);
// Unsigned value of up to 8 bytes in the given byte order (1 big, else little), decimal
// (base 1) or "0x" with two digits per byte; longer values as "0x" and a hex dump.
[[nodiscard]] std::u16string FormatInteger(ByteSpan bytes, std::uint32_t endian,
                                           std::uint32_t base);
// IEEE single over 4 bytes, or double over 8: "1.5 (0x3FC00000)". Other sizes show as integers.
[[nodiscard]] std::u16string FormatFloat(ByteSpan bytes, std::uint32_t endian, std::uint32_t base);
[[nodiscard]] std::u16string FormatDouble(ByteSpan bytes, std::uint32_t endian, std::uint32_t base);

} // namespace orx
