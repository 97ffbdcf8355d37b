#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
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
// Storage: a B+ tree whose leaves hold a few dozen elements in contiguous arrays and whose
// inner nodes keep, per subtree, its first key and its inserted and deleted byte totals.
// The edited start of a subtree is its first key plus the totals of everything before it,
// so a lookup by edited offset descends one path; an edit rewrites one small leaf and the
// totals on its path. Elements are plain values (a short run's bytes sit in the element,
// a long run's in a separate pool), so moving them inside a leaf is a single memmove.
class EditIndex {
    struct Node;
    struct Leaf;
    struct Inner;

public:
    EditIndex();
    ~EditIndex();
    EditIndex(const EditIndex&) = delete;
    EditIndex& operator=(const EditIndex&) = delete;

    // One record as seen by iteration.
    struct Element {
        bool isRun = false;
        std::uint64_t key = 0;             // run key, or first deleted offset
        std::uint64_t end = 0;             // one past the last deleted offset (ranges)
        std::span<const std::uint8_t> run; // the run's bytes (runs); valid until the next change
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
        Leaf* leaf = nullptr;
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
    [[nodiscard]] std::span<std::uint8_t> RunAt(const Position& at);
    [[nodiscard]] std::span<const std::uint8_t> RunAt(const Position& at) const;
    // The bytes of the run keyed `key`; empty when there is none.
    [[nodiscard]] std::span<const std::uint8_t> FindRun(std::uint64_t key) const;
    // Marks the surviving file bytes [at.key, at.key + count) as deleted, merging with
    // adjacent ranges; `at` is the file-byte position Locate just returned and count must
    // not reach past at.segmentEnd.
    void DeleteFileBytes(const Position& at, std::uint64_t count);

    // In-order iteration.
    [[nodiscard]] std::optional<Element> First() const;
    [[nodiscard]] std::optional<Element> Next(const Element& element) const;

    void Clear();

    // Checks the whole tree against its invariants: keys in order, ranges split around run
    // keys and merged otherwise, each subtree's first key and net shift as its parent records
    // them, parent links and slots, no empty node, leaves at one depth, the totals and the run
    // pool. Returns a description of the first fault found, or nothing when all hold. It
    // walks every record: for tests and diagnostics, not for every edit.
    [[nodiscard]] std::optional<std::string> Verify() const;

    [[nodiscard]] std::uint64_t InsertedBytes() const { return totalRun_; }
    [[nodiscard]] std::uint64_t DeletedBytes() const { return totalDeleted_; }
    [[nodiscard]] std::uint64_t RunCount() const { return runCount_; }
    [[nodiscard]] std::uint64_t RangeCount() const { return rangeCount_; }
    [[nodiscard]] bool Empty() const { return root_ == nullptr; }

private:
    // Elements per leaf and subtrees per inner node before a node splits in two. A full leaf
    // is 1.5 KiB, so an edit moves at most a few dozen cache lines, and a million records
    // make a tree four levels deep.
    static constexpr std::size_t kMaxLeaf = 64;
    static constexpr std::size_t kMaxChildren = 32;

    struct Key {
        std::uint64_t offset;
        int kind; // 0 run, 1 deleted range; 2 sorts after both at the same offset
    };

    // Runs this short, nearly all of those typed or inserted at scattered places, keep their
    // bytes in the record itself: no allocation, and no second cache miss to read them.
    static constexpr std::size_t kInlineRun = 7;

    struct Item {
        std::uint64_t offset = 0;
        std::uint64_t extent = 0; // a run's length, or the number of bytes a range deletes
        // A run of at most kInlineRun bytes holds them here; a longer one holds the index of
        // its bytes in runs_ (as four bytes, see SlotOf).
        std::uint8_t payload[kInlineRun] = {};
        bool isRun = false;

        [[nodiscard]] bool IsInline() const { return extent <= kInlineRun; }

        [[nodiscard]] std::uint64_t OwnRun() const { return isRun ? extent : 0; }
        [[nodiscard]] std::uint64_t OwnDeleted() const { return isRun ? 0 : extent; }
        // Inserted minus deleted bytes, wrapping: what the item adds to the edited offsets after
        // it.
        [[nodiscard]] std::uint64_t Net() const
        {
            return isRun ? extent : std::uint64_t{0} - extent;
        }
        [[nodiscard]] std::uint64_t End() const { return offset + extent; }
        [[nodiscard]] Key KeyOf() const { return Key{offset, isRun ? 0 : 1}; }
    };

    struct NodeDeleter {
        void operator()(Node* node) const;
    };
    using NodePtr = std::unique_ptr<Node, NodeDeleter>;

