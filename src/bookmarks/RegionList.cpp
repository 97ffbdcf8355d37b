#include "bookmarks/RegionList.h"

#include <algorithm>

namespace orx {

void RegionList::Assign(std::vector<Region> regions)
{
    std::erase_if(regions, [](const Region& region) { return region.length == 0; });
    items_ = std::move(regions);
    Sort();
}

std::optional<std::size_t> RegionList::Add(Region region)
{
    if (region.length == 0) {
        return std::nullopt;
    }
    items_.push_back(region);
    Sort();
    // The new one is the last of its equals, since the sort is stable.
    for (std::size_t i = items_.size(); i-- > 0;) {
        if (items_[i] == region) {
            return i;
        }
    }
    return std::nullopt;
}

void RegionList::Remove(std::size_t index)
{
    if (index < items_.size()) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void RegionList::Rename(std::size_t index, std::u16string note)
{
    if (index < items_.size()) {
        items_[index].note = std::move(note);
    }
}

void RegionList::Recolour(std::size_t index, RegionColour colour)
{
    if (index < items_.size()) {
        items_[index].colour = colour;
    }
}

void RegionList::Inserted(std::uint64_t offset, std::uint64_t count)
{
    for (Region& region : items_) {
        if (offset <= region.offset) {
            region.offset += count;
        } else if (offset < region.offset + region.length) {
            region.length += count;
        }
    }
}

std::size_t RegionList::Deleted(std::uint64_t offset, std::uint64_t count)
{
    const std::uint64_t end = offset + count;
    for (Region& region : items_) {
        const std::uint64_t regionEnd = region.offset + region.length;
        const std::uint64_t lostBefore =
            offset < region.offset ? std::min(end, region.offset) - offset : 0;
        const std::uint64_t overlapFirst = std::max(offset, region.offset);
        const std::uint64_t overlapEnd = std::min(end, regionEnd);
        const std::uint64_t lostInside = overlapFirst < overlapEnd ? overlapEnd - overlapFirst : 0;
        region.offset -= lostBefore;
        region.length -= lostInside;
    }
    const std::size_t removed =
        std::erase_if(items_, [](const Region& region) { return region.length == 0; });
    Sort(); // equal offsets may now be ordered differently by length
    return removed;
}

std::size_t RegionList::ClampTo(std::uint64_t size)
{
    for (Region& region : items_) {
        if (region.offset >= size) {
            region.length = 0;
        } else {
            region.length = std::min(region.length, size - region.offset);
        }
    }
    const std::size_t removed =
        std::erase_if(items_, [](const Region& region) { return region.length == 0; });
    Sort();
    return removed;
}

std::optional<std::size_t> RegionList::Next(std::uint64_t offset) const
{
    const auto it = std::upper_bound(
        items_.begin(), items_.end(), offset,
        [](std::uint64_t value, const Region& region) { return value < region.offset; });
    if (it == items_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - items_.begin());
}

std::optional<std::size_t> RegionList::Previous(std::uint64_t offset) const
{
    const auto it = std::lower_bound(
        items_.begin(), items_.end(), offset,
        [](const Region& region, std::uint64_t value) { return region.offset < value; });
    if (it == items_.begin()) {
        return std::nullopt;
    }
    // Of several regions at that offset, the first: stepping back visits each start once.
    const std::uint64_t start = std::prev(it)->offset;
    const auto first =
        std::lower_bound(items_.begin(), it, start, [](const Region& region, std::uint64_t value) {
            return region.offset < value;
        });
    return static_cast<std::size_t>(first - items_.begin());
}

std::optional<std::size_t> RegionList::At(std::uint64_t offset) const
{
    for (std::size_t i = 0; i < items_.size() && items_[i].offset <= offset; ++i) {
        if (offset - items_[i].offset < items_[i].length) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> RegionList::IndexOf(const Region& region) const
{
    const auto it = std::find(items_.begin(), items_.end(), region);
    if (it == items_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - items_.begin());
}

void RegionList::MarksIn(std::uint64_t first, std::uint64_t end,
                         std::vector<MarkedRange>& out) const
{
    for (const Region& region : items_) {
        if (region.offset >= end) {
            break; // ordered by offset: none after this meets the span
        }
        if (region.offset + region.length > first) {
            out.push_back({region.offset, region.length, MarkKindOf(region.colour)});
        }
    }
}

void RegionList::Sort()
{
    std::stable_sort(items_.begin(), items_.end(), [](const Region& a, const Region& b) {
        return a.offset != b.offset ? a.offset < b.offset : a.length < b.length;
    });
}

} // namespace orx
