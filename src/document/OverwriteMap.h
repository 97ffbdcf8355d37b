#pragma once

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
        for (std::size_t c = ChunkFor(from); c < chunks_.size() && chunks_[c].first < to; ++c) {
            for (const Entry& entry : chunks_[c].entries) {
                if (entry.offset >= to) return;
                if (entry.offset >= from) visit(entry.offset, entry.value);
            }
        }
    }

    // All entries, ascending.
    [[nodiscard]] std::vector<std::pair<std::uint64_t, std::uint8_t>> Sorted() const;

private:
    struct Entry {
        std::uint64_t offset;
        std::uint8_t value;
    };
    struct Chunk {
        std::uint64_t first = 0; // offset of entries.front()
        std::vector<Entry> entries;
    };

    // The chunk that holds `offset` or would receive it.
    [[nodiscard]] std::size_t ChunkFor(std::uint64_t offset) const;
    void DropIfEmpty(std::size_t c);

    std::vector<Chunk> chunks_;
    std::size_t size_ = 0;
};

} // namespace orx
