#pragma once

#include "document/ReadOnlyDocument.h"
#include "search/SearchQuery.h"

#include <cstdint>
#include <functional>
#include <span>

namespace orx {

// Which way the dialog asked to search; RunSearch searches forward for Next only.
enum class SearchDirection : std::uint32_t {
    None = 0,
    Previous = 1,
    Next = 2,
};

enum class SearchStatus : std::uint32_t {
    Found = 0,
    NotFound = 1,
    Cancelled = 2,
};

struct SearchOutcome {
    SearchStatus status = SearchStatus::NotFound;
    std::uint64_t offset = 0; // edited offset of the match's first byte; only with Found
};

// Asked once per block; false ends the search as Cancelled. May be empty.
using CancelCheck = std::function<bool()>;

// The scan block: bounds memory and the delay before a cancel request is noticed.
inline constexpr std::uint64_t kSearchBlockSize = 1 << 20;

// The match with the smallest start offset >= start; never wraps around.
[[nodiscard]] SearchOutcome SearchForward(const IReadOnlyDocument* document,
                                          const SearchPattern& pattern, std::uint64_t start,
                                          const CancelCheck& cancel,
                                          const ProgressCallback& progress);

// The match with the greatest start offset <= min(start, size - pattern size); overlapping
// occurrences count. A start beyond the end is clipped.
[[nodiscard]] SearchOutcome SearchBackward(const IReadOnlyDocument* document,
                                           const SearchPattern& pattern, std::uint64_t start,
                                           const CancelCheck& cancel,
                                           const ProgressCallback& progress);

// The same for an exact pattern of bytes.
[[nodiscard]] SearchOutcome SearchForward(const IReadOnlyDocument* document,
                                          std::span<const std::uint8_t> pattern,
                                          std::uint64_t start, const CancelCheck& cancel,
                                          const ProgressCallback& progress);
[[nodiscard]] SearchOutcome SearchBackward(const IReadOnlyDocument* document,
                                           std::span<const std::uint8_t> pattern,
                                           std::uint64_t start, const CancelCheck& cancel,
                                           const ProgressCallback& progress);

// Receives the next hits, ascending; false stops the search (counts as Cancelled).
using HitBatchCallback = std::function<bool(std::span<const std::uint64_t> offsets)>;

struct FindAllOutcome {
    // Found: finished with at least one hit, or stopped at maxHits.
    SearchStatus status = SearchStatus::NotFound;
    std::uint64_t count = 0; // hits handed over
};

// Every start offset of the pattern in the document, overlapping ones included, at most
// maxHits of them (0 finds none; UINT64_MAX means no limit). Hits go to `hits` in ascending
// batches, one per block that has any, so that a list fills while the search runs; memory
// stays one block's worth of hits.
[[nodiscard]] FindAllOutcome FindAll(const IReadOnlyDocument* document,
                                     const SearchPattern& pattern, std::uint64_t maxHits,
                                     const CancelCheck& cancel, const ProgressCallback& progress,
                                     const HitBatchCallback& hits);

} // namespace orx
