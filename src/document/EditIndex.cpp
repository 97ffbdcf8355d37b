#include "document/EditIndex.h"

#include <algorithm>

namespace orx {
namespace {

// Elements per chunk before it splits in two. Small enough that the scan inside a chunk
// and the move on insert stay cheap, large enough to keep the chunk count low.
constexpr std::size_t kMaxChunk = 512;

} // namespace

bool EditIndex::Less(const Key& a, const Key& b)
{
    return a.offset != b.offset ? a.offset < b.offset : a.kind < b.kind;
}

EditIndex::Element EditIndex::ToElement(const Item& item)
{
    Element element;
    element.isRun = item.isRun;
    element.key = item.offset;
    element.end = item.end;
    element.run = item.isRun ? &item.bytes : nullptr;
    return element;
}

EditIndex::Cursor EditIndex::LowerBound(const Key& key) const
{
    // The first chunk whose first element is not below the key; the answer lies in the
    // chunk before it, or is that chunk's first element.
    const auto chunk =
        std::partition_point(firsts_.begin(), firsts_.end(), [&](const Key& first) { return Less(first, key); });
    const auto after = static_cast<std::size_t>(chunk - firsts_.begin());
    if (after == 0) {
        return Cursor{0, 0};
    }
    const std::vector<Item>& items = chunks_[after - 1].items;
    const auto item =
        std::partition_point(items.begin(), items.end(), [&](const Item& i) { return Less(i.KeyOf(), key); });
    if (item != items.end()) {
        return Cursor{after - 1, static_cast<std::size_t>(item - items.begin())};
    }
    return Cursor{after, 0};
}

std::optional<EditIndex::Cursor> EditIndex::Before(const Key& key) const
{
    const Cursor at = LowerBound(key);
    if (at.index > 0) {
        return Cursor{at.chunk, at.index - 1};
    }
    if (at.chunk > 0) {
        return Cursor{at.chunk - 1, chunks_[at.chunk - 1].items.size() - 1};
    }
    return std::nullopt;
}

const EditIndex::Item* EditIndex::Find(const Key& key) const
{
    const Cursor at = LowerBound(key);
    if (AtEnd(at)) {
        return nullptr;
    }
    const Item& item = chunks_[at.chunk].items[at.index];
    return Less(key, item.KeyOf()) ? nullptr : &item;
}

void EditIndex::Adjust(std::size_t c, std::int64_t runDelta, std::int64_t deletedDelta)
{
    // Unsigned arithmetic wraps, so adding a negative delta as its two's complement is exact.
    const auto run = static_cast<std::uint64_t>(runDelta);
    const auto deleted = static_cast<std::uint64_t>(deletedDelta);
    chunks_[c].run += run;
    chunks_[c].deleted += deleted;
    totalRun_ += run;
    totalDeleted_ += deleted;
    for (std::size_t i = c + 1; i < fenwickRun_.size(); i += i & (~i + 1)) {
        fenwickRun_[i] += run;
        fenwickDeleted_[i] += deleted;
    }
}

void EditIndex::PrefixBefore(std::size_t c, std::uint64_t& run, std::uint64_t& deleted) const
{
    run = 0;
    deleted = 0;
    for (std::size_t i = c; i > 0; i -= i & (~i + 1)) {
        run += fenwickRun_[i];
        deleted += fenwickDeleted_[i];
    }
}

void EditIndex::RebuildFenwick()
{
    const std::size_t n = chunks_.size();
    fenwickRun_.assign(n + 1, 0);
    fenwickDeleted_.assign(n + 1, 0);
    for (std::size_t i = 1; i <= n; ++i) {
        fenwickRun_[i] += chunks_[i - 1].run;
        fenwickDeleted_[i] += chunks_[i - 1].deleted;
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n) {
            fenwickRun_[parent] += fenwickRun_[i];
            fenwickDeleted_[parent] += fenwickDeleted_[i];
        }
    }
}

