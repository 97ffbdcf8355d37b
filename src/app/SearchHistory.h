#pragma once

#include "settings/AppSettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace orx {

// The search history keeps this many entries, most recent first.
inline constexpr std::size_t kMaxSearchHistory = 16;

// Records an accepted query: the same kind, query (compared exactly) and case flag moves to
// the front instead of appearing twice; entries past the sixteenth are dropped. An empty kind
// or query is not recorded. True when the list changed and must be written.
[[nodiscard]] bool AddSearchHistory(std::vector<SearchHistoryEntry>& history,
                                    std::u16string_view kind, std::u16string_view query,
                                    bool ignoreCase = false);

// The queries of one kind ("hex" or "text", compared exactly), in stored order.
[[nodiscard]] std::vector<std::u16string>
SearchHistoryQueries(const std::vector<SearchHistoryEntry>& history, std::u16string_view kind);

} // namespace orx
