#include "document/FileViewModel.h"

#include <algorithm>
#include <limits>

namespace orx {

bool FileViewModel::Open(const std::u16string& path)
{
    Close();
    platform::NativeFile file = fs_->OpenForRead(path);
    if (!file.IsOpen()) {
        return false;
    }
    std::uint64_t size = 0;
    if (!fs_->GetSize(file, size)) {
        return false;
    }
    handle_ = std::move(file);
    size_ = size;
    path_ = path;
    return true;
}

void FileViewModel::Close()
{
    handle_.Close();
    size_ = 0;
    path_.clear();
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
