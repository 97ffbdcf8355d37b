#pragma once

#include "document/ReadOnlyDocument.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orx::test {

// A document held in memory. Reads deliver at most `readLimit` bytes, so tests can make
// every read short (0 makes every read fail).
class MemoryDocument final : public IReadOnlyDocument {
public:
    explicit MemoryDocument(std::vector<std::uint8_t> bytes = {}) : bytes_(std::move(bytes)) {}

    [[nodiscard]] bool IsOpen() const override { return true; }
    [[nodiscard]] std::uint64_t Size() const override { return bytes_.size(); }
    [[nodiscard]] std::u16string Path() const override { return u"memory.bin"; }
    [[nodiscard]] ReadResult Read(std::uint64_t offset, std::uint64_t count) const override
    {
        ReadResult result{offset, {}};
        if (offset < bytes_.size()) {
            const std::uint64_t n = std::min({count, bytes_.size() - offset, readLimit});
            const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
            result.bytes.assign(first, first + static_cast<std::ptrdiff_t>(n));
        }
        ++reads;
        return result;
    }

    std::vector<std::uint8_t>& Bytes() { return bytes_; }

    std::uint64_t readLimit = UINT64_MAX;
    mutable std::uint64_t reads = 0;

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace orx::test
