#include "platform/FileSystem.h"

#include "platform/win32/WinString.h"

#include <windows.h>

namespace orx::platform {
namespace {

HANDLE H(const NativeFile& file)
{
    return reinterpret_cast<HANDLE>(file.Value());
}

NativeFile Wrap(HANDLE handle)
{
    if (handle == INVALID_HANDLE_VALUE) {
        return NativeFile();
    }
    return NativeFile(reinterpret_cast<std::intptr_t>(handle));
}

bool StampFromHandle(HANDLE handle, FileStamp& stamp)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        return false;
    }
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.fileId = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.lastWrite = (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                      info.ftLastWriteTime.dwLowDateTime;
    // A deletion that waits for the last handle leaves the name in place; only the file knows.
    FILE_STANDARD_INFO standard{};
    stamp.deleted =
        info.nNumberOfLinks == 0 ||
        (GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof(standard)) &&
         standard.DeletePending);
    return true;
}

class Win32FileSystem final : public FileSystem {
public:
    NativeFile OpenForRead(const std::u16string& path) override
    {
        return Wrap(CreateFileW(win::W(path), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    NativeFile OpenExistingForWrite(const std::u16string& path) override
    {
        return Wrap(CreateFileW(win::W(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    NativeFile CreateForWrite(const std::u16string& path) override
    {
        return Wrap(CreateFileW(win::W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    bool GetSize(const NativeFile& file, std::uint64_t& size) override
    {
        LARGE_INTEGER value{};
        if (!GetFileSizeEx(H(file), &value)) {
            return false;
        }
        size = static_cast<std::uint64_t>(value.QuadPart);
        return true;
    }

    bool Seek(const NativeFile& file, std::uint64_t offset) override
    {
        LARGE_INTEGER distance{};
        distance.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(H(file), distance, nullptr, FILE_BEGIN) != 0;
    }

    bool Read(const NativeFile& file, void* buffer, std::uint32_t count,
              std::uint32_t& read) override
    {
        DWORD got = 0;
        const BOOL ok = ReadFile(H(file), buffer, count, &got, nullptr);
        read = got;
        return ok != 0;
    }

    // One ReadFile with the offset in an OVERLAPPED: no shared file position, so threads
    // may read the same handle at once. At or past the end the read is empty, not an error.
    bool ReadAt(const NativeFile& file, std::uint64_t offset, void* buffer, std::uint32_t count,
                std::uint32_t& read) override
    {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        const BOOL ok = ReadFile(H(file), buffer, count, &got, &at);
        read = got;
        return ok != 0 || GetLastError() == ERROR_HANDLE_EOF;
    }

    bool Write(const NativeFile& file, const void* data, std::uint32_t count,
               std::uint32_t& written) override
    {
        DWORD put = 0;
        const BOOL ok = WriteFile(H(file), data, count, &put, nullptr);
        written = put;
        return ok != 0;
    }

    bool SetEnd(const NativeFile& file) override { return SetEndOfFile(H(file)) != 0; }

    bool Flush(const NativeFile& file) override { return FlushFileBuffers(H(file)) != 0; }

    bool StampOf(const NativeFile& file, FileStamp& stamp) override
    {
        return StampFromHandle(H(file), stamp);
    }

    bool StampOfPath(const std::u16string& path, FileStamp& stamp) override
    {
        // Attributes only, with every sharing mode: no other program's open is refused, and
        // no other program is refused because of this one. Backup semantics let a folder that
        // has taken the name open too, so that it shows as another file.
        const HANDLE handle =
            CreateFileW(win::W(path), FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return false;
        }
        const bool ok = StampFromHandle(handle, stamp);
        const DWORD error = GetLastError();
        CloseHandle(handle);
        ::SetLastError(error);
        return ok;
    }

    bool CreateTempFile(const std::u16string& directory, const std::u16string& prefix,
                        std::u16string& path) override
    {
        wchar_t buffer[MAX_PATH] = {};
        if (GetTempFileNameW(win::W(directory), win::W(prefix), 0, buffer) == 0) {
            return false;
        }
        path = win::FromW(buffer);
        return true;
    }

    bool MoveReplace(const std::u16string& from, const std::u16string& to) override
    {
        return MoveFileExW(win::W(from), win::W(to),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED |
                               MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool Delete(const std::u16string& path) override { return DeleteFileW(win::W(path)) != 0; }

    ErrorCode LastError() override { return GetLastError(); }

    void SetLastError(ErrorCode code) override { ::SetLastError(code); }

    std::optional<std::u16string> ErrorText(ErrorCode code) override
    {
        wchar_t* text = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                               FORMAT_MESSAGE_FROM_SYSTEM,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        if (length == 0 || text == nullptr) {
            return std::nullopt;
        }
        std::u16string result = win::FromW(text, length);
        LocalFree(text);
        return result;
    }

    std::u16string CurrentDirectory() override
    {
        const DWORD needed = GetCurrentDirectoryW(0, nullptr);
        if (needed == 0) {
            return {};
        }
        std::wstring buffer(needed, L'\0');
        const DWORD length = GetCurrentDirectoryW(needed, buffer.data());
        buffer.resize(length);
        return win::FromW(buffer);
    }
};

} // namespace

void NativeFile::Close()
{
    if (IsOpen()) {
        const DWORD saved = GetLastError();
        CloseHandle(reinterpret_cast<HANDLE>(value_));
        ::SetLastError(saved);
        value_ = kInvalid;
    }
}

FileSystem& SystemFileSystem()
{
    static Win32FileSystem instance;
    return instance;
}

ErrorCode ErrorSharingViolation()
{
    return ERROR_SHARING_VIOLATION;
}
ErrorCode ErrorFileNotFound()
{
    return ERROR_FILE_NOT_FOUND;
}
bool IsMissingFileError(ErrorCode code)
{
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

} // namespace orx::platform
