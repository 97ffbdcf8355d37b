#include "document/FileChange.h"

namespace orx {

FileChange ClassifyFileChange(const platform::FileStamp& opened,
                              const std::optional<platform::FileStamp>& viaHandle,
                              const PathStamp& viaPath)
{
    if (viaPath.missing) {
        return FileChange::Deleted;
    }
    if (viaPath.stamp && !viaPath.stamp->SameFile(opened)) {
        return FileChange::Replaced;
    }
    if (viaHandle && viaHandle->deleted) {
        return FileChange::Deleted;
    }
    const std::optional<platform::FileStamp>& now = viaHandle ? viaHandle : viaPath.stamp;
    if (!now) {
        return FileChange::None; // nothing could be asked: nothing is known to have changed
    }
    if (now->size < opened.size) {
        return FileChange::Shortened;
    }
    if (now->size != opened.size || now->lastWrite != opened.lastWrite) {
        return FileChange::Changed;
    }
    return FileChange::None;
}

FileChange CheckFileChange(platform::FileSystem& fs, const platform::NativeFile& file,
                           const std::u16string& path, const platform::FileStamp& opened)
{
    std::optional<platform::FileStamp> viaHandle;
    if (platform::FileStamp stamp; file.IsOpen() && fs.StampOf(file, stamp)) {
        viaHandle = stamp;
    }
    PathStamp viaPath;
    if (platform::FileStamp stamp; fs.StampOfPath(path, stamp)) {
        viaPath.stamp = stamp;
    } else {
        viaPath.missing = platform::IsMissingFileError(fs.LastError());
    }
    return ClassifyFileChange(opened, viaHandle, viaPath);
}

} // namespace orx