void EditIndex::ShiftStarts(std::size_t c, std::size_t from, std::uint64_t delta)
{
    std::vector<std::uint64_t>& starts = chunks_[c].starts;
    for (std::size_t i = from; i < starts.size(); ++i) {
        starts[i] += delta;
    }
}

void EditIndex::Insert(Item item)
{
    const Cursor at = LowerBound(item.KeyOf());
    InsertAt(at, std::move(item));
}

void EditIndex::InsertAt(Cursor at, Item item)
{
    if (chunks_.empty()) {
        // The first record goes into a fresh, empty chunk like any other.
        chunks_.emplace_back();
        firsts_.push_back(item.KeyOf());
        RebuildFenwick();
        at = Cursor{0, 0};
    } else if (AtEnd(at)) {
        at = Cursor{chunks_.size() - 1, chunks_.back().items.size()};
    }
    const std::uint64_t run = item.OwnRun();
    const std::uint64_t deleted = item.OwnDeleted();
    Chunk& chunk = chunks_[at.chunk];
    std::uint64_t shift = 0; // inserted minus deleted bytes of the items before
    if (at.index > 0) {
        const Item& previous = chunk.items[at.index - 1];
        shift = chunk.starts[at.index - 1] - previous.offset + previous.OwnRun() - previous.OwnDeleted();
    } else {
        firsts_[at.chunk] = item.KeyOf();
    }
    chunk.starts.insert(chunk.starts.begin() + static_cast<std::ptrdiff_t>(at.index), item.offset + shift);
    chunk.items.insert(chunk.items.begin() + static_cast<std::ptrdiff_t>(at.index), std::move(item));
    ShiftStarts(at.chunk, at.index + 1, run - deleted);
    Adjust(at.chunk, static_cast<std::int64_t>(run), static_cast<std::int64_t>(deleted));
    if (chunk.items.size() <= kMaxChunk) {
        return;
    }
    const std::size_t half = chunk.items.size() / 2;
    Chunk upper;
    upper.items.assign(std::make_move_iterator(chunk.items.begin() + static_cast<std::ptrdiff_t>(half)),
                       std::make_move_iterator(chunk.items.end()));
    chunk.items.resize(half);
    const std::uint64_t cut = chunk.starts[half] - upper.items.front().offset;
    for (std::size_t i = half; i < chunk.starts.size(); ++i) {
        upper.starts.push_back(chunk.starts[i] - cut);
    }
    chunk.starts.resize(half);
    for (const Item& moved : upper.items) {
        upper.run += moved.OwnRun();
        upper.deleted += moved.OwnDeleted();
    }
    chunk.run -= upper.run;
    chunk.deleted -= upper.deleted;
    firsts_.insert(firsts_.begin() + static_cast<std::ptrdiff_t>(at.chunk + 1), upper.items.front().KeyOf());
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(at.chunk + 1), std::move(upper));
    RebuildFenwick();
}

void EditIndex::Erase(const Key& key)
{
    const Cursor at = LowerBound(key);
    if (AtEnd(at)) {
        return;
    }
    if (!Less(key, chunks_[at.chunk].items[at.index].KeyOf())) {
        EraseAt(at);
    }
}

void EditIndex::EraseAt(Cursor at)
{
    Chunk& chunk = chunks_[at.chunk];
    const Item& item = chunk.items[at.index];
    const std::uint64_t run = item.OwnRun();
    const std::uint64_t deleted = item.OwnDeleted();
    Adjust(at.chunk, -static_cast<std::int64_t>(run), -static_cast<std::int64_t>(deleted));
    chunk.items.erase(chunk.items.begin() + static_cast<std::ptrdiff_t>(at.index));
    chunk.starts.erase(chunk.starts.begin() + static_cast<std::ptrdiff_t>(at.index));
    ShiftStarts(at.chunk, at.index, deleted - run);
    if (chunk.items.empty()) {
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(at.chunk));
        firsts_.erase(firsts_.begin() + static_cast<std::ptrdiff_t>(at.chunk));
        RebuildFenwick();
    } else if (at.index == 0) {
        firsts_[at.chunk] = chunk.items.front().KeyOf();
    }
}

