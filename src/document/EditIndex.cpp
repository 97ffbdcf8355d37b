#include "document/EditIndex.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

namespace orx {

EditIndex::EditIndex() = default;

EditIndex::~EditIndex() = default;

void EditIndex::NodeDeleter::operator()(Node* node) const
{
    if (node->leaf) {
        delete static_cast<Leaf*>(node);
    } else {
        delete static_cast<Inner*>(node);
    }
}

bool EditIndex::Less(const Key& a, const Key& b)
{
    return a.offset != b.offset ? a.offset < b.offset : a.kind < b.kind;
}

EditIndex::Key EditIndex::FirstKey(const Node& node)
{
    if (node.leaf) {
        return static_cast<const Leaf&>(node).items[0].KeyOf();
    }
    const auto& inner = static_cast<const Inner&>(node);
    return Key{inner.firstOffset[0], inner.firstKind[0]};
}

void EditIndex::Renumber(Inner& inner, std::size_t from)
{
    for (std::size_t i = from; i < inner.count; ++i) {
        inner.child[i]->slot = i;
    }
}

void EditIndex::InsertChild(Inner& inner, std::size_t i, NodePtr child, std::uint64_t net)
{
    const std::size_t n = inner.count;
    std::copy_backward(inner.firstOffset + i, inner.firstOffset + n, inner.firstOffset + n + 1);
    std::copy_backward(inner.firstKind + i, inner.firstKind + n, inner.firstKind + n + 1);
    std::copy_backward(inner.net + i, inner.net + n, inner.net + n + 1);
    std::move_backward(inner.child + i, inner.child + n, inner.child + n + 1);
    const Key first = FirstKey(*child);
    inner.firstOffset[i] = first.offset;
    inner.firstKind[i] = first.kind;
    inner.net[i] = net;
    child->parent = &inner;
    inner.child[i] = std::move(child);
    inner.count = n + 1;
    Renumber(inner, i);
}

void EditIndex::EraseChild(Inner& inner, std::size_t i)
{
    const std::size_t n = inner.count;
    std::copy(inner.firstOffset + i + 1, inner.firstOffset + n, inner.firstOffset + i);
    std::copy(inner.firstKind + i + 1, inner.firstKind + n, inner.firstKind + i);
    std::copy(inner.net + i + 1, inner.net + n, inner.net + i);
    std::move(inner.child + i + 1, inner.child + n, inner.child + i);
    inner.child[n - 1].reset();
    inner.count = n - 1;
    Renumber(inner, i);
}

std::uint64_t EditIndex::NetOf(const Node& node)
{
    std::uint64_t net = 0;
    if (node.leaf) {
        const auto& leaf = static_cast<const Leaf&>(node);
        for (std::size_t i = 0; i < leaf.count; ++i) {
            net += leaf.items[i].Net();
        }
    } else {
        const auto& inner = static_cast<const Inner&>(node);
        for (std::size_t i = 0; i < inner.count; ++i) {
            net += inner.net[i];
        }
    }
    return net;
}

EditIndex::Element EditIndex::ToElement(const Item& item) const
{
    Element element;
    element.isRun = item.isRun;
    element.key = item.offset;
    element.end = item.isRun ? 0 : item.End();
    if (item.isRun) {
        element.run = RunBytes(item);
    }
    return element;
}

std::uint32_t EditIndex::SlotOf(const Item& item)
{
    std::uint32_t slot = 0;
    std::memcpy(&slot, item.payload, sizeof slot);
    return slot;
}

std::span<std::uint8_t> EditIndex::RunBytes(Item& item)
{
    if (item.IsInline()) {
        return {item.payload, static_cast<std::size_t>(item.extent)};
    }
    return runs_[SlotOf(item)];
}

std::span<const std::uint8_t> EditIndex::RunBytes(const Item& item) const
{
    if (item.IsInline()) {
        return {item.payload, static_cast<std::size_t>(item.extent)};
    }
    return runs_[SlotOf(item)];
}

void EditIndex::SetRunBytes(Item& item, const std::uint8_t* data, std::size_t size)
{
    if (size <= kInlineRun) {
        // Copy out first: the bytes may come from the pool slot being freed.
        std::uint8_t bytes[kInlineRun] = {};
        std::copy_n(data, size, bytes);
        FreeRun(item);
        std::copy_n(bytes, kInlineRun, item.payload);
        item.extent = size;
        return;
    }
    if (item.IsInline()) {
        std::uint32_t slot = 0;
        if (freeSlots_.empty()) {
            slot = static_cast<std::uint32_t>(runs_.size());
            runs_.emplace_back();
        } else {
            slot = freeSlots_.back();
            freeSlots_.pop_back();
        }
        runs_[slot].assign(data, data + size);
        std::memcpy(item.payload, &slot, sizeof slot);
    } else {
        std::vector<std::uint8_t>& pooled = runs_[SlotOf(item)];
        if (pooled.data() == data) {
            pooled.resize(size); // the bytes are already in place
        } else {
            pooled.assign(data, data + size);
        }
    }
    item.extent = size;
}

EditIndex::Item EditIndex::NewRun(std::uint64_t key, std::uint8_t value)
{
    Item item;
    item.offset = key;
    item.isRun = true;
    item.extent = 1;
    item.payload[0] = value;
    return item;
}

void EditIndex::FreeRun(const Item& item)
{
    if (item.IsInline()) {
        return;
    }
    const std::uint32_t slot = SlotOf(item);
    std::vector<std::uint8_t>().swap(runs_[slot]);
    freeSlots_.push_back(slot);
}

std::span<std::uint8_t> EditIndex::RunAt(const Position& at)
{
    return RunBytes(at.leaf->items[at.item]);
}

std::span<const std::uint8_t> EditIndex::RunAt(const Position& at) const
{
    return RunBytes(at.leaf->items[at.item]);
}

EditIndex::Leaf* EditIndex::EdgeLeaf(bool last) const
{
    Node* node = root_.get();
    while (node != nullptr && !node->leaf) {
        const auto* inner = static_cast<const Inner*>(node);
        node = inner->child[last ? inner->count - 1 : 0].get();
    }
    return static_cast<Leaf*>(node);
}

EditIndex::Leaf* EditIndex::NextLeaf(const Leaf* leaf)
{
    const Node* node = leaf;
    while (node->parent != nullptr) {
        const Inner& parent = *node->parent;
        const std::size_t i = IndexInParent(*node);
        if (i + 1 < parent.count) {
            Node* next = parent.child[i + 1].get();
            while (!next->leaf) {
                next = static_cast<Inner*>(next)->child[0].get();
            }
            return static_cast<Leaf*>(next);
        }
        node = &parent;
    }
    return nullptr;
}

EditIndex::Leaf* EditIndex::PreviousLeaf(const Leaf* leaf)
{
    const Node* node = leaf;
    while (node->parent != nullptr) {
        const Inner& parent = *node->parent;
        const std::size_t i = IndexInParent(*node);
        if (i > 0) {
            Node* previous = parent.child[i - 1].get();
            while (!previous->leaf) {
                const auto* inner = static_cast<Inner*>(previous);
                previous = inner->child[inner->count - 1].get();
            }
            return static_cast<Leaf*>(previous);
        }
        node = &parent;
    }
    return nullptr;
}

EditIndex::Cursor EditIndex::Next(Cursor at)
{
    if (at.index + 1 < at.leaf->count) {
        return Cursor{at.leaf, at.index + 1};
    }
    return Cursor{NextLeaf(at.leaf), 0};
}

EditIndex::Cursor EditIndex::LowerBound(const Key& key) const
{
    Node* node = root_.get();
    if (node == nullptr) {
        return Cursor{};
    }
    // In each node the answer lies in the last subtree that starts below the key, or is
    // the first element of the subtree after it.
    while (!node->leaf) {
        const auto* inner = static_cast<const Inner*>(node);
        std::size_t i = 1;
        while (i < inner->count && Less(Key{inner->firstOffset[i], inner->firstKind[i]}, key)) {
            ++i;
        }
        node = inner->child[i - 1].get();
    }
    auto* leaf = static_cast<Leaf*>(node);
    const Item* item = std::partition_point(leaf->items, leaf->items + leaf->count,
                                            [&](const Item& i) { return Less(i.KeyOf(), key); });
    if (item != leaf->items + leaf->count) {
        return Cursor{leaf, static_cast<std::size_t>(item - leaf->items)};
    }
    return Cursor{NextLeaf(leaf), 0};
}

std::optional<EditIndex::Cursor> EditIndex::Before(const Key& key) const
{
    const Cursor at = LowerBound(key);
    if (at.leaf != nullptr && at.index > 0) {
        return Cursor{at.leaf, at.index - 1};
    }
    // The last element of the leaf before, or of the whole sequence when the key is past it.
    Leaf* previous = at.leaf != nullptr ? PreviousLeaf(at.leaf) : EdgeLeaf(true);
    if (previous == nullptr) {
        return std::nullopt;
    }
    return Cursor{previous, previous->count - 1};
}

const EditIndex::Item* EditIndex::Find(const Key& key) const
{
    const Cursor at = LowerBound(key);
    if (at.leaf == nullptr) {
        return nullptr;
    }
    const Item& item = ItemAt(at);
    return Less(key, item.KeyOf()) ? nullptr : &item;
}

EditIndex::Cursor EditIndex::After(const Position& at) const
{
    if (!at.hasElement) {
        return Cursor{EdgeLeaf(false), 0};
    }
    return Next(Cursor{at.leaf, at.item});
}

void EditIndex::AddTotals(Leaf* leaf, std::uint64_t run, std::uint64_t deleted)
{
    // Unsigned arithmetic wraps, so a decrease passed as its two's complement is exact.
    totalRun_ += run;
    totalDeleted_ += deleted;
    const std::uint64_t net = run - deleted;
    for (Node* node = leaf; node->parent != nullptr; node = node->parent) {
        node->parent->net[IndexInParent(*node)] += net;
    }
}

void EditIndex::RefreshFirst(Node* node)
{
    for (; node->parent != nullptr; node = node->parent) {
        const std::size_t i = IndexInParent(*node);
        const Key first = FirstKey(*node);
        node->parent->firstOffset[i] = first.offset;
        node->parent->firstKind[i] = first.kind;
        if (i != 0) {
            return;
        }
    }
}

void EditIndex::Split(Node* node)
{
    const std::size_t half = node->count / 2;
    NodePtr upper;
    if (node->leaf) {
        auto* lower = static_cast<Leaf*>(node);
        upper.reset(new Leaf);
        auto* moved = static_cast<Leaf*>(upper.get());
        std::copy(lower->items + half, lower->items + lower->count, moved->items);
        moved->count = lower->count - half;
    } else {
        auto* lower = static_cast<Inner*>(node);
        upper.reset(new Inner);
        auto* moved = static_cast<Inner*>(upper.get());
        for (std::size_t i = half; i < lower->count; ++i) {
            const std::size_t j = i - half;
            moved->firstOffset[j] = lower->firstOffset[i];
            moved->firstKind[j] = lower->firstKind[i];
            moved->net[j] = lower->net[i];
            moved->child[j] = std::move(lower->child[i]);
            moved->child[j]->parent = moved;
        }
        moved->count = lower->count - half;
        Renumber(*moved, 0);
    }
    node->count = half;
    const std::uint64_t upperNet = NetOf(*upper);

    if (node->parent == nullptr) {
        // The root splits: a new root takes both halves.
        NodePtr root(new Inner);
        auto* inner = static_cast<Inner*>(root.get());
        InsertChild(*inner, 0, std::move(root_), totalRun_ - totalDeleted_ - upperNet);
        InsertChild(*inner, 1, std::move(upper), upperNet);
        root_ = std::move(root);
        return;
    }
    Inner& parent = *node->parent;
    const std::size_t i = IndexInParent(*node);
    parent.net[i] -= upperNet;
    InsertChild(parent, i + 1, std::move(upper), upperNet);
    if (parent.count > kMaxChildren) {
        Split(&parent);
    }
}

void EditIndex::Remove(Node* node)
{
    while (node->parent != nullptr) {
        Inner& parent = *node->parent;
        const std::size_t i = IndexInParent(*node);
        EraseChild(parent, i);
        if (parent.count > 0) {
            if (i == 0) {
                RefreshFirst(&parent);
            }
            // A root left with one subtree hands over to it, keeping the tree shallow.
            while (!root_->leaf && root_->count == 1) {
                NodePtr only = std::move(static_cast<Inner*>(root_.get())->child[0]);
                only->parent = nullptr;
                root_ = std::move(only);
            }
            return;
        }
        node = &parent;
    }
    root_.reset();
}

void EditIndex::Insert(const Item& item)
{
    InsertAt(LowerBound(item.KeyOf()), item);
}

void EditIndex::InsertAt(Cursor at, const Item& item)
{
    static_assert(std::is_trivially_copyable_v<Item>, "leaf edits move items with memmove");
    if (root_ == nullptr) {
        root_.reset(new Leaf);
        at = Cursor{static_cast<Leaf*>(root_.get()), 0};
    } else if (at.leaf == nullptr) {
        Leaf* last = EdgeLeaf(true);
        at = Cursor{last, last->count};
    }
    Leaf& leaf = *at.leaf;
    std::copy_backward(leaf.items + at.index, leaf.items + leaf.count, leaf.items + leaf.count + 1);
    leaf.items[at.index] = item;
    ++leaf.count;
    AddTotals(&leaf, item.OwnRun(), item.OwnDeleted());
    if (at.index == 0) {
        RefreshFirst(&leaf);
    }
    if (leaf.count > kMaxLeaf) {
        Split(&leaf);
    }
}

void EditIndex::InsertIntoItem(Cursor at, std::uint64_t index, std::uint8_t value)
{
    Item& item = ItemAt(at);
    const auto length = static_cast<std::size_t>(item.extent);
    const auto i = static_cast<std::size_t>(std::min<std::uint64_t>(index, length));
    if (item.IsInline()) {
        std::uint8_t bytes[kInlineRun + 1];
        std::copy_n(item.payload, i, bytes);
        bytes[i] = value;
        std::copy(item.payload + i, item.payload + length, bytes + i + 1);
        SetRunBytes(item, bytes, length + 1);
    } else {
        std::vector<std::uint8_t>& bytes = runs_[SlotOf(item)];
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(i), value);
        item.extent = bytes.size();
    }
    AddTotals(at.leaf, 1, 0);
}

