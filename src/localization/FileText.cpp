#include "localization/FileText.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <filesystem>

namespace orx {

std::optional<std::string> ReadFileBytes(const std::u16string& path, std::uint64_t maxBytes)
{
    platform::FileSystem& fs = platform::SystemFileSystem();
    const platform::NativeFile file = fs.OpenForRead(path);
    std::uint64_t size = 0;
    if (!file.IsOpen() || !fs.GetSize(file, size) || size > maxBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::uint32_t read = 0;
        const auto chunk =
            static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!fs.Read(file, bytes.data() + done, chunk, read)) {
            return std::nullopt;
        }
        if (read == 0) {
            // The file shrank while we read it; what we have is what there is.
            bytes.resize(done);
            break;
        }
        done += read;
    }
    return bytes;
}

std::u16string JoinPath(std::u16string_view directory, std::u16string_view name)
{
    std::u16string path(directory);
    if (!path.empty() && !IsPathSeparator(path.back())) {
        path += static_cast<char16_t>(std::filesystem::path::preferred_separator);
    }
    path += name;
    return path;
}

} // namespace orx
