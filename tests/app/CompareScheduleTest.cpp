#include "app/CompareSchedule.h"

#include "support/MemoryDocument.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using Kind = CompareTask::Kind;

// 64 bytes each; they differ in [0x10, 0x14) and [0x20, 0x22).
struct Pair {
    test::MemoryDocument left{std::vector<std::uint8_t>(64, 0)};
    test::MemoryDocument right{[] {
        std::vector<std::uint8_t> bytes(64, 0);
        std::fill_n(bytes.begin() + 0x10, 4, 1);
        std::fill_n(bytes.begin() + 0x20, 2, 1);
        return bytes;
    }()};
    DifferenceMarks marks{left, right};
    CompareSchedule schedule{marks};
};

// What the worker would answer for `task`, or a stopped or failed read.
enum class Answer { Run, Stopped, Unreadable };
CompareResult Answered(Pair& pair, const CompareTask& task, Answer answer)
{
    if (answer == Answer::Run) {
        return RunCompareTask(task, {pair.left, pair.right});
    }
    CompareResult result;
    result.status = answer == Answer::Stopped ? CompareStatus::Stopped : CompareStatus::Unreadable;
    return result;
}

TEST(CompareSchedule, CountsWhenIdleAndSearchesFirst)
{
    enum class Event { Resume, Pause, Edit, Next, Previous, Run, Stopped, Unreadable };
    struct Step {
        Event event;
        std::uint64_t caret;                // Next, Previous
        std::optional<Kind> started;        // the task the window is handed
        std::optional<std::uint64_t> shown; // offset of the difference to go to
        std::string_view notice;
        bool owed;
        std::optional<std::uint64_t> total;
    };
    constexpr std::string_view kStopped = "compare.status.stopped";
    // clang-format off
    const Step steps[] = {
        {Event::Resume, 0, Kind::Count, {}, {}, false, {}},
        {Event::Pause, 0, {}, {}, {}, true, {}},             // a stopped count is owed
        {Event::Resume, 0, Kind::Count, {}, {}, false, {}},
        {Event::Run, 0, {}, {}, {}, false, 2},
        {Event::Resume, 0, {}, {}, {}, false, 2},            // nothing owed
        {Event::Next, 0, Kind::Next, {}, {}, false, 2},
        {Event::Run, 0, {}, 0x10, {}, false, 2},             // the count stands
        {Event::Edit, 0, {}, {}, {}, true, {}},
        {Event::Previous, 0x30, Kind::Previous, {}, {}, true, {}},
        {Event::Pause, 0, {}, {}, kStopped, true, {}},
        {Event::Next, 0x20, Kind::Next, {}, {}, true, {}},   // a new search clears the notice
        {Event::Stopped, 0, Kind::Count, {}, kStopped, false, {}},
        {Event::Unreadable, 0, {}, {}, "compare.status.unreadable", false, {}},
        {Event::Resume, 0, {}, {}, "compare.status.unreadable", false, {}},
        {Event::Previous, 0x30, Kind::Previous, {}, {}, false, {}},
        {Event::Run, 0, Kind::Count, 0x20, {}, false, {}},   // no count yet: one starts
        {Event::Next, 0x20, Kind::Next, {}, {}, true, {}},
        {Event::Run, 0, Kind::Count, {}, "compare.status.not_found_next", false, {}},
        {Event::Run, 0, {}, {}, "compare.status.not_found_next", false, 2},
    };
    // clang-format on
    Pair pair;
    pair.schedule.Opened();
    std::optional<CompareTask> running;
    int line = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message() << "step " << ++line);
        std::optional<CompareTask> started;
        CompareSchedule::Outcome outcome;
        switch (step.event) {
        case Event::Resume: started = pair.schedule.Resume(); break;
        case Event::Pause:
        case Event::Edit: pair.schedule.Paused(step.event == Event::Edit); break;
        case Event::Next:
        case Event::Previous:
            pair.schedule.Paused(false); // as the window does before a search
            started = pair.schedule.Step(step.event == Event::Next, step.caret);
            break;
        case Event::Run:
        case Event::Stopped:
        case Event::Unreadable:
            ASSERT_TRUE(running);
            outcome = pair.schedule.Finished(Answered(pair, *running,
                                                      step.event == Event::Run ? Answer::Run
                                                      : step.event == Event::Stopped
                                                          ? Answer::Stopped
                                                          : Answer::Unreadable));
            started = outcome.next;
            break;
        }
        if (started || step.event != Event::Resume) {
            running = started;
        }
        EXPECT_EQ(started ? std::optional(started->kind) : std::nullopt, step.started);
        EXPECT_EQ(outcome.show ? std::optional(outcome.show->offset) : std::nullopt, step.shown);
        EXPECT_EQ(pair.schedule.Busy(), running.has_value());
        EXPECT_EQ(pair.schedule.Notice(), step.notice);
        EXPECT_EQ(pair.schedule.CountOwed(), step.owed);
        EXPECT_EQ(pair.schedule.Total(), step.total);
    }
}

TEST(CompareSchedule, NumbersTheDifferenceAtTheCaretOnceCounted)
{
    Pair pair;
    pair.schedule.Opened();
    const CompareTask count = *pair.schedule.Resume();
    EXPECT_FALSE(pair.schedule.Locate(pair.schedule.AtCaret(0x21))); // not counted yet
    EXPECT_EQ(pair.schedule.Status({}).job, CompareStatusInputs::Job::Counting);
    EXPECT_FALSE(pair.schedule.Finished(RunCompareTask(count, {pair.left, pair.right})).next);

    EXPECT_FALSE(pair.schedule.AtCaret(0x08));
    EXPECT_FALSE(pair.schedule.Locate(pair.schedule.AtCaret(0x08)));
    const auto atCaret = pair.schedule.AtCaret(0x21);
    ASSERT_TRUE(atCaret);
    EXPECT_EQ(atCaret->run, (Difference{0x20, 2}));
    const std::optional<CompareTask> locate = pair.schedule.Locate(atCaret);
    ASSERT_TRUE(locate);
    EXPECT_EQ(locate->kind, Kind::Locate);
    EXPECT_FALSE(pair.schedule.Locate(atCaret)); // one task at a time
    EXPECT_EQ(pair.schedule.Status(atCaret).job, CompareStatusInputs::Job::None);
    EXPECT_FALSE(pair.schedule.Status(atCaret).number);

    // A lookup stopped by input is neither owed nor a notice; the next refresh asks again.
    pair.schedule.Paused(false);
    EXPECT_FALSE(pair.schedule.CountOwed());
    EXPECT_EQ(pair.schedule.Notice(), "");
    const CompareTask again = *pair.schedule.Locate(atCaret);
    EXPECT_FALSE(pair.schedule.Finished(RunCompareTask(again, {pair.left, pair.right})).next);
    const CompareStatusInputs status = pair.schedule.Status(atCaret);
    EXPECT_EQ(status.number, 2u);
    EXPECT_EQ(status.total, 2u);
    EXPECT_FALSE(pair.schedule.Locate(atCaret)); // known
    EXPECT_EQ(pair.schedule.Status(pair.schedule.AtCaret(0x10)).number, std::nullopt);
}

} // namespace
} // namespace orx
