#include "app/FindAllSessionState.h"

#include "app/ProgressThrottle.h"

#include <utility>

namespace orx {

void FindAllSessionState::Start(std::uint64_t hitLength, std::u16string query,
                                std::uint64_t revision)
{
    hits_.Reset(hitLength);
    listed_ = true;
    running_ = true;
    status_ = SearchStatus::NotFound;
    query_ = std::move(query);
    revision_ = revision;
    percent_ = 0;
    job_ = 0;
    refreshed_.reset();
}

bool FindAllSessionState::Append(std::span<const std::uint64_t> offsets, std::uint64_t first,
                                 std::uint64_t end)
{
    if (offsets.empty()) {
        return false;
    }
    hits_.Append(offsets);
    // Ascending: the batch meets the span unless it lies wholly before or after it.
    return offsets.front() < end && offsets.back() + hits_.HitLength() > first;
}

void FindAllSessionState::Progress(std::uint64_t done, std::uint64_t total)
{
    if (total > 0) {
        percent_ = ProgressPercent(done, total);
    }
}

bool FindAllSessionState::RefreshDue(std::uint64_t now)
{
    if (refreshed_ && now - *refreshed_ < kRefreshMilliseconds) {
        return false;
    }
    refreshed_ = now;
    return true;
}

void FindAllSessionState::Finish(SearchStatus status)
{
    running_ = false;
    status_ = status;
}

void FindAllSessionState::Close()
{
    listed_ = false;
    running_ = false;
    hits_.Reset(1);
}

bool FindAllSessionState::DocumentChanged(std::uint64_t revision)
{
    if (!listed_ || running_ || hits_.OutOfDate() || revision == revision_) {
        return false;
    }
    hits_.Reset(hits_.HitLength());
    hits_.MarkOutOfDate();
    return true;
}

std::optional<std::uint64_t> FindAllSessionState::HitOffset(std::uint64_t index) const
{
    if (index >= hits_.Count()) { // an out-of-date list is empty
        return std::nullopt;
    }
    return hits_.At(index);
}

FindAllState FindAllSessionState::CaptionState() const
{
    if (running_) {
        return FindAllState::Running;
    }
    if (hits_.OutOfDate()) {
        return FindAllState::OutOfDate;
    }
    return status_ == SearchStatus::Cancelled ? FindAllState::Stopped : FindAllState::Done;
}

std::u16string FindAllSessionState::Caption(const StringLookup& lookup) const
{
    return FindAllCaption(CaptionState(), query_, hits_.Count(), percent_, lookup);
}

std::u16string FindAllSessionState::StatusText(const StringLookup& lookup) const
{
    if (!listed_ || hits_.OutOfDate()) {
        return {};
    }
    return HitCountText(hits_.Count(), lookup);
}

} // namespace orx
