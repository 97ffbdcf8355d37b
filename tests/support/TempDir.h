#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orx::test {

// A fresh directory under the system temp folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& Dir() const { return dir_; }
    // Full path of `name` inside the directory, as the application's UTF-16 string.
    [[nodiscard]] std::u16string Path(std::u16string_view name) const;
    // Writes `bytes` to `name` and returns its full path.
    std::u16string Write(std::u16string_view name, const std::vector<std::uint8_t>& bytes) const;
    std::u16string Write(std::u16string_view name, std::string_view bytes) const;
    // Names of the entries now in the directory, sorted.
    [[nodiscard]] std::vector<std::u16string> List() const;

private:
    std::filesystem::path dir_;
};

std::vector<std::uint8_t> ReadAll(const std::u16string& path);
std::filesystem::path ToPath(const std::u16string& path);
std::u16string FromPath(const std::filesystem::path& path);

} // namespace orx::test