EditIndex::Position EditIndex::Locate(std::uint64_t p, std::uint64_t fileSize) const
{
    Position position;
    if (chunks_.empty()) {
        position.key = p;
        position.segmentEnd = fileSize;
        return position;
    }
    // Edited starts never decrease along the sequence: find the last chunk whose first
    // element starts at or before p, then the last such element inside it.
    auto firstStart = [&](std::size_t c) {
        std::uint64_t run = 0;
        std::uint64_t deleted = 0;
        PrefixBefore(c, run, deleted);
        return firsts_[c].offset - deleted + run;
    };
    std::size_t lo = 0;
    std::size_t hi = chunks_.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (firstStart(mid) <= p) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    if (lo == 0) {
        position.key = p;
        position.segmentEnd = firsts_[0].offset;
        return position;
    }
    const std::size_t c = lo - 1;
    const std::vector<Item>& items = chunks_[c].items;
    const std::vector<std::uint64_t>& starts = chunks_[c].starts;
    std::uint64_t run = 0;
    std::uint64_t deleted = 0;
    PrefixBefore(c, run, deleted);
    const std::uint64_t base = run - deleted;
    const auto after =
        std::partition_point(starts.begin(), starts.end(), [&](std::uint64_t start) { return start + base <= p; });
    const auto best = static_cast<std::size_t>(after - starts.begin()) - 1;
    const std::uint64_t bestStart = starts[best] + base;
    position.hasElement = true;
    position.chunk = c;
    position.item = best;
    if (best + 1 < items.size()) {
        position.segmentEnd = items[best + 1].offset;
    } else if (c + 1 < chunks_.size()) {
        position.segmentEnd = firsts_[c + 1].offset;
    } else {
        position.segmentEnd = fileSize;
    }

    const Item& item = items[best];
    if (item.isRun && p < bestStart + item.bytes.size()) {
        position.inRun = true;
        position.key = item.offset;
        position.index = p - bestStart;
        position.runLength = item.bytes.size();
        return position;
    }
    const std::uint64_t fileResume = item.isRun ? item.offset : item.end;
    const std::uint64_t editedResume = bestStart + item.OwnRun();
    position.key = fileResume + (p - editedResume);
    return position;
}

const std::vector<std::uint8_t>* EditIndex::FindRun(std::uint64_t key) const
{
    const Item* item = Find(Key{key, 0});
    return item != nullptr ? &item->bytes : nullptr;
}

void EditIndex::InsertIntoRun(std::uint64_t key, std::uint64_t index, std::uint8_t value)
{
    const Cursor at = LowerBound(Key{key, 0});
    if (!AtEnd(at)) {
        Item& item = chunks_[at.chunk].items[at.index];
        if (item.isRun && item.offset == key) {
            const auto position = static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(index, item.bytes.size()));
            item.bytes.insert(item.bytes.begin() + position, value);
            ShiftStarts(at.chunk, at.index + 1, 1);
            Adjust(at.chunk, 1, 0);
            return;
        }
    }
    Item item;
    item.offset = key;
    item.isRun = true;
    item.bytes.push_back(value);
    Insert(std::move(item));
    ++runCount_;
}

std::uint64_t EditIndex::EraseFromRun(std::uint64_t key, std::uint64_t index, std::uint64_t count)
{
    const Cursor at = LowerBound(Key{key, 0});
    if (AtEnd(at)) {
        return 0;
    }
    Item& item = chunks_[at.chunk].items[at.index];
    if (!item.isRun || item.offset != key || index >= item.bytes.size()) {
        return 0;
    }
    const std::uint64_t n = std::min<std::uint64_t>(count, item.bytes.size() - index);
    if (n < item.bytes.size()) {
        const auto first = item.bytes.begin() + static_cast<std::ptrdiff_t>(index);
        item.bytes.erase(first, first + static_cast<std::ptrdiff_t>(n));
        ShiftStarts(at.chunk, at.index + 1, std::uint64_t{0} - n);
        Adjust(at.chunk, -static_cast<std::int64_t>(n), 0);
        return n;
    }
    Erase(Key{key, 0});
    --runCount_;
    // The run no longer separates a range ending at `key` from one starting there.
    const std::optional<Cursor> left = Before(Key{key, 1});
    const Item* right = Find(Key{key, 1});
    if (left && right != nullptr) {
        const Item& leftItem = chunks_[left->chunk].items[left->index];
        if (!leftItem.isRun && leftItem.end == key) {
            const std::uint64_t start = leftItem.offset;
            const std::uint64_t end = right->end;
            Erase(Key{start, 1});
            Erase(Key{key, 1});
            rangeCount_ -= 2;
            Item merged;
            merged.offset = start;
            merged.end = end;
            Insert(std::move(merged));
            ++rangeCount_;
        }
    }
    return n;
}

