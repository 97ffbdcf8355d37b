#pragma once

#include "hexview/TextEncoding.h"
#include "search/SearchEngine.h"

#include <cstdint>

namespace orx {

// Where a Next or Previous request starts, decided from the view before anything is read.
struct SearchStart {
    bool forward = true;
    // False: the request cannot match anything (the selection already starts at the edge).
    bool scan = true;
    std::uint64_t offset = 0;
};

// Next starts one byte after the selection's low end (so a hit left selected is stepped
// over, overlapping occurrences one by one), Previous one byte before it; without a selection
// both start at the caret, so a match right there is found.
[[nodiscard]] SearchStart PlanSearchStart(SearchDirection direction, bool hasSelection,
                                          std::uint64_t selectionLow, std::uint64_t caret,
                                          std::uint64_t documentSize);

// Characters the query box accepts: 4,096 bytes as hex pairs with single blanks between
// them; a text query as many characters as the encoding can need bytes for at one byte per
// character (ASCII, UTF-8), half as many for the encodings of two or more bytes.
inline constexpr std::uint32_t kHexQueryCharacterLimit = 12287;
[[nodiscard]] std::uint32_t TextQueryCharacterLimit(TextEncoding encoding);
[[nodiscard]] std::uint32_t QueryCharacterLimit(bool textKind, std::uint32_t textLimit);

} // namespace orx
