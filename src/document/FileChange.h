#pragma once

#include "platform/FileSystem.h"

#include <optional>

namespace orx {

// What became of the open file since it was opened, as far as the system can tell without
// reading it.
enum class FileChange {
    None,      // the same file, same size and last-write time
    Changed,   // the same file, written since (same size or longer, or only touched)
    Shortened, // the same file, shorter now
    Replaced,  // the path names another file now (saved anew, renamed over the old one)
    Deleted,   // no file has the name any more, or the opened one is being deleted
};

// Whether the path still leads to the file the document reads: false after a replacement or
// a deletion. A save then writes the document anew rather than into the file.
[[nodiscard]] constexpr bool LostIdentity(FileChange change)
{
    return change == FileChange::Replaced || change == FileChange::Deleted;
}

// What the path says now: a stamp, nothing there, or nothing known (another error).
struct PathStamp {
    std::optional<platform::FileStamp> stamp;
    bool missing = false; // the system says that nothing has the name
};

// Compares the stamp taken at open with what the open handle (nothing: it could not be asked)
// and the path say now. The path decides whether it is still the same file; the handle, or the
// path when the handle cannot be asked, whether its contents may have changed. A path that
// cannot be asked for another reason than a missing file proves nothing, and is not counted.
[[nodiscard]] FileChange ClassifyFileChange(const platform::FileStamp& opened,
                                            const std::optional<platform::FileStamp>& viaHandle,
                                            const PathStamp& viaPath);

// Asks `fs` about the open `file` and about `path`, and classifies what it says.
[[nodiscard]] FileChange CheckFileChange(platform::FileSystem& fs, const platform::NativeFile& file,
                                         const std::u16string& path,
                                         const platform::FileStamp& opened);

} // namespace orx
