#pragma once

#include "document/ReadOnlyDocument.h"
#include "platform/FileSystem.h"

namespace orx {

// The open file, read-only with full sharing. No cache and no mapping: every Read is one
// seek and one read of exactly the clipped range, so memory never depends on file size.
class FileViewModel final : public IReadOnlyDocument {
public:
    explicit FileViewModel(platform::FileSystem& fs = platform::SystemFileSystem()) : fs_(&fs) {}
    ~FileViewModel() override { Close(); }
    FileViewModel(const FileViewModel&) = delete;
    FileViewModel& operator=(const FileViewModel&) = delete;

    // Closes whatever is open, then opens `path`; false leaves the object closed.
    [[nodiscard]] bool Open(const std::u16string& path);
    void Close();

    [[nodiscard]] bool IsOpen() const override { return handle_.IsOpen(); }
    [[nodiscard]] std::uint64_t Size() const override { return size_; }
    [[nodiscard]] std::u16string Path() const override { return path_; }
    [[nodiscard]] ReadResult Read(std::uint64_t offset, std::uint64_t count) const override;

    // Reads into the caller's buffer; returns the number of bytes delivered (0 on failure).
    std::uint64_t ReadInto(std::uint64_t offset, std::uint8_t* buffer,
                           std::uint64_t count) const override;

    [[nodiscard]] platform::FileSystem& FileSystem() const { return *fs_; }

private:
    // How many bytes a read at `offset` delivers at most: clipped to the size and to what
    // one system read takes; 0 when closed.
    [[nodiscard]] std::uint64_t Readable(std::uint64_t offset, std::uint64_t count) const;

    platform::FileSystem* fs_;
    platform::NativeFile handle_;
    std::uint64_t size_ = 0;
    std::u16string path_;
};

} // namespace orx
