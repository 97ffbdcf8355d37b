#include "platform/FileSystem.h"

#include "platform/PathText.h"
#include "platform/Utf.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orx::platform {
namespace {

int Fd(const NativeFile& file)
{
    return static_cast<int>(file.Value());
}

NativeFile OpenPath(const std::u16string& path, int flags, mode_t mode = 0)
{
    const int fd = ::open(Narrow(path).c_str(), flags | O_CLOEXEC, mode);
    return fd < 0 ? NativeFile() : NativeFile(fd);
}

// Like ReadFile on a disk file: keeps reading until the count is met or the end is
// reached. A negative offset reads at the file position, otherwise at that offset.
bool ReadFully(int fd, void* buffer, std::uint32_t count, std::uint32_t& read, off_t offset)
{
    read = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (read < count) {
        const ssize_t got =
            offset < 0 ? ::read(fd, out + read, count - read)
                       : ::pread(fd, out + read, count - read, offset + static_cast<off_t>(read));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            break;
        }
        read += static_cast<std::uint32_t>(got);
    }
    return true;
}

FileStamp StampFrom(const struct stat& info)
{
    FileStamp stamp;
    stamp.volume = static_cast<std::uint64_t>(info.st_dev);
    stamp.fileId = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.lastWrite = static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000ull +
                      static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
    stamp.deleted = info.st_nlink == 0;
    return stamp;
}

class PosixFileSystem final : public FileSystem {
public:
    NativeFile OpenForRead(const std::u16string& path) override
    {
        NativeFile file = OpenPath(path, O_RDONLY);
        struct stat info {};
        // Windows refuses to open a directory as a file; keep that behaviour.
        if (file.IsOpen() && ::fstat(Fd(file), &info) == 0 && S_ISDIR(info.st_mode)) {
            file.Close();
            errno = EISDIR;
        }
        return file;
    }

    NativeFile OpenExistingForWrite(const std::u16string& path) override
    {
        return OpenPath(path, O_WRONLY);
    }

    NativeFile CreateForWrite(const std::u16string& path) override
    {
        return OpenPath(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    }

    bool GetSize(const NativeFile& file, std::uint64_t& size) override
    {
        struct stat info {};
        if (::fstat(Fd(file), &info) != 0) {
            return false;
        }
        size = static_cast<std::uint64_t>(info.st_size);
        return true;
    }

    bool Seek(const NativeFile& file, std::uint64_t offset) override
    {
        if (offset > static_cast<std::uint64_t>(INT64_MAX)) {
            errno = EINVAL;
            return false;
        }
        return ::lseek(Fd(file), static_cast<off_t>(offset), SEEK_SET) != static_cast<off_t>(-1);
    }

    bool Read(const NativeFile& file, void* buffer, std::uint32_t count,
              std::uint32_t& read) override
    {
        return ReadFully(Fd(file), buffer, count, read, -1);
    }

    bool ReadAt(const NativeFile& file, std::uint64_t offset, void* buffer, std::uint32_t count,
                std::uint32_t& read) override
    {
        read = 0;
        if (offset > static_cast<std::uint64_t>(INT64_MAX)) {
            errno = EINVAL;
            return false;
        }
        return ReadFully(Fd(file), buffer, count, read, static_cast<off_t>(offset));
    }

    bool Write(const NativeFile& file, const void* data, std::uint32_t count,
               std::uint32_t& written) override
    {
        written = 0;
        const auto* in = static_cast<const unsigned char*>(data);
        while (written < count) {
            const ssize_t put = ::write(Fd(file), in + written, count - written);
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            written += static_cast<std::uint32_t>(put);
        }
        return true;
    }

    bool SetEnd(const NativeFile& file) override
    {
        const off_t position = ::lseek(Fd(file), 0, SEEK_CUR);
        return position != static_cast<off_t>(-1) && ::ftruncate(Fd(file), position) == 0;
    }

    bool Flush(const NativeFile& file) override { return ::fsync(Fd(file)) == 0; }

    bool StampOf(const NativeFile& file, FileStamp& stamp) override
    {
        struct stat info {};
        if (::fstat(Fd(file), &info) != 0) {
            return false;
        }
        stamp = StampFrom(info);
        return true;
    }

    bool StampOfPath(const std::u16string& path, FileStamp& stamp) override
    {
        struct stat info {};
        if (::stat(Narrow(path).c_str(), &info) != 0) {
            return false;
        }
        stamp = StampFrom(info);
        stamp.deleted = false; // a name leads to it
        return true;
    }

    // Same naming scheme as GetTempFileNameW: "<dir>/<prefix><4 hex digits>.TMP", created
    // exclusively so two processes never share a name.
    bool CreateTempFile(const std::u16string& directory, const std::u16string& prefix,
                        std::u16string& path) override
    {
        std::string dir = Narrow(directory);
        if (!dir.empty() && dir.back() != '/') {
            dir += '/';
        }
        const std::string head = dir + Narrow(prefix.substr(0, 3));
        unsigned start =
            static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(std::time(nullptr));
        for (unsigned i = 0; i < 0x10000; ++i) {
            char unique[8];
            std::snprintf(unique, sizeof unique, "%04X", (start + i) & 0xFFFFu);
            const std::string candidate = head + unique + ".TMP";
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                path = Widen(candidate);
                return true;
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        errno = EEXIST;
        return false;
    }

    bool MoveReplace(const std::u16string& from, const std::u16string& to) override
    {
        if (::rename(Narrow(from).c_str(), Narrow(to).c_str()) != 0) {
            return false;
        }
        // Write-through: make the rename itself durable.
        const std::u16string parent = DirectoryOfPath(to);
        const std::string directory = parent.empty() ? std::string(".") : Narrow(parent);
        const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return true;
    }

    bool Delete(const std::u16string& path) override { return ::unlink(Narrow(path).c_str()) == 0; }

    ErrorCode LastError() override { return static_cast<ErrorCode>(errno); }

    void SetLastError(ErrorCode code) override { errno = static_cast<int>(code); }

    std::optional<std::u16string> ErrorText(ErrorCode code) override
    {
        const char* text = std::strerror(static_cast<int>(code));
        if (text == nullptr || std::strncmp(text, "Unknown error", 13) == 0) {
            return std::nullopt;
        }
        return Widen(text);
    }

    std::u16string CurrentDirectory() override
    {
        char buffer[4096];
        return ::getcwd(buffer, sizeof buffer) != nullptr ? Widen(buffer) : std::u16string();
    }
};

} // namespace

void NativeFile::Close()
{
    if (IsOpen()) {
        const int saved = errno;
        ::close(static_cast<int>(value_));
        errno = saved;
        value_ = kInvalid;
    }
}

FileSystem& SystemFileSystem()
{
    static PosixFileSystem instance;
    return instance;
}

ErrorCode ErrorSharingViolation()
{
    return EBUSY;
}
ErrorCode ErrorFileNotFound()
{
    return ENOENT;
}
bool IsMissingFileError(ErrorCode code)
{
    return code == ENOENT || code == ENOTDIR;
}

} // namespace orx::platform
