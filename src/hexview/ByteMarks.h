#pragma once

#include <cstdint>
#include <vector>

namespace orx {

// What a marked byte stands for; each kind has its colour in the hex view's palette.
enum class MarkKind : std::uint8_t {
    Hit = 0,        // a match of Find All
    Difference = 1, // a byte that differs from the file it is compared with
    // A bookmarked region, one kind per colour (RegionColour), RegionFirst + colour.
    RegionFirst = 10,
    RegionLast = 14,
};

// A run of marked bytes: [first, first + length).
struct MarkedRange {
    std::uint64_t first = 0;
    std::uint64_t length = 0;
    MarkKind kind = MarkKind::Hit;
    friend bool operator==(const MarkedRange&, const MarkedRange&) = default;
};

// What a feature marks in a hex view (Find All's hits, a comparison's differences). The view
// asks only for the bytes it paints, so a source may hold millions of ranges.
class IByteMarks {
public:
    virtual ~IByteMarks() = default;
    // Appends the marked ranges that meet [first, end) to `out`, in any order. Called on the
    // UI thread while the rows of that span are painted; must be cheap (no long reads).
    virtual void MarksIn(std::uint64_t first, std::uint64_t end,
                         std::vector<MarkedRange>& out) const = 0;
};

} // namespace orx
