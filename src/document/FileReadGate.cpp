#include "document/FileReadGate.h"

#include <mutex>

namespace orx {

bool FileReadGate::ReadAt(std::uint64_t offset, std::uint8_t* out, std::uint32_t count,
                          std::uint32_t& got) const
{
    got = 0;
    std::shared_lock lock(mutex_);
    return handle_ != nullptr && fs_.ReadAt(*handle_, offset, out, count, got);
}

void FileReadGate::Close()
{
    std::unique_lock lock(mutex_);
    handle_ = nullptr;
}

} // namespace orx
