#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orx {

// Matching of one byte pattern, in both directions. A pattern may carry a mask: one byte per
// pattern byte naming the bits that must agree (0x00 is a wildcard byte, 0xF0 a wildcard low
// nibble, 0xDF an ASCII letter in either case); without one every bit counts.
// A vector filter on two of the pattern's rarest fixed bytes finds candidates at memory
// speed; each candidate is verified whole. When candidates keep matching at the filtered
// bytes (periodic text), the search switches to a scan that is linear in the text: Knuth–
// Morris–Pratt for exact patterns, a bit-parallel shift-and (one word per 64 pattern bytes)
// for masked ones.
class ByteMatcher {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit ByteMatcher(std::span<const std::uint8_t> pattern,
                         std::span<const std::uint8_t> mask = {});

    [[nodiscard]] std::size_t Size() const { return pattern_.size(); }

    // The smallest index >= from at which the whole pattern lies inside `text`, or npos.
    [[nodiscard]] std::size_t FindFirst(std::span<const std::uint8_t> text, std::size_t from) const;

    // The greatest index <= limit at which the whole pattern lies inside `text`, or npos.
    [[nodiscard]] std::size_t FindLast(std::span<const std::uint8_t> text, std::size_t limit) const;

    // Appends base + i for every index i >= from at which the whole pattern lies inside
    // `text`, ascending, overlapping matches included.
    void FindAll(std::span<const std::uint8_t> text, std::size_t from,
                 std::vector<std::uint64_t>& hits, std::uint64_t base) const;

private:
    // Where a forward scan puts its matches: nowhere (stop at the first) or a list.
    struct Sink {
        std::vector<std::uint64_t>* hits = nullptr;
        std::uint64_t base = 0;
    };

    [[nodiscard]] bool MatchesAt(const std::uint8_t* at) const;
    [[nodiscard]] std::size_t Forward(std::span<const std::uint8_t> text, std::size_t from,
                                      Sink sink) const;
    template <bool Single, bool Masked>
    [[nodiscard]] std::size_t ScanForward(std::span<const std::uint8_t> text, std::size_t from,
                                          Sink sink) const;
    template <bool Single, bool Masked>
    [[nodiscard]] std::size_t ScanBackward(std::span<const std::uint8_t> text,
                                           std::size_t limit) const;
    [[nodiscard]] std::size_t LinearFirst(std::span<const std::uint8_t> text, std::size_t from,
                                          Sink sink) const;
    [[nodiscard]] std::size_t LinearLast(std::span<const std::uint8_t> text,
                                         std::size_t limit) const;
    [[nodiscard]] std::size_t KmpFirst(std::span<const std::uint8_t> text, std::size_t from,
                                       Sink sink) const;
    [[nodiscard]] std::size_t KmpLast(std::span<const std::uint8_t> text, std::size_t limit) const;
    [[nodiscard]] std::size_t ShiftAndFirst(std::span<const std::uint8_t> text, std::size_t from,
                                            Sink sink) const;
    [[nodiscard]] std::size_t ShiftAndLast(std::span<const std::uint8_t> text,
                                           std::size_t limit) const;

    std::vector<std::uint8_t> pattern_; // with the bits outside the mask cleared
    std::vector<std::uint8_t> mask_;    // empty for an exact pattern
    // The two filter positions in the pattern (equal for a one-byte pattern).
    std::size_t probe1_ = 0;
    std::size_t probe2_ = 0;
    // Exact patterns: failure functions of the pattern and of its reverse.
    std::vector<std::uint32_t> forwardFailure_;
    std::vector<std::uint32_t> backwardFailure_;
    // Masked patterns: for each byte value, `words_` words whose bit k says whether the value
    // fits pattern byte k (forward) or pattern byte m - 1 - k (backward).
    std::size_t words_ = 0;
    std::vector<std::uint64_t> forwardTable_;
    std::vector<std::uint64_t> backwardTable_;
};

} // namespace orx
