#pragma once

#include "text/CaseFold.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orx {

inline constexpr std::size_t kMaxRecentFiles = 16;

// Puts `path` (as given) at the front of the list, removing every entry that names the same
// file: compared in their weakly canonical forms, ignoring case. Keeps at most 16 entries.
// An empty path is ignored and gives false; otherwise true, and the caller saves the
// settings.
bool AddRecentFile(std::vector<std::u16string>& list, const std::u16string& path);

// The form two paths are compared in: the weakly canonical path, or the path as given when
// that fails.
[[nodiscard]] std::u16string RecentComparisonForm(const std::u16string& path);

} // namespace orx
