#include "compare/CompareEngine.h"

#include "compare/ByteCompare.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace orx {
namespace {

// The state of one comparison: the sizes and one reused buffer per side.
class Scanner {
public:
    explicit Scanner(const ComparedPair& pair)
        : pair_(pair), common_(std::min(pair.left.Size(), pair.right.Size())),
          longer_(std::max(pair.left.Size(), pair.right.Size())),
          block_(std::max<std::size_t>(1, pair.blockSize))
    {}

    [[nodiscard]] std::uint64_t Common() const { return common_; }
    [[nodiscard]] std::uint64_t Longer() const { return longer_; }
    [[nodiscard]] bool Stopped(CompareResult& result) const
    {
        if (pair_.stop.stop_requested()) {
            result.status = CompareStatus::Stopped;
            return true;
        }
        return false;
    }
    void Progress(std::uint64_t done, std::uint64_t total) const
    {
        if (pair_.progress && total > 0) {
            pair_.progress(done, total);
        }
    }

    // The length of the block to scan of [first, end): at most one buffer.
    [[nodiscard]] std::size_t BlockOf(std::uint64_t first, std::uint64_t end) const
    {
        return static_cast<std::size_t>(std::min<std::uint64_t>(block_, end - first));
    }

    // Reads [offset, offset + n) of both sides into the buffers; false (and the result
    // marked Unreadable) when either read comes short.
    [[nodiscard]] bool Load(std::uint64_t offset, std::size_t n, CompareResult& result)
    {
        if (left_.size() < n) {
            left_.resize(std::max(n, std::min(block_, static_cast<std::size_t>(longer_))));
            right_.resize(left_.size());
        }
        for (const bool right : {false, true}) {
            const IReadOnlyDocument& document = right ? pair_.right : pair_.left;
            std::uint8_t* out = right ? right_.data() : left_.data();
            const std::uint64_t got = document.ReadInto(offset, out, n);
            if (got < n) {
                result.status = CompareStatus::Unreadable;
                result.failedOffset = offset + got;
                result.failedRight = right;
                return false;
            }
        }
        return true;
    }
    [[nodiscard]] const std::uint8_t* Left() const { return left_.data(); }

    // Appends the bytes [first, end) of the loaded block to the preview, as far as it has room.
    void TakePreview(std::size_t first, std::size_t end, DifferencePreview& preview) const
    {
        const std::size_t n = std::min(end - first, kPreviewBytes - preview.leftCount);
        std::copy_n(left_.data() + first, n, preview.left.data() + preview.leftCount);
        std::copy_n(right_.data() + first, n, preview.right.data() + preview.rightCount);
        preview.leftCount += n;
        preview.rightCount += n;
    }

    // Fills the longer side's preview of a run reaching into the tail from the tail itself.
    [[nodiscard]] bool TakeTailPreview(std::uint64_t runStart, DifferencePreview& preview,
                                       CompareResult& result) const
    {
        const bool rightLonger = pair_.right.Size() > pair_.left.Size();
        const IReadOnlyDocument& document = rightLonger ? pair_.right : pair_.left;
        auto& bytes = rightLonger ? preview.right : preview.left;
        std::size_t& count = rightLonger ? preview.rightCount : preview.leftCount;
        const std::uint64_t offset = runStart + count;
        const auto want = static_cast<std::size_t>(
            std::min<std::uint64_t>(kPreviewBytes - count, longer_ - offset));
        const std::uint64_t got = document.ReadInto(offset, bytes.data() + count, want);
        if (got < want) {
            result.status = CompareStatus::Unreadable;
            result.failedOffset = offset + got;
            result.failedRight = rightLonger;
            return false;
        }
        count += want;
        return true;
    }
    [[nodiscard]] const std::uint8_t* Right() const { return right_.data(); }

    // Whether the byte at `offset` (< Longer()) differs.
    [[nodiscard]] std::optional<bool> Differs(std::uint64_t offset, CompareResult& result)
    {
        if (offset >= common_) {
            return true;
        }
        if (!Load(offset, 1, result)) {
            return std::nullopt;
        }
        return left_[0] != right_[0];
    }

    // The last offset before `end` (<= Common()) whose bytes differ (same == false) or agree
    // (same == true), scanning backwards block by block; nothing when there is none.
    [[nodiscard]] std::optional<std::uint64_t> FindBackward(std::uint64_t end, bool same,
                                                            CompareResult& result)
    {
        const std::uint64_t start = end;
        while (end > 0) {
            if (Stopped(result)) {
                return std::nullopt;
            }
            const std::size_t n = BlockOf(end >= block_ ? end - block_ : 0, end);
            if (!Load(end - n, n, result)) {
                return std::nullopt;
            }
            const std::size_t at = FindLast(Left(), Right(), n, same);
            if (at < n) {
                return end - n + at;
            }
            end -= n;
            Progress(start - end, start);
        }
        return std::nullopt;
    }

private:
    const ComparedPair& pair_;
    std::uint64_t common_ = 0;
    std::uint64_t longer_ = 0;
    std::size_t block_ = 0;
    std::vector<std::uint8_t> left_;
    std::vector<std::uint8_t> right_;
};

} // namespace

