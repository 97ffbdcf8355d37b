#pragma once

#include "bookmarks/RegionColour.h"
#include "hexview/ByteMarks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orx {

// A marked run of bytes [offset, offset + length) with a colour and a note. Never empty.
struct Region {
    std::uint64_t offset = 0;
    std::uint64_t length = 1;
    RegionColour colour = RegionColour::Red;
    std::u16string note;
    friend bool operator==(const Region&, const Region&) = default;
};

// The regions of one document, ordered by offset (then length, then the order they came in),
// in edited offsets: they follow every insertion and deletion, so that each keeps covering
// the bytes it was put on. It is also the source of their marks in the hex view.
class RegionList final : public IByteMarks {
public:
    [[nodiscard]] const std::vector<Region>& Items() const { return items_; }
    [[nodiscard]] std::size_t Count() const { return items_.size(); }
    [[nodiscard]] bool Empty() const { return items_.empty(); }

    // Replaces every region (a file's regions loaded or imported); empty ones are dropped.
    void Assign(std::vector<Region> regions);
    // Adds a region; returns its index. An empty one is refused.
    std::optional<std::size_t> Add(Region region);
    void Remove(std::size_t index);
    void Rename(std::size_t index, std::u16string note);
    void Recolour(std::size_t index, RegionColour colour);
    void Clear() { items_.clear(); }

    // `count` bytes were inserted before the byte at `offset`. A region starting at or after
    // `offset` moves; one that holds bytes on both sides of it grows.
    void Inserted(std::uint64_t offset, std::uint64_t count);
    // The bytes [offset, offset + count) were deleted. Regions shrink by the bytes they lose
    // and move back by those lost before them; returns how many lost every byte (removed).
    std::size_t Deleted(std::uint64_t offset, std::uint64_t count);
    // The document now holds `size` bytes (read anew): regions past the end are removed,
    // regions reaching past it are cut; returns how many were removed.
    std::size_t ClampTo(std::uint64_t size);

    // The first region starting after `offset`; nothing past the last one.
    [[nodiscard]] std::optional<std::size_t> Next(std::uint64_t offset) const;
    // The last region starting before `offset`; nothing before the first one.
    [[nodiscard]] std::optional<std::size_t> Previous(std::uint64_t offset) const;
    // The first region that holds the byte at `offset`.
    [[nodiscard]] std::optional<std::size_t> At(std::uint64_t offset) const;
    // The index of a region equal to `region` (found again after the list was re-sorted).
    [[nodiscard]] std::optional<std::size_t> IndexOf(const Region& region) const;

    void MarksIn(std::uint64_t first, std::uint64_t end,
                 std::vector<MarkedRange>& out) const override;

private:
    void Sort();

    std::vector<Region> items_;
};

} // namespace orx
