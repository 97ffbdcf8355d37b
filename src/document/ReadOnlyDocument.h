#pragma once

#include <algorithm>
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
    // The same bytes as Read, into the caller's buffer of at least `count` bytes, so that a
    // stream of blocks reuses one buffer. Returns how many were delivered: fewer than asked
    // before the end means the rest could not be read.
    virtual std::uint64_t ReadInto(std::uint64_t offset, std::uint8_t* out,
                                   std::uint64_t count) const
    {
        const ReadResult result = Read(offset, count);
        std::copy(result.bytes.begin(), result.bytes.end(), out);
        return result.bytes.size();
    }
};

// Reports (done, total) during long operations; 1 <= total, done <= total. May be empty.
using ProgressCallback = std::function<void(std::uint64_t done, std::uint64_t total)>;

} // namespace orx
