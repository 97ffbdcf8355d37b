#pragma once

// The real file system with failures injected on demand: the n-th write, the temp file,
// the rename, the flush, the open for writing, or a short read.

#include "platform/FileSystem.h"

#include <filesystem>

namespace orx::test {

class FaultyFileSystem final : public platform::FileSystem {
public:
    // Which call fails; counters are 1-based, 0 means never.
    int failWriteNumber = 0;
    bool failTempFile = false;
    bool failCreate = false;
    bool failOpenForWrite = false;
    bool failFlush = false;
    bool failMove = false;
    bool failSetEnd = false;
    int shortReadNumber = 0; // this read (of more than one byte) delivers half
    // Flushes succeed without syncing: durability is not what the property tests check,
    // and thousands of syncs would make them slow for no gain.
    bool skipSync = false;
    platform::ErrorCode code = platform::ErrorSharingViolation();

    int writes = 0;
    int reads = 0;
    std::u16string lastTempPath;

    platform::NativeFile OpenForRead(const std::u16string& path) override
    {
        return real_.OpenForRead(path);
    }

    platform::NativeFile OpenExistingForWrite(const std::u16string& path) override
    {
        return failOpenForWrite ? Fail<platform::NativeFile>({}) : real_.OpenExistingForWrite(path);
    }

    platform::NativeFile CreateForWrite(const std::u16string& path) override
    {
        return failCreate ? Fail<platform::NativeFile>({}) : real_.CreateForWrite(path);
    }

    bool GetSize(const platform::NativeFile& file, std::uint64_t& size) override
    {
        return real_.GetSize(file, size);
    }
    bool Seek(const platform::NativeFile& file, std::uint64_t offset) override
    {
        return real_.Seek(file, offset);
    }

    bool Read(const platform::NativeFile& file, void* buffer, std::uint32_t count,
              std::uint32_t& read) override
    {
        const bool shortRead = count > 1 && ++reads == shortReadNumber;
        return real_.Read(file, buffer, shortRead ? count / 2 : count, read);
    }

    bool Write(const platform::NativeFile& file, const void* data, std::uint32_t count,
               std::uint32_t& written) override
    {
        if (++writes == failWriteNumber) {
            written = 0;
            return Fail(false);
        }
        return real_.Write(file, data, count, written);
    }

    bool SetEnd(const platform::NativeFile& file) override
    {
        return failSetEnd ? Fail(false) : real_.SetEnd(file);
    }

    bool Flush(const platform::NativeFile& file) override
    {
        return failFlush ? Fail(false) : skipSync || real_.Flush(file);
    }

    bool StampOf(const platform::NativeFile& file, platform::FileStamp& stamp) override
    {
        return real_.StampOf(file, stamp);
    }
    bool StampOfPath(const std::u16string& path, platform::FileStamp& stamp) override
    {
        return real_.StampOfPath(path, stamp);
    }

    bool CreateTempFile(const std::u16string& directory, const std::u16string& prefix,
                        std::u16string& path) override
    {
        if (failTempFile)
            return Fail(false);
        const bool ok = real_.CreateTempFile(directory, prefix, path);
        lastTempPath = path;
        return ok;
    }

    bool MoveReplace(const std::u16string& from, const std::u16string& to) override
    {
        if (failMove)
            return Fail(false);
        if (skipSync) {
            std::error_code error;
            std::filesystem::rename(std::filesystem::path(from), std::filesystem::path(to), error);
            return !error;
        }
        return real_.MoveReplace(from, to);
    }

    bool Delete(const std::u16string& path) override { return real_.Delete(path); }
    platform::ErrorCode LastError() override { return real_.LastError(); }
    void SetLastError(platform::ErrorCode value) override { real_.SetLastError(value); }
    std::optional<std::u16string> ErrorText(platform::ErrorCode value) override
    {
        return real_.ErrorText(value);
    }
    std::u16string CurrentDirectory() override { return real_.CurrentDirectory(); }

private:
    template <typename T>
    T Fail(T result)
    {
        real_.SetLastError(code);
        return result;
    }

    platform::FileSystem& real_ = platform::SystemFileSystem();

public:
    // Lets every later call through.
    void Heal()
    {
        failWriteNumber = 0;
        failTempFile = failCreate = failOpenForWrite = failFlush = failMove = failSetEnd = false;
        shortReadNumber = 0;
    }
};

} // namespace orx::test
