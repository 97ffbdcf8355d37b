#pragma once

#include "compare/CompareEngine.h"
#include "hexview/ByteMarks.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orx {

// The differing bytes of two documents as hex view marks. It compares the bytes of the span
// asked for on the spot (the painted rows: a few KiB), so it holds no list and follows every
// edit of either side at once. Both panes of a comparison use the same source.
class DifferenceMarks final : public IByteMarks {
public:
    DifferenceMarks(const IReadOnlyDocument& left, const IReadOnlyDocument& right)
        : left_(left), right_(right)
    {}

    void MarksIn(std::uint64_t first, std::uint64_t end,
                 std::vector<MarkedRange>& out) const override;

    // The run of differing bytes that holds `offset`, looked for at most `reach` bytes either
    // way; nothing when the byte at `offset` agrees. An open side means the run may go on
    // past what was looked at.
    struct Nearby {
        Difference run;
        bool openStart = false;
        bool openEnd = false;
    };
    [[nodiscard]] std::optional<Nearby> Around(std::uint64_t offset, std::uint64_t reach) const;

private:
    const IReadOnlyDocument& left_;
    const IReadOnlyDocument& right_;
    // Reused from call to call: painting asks on every frame.
    mutable std::vector<std::uint8_t> leftBytes_;
    mutable std::vector<std::uint8_t> rightBytes_;
};

} // namespace orx
