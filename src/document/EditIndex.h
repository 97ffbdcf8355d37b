#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orx {

// The insertion runs and deleted ranges of an edited document, keyed by file offset, in one
// balanced tree (a treap) whose nodes also carry the inserted and deleted byte totals of
// their subtree. That makes "which file byte or run byte sits at edited offset p" a single
// descent instead of a walk over every record.
//
// Elements are ordered by (file offset, kind) with a run before a deleted range at the same
// offset, which is the order the edited document emits them in. Invariant: no deleted range
// [start, end) has a run keyed strictly inside it; ranges are split around run keys.
class EditIndex {
public:
    EditIndex();
    ~EditIndex();
    EditIndex(const EditIndex&) = delete;
    EditIndex& operator=(const EditIndex&) = delete;

    struct Node; // opaque outside the implementation

    // One record as seen by iteration.
    struct Element {
        bool isRun = false;
        std::uint64_t key = 0;                         // run key, or first deleted offset
        std::uint64_t end = 0;                         // one past the last deleted offset (ranges)
        const std::vector<std::uint8_t>* run = nullptr; // the run's bytes (runs)
    };

    // Where an edited offset falls, for an offset below the edited size.
    struct Position {
        bool inRun = false;
        std::uint64_t key = 0;        // run key, or the file offset of the byte
        std::uint64_t index = 0;      // index inside the run
        std::uint64_t runLength = 0;  // length of that run
        std::uint64_t segmentEnd = 0; // file bytes [key, segmentEnd) survive unbroken (file bytes)
    };

    [[nodiscard]] Position Locate(std::uint64_t editedOffset, std::uint64_t fileSize) const;

    // Inserts `value` at `index` of the run keyed `key` (created when absent; index clamped).
    void InsertIntoRun(std::uint64_t key, std::uint64_t index, std::uint8_t value);
    // Erases up to `count` bytes from `index` of the run keyed `key`; drops the run when it
    // empties. Returns the number erased.
    std::uint64_t EraseFromRun(std::uint64_t key, std::uint64_t index, std::uint64_t count);
    [[nodiscard]] std::vector<std::uint8_t>* FindRun(std::uint64_t key);
    [[nodiscard]] const std::vector<std::uint8_t>* FindRun(std::uint64_t key) const;
    // Marks the surviving file bytes [start, end) as deleted, merging with adjacent ranges.
    void AddDeletion(std::uint64_t start, std::uint64_t end);
    [[nodiscard]] bool IsDeleted(std::uint64_t fileOffset) const;

    // In-order iteration: the first element at or after (key, kind run-first).
    [[nodiscard]] std::optional<Element> First() const;
    [[nodiscard]] std::optional<Element> Next(const Element& element) const;

    void Clear();

    [[nodiscard]] std::uint64_t InsertedBytes() const;
    [[nodiscard]] std::uint64_t DeletedBytes() const;
    [[nodiscard]] std::uint64_t RunCount() const { return runCount_; }
    [[nodiscard]] std::uint64_t RangeCount() const { return rangeCount_; }
    [[nodiscard]] bool Empty() const { return root_ == nullptr; }

private:
    struct Key {
        std::uint64_t offset;
        int kind; // 0 run, 1 deleted range
    };

    static bool Less(const Key& a, const Key& b);
    static Key KeyOf(const Node& node);
    static void Update(Node& node);
    static void Split(std::unique_ptr<Node> tree, const Key& key, std::unique_ptr<Node>& less,
                      std::unique_ptr<Node>& rest);
    static std::unique_ptr<Node> Merge(std::unique_ptr<Node> a, std::unique_ptr<Node> b);

    Node* Find(const Key& key) const;
    [[nodiscard]] const Node* LowerBound(const Key& key) const;
    [[nodiscard]] const Node* Before(const Key& key) const;
    void Insert(std::unique_ptr<Node> node);
    std::unique_ptr<Node> Erase(const Key& key);
    // Adds to the subtree totals of every node on the path to `key` (which must exist).
    void AdjustPath(const Key& key, std::int64_t runDelta, std::int64_t deletedDelta);
    std::uint32_t NextPriority();

    std::unique_ptr<Node> root_;
    std::uint64_t runCount_ = 0;
    std::uint64_t rangeCount_ = 0;
    std::uint64_t random_ = 0x9E3779B97F4A7C15ull;
};

} // namespace orx
