#pragma once

#include "document/ReadOnlyDocument.h"
#include "platform/Digest.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>
#include <vector>

namespace orx {

using platform::DigestAlgorithm;

// The bytes [offset, offset + length) of a document.
struct ChecksumRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    friend bool operator==(const ChecksumRange&, const ChecksumRange&) = default;
};

enum class ChecksumStatus : std::uint32_t {
    Done = 0,
    Stopped = 1,     // the stop token was set: no value
    Unreadable = 2,  // a byte of the range could not be read (failedOffset): no value
    Unavailable = 3, // the system could not compute an algorithm (failedAlgorithm): no value
};

struct ChecksumValue {
    DigestAlgorithm algorithm = DigestAlgorithm::Crc32;
    std::vector<std::uint8_t> bytes;
    friend bool operator==(const ChecksumValue&, const ChecksumValue&) = default;
};

// Values come only with Done, one per algorithm asked for, in the order asked: a computation
// that did not see every byte of the range gives none, so no partial value is ever shown.
struct ChecksumOutcome {
    ChecksumStatus status = ChecksumStatus::Done;
    std::vector<ChecksumValue> values;
    std::uint64_t failedOffset = 0; // Unreadable: the first byte that could not be read
    DigestAlgorithm failedAlgorithm = DigestAlgorithm::Crc32; // Unavailable
};

// The block read at a time: one buffer of this size is allocated per computation and
// reused for every block; the stop token is looked at between blocks.
inline constexpr std::size_t kChecksumBlockSize = std::size_t{1} << 20;

struct ChecksumOptions {
    // Threads that share the digests of a block; 0: one per processor, at most one per
    // algorithm. The calling thread is one of them.
    std::size_t lanes = 0;
    std::size_t blockSize = kChecksumBlockSize;
};

// Computes every algorithm of `algorithms` (each once; repeats are ignored) over `range` of
// `document` in one pass: each block is read once, by positional reads into one reused
// buffer, and handed to every digest, the digests being spread over the lanes by their
// measured cost. A range reaching past the document's end is Unreadable at the end.
// `progress` is told (bytes done, range length) after each block; never for an empty range.
[[nodiscard]] ChecksumOutcome
ComputeChecksums(const IReadOnlyDocument& document, ChecksumRange range,
                 std::span<const DigestAlgorithm> algorithms, std::stop_token stop = {},
                 const ProgressCallback& progress = {}, const ChecksumOptions& options = {});

// Splits work items of the given costs into at most `lanes` groups of nearly equal total
// cost (the costliest first, each to the lightest group so far); the indices of the items of
// each group. Empty groups are left out.
[[nodiscard]] std::vector<std::vector<std::size_t>> BalanceLanes(std::span<const double> costs,
                                                                 std::size_t lanes);

} // namespace orx
