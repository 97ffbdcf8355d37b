#pragma once

#include "bookmarks/BookmarksJson.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace orx {

// The bookmarks file's name, beside the settings file.
inline constexpr char16_t kBookmarksFileName[] = u"orlin.bookmarks.json";

// The bookmarks file that goes with the settings file at `settingsPath`.
[[nodiscard]] std::u16string BookmarksPathBeside(const std::u16string& settingsPath);

// What reading the bookmarks file found.
struct BookmarksRead {
    enum class Status {
        Read,       // `files` holds its entries
        Missing,    // no file yet: no regions anywhere
        Unreadable, // it is there but cannot be read (no entries); it is left as it is
        Damaged,    // not a bookmarks file any more (no entries); see keptAs
    };
    Status status = Status::Missing;
    std::vector<FileRegions> files;
    // A damaged file moved aside under this path, so that nothing overwrites it; empty when
    // it was not (or could not be) moved.
    std::u16string keptAs;
};

// The file of every file's regions. Each change reads the file anew and writes it whole
// through a temporary file, so that two editors running at once lose only a race, never the
// file, and the settings file is never touched.
class BookmarkStore {
public:
    explicit BookmarkStore(std::u16string path,
                           platform::FileSystem& fs = platform::SystemFileSystem())
        : path_(std::move(path)), fs_(&fs)
    {}

    [[nodiscard]] const std::u16string& Path() const { return path_; }
    // Reads the file. A damaged one is moved aside when `setAside` (to the first free
    // "orlin.bookmarks.damaged-N.json" beside it), never overwritten.
    [[nodiscard]] BookmarksRead Read(bool setAside) const;
    // The entry for `path`, if the file has one (read without moving anything).
    [[nodiscard]] std::optional<FileRegions> Find(const std::u16string& path) const;
    // Replaces the entry of `entry.path` (an entry without regions is dropped) and writes the
    // file. A damaged file is moved aside first; the read's outcome is returned for the
    // caller to report. nothing when the write failed.
    [[nodiscard]] std::optional<BookmarksRead> Put(const FileRegions& entry) const;

private:
    std::u16string path_;
    platform::FileSystem* fs_;
};

} // namespace orx