void EditIndex::Erase(const Key& key)
{
    const Cursor at = LowerBound(key);
    if (at.leaf != nullptr && !Less(key, ItemAt(at).KeyOf())) {
        EraseAt(at);
    }
}

void EditIndex::EraseAt(Cursor at)
{
    const Item item = ItemAt(at);
    if (item.isRun) {
        FreeRun(item);
    }
    AddTotals(at.leaf, std::uint64_t{0} - item.OwnRun(), std::uint64_t{0} - item.OwnDeleted());
    Leaf& leaf = *at.leaf;
    std::copy(leaf.items + at.index + 1, leaf.items + leaf.count, leaf.items + at.index);
    --leaf.count;
    if (leaf.count == 0) {
        Remove(&leaf);
    } else if (at.index == 0) {
        RefreshFirst(&leaf);
    }
}

EditIndex::Position EditIndex::Locate(std::uint64_t p, std::uint64_t fileSize) const
{
    Position position;
    Node* node = root_.get();
    // Nothing edited before the first element: edited and file offsets coincide there.
    if (node == nullptr || FirstKey(*node).offset > p) {
        position.key = p;
        position.segmentEnd = node == nullptr ? fileSize : FirstKey(*node).offset;
        return position;
    }
    // Edited starts never decrease along the sequence: in each node take the last subtree
    // or element that starts at or before p. `shift` is the net of everything before it.
    std::uint64_t shift = 0;
    std::uint64_t nextOffset = fileSize; // file offset of the first element after the subtree
    while (!node->leaf) {
        const auto* inner = static_cast<const Inner*>(node);
        std::size_t best = 0;
        for (std::size_t i = 1; i < inner->count; ++i) {
            const std::uint64_t s = shift + inner->net[i - 1];
            if (inner->firstOffset[i] + s > p) {
                break;
            }
            best = i;
            shift = s;
        }
        if (best + 1 < inner->count) {
            nextOffset = inner->firstOffset[best + 1];
        }
        node = inner->child[best].get();
    }
    auto* leaf = static_cast<Leaf*>(node);
    std::size_t best = 0;
    for (std::size_t i = 1; i < leaf->count; ++i) {
        const std::uint64_t s = shift + leaf->items[i - 1].Net();
        if (leaf->items[i].offset + s > p) {
            break;
        }
        best = i;
        shift = s;
    }
    const Item& item = leaf->items[best];
    const std::uint64_t bestStart = item.offset + shift;
    position.hasElement = true;
    position.leaf = leaf;
    position.item = best;
    position.segmentEnd = best + 1 < leaf->count ? leaf->items[best + 1].offset : nextOffset;

    if (item.isRun && p < bestStart + item.extent) {
        position.inRun = true;
        position.key = item.offset;
        position.index = p - bestStart;
        position.runLength = item.extent;
        return position;
    }
    // Past the element: file bytes resume after the run's key or the range's end.
    const std::uint64_t fileResume = item.isRun ? item.offset : item.End();
    const std::uint64_t editedResume = bestStart + item.OwnRun();
    position.key = fileResume + (p - editedResume);
    return position;
}

