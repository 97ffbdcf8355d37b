#include "document/OverwriteMap.h"

#include <algorithm>

namespace orx {
namespace {

constexpr std::size_t kMaxChunk = 512;

} // namespace

std::size_t OverwriteMap::ChunkFor(std::uint64_t offset) const
{
    const auto after = std::partition_point(chunks_.begin(), chunks_.end(),
                                            [&](const Chunk& c) { return c.first <= offset; });
    const auto index = static_cast<std::size_t>(after - chunks_.begin());
    return index == 0 ? 0 : index - 1;
}

void OverwriteMap::DropIfEmpty(std::size_t c)
{
    if (chunks_[c].entries.empty()) {
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(c));
    } else {
        chunks_[c].first = chunks_[c].entries.front().offset;
    }
}

void OverwriteMap::Set(std::uint64_t offset, std::uint8_t value)
{
    if (chunks_.empty()) {
        chunks_.push_back(Chunk{offset, {Entry{offset, value}}});
        size_ = 1;
        return;
    }
    const std::size_t c = ChunkFor(offset);
    std::vector<Entry>& entries = chunks_[c].entries;
    const auto at = std::partition_point(entries.begin(), entries.end(),
                                         [&](const Entry& e) { return e.offset < offset; });
    if (at != entries.end() && at->offset == offset) {
        at->value = value;
        return;
    }
    entries.insert(at, Entry{offset, value});
    chunks_[c].first = entries.front().offset;
    ++size_;
    if (entries.size() > kMaxChunk) {
        const auto middle = entries.begin() + static_cast<std::ptrdiff_t>(entries.size() / 2);
        Chunk upper{middle->offset, std::vector<Entry>(middle, entries.end())};
        entries.erase(middle, entries.end());
        chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(c + 1), std::move(upper));
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
    while (c < chunks_.size() && chunks_[c].first < to) {
        std::vector<Entry>& entries = chunks_[c].entries;
        const auto first = std::partition_point(entries.begin(), entries.end(),
                                                [&](const Entry& e) { return e.offset < from; });
        const auto last =
            std::partition_point(first, entries.end(), [&](const Entry& e) { return e.offset < to; });
        size_ -= static_cast<std::size_t>(last - first);
        entries.erase(first, last);
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
    const std::vector<Entry>& entries = chunks_[ChunkFor(offset)].entries;
    const auto at = std::partition_point(entries.begin(), entries.end(),
                                         [&](const Entry& e) { return e.offset < offset; });
    if (at != entries.end() && at->offset == offset) {
        return at->value;
    }
    return std::nullopt;
}

void OverwriteMap::Clear()
{
    chunks_.clear();
    size_ = 0;
}

std::vector<std::pair<std::uint64_t, std::uint8_t>> OverwriteMap::Sorted() const
{
    std::vector<std::pair<std::uint64_t, std::uint8_t>> all;
    all.reserve(size_);
    for (const Chunk& chunk : chunks_) {
        for (const Entry& entry : chunk.entries) {
            all.emplace_back(entry.offset, entry.value);
        }
    }
    return all;
}

} // namespace orx
