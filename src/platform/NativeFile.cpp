#include "platform/FileSystem.h"

namespace orx::platform {

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept
{
    if (this != &other) {
        Close();
        value_ = other.Release();
    }
    return *this;
}

std::intptr_t NativeFile::Release()
{
    const std::intptr_t value = value_;
    value_ = kInvalid;
    return value;
}

} // namespace orx::platform
