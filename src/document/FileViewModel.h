#pragma once

#include "document/FileChange.h"
#include "document/FileReadGate.h"
#include "document/ReadOnlyDocument.h"
#include "platform/FileSystem.h"

#include <memory>
#include <optional>

namespace orx {

// The open file, read-only with full sharing. No cache and no mapping: every Read is one
// seek and one read of exactly the clipped range, so memory never depends on file size.
class FileViewModel final : public IReadOnlyDocument {
public:
    explicit FileViewModel(platform::FileSystem& fs = platform::SystemFileSystem()) : fs_(&fs) {}
    ~FileViewModel() override { Close(); }
    FileViewModel(const FileViewModel&) = delete;
    FileViewModel& operator=(const FileViewModel&) = delete;

    // Closes whatever is open, then opens `path`; false leaves the object closed. Remembers
    // the file's stamp, which CheckChange compares with.
    [[nodiscard]] bool Open(const std::u16string& path);
    // Opens the same path again and only then lets the old handle go: false keeps the file
    // that was open, as it was.
    [[nodiscard]] bool Reopen();
    void Close();
    // Takes the stamp anew through the handle, after the document's own writes into the file
    // (a save that failed half-way): they are not another program's change.
    void Restamp();

    // What became of the file since it was opened, through the handle and through the path.
    [[nodiscard]] FileChange CheckChange() const;
    // The stamp taken when the file was opened; nothing when the system would not say.
    [[nodiscard]] const std::optional<platform::FileStamp>& OpenedStamp() const { return opened_; }
    // Counts the successful opens and reopens: a new value is a new view of the file.
    [[nodiscard]] std::uint64_t Generation() const { return generation_; }

    [[nodiscard]] bool IsOpen() const override { return handle_.IsOpen(); }
    [[nodiscard]] std::uint64_t Size() const override { return size_; }
    [[nodiscard]] std::u16string Path() const override { return path_; }
    [[nodiscard]] ReadResult Read(std::uint64_t offset, std::uint64_t count) const override;

    // Reads into the caller's buffer; returns the number of bytes delivered (0 on failure).
    std::uint64_t ReadInto(std::uint64_t offset, std::uint8_t* buffer,
                           std::uint64_t count) const override;

    [[nodiscard]] platform::FileSystem& FileSystem() const { return *fs_; }
    // What other threads read the open file through; it closes with the handle. Null while
    // nothing is open.
    [[nodiscard]] std::shared_ptr<const FileReadGate> ReadGate() const { return gate_; }

private:
    // How many bytes a read at `offset` delivers at most: clipped to the size and to what
    // one system read takes; 0 when closed.
    [[nodiscard]] std::uint64_t Readable(std::uint64_t offset, std::uint64_t count) const;
    // Waits for a read through the gate in progress and fails later ones.
    void ShutGate();

    platform::FileSystem* fs_;
    platform::NativeFile handle_;
    std::shared_ptr<FileReadGate> gate_; // on handle_
    std::uint64_t size_ = 0;
    std::u16string path_;
    std::optional<platform::FileStamp> opened_;
    std::uint64_t generation_ = 0;
};

} // namespace orx
