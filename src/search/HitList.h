#pragma once

#include "hexview/ByteMarks.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace orx {

// The start offsets of every hit of one Find All, in ascending order, and the hits' length.
// Kept in fixed chunks rather than one growing vector: a million hits cost 8 bytes each and
// appending never copies what is there (nor needs twice the memory for a moment).
// As a mark source it marks every hit's bytes, until the list is declared out of date.
class HitList final : public IByteMarks {
public:
    static constexpr std::size_t kChunkHits = std::size_t{1} << 16;

    // Empties the list for hits of `hitLength` bytes; the list is current again.
    void Reset(std::uint64_t hitLength);
    // Appends hits that come after the last one, ascending.
    void Append(std::span<const std::uint64_t> offsets);

    [[nodiscard]] std::uint64_t Count() const { return count_; }
    [[nodiscard]] std::uint64_t At(std::uint64_t index) const;
    [[nodiscard]] std::uint64_t HitLength() const { return hitLength_; }
    // The index of the first hit at or after `offset` (Count() when there is none).
    [[nodiscard]] std::uint64_t LowerBound(std::uint64_t offset) const;

    // The document changed under the hits: they stay listed but mark nothing any more.
    void MarkOutOfDate() { outOfDate_ = true; }
    [[nodiscard]] bool OutOfDate() const { return outOfDate_; }

    // Bytes held for the offsets (whole chunks).
    [[nodiscard]] std::uint64_t MemoryBytes() const;

    void MarksIn(std::uint64_t first, std::uint64_t end,
                 std::vector<MarkedRange>& out) const override;

private:
    std::vector<std::unique_ptr<std::uint64_t[]>> chunks_;
    std::uint64_t count_ = 0;
    std::uint64_t hitLength_ = 1;
    bool outOfDate_ = false;
};

} // namespace orx
