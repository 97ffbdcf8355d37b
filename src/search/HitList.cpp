#include "search/HitList.h"

#include <algorithm>

namespace orx {

void HitList::Reset(std::uint64_t hitLength)
{
    chunks_.clear();
    count_ = 0;
    hitLength_ = std::max<std::uint64_t>(hitLength, 1);
    outOfDate_ = false;
}

void HitList::Append(std::span<const std::uint64_t> offsets)
{
    for (const std::uint64_t offset : offsets) {
        const std::uint64_t slot = count_ % kChunkHits;
        if (slot == 0) {
            chunks_.push_back(std::make_unique_for_overwrite<std::uint64_t[]>(kChunkHits));
        }
        chunks_.back()[slot] = offset;
        ++count_;
    }
}

std::uint64_t HitList::At(std::uint64_t index) const
{
    return chunks_[index / kChunkHits][index % kChunkHits];
}

std::uint64_t HitList::LowerBound(std::uint64_t offset) const
{
    std::uint64_t low = 0;
    std::uint64_t high = count_;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (At(middle) < offset) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

std::uint64_t HitList::MemoryBytes() const
{
    return chunks_.size() * kChunkHits * sizeof(std::uint64_t);
}

void HitList::MarksIn(std::uint64_t first, std::uint64_t end, std::vector<MarkedRange>& out) const
{
    if (outOfDate_ || first >= end) {
        return;
    }
    // A hit that starts up to length - 1 bytes before `first` still reaches into the span.
    const std::uint64_t reach = first > hitLength_ - 1 ? first - (hitLength_ - 1) : 0;
    for (std::uint64_t i = LowerBound(reach); i < count_; ++i) {
        const std::uint64_t offset = At(i);
        if (offset >= end) {
            break;
        }
        out.push_back({offset, hitLength_, MarkKind::Hit});
    }
}

} // namespace orx
