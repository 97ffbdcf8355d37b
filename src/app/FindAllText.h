#pragma once

#include "localization/StringLookup.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orx {

// Where a Find All stands, as its panel's caption tells it.
enum class FindAllState {
    Running,
    Done,
    Stopped,   // by the user; the hits found so far are listed
    OutOfDate, // the document changed after the search: the list was emptied
};

// The panel's caption: the query, the count and the state (with the percentage while running).
[[nodiscard]] std::u16string FindAllCaption(FindAllState state, std::u16string_view query,
                                            std::uint64_t count, std::uint64_t percent,
                                            const StringLookup& lookup);

// "1 hit", "1,234 hits": the status bar's part.
[[nodiscard]] std::u16string HitCountText(std::uint64_t count, const StringLookup& lookup);

} // namespace orx