CompareResult VisitDifferences(const ComparedPair& pair, std::uint64_t from,
                               const DifferenceVisitor& visit, std::uint64_t end)
{
    CompareResult result;
    Scanner scanner(pair);
    const std::uint64_t common = std::min(scanner.Common(), end);
    const std::uint64_t longer = std::min(scanner.Longer(), end);
    if (from >= longer) {
        return result;
    }
    // A run that `from` continues started before it: it is not one of those asked for.
    bool skipFirst = false;
    if (from > 0) {
        const std::optional<bool> before = scanner.Differs(from - 1, result);
        if (!before) {
            return result;
        }
        skipFirst = *before;
    }
    bool inRun = false;
    std::uint64_t runStart = 0; // where the run being scanned began
    DifferencePreview preview;
    const auto emit = [&](std::uint64_t end) {
        const Difference difference{runStart, end - runStart};
        inRun = false;
        if (std::exchange(skipFirst, false) && difference.offset == from) {
            return true;
        }
        return visit(difference, preview);
    };
    std::uint64_t position = from;
    while (position < common) {
        if (scanner.Stopped(result)) {
            return result;
        }
        const std::size_t n = scanner.BlockOf(position, common);
        if (!scanner.Load(position, n, result)) {
            return result;
        }
        std::size_t i = 0;
        std::size_t segment = 0; // where the run's bytes in this block begin
        while (true) {
            i += FindFirst(scanner.Left() + i, scanner.Right() + i, n - i, inRun);
            if (inRun) {
                scanner.TakePreview(segment, i, preview);
            }
            if (i == n) {
                break;
            }
            if (!inRun) {
                inRun = true;
                runStart = position + i;
                preview = {};
                segment = i;
            } else if (!emit(position + i)) {
                return result;
            }
        }
        position += n;
        scanner.Progress(position - from, longer - from);
    }
    if (longer > common) {
        if (!inRun) {
            inRun = true;
            runStart = std::max(common, from);
            preview = {};
        }
        if (!scanner.TakeTailPreview(runStart, preview, result)) {
            return result;
        }
    }
    if (inRun) {
        (void)emit(longer);
    }
    scanner.Progress(longer - from, longer - from);
    return result;
}

CompareResult FindNextDifference(const ComparedPair& pair, std::uint64_t from)
{
    std::optional<Difference> found;
    CompareResult result =
        VisitDifferences(pair, from, [&](const Difference& difference, const DifferencePreview&) {
            found = difference;
            return false;
        });
    result.difference = found;
    return result;
}

CompareResult FindPreviousDifference(const ComparedPair& pair, std::uint64_t before)
{
    CompareResult result;
    Scanner scanner(pair);
    const std::uint64_t common = scanner.Common();
    before = std::min(before, scanner.Longer());
    if (before == 0) {
        return result;
    }
    // The last differing byte before `before`, then the first of its run.
    std::optional<std::uint64_t> last;
    if (before > common) {
        last = before - 1;
    } else {
        last = scanner.FindBackward(before, false, result);
        if (!last) {
            return result;
        }
    }
    const std::optional<std::uint64_t> agreeing =
        scanner.FindBackward(std::min(*last, common), true, result);
    if (result.status != CompareStatus::Done) {
        return result;
    }
    const std::uint64_t first = agreeing ? *agreeing + 1 : 0;
    return FindNextDifference(pair, first);
}

CompareResult CountDifferences(const ComparedPair& pair, DifferenceIndex* index)
{
    const std::uint64_t longer = std::max(pair.left.Size(), pair.right.Size());
    if (index != nullptr) {
        const std::uint64_t spread =
            (longer + DifferenceIndex::kMaxCheckpoints - 1) / DifferenceIndex::kMaxCheckpoints;
        index->stride = std::max<std::uint64_t>({1, pair.blockSize, spread});
        index->before.clear();
    }
    // Every checkpoint up to `offset` gets the count of the differences before it.
    std::uint64_t differences = 0;
    const auto checkpointsTo = [&](std::uint64_t offset) {
        while (index != nullptr && index->before.size() * index->stride <= offset) {
            index->before.push_back(differences);
        }
    };
    std::uint64_t bytes = 0;
    CompareResult result =
        VisitDifferences(pair, 0, [&](const Difference& difference, const DifferencePreview&) {
            checkpointsTo(difference.offset);
            ++differences;
            bytes += difference.length;
            return true;
        });
    if (result.status == CompareStatus::Done) {
        checkpointsTo(longer);
        result.count = differences;
        result.differingBytes = bytes;
    }
    return result;
}

CompareResult NumberDifference(const ComparedPair& pair, const DifferenceIndex& index,
                               std::uint64_t offset)
{
    const std::uint64_t stride = std::max<std::uint64_t>(1, index.stride);
    const std::uint64_t slot = std::min<std::uint64_t>(
        offset / stride, index.before.empty() ? 0 : index.before.size() - 1);
    std::uint64_t number = index.before.empty() ? 0 : index.before[slot];
    // A difference that goes on across the checkpoint started before it: counted already.
    // The scan ends with the byte at `offset`, however long its difference.
    CompareResult result = VisitDifferences(
        pair, slot * stride,
        [&](const Difference&, const DifferencePreview&) {
            ++number;
            return true;
        },
        offset + 1);
    result.number = number;
    return result;
}

} // namespace orx