    struct Node {
        Inner* parent = nullptr;
        std::size_t slot = 0; // index among the parent's subtrees
        bool leaf = true;
        std::size_t count = 0; // elements of a leaf, subtrees of an inner node
    };

    // Arrays are in place and one longer than the limit, so a node fills up, splits, and
    // is reached in one step from its parent.
    struct Leaf : Node {
        Item items[kMaxLeaf + 1];
    };

    // Per subtree, in separate arrays so that a lookup scans only what it compares: the
    // subtree's first key, and the net shift (inserted minus deleted bytes, wrapping) it adds.
    struct Inner : Node {
        Inner() { leaf = false; }
        std::uint64_t firstOffset[kMaxChildren + 1];
        std::uint64_t net[kMaxChildren + 1];
        int firstKind[kMaxChildren + 1];
        NodePtr child[kMaxChildren + 1];
    };

    // An element of a leaf; a null leaf is the end of the sequence.
    struct Cursor {
        Leaf* leaf = nullptr;
        std::size_t index = 0;
    };

    static bool Less(const Key& a, const Key& b);
    static Key FirstKey(const Node& node);
    static std::size_t IndexInParent(const Node& node) { return node.slot; }
    // Sets the slot of subtrees from..count of `inner` after they moved.
    static void Renumber(Inner& inner, std::size_t from);
    // Makes `child` the i-th subtree of `inner`, with its first key and the given net shift.
    static void InsertChild(Inner& inner, std::size_t i, NodePtr child, std::uint64_t net);
    static void EraseChild(Inner& inner, std::size_t i);
    // The net shift of a node's whole subtree, summed from its own records or entries.
    static std::uint64_t NetOf(const Node& node);
    [[nodiscard]] Element ToElement(const Item& item) const;
    // A run record holding the single byte `value`.
    [[nodiscard]] static Item NewRun(std::uint64_t key, std::uint8_t value);
    // Releases the pool slot of a run that has one.
    void FreeRun(const Item& item);
    static std::uint32_t SlotOf(const Item& item);
    [[nodiscard]] std::span<std::uint8_t> RunBytes(Item& item);
    [[nodiscard]] std::span<const std::uint8_t> RunBytes(const Item& item) const;
    // Replaces a run's bytes, keeping them inline or in the pool by their new length.
    void SetRunBytes(Item& item, const std::uint8_t* data, std::size_t size);

    // The first leaf, or the last one when `last`; null when there are no records.
    [[nodiscard]] Leaf* EdgeLeaf(bool last) const;
    [[nodiscard]] static Leaf* NextLeaf(const Leaf* leaf);
    [[nodiscard]] static Leaf* PreviousLeaf(const Leaf* leaf);
    [[nodiscard]] static Cursor Next(Cursor at);
    [[nodiscard]] Cursor LowerBound(const Key& key) const;
    [[nodiscard]] std::optional<Cursor> Before(const Key& key) const;
    [[nodiscard]] const Item* Find(const Key& key) const;
    // The cursor just after the element of a located position (the first element when none).
    [[nodiscard]] Cursor After(const Position& at) const;
    static Item& ItemAt(const Cursor& at) { return at.leaf->items[at.index]; }

    void Insert(const Item& item);
    void InsertAt(Cursor at, const Item& item);
    // Inserts `value` at `index` of the run at `at` (index clamped to its length).
    void InsertIntoItem(Cursor at, std::uint64_t index, std::uint8_t value);
    void Erase(const Key& key);
    void EraseAt(Cursor at);
    // Adds to the totals, and to the net shift of every subtree above `leaf`.
    void AddTotals(Leaf* leaf, std::uint64_t run, std::uint64_t deleted);
    // Copies a node's first key into the entries above it after it changed.
    static void RefreshFirst(Node* node);
    void Split(Node* node);
    // Unlinks an emptied node, and the ancestors it leaves empty.
    void Remove(Node* node);

    struct VerifyState;
    // Checks one subtree; returns false and fills in the state's fault at the first one.
    bool VerifyNode(const Node& node, std::size_t depth, VerifyState& state) const;

    NodePtr root_;
    // Bytes of runs longer than kInlineRun; freed slots are reused. Four billion such runs
    // would need hundreds of GiB, so a 32-bit slot cannot run out first.
    std::vector<std::vector<std::uint8_t>> runs_;
    std::vector<std::uint32_t> freeSlots_;
    std::uint64_t totalRun_ = 0;
    std::uint64_t totalDeleted_ = 0;
    std::uint64_t runCount_ = 0;
    std::uint64_t rangeCount_ = 0;
};

} // namespace orx
