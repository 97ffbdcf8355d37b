#pragma once

#include "document/ReadOnlyDocument.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orx::test {

// A document held in memory. Reads deliver at most `readLimit` bytes, so tests can make
// every read short (0 makes every read fail), and nothing from `unreadableFrom` on.
class MemoryDocument final : public IReadOnlyDocument {
public:
    explicit MemoryDocument(std::vector<std::uint8_t> bytes = {}) : bytes_(std::move(bytes)) {}

    [[nodiscard]] bool IsOpen() const override { return true; }
    [[nodiscard]] std::uint64_t Size() const override { return bytes_.size(); }
    [[nodiscard]] std::u16string Path() const override { return u"memory.bin"; }
    [[nodiscard]] ReadResult Read(std::uint64_t offset, std::uint64_t count) const override
    {
        ReadResult result{offset, {}};
        result.bytes.resize(offset < bytes_.size() ? std::min(count, bytes_.size() - offset) : 0);
        result.bytes.resize(ReadInto(offset, result.bytes.data(), result.bytes.size()));
        return result;
    }
    std::uint64_t ReadInto(std::uint64_t offset, std::uint8_t* out,
                           std::uint64_t count) const override
    {
        ++reads;
        const std::uint64_t readable = std::min<std::uint64_t>(bytes_.size(), unreadableFrom);
        const std::uint64_t n =
            offset < readable ? std::min({count, readable - offset, readLimit}) : 0;
        if (n > 0) {
            std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), n, out);
        }
        return n;
    }

    std::vector<std::uint8_t>& Bytes() { return bytes_; }

    std::uint64_t readLimit = UINT64_MAX;
    std::uint64_t unreadableFrom = UINT64_MAX;
    mutable std::uint64_t reads = 0;

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace orx::test