std::span<const std::uint8_t> EditIndex::FindRun(std::uint64_t key) const
{
    const Item* item = Find(Key{key, 0});
    return item != nullptr ? RunBytes(*item) : std::span<const std::uint8_t>{};
}

void EditIndex::InsertIntoRun(std::uint64_t key, std::uint64_t index, std::uint8_t value)
{
    const Cursor at = LowerBound(Key{key, 0});
    if (at.leaf != nullptr && ItemAt(at).isRun && ItemAt(at).offset == key) {
        InsertIntoItem(at, index, value);
        return;
    }
    Insert(NewRun(key, value));
    ++runCount_;
}

std::uint64_t EditIndex::EraseFromRun(std::uint64_t key, std::uint64_t index, std::uint64_t count)
{
    const Cursor at = LowerBound(Key{key, 0});
    if (at.leaf == nullptr) {
        return 0;
    }
    Item& item = ItemAt(at);
    if (!item.isRun || item.offset != key || index >= item.extent) {
        return 0;
    }
    const std::uint64_t n = std::min<std::uint64_t>(count, item.extent - index);
    if (n < item.extent) {
        const std::span<std::uint8_t> bytes = RunBytes(item);
        std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(index + n), bytes.end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(index));
        SetRunBytes(item, bytes.data(), bytes.size() - n);
        AddTotals(at.leaf, std::uint64_t{0} - n, 0);
        return n;
    }
    EraseAt(at);
    --runCount_;
    // The run no longer separates a range ending at `key` from one starting there.
    const std::optional<Cursor> left = Before(Key{key, 1});
    const Item* right = Find(Key{key, 1});
    if (left && right != nullptr) {
        const Item& leftItem = ItemAt(*left);
        if (!leftItem.isRun && leftItem.End() == key) {
            Item merged;
            merged.offset = leftItem.offset;
            merged.extent = right->End() - leftItem.offset;
            Erase(leftItem.KeyOf());
            Erase(Key{key, 1});
            rangeCount_ -= 2;
            Insert(merged);
            ++rangeCount_;
        }
    }
    return n;
}

