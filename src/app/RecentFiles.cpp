#include "app/RecentFiles.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

namespace orx {

std::u16string RecentComparisonForm(const std::u16string& path)
{
    try {
        std::error_code error;
        const std::filesystem::path canonical =
            std::filesystem::weakly_canonical(std::filesystem::path(path), error);
        if (error || canonical.empty()) {
            return path;
        }
        return canonical.u16string();
    } catch (const std::exception&) {
        return path; // a name the file system cannot even represent
    }
}

bool AddRecentFile(std::vector<std::u16string>& list, const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    const std::u16string form = RecentComparisonForm(path);
    std::erase_if(list, [&](const std::u16string& entry) {
        return EqualsIgnoringCase(RecentComparisonForm(entry), form);
    });
    list.insert(list.begin(), path);
    if (list.size() > kMaxRecentFiles) {
        list.resize(kMaxRecentFiles);
    }
    return true;
}

} // namespace orx
