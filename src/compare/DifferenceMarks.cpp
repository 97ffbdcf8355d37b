#include "compare/DifferenceMarks.h"

#include "compare/ByteCompare.h"

#include <algorithm>

namespace orx {

void DifferenceMarks::MarksIn(std::uint64_t first, std::uint64_t end,
                              std::vector<MarkedRange>& out) const
{
    const std::uint64_t common = std::min(left_.Size(), right_.Size());
    const std::uint64_t longer = std::max(left_.Size(), right_.Size());
    end = std::min(end, longer);
    if (first >= end) {
        return;
    }
    // Past the shorter side every byte differs; a byte that cannot be read is not marked.
    const std::uint64_t compared = std::min(end, common);
    const auto n = static_cast<std::size_t>(compared > first ? compared - first : 0);
    leftBytes_.resize(n);
    rightBytes_.resize(n);
    const std::size_t readable =
        static_cast<std::size_t>(std::min(left_.ReadInto(first, leftBytes_.data(), n),
                                          right_.ReadInto(first, rightBytes_.data(), n)));
    const std::size_t before = out.size();
    for (std::size_t i = 0; i < readable;) {
        i += FindFirst(leftBytes_.data() + i, rightBytes_.data() + i, readable - i, false);
        if (i == readable) {
            break;
        }
        const std::size_t length =
            FindFirst(leftBytes_.data() + i, rightBytes_.data() + i, readable - i, true);
        out.push_back({first + i, length, MarkKind::Difference});
        i += length;
    }
    if (end > common) {
        const std::uint64_t tail = std::max(first, common);
        if (out.size() > before && out.back().first + out.back().length == tail) {
            out.back().length += end - tail; // one run across the end of the shorter side
        } else {
            out.push_back({tail, end - tail, MarkKind::Difference});
        }
    }
}

std::optional<DifferenceMarks::Nearby> DifferenceMarks::Around(std::uint64_t offset,
                                                               std::uint64_t reach) const
{
    const std::uint64_t longer = std::max(left_.Size(), right_.Size());
    if (offset >= longer) {
        return std::nullopt;
    }
    const std::uint64_t first = offset - std::min(offset, reach);
    const std::uint64_t end = offset + 1 + std::min(longer - offset - 1, reach);
    std::vector<MarkedRange> runs;
    MarksIn(first, end, runs);
    for (const MarkedRange& run : runs) {
        if (run.first <= offset && offset < run.first + run.length) {
            return Nearby{{run.first, run.length},
                          run.first == first && first > 0,
                          run.first + run.length == end && end < longer};
        }
    }
    return std::nullopt;
}

} // namespace orx
