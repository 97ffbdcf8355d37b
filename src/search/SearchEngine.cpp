#include "search/SearchEngine.h"

#include "search/ByteMatcher.h"

#include <algorithm>
#include <vector>

namespace orx {
namespace {

constexpr SearchOutcome kNotFound{SearchStatus::NotFound, 0};
constexpr SearchOutcome kCancelled{SearchStatus::Cancelled, 0};

void Report(const ProgressCallback& progress, std::uint64_t done, std::uint64_t total)
{
    if (progress) {
        progress(done, total);
    }
}

// Before each block: progress first, so the display is current when the cancel check pumps
// the message queue.
bool ReportAndGoOn(const ProgressCallback& progress, const CancelCheck& cancel, std::uint64_t done,
                   std::uint64_t total)
{
    Report(progress, done, total);
    return !cancel || cancel();
}

} // namespace

// Each block is searched on its own; a match straddling the boundary to the previous block
// is looked for in the few bytes around it (the last m - 1 bytes before the block and the
// first m - 1 of it), which gives the result of searching the joined bytes without copying
// every block behind the carry.
SearchOutcome SearchForward(const IReadOnlyDocument* document,
                            std::span<const std::uint8_t> pattern, std::uint64_t start,
                            const CancelCheck& cancel, const ProgressCallback& progress)
{
    if (document == nullptr || !document->IsOpen() || pattern.empty()) {
        return kNotFound;
    }
    const std::uint64_t size = document->Size();
    const std::uint64_t m = pattern.size();
    if (start >= size || m > size) {
        return kNotFound;
    }
    const ByteMatcher matcher(pattern);
    std::vector<std::uint8_t> carry; // the last up to m - 1 bytes before pos
    std::vector<std::uint8_t> seam;  // carry followed by the start of the block
    std::uint64_t pos = start;
    while (true) {
        if (!ReportAndGoOn(progress, cancel, pos, size)) {
            return kCancelled;
        }
        const ReadResult read = document->Read(pos, std::min(size - pos, kSearchBlockSize));
        const std::vector<std::uint8_t>& block = read.bytes;
        if (block.empty()) {
            break;
        }
        if (!carry.empty()) {
            const auto head =
                static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(block.size(), m - 1));
            seam = carry;
            seam.insert(seam.end(), block.begin(), block.begin() + head);
            const std::size_t hit = matcher.FindFirst(seam, 0);
            if (hit != ByteMatcher::npos && hit < carry.size()) {
                return {SearchStatus::Found, pos - carry.size() + hit};
            }
        }
        const std::size_t hit = matcher.FindFirst(block, 0);
        if (hit != ByteMatcher::npos) {
            return {SearchStatus::Found, pos + hit};
        }
        // The next carry: the last m - 1 bytes of carry and block together.
        const std::size_t keep = static_cast<std::size_t>(m - 1);
        if (block.size() >= keep) {
            carry.assign(block.end() - static_cast<std::ptrdiff_t>(keep), block.end());
        } else {
            carry.insert(carry.end(), block.begin(), block.end());
            carry.erase(carry.begin(),
                        carry.end() - static_cast<std::ptrdiff_t>(std::min(carry.size(), keep)));
        }
        pos += block.size();
        if (pos >= size) {
            break;
        }
    }
    Report(progress, size, size);
    return kNotFound;
}

SearchOutcome SearchBackward(const IReadOnlyDocument* document,
                             std::span<const std::uint8_t> pattern, std::uint64_t start,
                             const CancelCheck& cancel, const ProgressCallback& progress)
{
    if (document == nullptr || !document->IsOpen() || pattern.empty()) {
        return kNotFound;
    }
    const std::uint64_t size = document->Size();
    const std::uint64_t m = pattern.size();
    if (m > size) {
        return kNotFound;
    }
    const ByteMatcher matcher(pattern);
    std::uint64_t last = std::min(size - m, start); // greatest start offset still to try
    while (true) {
        if (!ReportAndGoOn(progress, cancel, size - last - 1, size)) {
            return kCancelled;
        }
        const std::uint64_t count = std::min(last + 1, kSearchBlockSize);
        const std::uint64_t first = last + 1 - count;
        const ReadResult read = document->Read(first, count + m - 1);
        const std::vector<std::uint8_t>& bytes = read.bytes;
        // A block that comes back too short to hold a match is skipped.
        if (bytes.size() >= m) {
            const std::uint64_t limit = std::min<std::uint64_t>(count - 1, bytes.size() - m);
            const std::size_t hit = matcher.FindLast(bytes, static_cast<std::size_t>(limit));
            if (hit != ByteMatcher::npos) {
                return {SearchStatus::Found, first + hit};
            }
        }
        if (first == 0) {
            break;
        }
        last = first - 1;
    }
    Report(progress, size, size);
    return kNotFound;
}

FindAllOutcome FindAll(const IReadOnlyDocument* document, const SearchPattern& pattern,
                       std::uint64_t maxHits, const CancelCheck& cancel,
                       const ProgressCallback& progress, const HitBatchCallback& onHits)
{
    FindAllOutcome outcome;
    std::uint64_t start = 0;
    while (outcome.count < maxHits) {
        const SearchOutcome next = SearchForward(document, pattern.bytes, start, cancel, progress);
        if (next.status == SearchStatus::Cancelled) {
            outcome.status = SearchStatus::Cancelled;
            return outcome;
        }
        if (next.status == SearchStatus::NotFound) {
            break;
        }
        const std::uint64_t hit = next.offset;
        if (!onHits(std::span<const std::uint64_t>(&hit, 1))) {
            outcome.status = SearchStatus::Cancelled;
            return outcome;
        }
        ++outcome.count;
        start = hit + 1;
    }
    outcome.status = outcome.count > 0 ? SearchStatus::Found : SearchStatus::NotFound;
    return outcome;
}

} // namespace orx
