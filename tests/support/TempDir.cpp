#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orx::test {

std::filesystem::path ToPath(const std::u16string& path)
{
    return std::filesystem::path(path);
}

std::u16string FromPath(const std::filesystem::path& path)
{
    return path.u16string();
}

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            base / ("orx-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            dir_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::u16string TempDir::Path(std::u16string_view name) const
{
    return FromPath(dir_ / std::filesystem::path(std::u16string(name)));
}

std::u16string TempDir::Write(std::u16string_view name,
                              const std::vector<std::uint8_t>& bytes) const
{
    const std::u16string path = Path(name);
    std::ofstream out(ToPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write a test file");
    }
    return path;
}

std::u16string TempDir::Write(std::u16string_view name, std::string_view bytes) const
{
    return Write(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<std::u16string> TempDir::List() const
{
    std::vector<std::u16string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        names.push_back(entry.path().filename().u16string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::uint8_t> ReadAll(const std::u16string& path)
{
    std::ifstream in(ToPath(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

} // namespace orx::test
