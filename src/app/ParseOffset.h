#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orx {

// The Go to syntax: hexadecimal, optionally prefixed by 0x, surrounding blanks ignored.
// Reads like the standard unsigned conversion in base 16 (optional sign, a minus wraps
// modulo 2^64, an optional 0x of its own) and must consume the whole text.
std::optional<std::uint64_t> ParseOffset(std::u16string_view text);

} // namespace orx
