#include "search/SearchEngine.h"

#include "search/ByteMatcher.h"

#include <algorithm>
#include <cstring>
#include <optional>
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

bool Searchable(const IReadOnlyDocument* document, const SearchPattern& pattern)
{
    return document != nullptr && document->IsOpen() && pattern.Size() != 0 &&
           pattern.Size() <= document->Size();
}

SearchPattern ExactPattern(std::span<const std::uint8_t> bytes)
{
    return {std::vector<std::uint8_t>(bytes.begin(), bytes.end()), {}, {}, {}};
}

// The pattern and its alternative, if any: a start offset matches when either does. Both have
// the same size, so a match's extent does not depend on which one matched, and an offset
// where both match is one hit.
class PatternMatcher {
public:
    explicit PatternMatcher(const SearchPattern& pattern) : primary_(pattern.bytes, pattern.mask)
    {
        if (!pattern.alternative.empty()) {
            alternative_.emplace(pattern.alternative);
        }
    }

    [[nodiscard]] std::size_t FindFirst(std::span<const std::uint8_t> text, std::size_t from) const
    {
        const std::size_t first = primary_.FindFirst(text, from);
        if (!alternative_) {
            return first;
        }
        return std::min(first, alternative_->FindFirst(text, from)); // npos is the largest
    }

    [[nodiscard]] std::size_t FindLast(std::span<const std::uint8_t> text, std::size_t limit) const
    {
        const std::size_t last = primary_.FindLast(text, limit);
        if (!alternative_) {
            return last;
        }
        const std::size_t other = alternative_->FindLast(text, limit);
        if (last == ByteMatcher::npos) {
            return other;
        }
        return other == ByteMatcher::npos ? last : std::max(last, other);
    }

    void FindAll(std::span<const std::uint8_t> text, std::vector<std::uint64_t>& hits,
                 std::uint64_t base) const
    {
        const auto middle = static_cast<std::ptrdiff_t>(hits.size());
        primary_.FindAll(text, 0, hits, base);
        if (!alternative_) {
            return;
        }
        const auto split = static_cast<std::ptrdiff_t>(hits.size());
        alternative_->FindAll(text, 0, hits, base);
        std::inplace_merge(hits.begin() + middle, hits.begin() + split, hits.end());
        hits.erase(std::unique(hits.begin() + middle, hits.end()), hits.end());
    }

private:
    ByteMatcher primary_;
    std::optional<ByteMatcher> alternative_;
};

enum class StreamEnd { End, Stopped, Cancelled };

// Reads the document from `start` to the end into one buffer, allocated once: a fresh block
// per read would cost a page fault per 4 KiB (heaps return blocks that large to the system).
// `visit` sees each read with the last m - 1 bytes before it in front, so a match across the
// block edge lies whole in one view and every start is seen once; it gets the document
// offset of the view's first byte and returns false to stop.
template <class Visit>
StreamEnd StreamForward(const IReadOnlyDocument& document, std::size_t m, std::uint64_t start,
                        const CancelCheck& cancel, const ProgressCallback& progress,
                        const Visit& visit)
{
    const std::uint64_t size = document.Size();
    const std::size_t keep = m - 1;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(kSearchBlockSize) + keep);
    std::size_t held = 0; // bytes carried over at the front of the buffer
    std::uint64_t pos = start;
    while (pos < size) {
        if (!ReportAndGoOn(progress, cancel, pos, size)) {
            return StreamEnd::Cancelled;
        }
        const auto got = static_cast<std::size_t>(
            document.ReadInto(pos, buffer.data() + held, std::min(size - pos, kSearchBlockSize)));
        if (got == 0) {
            break;
        }
        const std::size_t filled = held + got;
        if (!visit(std::span<const std::uint8_t>(buffer.data(), filled), pos - held)) {
            return StreamEnd::Stopped;
        }
        held = std::min(keep, filled);
        std::memmove(buffer.data(), buffer.data() + filled - held, held);
        pos += got;
    }
    Report(progress, size, size);
    return StreamEnd::End;
}

} // namespace

