#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orx {

// What a read delivered: the offset asked for (always echoed) and 0 to `count` bytes.
struct ReadResult {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

// The byte source every view reads through: the file as opened, or the edited document.
class IReadOnlyDocument {
public:
    virtual ~IReadOnlyDocument() = default;
    [[nodiscard]] virtual bool IsOpen() const = 0;
    [[nodiscard]] virtual std::uint64_t Size() const = 0;
    [[nodiscard]] virtual std::u16string Path() const = 0;
    [[nodiscard]] virtual ReadResult Read(std::uint64_t offset, std::uint64_t count) const = 0;
};

// Reports (done, total) during long operations; 1 <= total, done <= total. May be empty.
using ProgressCallback = std::function<void(std::uint64_t done, std::uint64_t total)>;

} // namespace orx
