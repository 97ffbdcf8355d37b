#include "document/OverwriteMap.h"

namespace orx {
namespace {

// Entries per chunk before it splits in two: a set or erase moves at most about 1 KiB.
constexpr std::size_t kMaxChunk = 128;

} // namespace

std::size_t OverwriteMap::ChunkFor(std::uint64_t offset) const
{
    const auto after = std::upper_bound(firsts_.begin(), firsts_.end(), offset);
    const auto index = static_cast<std::size_t>(after - firsts_.begin());
    return index == 0 ? 0 : index - 1;
}

void OverwriteMap::InsertChunk(std::size_t c, Chunk chunk)
{
    // Full capacity up front, so a chunk never reallocates while it fills.
    chunk.offsets.reserve(kMaxChunk + 1);
    chunk.values.reserve(kMaxChunk + 1);
    firsts_.insert(firsts_.begin() + static_cast<std::ptrdiff_t>(c), chunk.offsets.front());
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(c), std::move(chunk));
}

void OverwriteMap::DropIfEmpty(std::size_t c)
{
    if (chunks_[c].offsets.empty()) {
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(c));
        firsts_.erase(firsts_.begin() + static_cast<std::ptrdiff_t>(c));
    } else {
        firsts_[c] = chunks_[c].offsets.front();
    }
}

void OverwriteMap::Set(std::uint64_t offset, std::uint8_t value)
{
    if (chunks_.empty()) {
        InsertChunk(0, Chunk{{offset}, {value}});
        size_ = 1;
        return;
    }
    const std::size_t c = ChunkFor(offset);
    Chunk& chunk = chunks_[c];
    const auto at = std::lower_bound(chunk.offsets.begin(), chunk.offsets.end(), offset);
    const auto i = at - chunk.offsets.begin();
    if (at != chunk.offsets.end() && *at == offset) {
        chunk.values[static_cast<std::size_t>(i)] = value;
        return;
    }
    chunk.offsets.insert(at, offset);
    chunk.values.insert(chunk.values.begin() + i, value);
    firsts_[c] = chunk.offsets.front();
    ++size_;
    if (chunk.offsets.size() > kMaxChunk) {
        const auto half = static_cast<std::ptrdiff_t>(chunk.offsets.size() / 2);
        Chunk upper{std::vector<std::uint64_t>(chunk.offsets.begin() + half, chunk.offsets.end()),
                    std::vector<std::uint8_t>(chunk.values.begin() + half, chunk.values.end())};
        chunk.offsets.erase(chunk.offsets.begin() + half, chunk.offsets.end());
        chunk.values.erase(chunk.values.begin() + half, chunk.values.end());
        InsertChunk(c + 1, std::move(upper));
    }
}

void OverwriteMap::Erase(std::uint64_t offset)
{
    EraseRange(offset, offset + 1);
}

void OverwriteMap::EraseRange(std::uint64_t from, std::uint64_t to)
{
    if (from >= to) {
        return;
    }
    std::size_t c = ChunkFor(from);
    while (c < chunks_.size() && firsts_[c] < to) {
        Chunk& chunk = chunks_[c];
        const auto first = std::lower_bound(chunk.offsets.begin(), chunk.offsets.end(), from);
        const auto last = std::lower_bound(first, chunk.offsets.end(), to);
        const auto firstIndex = first - chunk.offsets.begin();
        const auto lastIndex = last - chunk.offsets.begin();
        size_ -= static_cast<std::size_t>(lastIndex - firstIndex);
        chunk.offsets.erase(first, last);
        chunk.values.erase(chunk.values.begin() + firstIndex, chunk.values.begin() + lastIndex);
        const std::size_t before = chunks_.size();
        DropIfEmpty(c);
        if (chunks_.size() == before) {
            ++c;
        }
    }
}

std::optional<std::uint8_t> OverwriteMap::Find(std::uint64_t offset) const
{
    if (chunks_.empty()) {
        return std::nullopt;
    }
    const Chunk& chunk = chunks_[ChunkFor(offset)];
    const auto at = std::lower_bound(chunk.offsets.begin(), chunk.offsets.end(), offset);
    if (at != chunk.offsets.end() && *at == offset) {
        return chunk.values[static_cast<std::size_t>(at - chunk.offsets.begin())];
    }
    return std::nullopt;
}

void OverwriteMap::Clear()
{
    chunks_.clear();
    firsts_.clear();
    size_ = 0;
}

std::vector<std::pair<std::uint64_t, std::uint8_t>> OverwriteMap::Sorted() const
{
    std::vector<std::pair<std::uint64_t, std::uint8_t>> all;
    all.reserve(size_);
    for (const Chunk& chunk : chunks_) {
        for (std::size_t i = 0; i < chunk.offsets.size(); ++i) {
            all.emplace_back(chunk.offsets[i], chunk.values[i]);
        }
    }
    return all;
}

} // namespace orx
