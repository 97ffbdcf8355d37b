#include "app/CompareSchedule.h"

#include "app/ProgressThrottle.h"

namespace orx {

CompareResult RunCompareTask(const CompareTask& task, const ComparedPair& pair)
{
    switch (task.kind) {
    case CompareTask::Kind::Next: return FindNextDifference(pair, task.from);
    case CompareTask::Kind::Previous: return FindPreviousDifference(pair, task.from);
    case CompareTask::Kind::Locate: return NumberDifference(pair, *task.index, task.from);
    case CompareTask::Kind::Count: break;
    }
    return CountDifferences(pair, task.fill.get());
}

void CompareSchedule::Opened()
{
    running_.reset();
    countOwed_ = true;
    total_.reset();
    index_.reset();
    pendingIndex_.reset();
    number_.reset();
    found_.reset();
    atCaret_.reset();
    notice_ = {};
}

void CompareSchedule::Paused(bool edit)
{
    if (running_) {
        if (*running_ == CompareTask::Kind::Count) {
            countOwed_ = true;
        } else if (*running_ != CompareTask::Kind::Locate) {
            notice_ = "compare.status.stopped";
        }
        running_.reset();
    }
    if (edit) {
        countOwed_ = true;
        total_.reset();
        found_.reset();
        index_.reset();
        number_.reset();
    }
}

std::optional<CompareTask> CompareSchedule::Resume()
{
    // The document may have been edited or opened anew.
    atCaret_.reset();
    if (countOwed_ && !running_) { // a result waiting to be taken in stays
        return StartCount();
    }
    return std::nullopt;
}

CompareTask CompareSchedule::Step(bool forward, std::uint64_t caret)
{
    notice_ = {};
    return Begin({forward ? CompareTask::Kind::Next : CompareTask::Kind::Previous,
                  forward ? caret + 1 : caret, nullptr, nullptr});
}

CompareTask CompareSchedule::Begin(CompareTask task)
{
    running_ = task.kind;
    percent_ = 0;
    return task;
}

CompareTask CompareSchedule::StartCount()
{
    countOwed_ = false;
    total_.reset();
    pendingIndex_ = std::make_shared<DifferenceIndex>();
    return Begin({CompareTask::Kind::Count, 0, pendingIndex_, nullptr});
}

void CompareSchedule::Progress(std::uint64_t done, std::uint64_t total)
{
    percent_ = ProgressPercent(done, total);
}

CompareSchedule::Outcome CompareSchedule::Finished(const CompareResult& result)
{
    Outcome outcome;
    if (!running_) {
        return outcome; // dropped by a pause
    }
    const CompareTask::Kind finished = *std::exchange(running_, std::nullopt);
    const bool count = finished == CompareTask::Kind::Count;
    if (result.status == CompareStatus::Unreadable) {
        notice_ = "compare.status.unreadable";
        return outcome; // reading again would fail again
    }
    if (result.status == CompareStatus::Stopped) {
        if (count) {
            countOwed_ = true;
        } else if (finished != CompareTask::Kind::Locate) {
            notice_ = "compare.status.stopped";
        }
    } else if (count) {
        total_ = result.count;
        index_ = std::move(pendingIndex_);
        number_.reset();
    } else if (finished == CompareTask::Kind::Locate) {
        number_.emplace(locating_, result.number);
    } else if (result.difference) {
        found_ = result.difference;
        outcome.show = result.difference;
    } else {
        notice_ = finished == CompareTask::Kind::Next ? "compare.status.not_found_next"
                                                      : "compare.status.not_found_previous";
    }
    if (!count && (countOwed_ || !total_)) {
        outcome.next = StartCount();
    }
    return outcome;
}

std::optional<DifferenceMarks::Nearby> CompareSchedule::AtCaret(std::uint64_t caret)
{
    if (found_ && found_->offset <= caret && caret < found_->End()) {
        return DifferenceMarks::Nearby{*found_, false, false};
    }
    if (!atCaret_ || atCaret_->first != caret) {
        atCaret_.emplace(caret, marks_.Around(caret, kCaretReach));
    }
    return atCaret_->second;
}

std::optional<CompareTask>
CompareSchedule::Locate(const std::optional<DifferenceMarks::Nearby>& atCaret)
{
    if (!atCaret || atCaret->openStart || !total_ || running_ || !index_ ||
        (number_ && number_->first == atCaret->run.offset)) {
        return std::nullopt;
    }
    locating_ = atCaret->run.offset;
    return Begin({CompareTask::Kind::Locate, locating_, nullptr, index_});
}

CompareStatusInputs
CompareSchedule::Status(const std::optional<DifferenceMarks::Nearby>& atCaret) const
{
    CompareStatusInputs inputs;
    inputs.atCaret = atCaret;
    if (atCaret && !atCaret->openStart && total_ && number_ &&
        number_->first == atCaret->run.offset) {
        inputs.number = number_->second;
    }
    using Job = CompareStatusInputs::Job;
    inputs.job = !running_ || *running_ == CompareTask::Kind::Locate ? Job::None
                 : *running_ == CompareTask::Kind::Count             ? Job::Counting
                                                                     : Job::Searching;
    inputs.percent = percent_;
    inputs.total = total_;
    inputs.notice = notice_;
    return inputs;
}

bool CompareSchedule::Searching() const
{
    return running_ == CompareTask::Kind::Next || running_ == CompareTask::Kind::Previous;
}

} // namespace orx
