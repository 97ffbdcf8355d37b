#include "document/FileViewModel.h"

#include <algorithm>
#include <limits>

namespace orx {

namespace {

// An open read handle with the file's size and stamp, taken through the handle.
struct OpenedFile {
    platform::NativeFile handle;
    std::uint64_t size = 0;
    std::optional<platform::FileStamp> stamp; // nothing: the system would not say
};

std::optional<OpenedFile> OpenWithStamp(platform::FileSystem& fs, const std::u16string& path)
{
    OpenedFile opened;
    opened.handle = fs.OpenForRead(path);
    if (!opened.handle.IsOpen() || !fs.GetSize(opened.handle, opened.size)) {
        return std::nullopt;
    }
    // Without a stamp nothing can be compared later; the file opens all the same.
    if (platform::FileStamp stamp; fs.StampOf(opened.handle, stamp)) {
        opened.size = stamp.size; // one answer for both, whatever is written in between
        opened.stamp = stamp;
    }
    return opened;
}

} // namespace

bool FileViewModel::Open(const std::u16string& path)
{
    Close();
    std::optional<OpenedFile> opened = OpenWithStamp(*fs_, path);
    if (!opened) {
        return false;
    }
    handle_ = std::move(opened->handle);
    gate_ = std::make_shared<FileReadGate>(*fs_, handle_);
    size_ = opened->size;
    path_ = path;
    opened_ = opened->stamp;
    ++generation_;
    return true;
}

bool FileViewModel::Reopen()
{
    if (!IsOpen()) {
        return false;
    }
    std::optional<OpenedFile> opened = OpenWithStamp(*fs_, path_);
    if (!opened) {
        return false;
    }
    ShutGate();
    handle_ = std::move(opened->handle); // the old handle closes here
    gate_ = std::make_shared<FileReadGate>(*fs_, handle_);
    size_ = opened->size;
    opened_ = opened->stamp;
    ++generation_;
    return true;
}

void FileViewModel::ShutGate()
{
    if (gate_) {
        gate_->Close();
        gate_.reset();
    }
}

void FileViewModel::Close()
{
    ShutGate();
    handle_.Close();
    size_ = 0;
    path_.clear();
    opened_.reset();
}

void FileViewModel::Restamp()
{
    if (platform::FileStamp stamp; IsOpen() && fs_->StampOf(handle_, stamp)) {
        opened_ = stamp;
    }
}

FileChange FileViewModel::CheckChange() const
{
    if (!IsOpen() || !opened_) {
        return FileChange::None;
    }
    return CheckFileChange(*fs_, handle_, path_, *opened_);
}

std::uint64_t FileViewModel::Readable(std::uint64_t offset, std::uint64_t count) const
{
    if (!IsOpen() || offset >= size_) {
        return 0;
    }
    // ReadFile takes a 32-bit count; a larger request is delivered short rather than wrapped.
    return std::min({count, size_ - offset,
                     static_cast<std::uint64_t>(std::numeric_limits<std::uint32_t>::max())});
}

std::uint64_t FileViewModel::ReadInto(std::uint64_t offset, std::uint8_t* buffer,
                                      std::uint64_t count) const
{
    const std::uint64_t n = Readable(offset, count);
    std::uint32_t got = 0;
    if (n == 0 || !fs_->ReadAt(handle_, offset, buffer, static_cast<std::uint32_t>(n), got)) {
        return 0;
    }
    return got;
}

ReadResult FileViewModel::Read(std::uint64_t offset, std::uint64_t count) const
{
    ReadResult result;
    result.offset = offset;
    const std::uint64_t n = Readable(offset, count);
    result.bytes.resize(static_cast<std::size_t>(n));
    result.bytes.resize(static_cast<std::size_t>(ReadInto(offset, result.bytes.data(), n)));
    return result;
}

} // namespace orx