void EditIndex::InsertAt(const Position& at, std::uint8_t value)
{
    if (at.hasElement) {
        const Item& item = at.leaf->items[at.item];
        // A run keyed by the file byte lies wholly in front of it: typing there appends.
        const bool ownRun = item.isRun && item.offset == at.key;
        if (at.inRun || ownRun) {
            InsertIntoItem(Cursor{at.leaf, at.item}, at.inRun ? at.index : item.extent, value);
            return;
        }
    }
    InsertAt(After(at), NewRun(at.key, value));
    ++runCount_;
}

void EditIndex::DeleteFileBytes(const Position& at, std::uint64_t count)
{
    const std::uint64_t start = at.key;
    const std::uint64_t end = at.key + count;
    if (count == 0) {
        return;
    }
    // Nothing lies strictly inside [start, end): the neighbours are the located element and
    // the one after it. A run keyed `start` or `end` sits between a neighbouring range and
    // the new one and keeps them apart.
    const Cursor next = After(at);
    const bool mergeLeft =
        at.hasElement && !at.leaf->items[at.item].isRun && at.leaf->items[at.item].End() == start;
    const bool mergeRight =
        next.leaf != nullptr && !ItemAt(next).isRun && ItemAt(next).offset == end;
    if (mergeLeft) {
        std::uint64_t grow = count;
        if (mergeRight) {
            grow += ItemAt(next).extent;
            // Drop the right range first so the totals never count its bytes twice. Erasing
            // it leaves the located leaf and its earlier elements in place.
            EraseAt(next);
            --rangeCount_;
        }
        at.leaf->items[at.item].extent += grow;
        AddTotals(at.leaf, 0, grow);
        return;
    }
    if (mergeRight) {
        ItemAt(next).offset = start;
        ItemAt(next).extent += count;
        if (next.index == 0) {
            RefreshFirst(next.leaf);
        }
        AddTotals(next.leaf, 0, count);
        return;
    }
    Item item;
    item.offset = start;
    item.extent = count;
    InsertAt(next, item);
    ++rangeCount_;
}

