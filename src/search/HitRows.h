#pragma once

#include "hexview/TextEncoding.h"

#include <cstdint>
#include <span>
#include <string>

namespace orx {

class IReadOnlyDocument;
class HitList;

// What the hits list shows for one hit.
struct HitRowText {
    std::u16string offset;  // as the offset column writes it, without the colon
    std::u16string bytes;   // "4D 5A 90 00", shortened with "…" past `maxBytes`
    std::u16string context; // the hit with a few bytes around it, decoded
};

// Bytes shown around a hit in its context text, on each side.
inline constexpr std::uint64_t kHitContextBytes = 8;
// Bytes of a hit the list shows; a copy takes them all.
inline constexpr std::uint64_t kHitRowBytes = 16;

[[nodiscard]] HitRowText FormatHitRow(const IReadOnlyDocument& document, std::uint64_t offset,
                                      std::uint64_t length, TextEncoding encoding,
                                      std::uint64_t maxBytes = kHitRowBytes);

// "offset<TAB>bytes" lines (CR LF after each) for the hits at `indices`, with every byte of
// each hit; stops before the text would pass `maxChars`. Empty when nothing fits.
[[nodiscard]] std::u16string HitLinesText(const IReadOnlyDocument& document, const HitList& hits,
                                          std::span<const std::uint64_t> indices,
                                          std::uint64_t maxChars);

} // namespace orx
