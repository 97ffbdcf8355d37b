#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orx::platform {

// A system error code: GetLastError() on Windows, errno elsewhere. 0 means "no error".
using ErrorCode = std::uint32_t;

// Owns one open file: a HANDLE on Windows, a file descriptor elsewhere. Move-only.
class NativeFile {
public:
    NativeFile() = default;
    explicit NativeFile(std::intptr_t value) : value_(value) {}
    ~NativeFile() { Close(); }
    NativeFile(NativeFile&& other) noexcept : value_(other.Release()) {}
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    [[nodiscard]] bool IsOpen() const { return value_ != kInvalid; }
    [[nodiscard]] std::intptr_t Value() const { return value_; }
    std::intptr_t Release();
    // Closes the file if open; keeps the caller's last-error value intact.
    void Close();

    static constexpr std::intptr_t kInvalid = -1;

private:
    std::intptr_t value_ = kInvalid;
};

// What the system says of one file at one moment: which file it is on its volume, and what
// tells one version of its contents from the next (size and last-write time). Two stamps of
// the same file with equal sizes and times say that nothing was written in between, as far
// as the system can tell; a different identity means another file now has the name.
struct FileStamp {
    std::uint64_t volume = 0; // volume serial number; st_dev elsewhere
    std::uint64_t fileId = 0; // the file index on that volume; st_ino elsewhere
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0; // FILETIME ticks (100 ns) on Windows, nanoseconds elsewhere
    // Through a handle only: the file has no name left (deleted, or its deletion is pending
    // until the last handle closes). Not every system reports it.
    bool deleted = false;

    [[nodiscard]] bool SameFile(const FileStamp& other) const
    {
        return volume == other.volume && fileId == other.fileId;
    }
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The file operations the document needs, one per system call it makes. An interface so
// that tests can inject failures (a write that fails, a rename that fails) into the real
// implementation without touching the disk in unusual ways.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // GENERIC_READ, share read|write|delete, OPEN_EXISTING.
    virtual NativeFile OpenForRead(const std::u16string& path) = 0;
    // GENERIC_WRITE, share read, OPEN_EXISTING.
    virtual NativeFile OpenExistingForWrite(const std::u16string& path) = 0;
    // GENERIC_WRITE, no sharing, CREATE_ALWAYS.
    virtual NativeFile CreateForWrite(const std::u16string& path) = 0;

    [[nodiscard]] virtual bool GetSize(const NativeFile& file, std::uint64_t& size) = 0;
    [[nodiscard]] virtual bool Seek(const NativeFile& file, std::uint64_t offset) = 0;
    [[nodiscard]] virtual bool Read(const NativeFile& file, void* buffer, std::uint32_t count,
                                    std::uint32_t& read) = 0;
    // Seek, then read: SetFilePointerEx + ReadFile. A platform with positioned reads
    // overrides it to save the second system call.
    [[nodiscard]] virtual bool ReadAt(const NativeFile& file, std::uint64_t offset, void* buffer,
                                      std::uint32_t count, std::uint32_t& read)
    {
        read = 0;
        return Seek(file, offset) && Read(file, buffer, count, read);
    }
    [[nodiscard]] virtual bool Write(const NativeFile& file, const void* data, std::uint32_t count,
                                     std::uint32_t& written) = 0;
    [[nodiscard]] virtual bool SetEnd(const NativeFile& file) = 0;
    [[nodiscard]] virtual bool Flush(const NativeFile& file) = 0;

    // The stamp of an open file, asked through its handle (GetFileInformationByHandle;
    // fstat elsewhere).
    [[nodiscard]] virtual bool StampOf(const NativeFile& file, FileStamp& stamp) = 0;
    // The stamp of whatever file `path` names now, asked through the path without reading
    // or locking it. False when it cannot be asked; IsMissingFileError(LastError()) then
    // says whether nothing has that name.
    [[nodiscard]] virtual bool StampOfPath(const std::u16string& path, FileStamp& stamp) = 0;

    // Creates an empty, uniquely named file "<prefix>XXXX.TMP" in `directory` and returns its path.
    [[nodiscard]] virtual bool CreateTempFile(const std::u16string& directory,
                                              const std::u16string& prefix,
                                              std::u16string& path) = 0;
    // Replaces `to` with `from` (MOVEFILE_REPLACE_EXISTING | COPY_ALLOWED | WRITE_THROUGH).
    [[nodiscard]] virtual bool MoveReplace(const std::u16string& from,
                                           const std::u16string& to) = 0;
    virtual bool Delete(const std::u16string& path) = 0;

    [[nodiscard]] virtual ErrorCode LastError() = 0;
    virtual void SetLastError(ErrorCode code) = 0;
    // The system's text for an error code, untrimmed; nothing when the system has none.
    [[nodiscard]] virtual std::optional<std::u16string> ErrorText(ErrorCode code) = 0;
    [[nodiscard]] virtual std::u16string CurrentDirectory() = 0;
};

// The real file system of this platform. Stateless; safe to share.
FileSystem& SystemFileSystem();

// Error codes the portable code needs to recognise, with their platform values.
ErrorCode ErrorSharingViolation();
ErrorCode ErrorFileNotFound();
// True for the errors that mean "no such file": the file or a folder on its path is missing.
bool IsMissingFileError(ErrorCode code);

} // namespace orx::platform
