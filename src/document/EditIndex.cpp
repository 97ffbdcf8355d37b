#include "document/EditIndex.h"

#include <algorithm>
#include <cassert>

namespace orx {

struct EditIndex::Node {
    std::uint64_t offset = 0;
    std::uint64_t end = 0; // deleted ranges: one past the last deleted offset
    bool isRun = false;
    std::uint32_t priority = 0;
    std::vector<std::uint8_t> bytes; // runs
    std::uint64_t subtreeRun = 0;     // inserted bytes in this subtree
    std::uint64_t subtreeDeleted = 0; // deleted bytes in this subtree
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;

    [[nodiscard]] std::uint64_t OwnRun() const { return isRun ? bytes.size() : 0; }
    [[nodiscard]] std::uint64_t OwnDeleted() const { return isRun ? 0 : end - offset; }
};

namespace {

std::uint64_t RunTotal(const std::unique_ptr<EditIndex::Node>& node);
std::uint64_t DeletedTotal(const std::unique_ptr<EditIndex::Node>& node);

} // namespace

EditIndex::EditIndex() = default;

EditIndex::~EditIndex()
{
    Clear();
}

bool EditIndex::Less(const Key& a, const Key& b)
{
    return a.offset != b.offset ? a.offset < b.offset : a.kind < b.kind;
}

EditIndex::Key EditIndex::KeyOf(const Node& node)
{
    return Key{node.offset, node.isRun ? 0 : 1};
}

void EditIndex::Update(Node& node)
{
    node.subtreeRun = node.OwnRun() + (node.left ? node.left->subtreeRun : 0) +
                      (node.right ? node.right->subtreeRun : 0);
    node.subtreeDeleted = node.OwnDeleted() + (node.left ? node.left->subtreeDeleted : 0) +
                          (node.right ? node.right->subtreeDeleted : 0);
}

void EditIndex::Split(std::unique_ptr<Node> tree, const Key& key, std::unique_ptr<Node>& less,
                      std::unique_ptr<Node>& rest)
{
    if (!tree) {
        less.reset();
        rest.reset();
        return;
    }
    if (Less(KeyOf(*tree), key)) {
        std::unique_ptr<Node> right = std::move(tree->right);
        Split(std::move(right), key, tree->right, rest);
        Update(*tree);
        less = std::move(tree);
    } else {
        std::unique_ptr<Node> left = std::move(tree->left);
        Split(std::move(left), key, less, tree->left);
        Update(*tree);
        rest = std::move(tree);
    }
}

std::unique_ptr<EditIndex::Node> EditIndex::Merge(std::unique_ptr<Node> a, std::unique_ptr<Node> b)
{
    if (!a) return b;
    if (!b) return a;
    if (a->priority > b->priority) {
        a->right = Merge(std::move(a->right), std::move(b));
        Update(*a);
        return a;
    }
    b->left = Merge(std::move(a), std::move(b->left));
    Update(*b);
    return b;
}

std::uint32_t EditIndex::NextPriority()
{
    // xorshift64*: cheap, and deterministic so behaviour is reproducible run to run.
    random_ ^= random_ >> 12;
    random_ ^= random_ << 25;
    random_ ^= random_ >> 27;
    return static_cast<std::uint32_t>((random_ * 2685821657736338717ull) >> 32);
}

EditIndex::Node* EditIndex::Find(const Key& key) const
{
    Node* node = root_.get();
    while (node != nullptr) {
        const Key here = KeyOf(*node);
        if (Less(key, here)) {
            node = node->left.get();
        } else if (Less(here, key)) {
            node = node->right.get();
        } else {
            return node;
        }
    }
    return nullptr;
}

const EditIndex::Node* EditIndex::LowerBound(const Key& key) const
{
    const Node* best = nullptr;
    const Node* node = root_.get();
    while (node != nullptr) {
        if (Less(KeyOf(*node), key)) {
            node = node->right.get();
        } else {
            best = node;
            node = node->left.get();
        }
    }
    return best;
}

const EditIndex::Node* EditIndex::Before(const Key& key) const
{
    const Node* best = nullptr;
    const Node* node = root_.get();
    while (node != nullptr) {
        if (Less(KeyOf(*node), key)) {
            best = node;
            node = node->right.get();
        } else {
            node = node->left.get();
        }
    }
    return best;
}

void EditIndex::Insert(std::unique_ptr<Node> node)
{
    node->priority = NextPriority();
    Update(*node);
    std::unique_ptr<Node> less;
    std::unique_ptr<Node> rest;
    Split(std::move(root_), KeyOf(*node), less, rest);
    root_ = Merge(Merge(std::move(less), std::move(node)), std::move(rest));
}

std::unique_ptr<EditIndex::Node> EditIndex::Erase(const Key& key)
{
    std::unique_ptr<Node> less;
    std::unique_ptr<Node> rest;
    std::unique_ptr<Node> found;
    std::unique_ptr<Node> greater;
    Split(std::move(root_), key, less, rest);
    Split(std::move(rest), Key{key.offset, key.kind + 1}, found, greater);
    root_ = Merge(std::move(less), std::move(greater));
    return found;
}

void EditIndex::AdjustPath(const Key& key, std::int64_t runDelta, std::int64_t deletedDelta)
{
    Node* node = root_.get();
    while (node != nullptr) {
        node->subtreeRun = static_cast<std::uint64_t>(static_cast<std::int64_t>(node->subtreeRun) + runDelta);
        node->subtreeDeleted =
            static_cast<std::uint64_t>(static_cast<std::int64_t>(node->subtreeDeleted) + deletedDelta);
        const Key here = KeyOf(*node);
        if (Less(key, here)) {
            node = node->left.get();
        } else if (Less(here, key)) {
            node = node->right.get();
        } else {
            return;
        }
    }
    assert(false && "AdjustPath: key must be present");
}

EditIndex::Position EditIndex::Locate(std::uint64_t p, std::uint64_t fileSize) const
{
    // Find the last element whose edited start is at or before p. Edited starts never
    // decrease along the element order, and the last node where the descent turns left is
    // the element right after it.
    const Node* best = nullptr;
    const Node* after = nullptr;
    std::uint64_t bestStart = 0;
    std::uint64_t runBefore = 0;
    std::uint64_t deletedBefore = 0;
    const Node* node = root_.get();
    while (node != nullptr) {
        const std::uint64_t leftRun = node->left ? node->left->subtreeRun : 0;
        const std::uint64_t leftDeleted = node->left ? node->left->subtreeDeleted : 0;
        const std::uint64_t start = node->offset - (deletedBefore + leftDeleted) + (runBefore + leftRun);
        if (start <= p) {
            best = node;
            bestStart = start;
            runBefore += leftRun + node->OwnRun();
            deletedBefore += leftDeleted + node->OwnDeleted();
            node = node->right.get();
        } else {
            after = node;
            node = node->left.get();
        }
    }

    Position position;
    position.segmentEnd = after != nullptr ? after->offset : fileSize;
    if (best == nullptr) {
        position.key = p;
        return position;
    }
    if (best->isRun && p < bestStart + best->bytes.size()) {
        position.inRun = true;
        position.key = best->offset;
        position.index = p - bestStart;
        position.runLength = best->bytes.size();
        return position;
    }
    const std::uint64_t fileResume = best->isRun ? best->offset : best->end;
    const std::uint64_t editedResume = bestStart + best->OwnRun();
    position.key = fileResume + (p - editedResume);
    return position;
}

std::vector<std::uint8_t>* EditIndex::FindRun(std::uint64_t key)
{
    Node* node = Find(Key{key, 0});
    return node != nullptr ? &node->bytes : nullptr;
}

const std::vector<std::uint8_t>* EditIndex::FindRun(std::uint64_t key) const
{
    const Node* node = Find(Key{key, 0});
    return node != nullptr ? &node->bytes : nullptr;
}

void EditIndex::InsertIntoRun(std::uint64_t key, std::uint64_t index, std::uint8_t value)
{
    if (Node* node = Find(Key{key, 0})) {
        const std::size_t at = static_cast<std::size_t>(std::min<std::uint64_t>(index, node->bytes.size()));
        node->bytes.insert(node->bytes.begin() + static_cast<std::ptrdiff_t>(at), value);
        AdjustPath(Key{key, 0}, 1, 0);
        return;
    }
    auto node = std::make_unique<Node>();
    node->offset = key;
    node->isRun = true;
    node->bytes.push_back(value);
    Insert(std::move(node));
    ++runCount_;
}

std::uint64_t EditIndex::EraseFromRun(std::uint64_t key, std::uint64_t index, std::uint64_t count)
{
    Node* node = Find(Key{key, 0});
    if (node == nullptr || index >= node->bytes.size()) {
        return 0;
    }
    const std::uint64_t n = std::min<std::uint64_t>(count, node->bytes.size() - index);
    if (n < node->bytes.size()) {
        const auto first = node->bytes.begin() + static_cast<std::ptrdiff_t>(index);
        node->bytes.erase(first, first + static_cast<std::ptrdiff_t>(n));
        AdjustPath(Key{key, 0}, -static_cast<std::int64_t>(n), 0);
        return n;
    }
    Erase(Key{key, 0});
    --runCount_;
    // The run no longer separates a range ending at `key` from one starting there.
    const Node* left = Before(Key{key, 1});
    const Node* right = Find(Key{key, 1});
    if (left != nullptr && right != nullptr && !left->isRun && left->end == key) {
        const std::uint64_t start = left->offset;
        const std::uint64_t end = right->end;
        Erase(Key{start, 1});
        Erase(Key{key, 1});
        rangeCount_ -= 2;
        auto merged = std::make_unique<Node>();
        merged->offset = start;
        merged->end = end;
        Insert(std::move(merged));
        ++rangeCount_;
    }
    return n;
}

void EditIndex::AddDeletion(std::uint64_t start, std::uint64_t end)
{
    if (start >= end) {
        return;
    }
    std::uint64_t first = start;
    std::uint64_t last = end;
    const Node* left = Before(Key{start, 1});
    if (left != nullptr && !left->isRun && left->end == start) {
        first = left->offset;
        Erase(Key{first, 1});
        --rangeCount_;
    }
    // A run keyed `end` sits between the two ranges and must stay outside both.
    const Node* right = Find(Key{end, 0}) == nullptr ? Find(Key{end, 1}) : nullptr;
    if (right != nullptr) {
        last = right->end;
        Erase(Key{end, 1});
        --rangeCount_;
    }
    auto node = std::make_unique<Node>();
    node->offset = first;
    node->end = last;
    Insert(std::move(node));
    ++rangeCount_;
}

bool EditIndex::IsDeleted(std::uint64_t fileOffset) const
{
    const Node* node = Before(Key{fileOffset, 2});
    return node != nullptr && !node->isRun && node->end > fileOffset;
}

namespace {

EditIndex::Element ToElement(const EditIndex::Node* node);

} // namespace

std::optional<EditIndex::Element> EditIndex::First() const
{
    const Node* node = LowerBound(Key{0, 0});
    if (node == nullptr) {
        return std::nullopt;
    }
    return ToElement(node);
}

std::optional<EditIndex::Element> EditIndex::Next(const Element& element) const
{
    const Key after = element.isRun ? Key{element.key, 1} : Key{element.key, 2};
    const Node* node = LowerBound(after);
    if (node == nullptr) {
        return std::nullopt;
    }
    return ToElement(node);
}

void EditIndex::Clear()
{
    // Tear down iteratively: a recursive destructor chain is bounded by the tree height,
    // but there is no reason to rely on that.
    std::vector<std::unique_ptr<Node>> pending;
    if (root_) {
        pending.push_back(std::move(root_));
    }
    while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        if (node->left) pending.push_back(std::move(node->left));
        if (node->right) pending.push_back(std::move(node->right));
    }
    runCount_ = 0;
    rangeCount_ = 0;
}

std::uint64_t EditIndex::InsertedBytes() const
{
    return RunTotal(root_);
}

std::uint64_t EditIndex::DeletedBytes() const
{
    return DeletedTotal(root_);
}

namespace {

std::uint64_t RunTotal(const std::unique_ptr<EditIndex::Node>& node)
{
    return node ? node->subtreeRun : 0;
}

std::uint64_t DeletedTotal(const std::unique_ptr<EditIndex::Node>& node)
{
    return node ? node->subtreeDeleted : 0;
}

EditIndex::Element ToElement(const EditIndex::Node* node)
{
    EditIndex::Element element;
    element.isRun = node->isRun;
    element.key = node->offset;
    element.end = node->end;
    element.run = node->isRun ? &node->bytes : nullptr;
    return element;
}

} // namespace

} // namespace orx
