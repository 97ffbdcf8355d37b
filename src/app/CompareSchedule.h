#pragma once

#include "app/CompareReport.h"
#include "compare/CompareEngine.h"
#include "compare/DifferenceMarks.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace orx {

// One piece of work for the compare window's worker.
struct CompareTask {
    enum class Kind { Count, Next, Previous, Locate };
    Kind kind = Kind::Count;
    std::uint64_t from = 0;
    // Count: the index it fills; Locate: the index it reads. The task holds its own
    // references: the schedule may drop or replace its own while the task runs.
    std::shared_ptr<DifferenceIndex> fill;
    std::shared_ptr<const DifferenceIndex> index;
};

// Runs `task` on `pair` (on the worker's thread).
[[nodiscard]] CompareResult RunCompareTask(const CompareTask& task, const ComparedPair& pair);

// What the compare window does and when: one task at a time, searches (F6, Shift+F6) before
// the count of all differences, which runs whenever nothing else does and is owed again
// when it was stopped or an edit made it stale; the number of the difference at the caret,
// looked up from the count's index. The window carries the tasks out on its worker, stops
// the worker before input that may edit, and shows the status these decisions lead to.
class CompareSchedule {
public:
    explicit CompareSchedule(const DifferenceMarks& marks) : marks_(marks) {}

    // A new pair is compared: nothing known yet, a count owed.
    void Opened();
    // The window closed: no task runs.
    void Closed() { running_.reset(); }

    // The worker was stopped before input (the running task, if any, is dropped: a count is
    // owed again, a search shows that it stopped). After an `edit` every figure is stale.
    void Paused(bool edit);
    // The tasks returned below are taken as started: the window hands each to its worker.

    // The message queue came back after a pause: the count, when owed and nothing runs.
    [[nodiscard]] std::optional<CompareTask> Resume();
    // F6 (forward) or Shift+F6 from `caret`, once the worker is paused.
    [[nodiscard]] CompareTask Step(bool forward, std::uint64_t caret);

    void Progress(std::uint64_t done, std::uint64_t total);
    // The running task returned. `show`: a difference a search found, for the views to go to;
    // `next`: the count, when it is owed and may start now.
    struct Outcome {
        std::optional<Difference> show;
        std::optional<CompareTask> next;
    };
    [[nodiscard]] Outcome Finished(const CompareResult& result);

    // The difference at `caret`: the one a search last went to, otherwise the marks' (looked
    // up again only when the caret moved or after a resume: progress asks many times a
    // second).
    [[nodiscard]] std::optional<DifferenceMarks::Nearby> AtCaret(std::uint64_t caret);
    // The lookup of the number of the difference `atCaret`, when it is wanted, not known yet
    // and the worker is free for it.
    [[nodiscard]] std::optional<CompareTask>
    Locate(const std::optional<DifferenceMarks::Nearby>& atCaret);
    // The status line's inputs but the size.
    [[nodiscard]] CompareStatusInputs
    Status(const std::optional<DifferenceMarks::Nearby>& atCaret) const;

    // A task runs (or its result has not been taken in yet).
    [[nodiscard]] bool Busy() const { return running_.has_value(); }
    [[nodiscard]] bool Searching() const;
    [[nodiscard]] const std::optional<std::uint64_t>& Total() const { return total_; }
    [[nodiscard]] bool CountOwed() const { return countOwed_; }
    [[nodiscard]] std::string_view Notice() const { return notice_; }

    // How far either way the caret's difference is looked for.
    static constexpr std::uint64_t kCaretReach = 64 * 1024;

private:
    [[nodiscard]] CompareTask Begin(CompareTask task);
    [[nodiscard]] CompareTask StartCount();

    const DifferenceMarks& marks_;
    std::optional<CompareTask::Kind> running_;
    bool countOwed_ = false; // a count was stopped or is stale: start one when idle
    std::optional<std::uint64_t> total_;
    // The last count's index, the one the running count fills, and the number of the
    // difference starting at an offset, as last looked up.
    std::shared_ptr<const DifferenceIndex> index_;
    std::shared_ptr<DifferenceIndex> pendingIndex_;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> number_;
    std::uint64_t locating_ = 0;
    std::optional<Difference> found_; // the last difference F6 or Shift+F6 went to
    std::optional<std::pair<std::uint64_t, std::optional<DifferenceMarks::Nearby>>> atCaret_;
    std::uint64_t percent_ = 0;
    std::string_view notice_; // string key of how the last search ended; empty: none
};

} // namespace orx
