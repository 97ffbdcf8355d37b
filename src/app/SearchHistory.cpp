#include "app/SearchHistory.h"

#include <algorithm>

namespace orx {

bool AddSearchHistory(std::vector<SearchHistoryEntry>& history, std::u16string_view kind,
                      std::u16string_view query, bool ignoreCase)
{
    if (kind.empty() || query.empty()) {
        return false;
    }
    SearchHistoryEntry entry{std::u16string(kind), std::u16string(query), ignoreCase};
    std::erase(history, entry);
    history.insert(history.begin(), std::move(entry));
    if (history.size() > kMaxSearchHistory) {
        history.resize(kMaxSearchHistory);
    }
    return true;
}

std::vector<std::u16string> SearchHistoryQueries(const std::vector<SearchHistoryEntry>& history,
                                                 std::u16string_view kind)
{
    std::vector<std::u16string> queries;
    for (const SearchHistoryEntry& entry : history) {
        if (entry.kind == kind) {
            queries.push_back(entry.query);
        }
    }
    return queries;
}

} // namespace orx
