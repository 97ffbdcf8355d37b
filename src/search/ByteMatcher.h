#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orx {

// Exact matching of one byte pattern, in both directions. A vector filter on two of the
// pattern's rarest bytes finds candidates at memory speed; each candidate is verified whole.
// When candidates keep matching at the filtered bytes (periodic text), the search switches
// to a Knuth–Morris–Pratt scan, so no input costs more than linear time.
class ByteMatcher {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit ByteMatcher(std::span<const std::uint8_t> pattern);

    [[nodiscard]] std::size_t Size() const { return pattern_.size(); }

    // The smallest index >= from at which the whole pattern lies inside `text`, or npos.
    [[nodiscard]] std::size_t FindFirst(std::span<const std::uint8_t> text, std::size_t from) const;

    // The greatest index <= limit at which the whole pattern lies inside `text`, or npos.
    [[nodiscard]] std::size_t FindLast(std::span<const std::uint8_t> text, std::size_t limit) const;

private:
    [[nodiscard]] bool MatchesAt(const std::uint8_t* at) const;
    template <bool Single>
    [[nodiscard]] std::size_t ScanForward(std::span<const std::uint8_t> text,
                                          std::size_t from) const;
    template <bool Single>
    [[nodiscard]] std::size_t ScanBackward(std::span<const std::uint8_t> text,
                                           std::size_t limit) const;
    [[nodiscard]] std::size_t KmpFirst(std::span<const std::uint8_t> text, std::size_t from) const;
    [[nodiscard]] std::size_t KmpLast(std::span<const std::uint8_t> text, std::size_t limit) const;

    std::vector<std::uint8_t> pattern_;
    // The two filter positions in the pattern (equal for a one-byte pattern).
    std::size_t probe1_ = 0;
    std::size_t probe2_ = 0;
    // Failure functions of the pattern and of its reverse.
    std::vector<std::uint32_t> forwardFailure_;
    std::vector<std::uint32_t> backwardFailure_;
};

} // namespace orx