SearchOutcome SearchForward(const IReadOnlyDocument* document, const SearchPattern& pattern,
                            std::uint64_t start, const CancelCheck& cancel,
                            const ProgressCallback& progress)
{
    if (!Searchable(document, pattern) || start >= document->Size()) {
        return kNotFound;
    }
    const PatternMatcher matcher(pattern);
    SearchOutcome outcome = kNotFound;
    const StreamEnd end = StreamForward(*document, pattern.Size(), start, cancel, progress,
                                        [&](std::span<const std::uint8_t> bytes, std::uint64_t at) {
                                            const std::size_t hit = matcher.FindFirst(bytes, 0);
                                            if (hit == ByteMatcher::npos) {
                                                return true;
                                            }
                                            outcome = {SearchStatus::Found, at + hit};
                                            return false;
                                        });
    return end == StreamEnd::Cancelled ? kCancelled : outcome;
}

SearchOutcome SearchBackward(const IReadOnlyDocument* document, const SearchPattern& pattern,
                             std::uint64_t start, const CancelCheck& cancel,
                             const ProgressCallback& progress)
{
    if (!Searchable(document, pattern)) {
        return kNotFound;
    }
    const std::uint64_t size = document->Size();
    const std::uint64_t m = pattern.Size();
    const PatternMatcher matcher(pattern);
    // Each read covers a block of candidates and the m - 1 bytes the last of them reaches.
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(kSearchBlockSize + m - 1));
    std::uint64_t last = std::min(size - m, start); // greatest start offset still to try
    while (true) {
        if (!ReportAndGoOn(progress, cancel, size - last - 1, size)) {
            return kCancelled;
        }
        const std::uint64_t count = std::min(last + 1, kSearchBlockSize);
        const std::uint64_t first = last + 1 - count;
        const std::uint64_t got = document->ReadInto(first, buffer.data(), count + m - 1);
        // A block that comes back too short to hold a match is skipped.
        if (got >= m) {
            const std::uint64_t limit = std::min(count - 1, got - m);
            const std::size_t hit = matcher.FindLast(
                std::span<const std::uint8_t>(buffer.data(), got), static_cast<std::size_t>(limit));
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

SearchOutcome SearchForward(const IReadOnlyDocument* document,
                            std::span<const std::uint8_t> pattern, std::uint64_t start,
                            const CancelCheck& cancel, const ProgressCallback& progress)
{
    return SearchForward(document, ExactPattern(pattern), start, cancel, progress);
}

SearchOutcome SearchBackward(const IReadOnlyDocument* document,
                             std::span<const std::uint8_t> pattern, std::uint64_t start,
                             const CancelCheck& cancel, const ProgressCallback& progress)
{
    return SearchBackward(document, ExactPattern(pattern), start, cancel, progress);
}

FindAllOutcome FindAll(const IReadOnlyDocument* document, const SearchPattern& pattern,
                       std::uint64_t maxHits, const CancelCheck& cancel,
                       const ProgressCallback& progress, const HitBatchCallback& hits)
{
    FindAllOutcome outcome;
    if (!Searchable(document, pattern) || maxHits == 0) {
        return outcome;
    }
    const PatternMatcher matcher(pattern);
    std::vector<std::uint64_t> batch; // reused: one block's hits at a time
    bool refused = false;
    const StreamEnd end =
        StreamForward(*document, pattern.Size(), 0, cancel, progress,
                      [&](std::span<const std::uint8_t> bytes, std::uint64_t at) {
                          batch.clear();
                          matcher.FindAll(bytes, batch, at);
                          if (batch.empty()) {
                              return true;
                          }
                          batch.resize(static_cast<std::size_t>(
                              std::min<std::uint64_t>(batch.size(), maxHits - outcome.count)));
                          outcome.count += batch.size();
                          if (hits && !hits(batch)) {
                              refused = true;
                              return false;
                          }
                          return outcome.count < maxHits;
                      });
    if (end == StreamEnd::Cancelled || refused) {
        outcome.status = SearchStatus::Cancelled;
    } else if (outcome.count > 0) {
        outcome.status = SearchStatus::Found;
    }
    return outcome;
}

} // namespace orx
