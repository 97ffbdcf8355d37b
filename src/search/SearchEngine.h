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
                                          std::span<const std::uint8_t> pattern,
                                          std::uint64_t start, const CancelCheck& cancel,
                                          const ProgressCallback& progress);

// The match with the greatest start offset <= min(start, size - pattern size); overlapping
// occurrences count. A start beyond the end is clipped.
[[nodiscard]] SearchOutcome SearchBackward(const IReadOnlyDocument* document,
                                           std::span<const std::uint8_t> pattern,
                                           std::uint64_t start, const CancelCheck& cancel,
                                           const ProgressCallback& progress);

inline SearchOutcome SearchForward(const IReadOnlyDocument* document, const SearchPattern& pattern,
                                   std::uint64_t start, const CancelCheck& cancel,
                                   const ProgressCallback& progress)
{
    return SearchForward(document, std::span<const std::uint8_t>(pattern.bytes), start, cancel,
                         progress);
}

inline SearchOutcome SearchBackward(const IReadOnlyDocument* document, const SearchPattern& pattern,
                                    std::uint64_t start, const CancelCheck& cancel,
                                    const ProgressCallback& progress)
{
    return SearchBackward(document, std::span<const std::uint8_t>(pattern.bytes), start, cancel,
                          progress);
}

// Receives the next hits, ascending; false stops the search (counts as Cancelled).
using HitBatchCallback = std::function<bool(std::span<const std::uint64_t> offsets)>;

struct FindAllOutcome {
    SearchStatus status = SearchStatus::NotFound; // Found: finished with >= 1 hit
    std::uint64_t count = 0;                      // hits handed over
};

// Every start offset of the pattern, overlapping ones included, up to `maxHits`.
FindAllOutcome FindAll(const IReadOnlyDocument* document, const SearchPattern& pattern,
                       std::uint64_t maxHits, const CancelCheck& cancel,
                       const ProgressCallback& progress, const HitBatchCallback& onHits);

} // namespace orx
