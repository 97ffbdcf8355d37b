#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orx {

// What a marked byte stands for; each kind has its colour in the hex view's palette.
enum class MarkKind : std::uint8_t {
    Hit = 0,        // a match of Find All
    Difference = 1, // a byte that differs from the file it is compared with
    Field = 2,      // the member selected in the struct view
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

// One run of marked bytes, or none (the struct view's selected member).
class SingleMark final : public IByteMarks {
public:
    // True when the mark changed. An empty range marks nothing.
    bool Set(std::optional<MarkedRange> range)
    {
        if (range && range->length == 0) {
            range.reset();
        }
        if (range == range_) {
            return false;
        }
        range_ = range;
        return true;
    }
    [[nodiscard]] bool Empty() const { return !range_; }
    void MarksIn(std::uint64_t first, std::uint64_t end,
                 std::vector<MarkedRange>& out) const override
    {
        // Compared without first + length, which may wrap at the top of the offsets.
        if (range_ && range_->first < end &&
            (first <= range_->first || first - range_->first < range_->length)) {
            out.push_back(*range_);
        }
    }

private:
    std::optional<MarkedRange> range_;
};

} // namespace orx
