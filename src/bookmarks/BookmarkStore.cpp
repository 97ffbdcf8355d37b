#include "bookmarks/BookmarkStore.h"

#include "localization/FileText.h"
#include "platform/PathText.h"
#include "platform/Utf.h"
#include "settings/SettingsFile.h"

#include <algorithm>

namespace orx {
namespace {

// Thousands of regions take well under this; anything larger is not ours.
constexpr std::uint64_t kMaxBookmarksFileBytes = 64u << 20;

bool Exists(platform::FileSystem& fs, const std::u16string& path)
{
    platform::FileStamp stamp;
    return fs.StampOfPath(path, stamp) || !platform::IsMissingFileError(fs.LastError());
}

} // namespace

std::u16string BookmarksPathBeside(const std::u16string& settingsPath)
{
    return JoinPath(platform::DirectoryOfPath(settingsPath), kBookmarksFileName);
}

BookmarksRead BookmarkStore::Read(bool setAside) const
{
    BookmarksRead result;
    const std::optional<std::string> text = ReadFileBytes(path_, kMaxBookmarksFileBytes);
    if (!text) {
        result.status = Exists(*fs_, path_) ? BookmarksRead::Status::Unreadable
                                            : BookmarksRead::Status::Missing;
        return result;
    }
    if (auto files = ParseBookmarks(*text)) {
        result.status = BookmarksRead::Status::Read;
        result.files = std::move(*files);
        return result;
    }
    result.status = BookmarksRead::Status::Damaged;
    if (!setAside) {
        return result;
    }
    const std::u16string directory = platform::DirectoryOfPath(path_);
    for (int n = 1; n < 1000; ++n) {
        const std::u16string aside =
            JoinPath(directory, u"orlin.bookmarks.damaged-" +
                                    std::u16string(platform::Widen(std::to_string(n))) + u".json");
        if (!Exists(*fs_, aside)) {
            if (fs_->MoveReplace(path_, aside)) {
                result.keptAs = aside;
            }
            break;
        }
    }
    return result;
}

std::optional<FileRegions> BookmarkStore::Find(const std::u16string& path) const
{
    BookmarksRead read = Read(false);
    for (FileRegions& file : read.files) {
        if (SamePath(file.path, path)) {
            return std::move(file);
        }
    }
    return std::nullopt;
}

std::optional<BookmarksRead> BookmarkStore::Put(const FileRegions& entry) const
{
    BookmarksRead read = Read(true);
    if (read.status == BookmarksRead::Status::Unreadable ||
        (read.status == BookmarksRead::Status::Damaged && read.keptAs.empty())) {
        return std::nullopt; // writing now would lose what the file holds
    }
    std::erase_if(read.files,
                  [&](const FileRegions& file) { return SamePath(file.path, entry.path); });
    if (!entry.regions.empty()) {
        read.files.push_back(entry);
    }
    if (!ReplaceFileContents(path_, SerializeBookmarks(read.files), *fs_)) {
        return std::nullopt;
    }
    read.files.clear();
    return read;
}

} // namespace orx