EditIndex::Cursor EditIndex::After(const Position& at) const
{
    if (!at.hasElement) {
        return Cursor{0, 0};
    }
    if (at.item + 1 < chunks_[at.chunk].items.size()) {
        return Cursor{at.chunk, at.item + 1};
    }
    return Cursor{at.chunk + 1, 0};
}

void EditIndex::InsertAt(const Position& at, std::uint8_t value)
{
    if (at.hasElement) {
        Item& item = chunks_[at.chunk].items[at.item];
        // A run keyed by the file byte lies wholly in front of it: typing there appends.
        const bool ownRun = item.isRun && item.offset == at.key;
        if (at.inRun || ownRun) {
            const std::uint64_t index = at.inRun ? at.index : item.bytes.size();
            item.bytes.insert(item.bytes.begin() + static_cast<std::ptrdiff_t>(index), value);
            ShiftStarts(at.chunk, at.item + 1, 1);
            Adjust(at.chunk, 1, 0);
            return;
        }
    }
    Item item;
    item.offset = at.key;
    item.isRun = true;
    item.bytes.push_back(value);
    InsertAt(After(at), std::move(item));
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
    const bool mergeLeft = at.hasElement && !chunks_[at.chunk].items[at.item].isRun &&
                           chunks_[at.chunk].items[at.item].end == start;
    const bool mergeRight = !AtEnd(next) && !ItemAt(next).isRun && ItemAt(next).offset == end;
    if (mergeLeft) {
        Item& left = chunks_[at.chunk].items[at.item];
        std::uint64_t grow = count;
        if (mergeRight) {
            grow += ItemAt(next).end - end;
            left.end = ItemAt(next).end;
            // Drop the right range first so the totals never count its bytes twice.
            EraseAt(next);
            --rangeCount_;
        } else {
            left.end = end;
        }
        ShiftStarts(at.chunk, at.item + 1, std::uint64_t{0} - grow);
        Adjust(at.chunk, 0, static_cast<std::int64_t>(grow));
        return;
    }
    if (mergeRight) {
        ItemAt(next).offset = start;
        if (next.index == 0) {
            firsts_[next.chunk] = ItemAt(next).KeyOf();
        }
        ShiftStarts(next.chunk, next.index, std::uint64_t{0} - count);
        Adjust(next.chunk, 0, static_cast<std::int64_t>(count));
        return;
    }
    Item item;
    item.offset = start;
    item.end = end;
    InsertAt(next, std::move(item));
    ++rangeCount_;
}

std::optional<EditIndex::Element> EditIndex::First() const
{
    if (chunks_.empty()) {
        return std::nullopt;
    }
    return ToElement(chunks_.front().items.front());
}

std::optional<EditIndex::Element> EditIndex::Next(const Element& element) const
{
    const Cursor at = LowerBound(element.isRun ? Key{element.key, 1} : Key{element.key, 2});
    if (AtEnd(at)) {
        return std::nullopt;
    }
    return ToElement(chunks_[at.chunk].items[at.index]);
}

void EditIndex::Clear()
{
    chunks_.clear();
    firsts_.clear();
    fenwickRun_.clear();
    fenwickDeleted_.clear();
    totalRun_ = 0;
    totalDeleted_ = 0;
    runCount_ = 0;
    rangeCount_ = 0;
}

} // namespace orx
