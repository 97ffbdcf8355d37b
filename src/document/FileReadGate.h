#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <shared_mutex>

namespace orx {

// The open file's handle as other threads read it. A read holds the gate only while it runs;
// Close waits for that read and fails every later one, so no thread reads through a handle
// that was closed (whose value the system may since have given to another file), and a save
// never renames over a file that a worker still holds open.
class FileReadGate {
public:
    FileReadGate(platform::FileSystem& fs, const platform::NativeFile& handle)
        : fs_(fs), handle_(&handle)
    {}
    FileReadGate(const FileReadGate&) = delete;
    FileReadGate& operator=(const FileReadGate&) = delete;

    // One positional read; false once the gate is closed or when the system read fails.
    [[nodiscard]] bool ReadAt(std::uint64_t offset, std::uint8_t* out, std::uint32_t count,
                              std::uint32_t& got) const;
    // Before the handle closes, by its owner.
    void Close();

private:
    mutable std::shared_mutex mutex_;
    platform::FileSystem& fs_;
    const platform::NativeFile* handle_; // null once closed
};

} // namespace orx
