#pragma once

#include "document/ReadOnlyDocument.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

namespace orx {

// A maximal run of differing bytes, [offset, offset + length), offset k of one document
// against offset k of the other. Past the end of the shorter document every byte of the
// longer one differs, so its tail is a difference (joined to a run that reaches the end).
struct Difference {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    [[nodiscard]] std::uint64_t End() const { return offset + length; }
    friend bool operator==(const Difference&, const Difference&) = default;
};

enum class CompareStatus : std::uint32_t {
    Done = 0,
    Stopped = 1,    // the stop token was set
    Unreadable = 2, // a byte could not be read (failedOffset, failedRight)
};

struct CompareResult {
    CompareStatus status = CompareStatus::Done;
    std::optional<Difference> difference; // FindNext/FindPrevious when Done: what was found
    std::uint64_t count = 0;              // CountDifferences when Done: how many runs...
    std::uint64_t differingBytes = 0;     // ...and their bytes
    std::uint64_t number = 0;             // NumberDifference when Done: the run's, from 1
    std::uint64_t failedOffset = 0;       // Unreadable: the first byte that could not be read
    bool failedRight = false;             // Unreadable: on the right document, not the left
};

// The block read at a time from each side into one buffer per side, allocated once per call
// and reused; the stop token is looked at, and progress told, between blocks. Small enough
// that both buffers stay in the processor's second-level cache between the read and the scan.
inline constexpr std::size_t kCompareBlockSize = std::size_t{256} << 10;

// The two documents compared: `left` is the one the user edits (its edits included, as
// read through it), `right` the other file.
struct ComparedPair {
    const IReadOnlyDocument& left;
    const IReadOnlyDocument& right;
    std::stop_token stop = {};
    ProgressCallback progress = {}; // (bytes scanned, bytes to scan) after each block
    std::size_t blockSize = kCompareBlockSize;
};

// The first bytes of a difference on each side, as far as that side has them (the shorter
// document has none of a tail), taken from the blocks as they are scanned.
inline constexpr std::size_t kPreviewBytes = 8;
struct DifferencePreview {
    std::array<std::uint8_t, kPreviewBytes> left{};
    std::array<std::uint8_t, kPreviewBytes> right{};
    std::size_t leftCount = 0;
    std::size_t rightCount = 0;
};

// Calls `visit` with every difference that starts at or after `from`, in order, until it
// returns false; the scan stops at `end`, where a difference that goes on is cut. Holds one
// block of each side, never a list.
using DifferenceVisitor = std::function<bool(const Difference&, const DifferencePreview&)>;
[[nodiscard]] CompareResult VisitDifferences(const ComparedPair& pair, std::uint64_t from,
                                             const DifferenceVisitor& visit,
                                             std::uint64_t end = UINT64_MAX);

// The first difference that starts at or after `from`.
[[nodiscard]] CompareResult FindNextDifference(const ComparedPair& pair, std::uint64_t from);
// The last difference that starts before `before` (it may reach past `before`).
[[nodiscard]] CompareResult FindPreviousDifference(const ComparedPair& pair, std::uint64_t before);
// How many differences start before each of a series of evenly spaced offsets (stride
// apart, from 0), taken by the counting pass: a difference's number then costs a scan of at
// most one stride. At most kMaxCheckpoints entries, whatever the size.
struct DifferenceIndex {
    static constexpr std::size_t kMaxCheckpoints = 4096;
    std::uint64_t stride = 1;
    std::vector<std::uint64_t> before; // before[i]: differences starting before i * stride
};

// How many differences there are, and how many bytes they hold; fills `index` when given.
[[nodiscard]] CompareResult CountDifferences(const ComparedPair& pair,
                                             DifferenceIndex* index = nullptr);
// The number (from 1, in offset order) of the difference that starts at `offset`, in
// `number`, from an index of the same pair.
[[nodiscard]] CompareResult NumberDifference(const ComparedPair& pair, const DifferenceIndex& index,
                                             std::uint64_t offset);

} // namespace orx