std::optional<EditIndex::Element> EditIndex::First() const
{
    const Leaf* leaf = EdgeLeaf(false);
    if (leaf == nullptr) {
        return std::nullopt;
    }
    return ToElement(leaf->items[0]);
}

std::optional<EditIndex::Element> EditIndex::Next(const Element& element) const
{
    const Cursor at = LowerBound(element.isRun ? Key{element.key, 1} : Key{element.key, 2});
    if (at.leaf == nullptr) {
        return std::nullopt;
    }
    return ToElement(ItemAt(at));
}

struct EditIndex::VerifyState {
    std::optional<Item> previous;
    std::optional<std::size_t> leafDepth;
    std::uint64_t run = 0, deleted = 0, runs = 0, ranges = 0;
    // Summary of the subtree just checked, for its parent's entry.
    Key first{};
    std::uint64_t net = 0;
    std::string fault;

    bool Fail(const std::string& what, std::uint64_t offset)
    {
        fault = what + " (at file offset " + std::to_string(offset) + ")";
        return false;
    }
};

bool EditIndex::VerifyNode(const Node& node, std::size_t depth, VerifyState& state) const
{
    if (node.count == 0) {
        return state.Fail("empty node", state.previous ? state.previous->offset : 0);
    }
    if (node.leaf) {
        const auto& leaf = static_cast<const Leaf&>(node);
        if (!state.leafDepth) {
            state.leafDepth = depth;
        } else if (*state.leafDepth != depth) {
            return state.Fail("leaves at different depths", leaf.items[0].offset);
        }
        if (leaf.count > kMaxLeaf) {
            return state.Fail("leaf over its limit", leaf.items[0].offset);
        }
        std::uint64_t net = 0;
        for (std::size_t i = 0; i < leaf.count; ++i) {
            const Item& item = leaf.items[i];
            if (item.extent == 0) {
                return state.Fail("empty run or range", item.offset);
            }
            if (item.isRun && !item.IsInline() &&
                (SlotOf(item) >= runs_.size() || runs_[SlotOf(item)].size() != item.extent)) {
                return state.Fail("run length differs from its pooled bytes", item.offset);
            }
            if (state.previous) {
                const Item& before = *state.previous;
                if (!Less(before.KeyOf(), item.KeyOf())) {
                    return state.Fail("keys out of order", item.offset);
                }
                if (!before.isRun && item.offset < before.End()) {
                    return state.Fail("record inside a deleted range", item.offset);
                }
                if (!before.isRun && !item.isRun && item.offset == before.End()) {
                    return state.Fail("adjacent deleted ranges not merged", item.offset);
                }
            }
            state.previous = item;
            net += item.Net();
            (item.isRun ? state.run : state.deleted) += item.extent;
            ++(item.isRun ? state.runs : state.ranges);
        }
        state.first = leaf.items[0].KeyOf();
        state.net = net;
        return true;
    }
    const auto& inner = static_cast<const Inner&>(node);
    if (inner.count > kMaxChildren) {
        return state.Fail("inner node over its limit", inner.firstOffset[0]);
    }
    std::uint64_t net = 0;
    Key first{};
    for (std::size_t i = 0; i < inner.count; ++i) {
        const Node* child = inner.child[i].get();
        if (child == nullptr) {
            return state.Fail("missing subtree", inner.firstOffset[i]);
        }
        if (child->parent != &inner || child->slot != i) {
            return state.Fail("wrong parent link or slot", inner.firstOffset[i]);
        }
        if (!VerifyNode(*child, depth + 1, state)) {
            return false;
        }
        if (inner.firstOffset[i] != state.first.offset || inner.firstKind[i] != state.first.kind) {
            return state.Fail("stale first key of a subtree", state.first.offset);
        }
        if (inner.net[i] != state.net) {
            return state.Fail("wrong net shift of a subtree", state.first.offset);
        }
        if (i == 0) {
            first = state.first;
        }
        net += state.net;
    }
    state.first = first;
    state.net = net;
    return true;
}

std::optional<std::string> EditIndex::Verify() const
{
    VerifyState state;
    if (root_ != nullptr) {
        if (root_->parent != nullptr) {
            return "the root has a parent";
        }
        if (!VerifyNode(*root_, 0, state)) {
            return state.fault;
        }
    }
    if (state.run != totalRun_ || state.deleted != totalDeleted_) {
        return "inserted or deleted byte totals differ from the records";
    }
    if (state.runs != runCount_ || state.ranges != rangeCount_) {
        return "run or range counts differ from the records";
    }
    return std::nullopt;
}

void EditIndex::Clear()
{
    root_.reset();
    runs_.clear();
    freeSlots_.clear();
    totalRun_ = 0;
    totalDeleted_ = 0;
    runCount_ = 0;
    rangeCount_ = 0;
}

} // namespace orx
