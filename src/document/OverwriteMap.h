#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace orx {

// Replaced bytes by file offset, ordered. Kept as a sequence of small sorted arrays rather
// than a node-based tree: a document with a million replaced bytes then costs a few cache
// lines per lookup instead of a pointer chase per tree level.
class OverwriteMap {
public:
    void Set(std::uint64_t offset, std::uint8_t value);
    void Erase(std::uint64_t offset);
    // Erases every entry with from <= offset < to.
    void EraseRange(std::uint64_t from, std::uint64_t to);
    [[nodiscard]] std::optional<std::uint8_t> Find(std::uint64_t offset) const;
    void Clear();
    [[nodiscard]] std::size_t Size() const { return size_; }
    [[nodiscard]] bool Empty() const { return size_ == 0; }

    // Calls visit(offset, value) for every entry with from <= offset < to, ascending.
    template <typename Visit>
    void ForEachIn(std::uint64_t from, std::uint64_t to, Visit&& visit) const
    {
        for (std::size_t c = ChunkFor(from); c < chunks_.size() && firsts_[c] < to; ++c) {
            const std::vector<std::uint64_t>& offsets = chunks_[c].offsets;
            for (auto i = static_cast<std::size_t>(
                     std::lower_bound(offsets.begin(), offsets.end(), from) - offsets.begin());
                 i < offsets.size(); ++i) {
                if (offsets[i] >= to)
                    return;
                visit(offsets[i], chunks_[c].values[i]);
            }
        }
    }

    // All entries, ascending.
    [[nodiscard]] std::vector<std::pair<std::uint64_t, std::uint8_t>> Sorted() const;

private:
    // Offsets and values in separate arrays: searches and moves touch only what they need.
    struct Chunk {
        std::vector<std::uint64_t> offsets;
        std::vector<std::uint8_t> values;
    };

    // The chunk that holds `offset` or would receive it.
    [[nodiscard]] std::size_t ChunkFor(std::uint64_t offset) const;
    void InsertChunk(std::size_t c, Chunk chunk);
    void DropIfEmpty(std::size_t c);

    std::vector<Chunk> chunks_;
    // firsts_[c]: chunks_[c].offsets.front(), compact so that finding a chunk stays within
    // a few cache lines.
    std::vector<std::uint64_t> firsts_;
    std::size_t size_ = 0;
};

} // namespace orx
