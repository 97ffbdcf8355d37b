#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orx {

// The insertion runs and deleted ranges of an edited document, keyed by file offset, in
// one ordered sequence that also answers "which file byte or run byte sits at edited
// offset p" without walking every record.
//
// Elements are ordered by (file offset, kind) with a run before a deleted range at the
// same offset, which is the order the edited document emits them in. Invariant: no
// deleted range [start, end) has a run keyed strictly inside it; ranges are split around
// run keys and merged when nothing separates them.
//
// Storage: the sequence is cut into chunks of at most a few hundred elements held in
// contiguous vectors, with the inserted and deleted byte totals of every chunk in a
// Fenwick tree and each element's edited start (relative to its chunk) in a compact array.
// A lookup is a binary search over chunks plus one inside a chunk, so it touches a
// handful of cache lines where a node-based tree would chase dozens of pointers; an edit
// moves elements inside one chunk only.
class EditIndex {
public:
    EditIndex() = default;
    EditIndex(const EditIndex&) = delete;
    EditIndex& operator=(const EditIndex&) = delete;

    // One record as seen by iteration.
    struct Element {
        bool isRun = false;
        std::uint64_t key = 0;                          // run key, or first deleted offset
        std::uint64_t end = 0;                          // one past the last deleted offset (ranges)
        const std::vector<std::uint8_t>* run = nullptr; // the run's bytes (runs)
    };

    // Where an edited offset falls, for an offset below the edited size.
    struct Position {
        bool inRun = false;
        std::uint64_t key = 0;        // run key, or the file offset of the byte
        std::uint64_t index = 0;      // index inside the run
        std::uint64_t runLength = 0;  // length of that run
        std::uint64_t segmentEnd = 0; // file bytes [key, segmentEnd) survive unbroken (file bytes)
        // Where the element at or before the offset sits; lets an edit that follows at once
        // skip a second search. Stale after any change.
        bool hasElement = false;
        std::size_t chunk = 0;
        std::size_t item = 0;
    };

    [[nodiscard]] Position Locate(std::uint64_t editedOffset, std::uint64_t fileSize) const;

    // Inserts `value` at `index` of the run keyed `key` (created when absent; index clamped).
    void InsertIntoRun(std::uint64_t key, std::uint64_t index, std::uint8_t value);
    // The same for the position Locate just returned: into its run, or in front of its
    // file byte.
    void InsertAt(const Position& at, std::uint8_t value);
    // Erases up to `count` bytes from `index` of the run keyed `key`; drops the run when it
    // empties. Returns the number erased.
    std::uint64_t EraseFromRun(std::uint64_t key, std::uint64_t index, std::uint64_t count);
    // The run a position Locate just returned falls in (at.inRun), without searching again.
    [[nodiscard]] std::vector<std::uint8_t>& RunAt(const Position& at) { return chunks_[at.chunk].items[at.item].bytes; }
    [[nodiscard]] const std::vector<std::uint8_t>& RunAt(const Position& at) const
    {
        return chunks_[at.chunk].items[at.item].bytes;
    }
    [[nodiscard]] const std::vector<std::uint8_t>* FindRun(std::uint64_t key) const;
    // Marks the surviving file bytes [at.key, at.key + count) as deleted, merging with
    // adjacent ranges; `at` is the file-byte position Locate just returned and count must
    // not reach past at.segmentEnd.
    void DeleteFileBytes(const Position& at, std::uint64_t count);

    // In-order iteration.
    [[nodiscard]] std::optional<Element> First() const;
    [[nodiscard]] std::optional<Element> Next(const Element& element) const;

    void Clear();

    [[nodiscard]] std::uint64_t InsertedBytes() const { return totalRun_; }
    [[nodiscard]] std::uint64_t DeletedBytes() const { return totalDeleted_; }
    [[nodiscard]] std::uint64_t RunCount() const { return runCount_; }
    [[nodiscard]] std::uint64_t RangeCount() const { return rangeCount_; }
    [[nodiscard]] bool Empty() const { return chunks_.empty(); }

private:
    struct Key {
        std::uint64_t offset;
        int kind; // 0 run, 1 deleted range; 2 sorts after both at the same offset
    };

    struct Item {
        std::uint64_t offset = 0;
        std::uint64_t end = 0; // deleted ranges
        bool isRun = false;
        std::vector<std::uint8_t> bytes; // runs

        [[nodiscard]] std::uint64_t OwnRun() const { return isRun ? bytes.size() : 0; }
        [[nodiscard]] std::uint64_t OwnDeleted() const { return isRun ? 0 : end - offset; }
        [[nodiscard]] Key KeyOf() const { return Key{offset, isRun ? 0 : 1}; }
    };

    struct Chunk {
        std::vector<Item> items;
        // starts[i]: edited start of items[i] counted from the chunk's own start, i.e. its
        // file offset plus the inserted minus deleted bytes of items[0..i) (wrapping). A
        // compact array, so a lookup binary-searches 8-byte values instead of scanning items.
        std::vector<std::uint64_t> starts;
        std::uint64_t run = 0;
        std::uint64_t deleted = 0;
    };

    struct Cursor {
        std::size_t chunk = 0;
        std::size_t index = 0;
    };

    static bool Less(const Key& a, const Key& b);
    static Element ToElement(const Item& item);

    [[nodiscard]] Cursor LowerBound(const Key& key) const;
    [[nodiscard]] std::optional<Cursor> Before(const Key& key) const;
    [[nodiscard]] bool AtEnd(const Cursor& cursor) const { return cursor.chunk >= chunks_.size(); }
    [[nodiscard]] const Item* Find(const Key& key) const;
    void Insert(Item item);
    void InsertAt(Cursor at, Item item);
    void Erase(const Key& key);
    void EraseAt(Cursor at);
    // The cursor just after the element of a located position (the start when none).
    [[nodiscard]] Cursor After(const Position& at) const;
    Item& ItemAt(const Cursor& at) { return chunks_[at.chunk].items[at.index]; }
    // Adds to the totals of chunk `c`.
    void Adjust(std::size_t c, std::int64_t runDelta, std::int64_t deletedDelta);
    // Totals of the chunks before `c`.
    void PrefixBefore(std::size_t c, std::uint64_t& run, std::uint64_t& deleted) const;
    void RebuildFenwick();
    // Adds `delta` to starts[from..] of chunk `c`.
    void ShiftStarts(std::size_t c, std::size_t from, std::uint64_t delta);

    std::vector<Chunk> chunks_;
    // firsts_[c]: key of chunks_[c].items.front(), in its own compact array so that the
    // binary searches over chunks stay within a few cache lines.
    std::vector<Key> firsts_;
    std::vector<std::uint64_t> fenwickRun_;     // 1-based
    std::vector<std::uint64_t> fenwickDeleted_; // 1-based
    std::uint64_t totalRun_ = 0;
    std::uint64_t totalDeleted_ = 0;
    std::uint64_t runCount_ = 0;
    std::uint64_t rangeCount_ = 0;
};

} // namespace orx
