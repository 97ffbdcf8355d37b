#include "worker/JobRunner.h"

#include "worker/Gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orx {
namespace {

// What a window's message queue does for the runner: counts the notifications and wakes
// whoever waits for one.
class Doorbell {
public:
    void Ring()
    {
        std::lock_guard lock(mutex_);
        ++rings_;
        rang_.notify_all();
    }
    // Waits until more than `seen` rings happened; false after ten seconds.
    bool AwaitMoreThan(int seen)
    {
        std::unique_lock lock(mutex_);
        return rang_.wait_for(lock, std::chrono::seconds(10), [&] { return rings_ > seen; });
    }
    int Rings()
    {
        std::lock_guard lock(mutex_);
        return rings_;
    }

private:
    std::mutex mutex_;
    std::condition_variable rang_;
    int rings_ = 0;
};

using test::Gate;

using Runner = JobRunner<std::string, int>;

// Collects until the result is there (waiting for each notification), gathering the items
// and counting the collections.
Runner::News CollectAll(Runner& runner, Doorbell& bell, std::vector<int>* items = nullptr,
                        int* collections = nullptr)
{
    for (;;) {
        const int seen = bell.Rings();
        Runner::News news = runner.Collect();
        if (collections != nullptr) {
            ++*collections;
        }
        if (items != nullptr) {
            items->insert(items->end(), news.items.begin(), news.items.end());
        }
        if (news.Finished()) {
            return news;
        }
        if (!bell.AwaitMoreThan(seen)) {
            ADD_FAILURE() << "no notification for ten seconds";
            return news;
        }
    }
}

TEST(JobRunner, ProgressIsTheNewestItemsComeInOrderAndTheResultOnce)
{
    Doorbell bell;
    Runner runner([&] { bell.Ring(); });
    Gate gate;
    const std::uint64_t number = runner.Start([&](Runner::Context& context) {
        context.Progress(1, 10);
        context.Hand(1);
        context.Progress(5, 10);
        context.Hand(2);
        gate.Pass();
        context.Hand(3);
        context.Progress(10, 10);
        return std::string("done");
    });
    EXPECT_EQ(number, 1u);
    gate.AwaitVisitor(); // everything before the gate is reported
    EXPECT_EQ(bell.Rings(), 1) << "one notification until the owner collects";
    Runner::News first = runner.Collect();
    ASSERT_TRUE(first.progress);
    EXPECT_EQ(first.progress->done, 5u) << "older progress is superseded";
    EXPECT_EQ(first.items, (std::vector<int>{1, 2}));
    EXPECT_FALSE(first.Finished());
    EXPECT_TRUE(runner.Running());

    gate.Open();
    ASSERT_TRUE(bell.AwaitMoreThan(1));
    runner.Wait();
    EXPECT_FALSE(runner.Running());
    Runner::News last = runner.Collect();
    EXPECT_EQ(last.items, std::vector<int>{3});
    ASSERT_TRUE(last.progress);
    EXPECT_EQ(last.progress->done, 10u);
    ASSERT_TRUE(last.Finished());
    EXPECT_EQ(*last.result, "done");

    const Runner::News empty = runner.Collect();
    EXPECT_FALSE(empty.progress);
    EXPECT_TRUE(empty.items.empty());
    EXPECT_FALSE(empty.Finished()) << "the result is handed over once";
}

TEST(JobRunner, AStopRequestOrTheRunnersEndReachesTheJob)
{
    Doorbell bell;
    Runner runner([&] { bell.Ring(); });
    std::atomic<int> rounds{0};
    runner.Start([&](Runner::Context& context) {
        while (!context.StopRequested()) {
            context.Progress(static_cast<std::uint64_t>(++rounds), 0);
            std::this_thread::yield();
        }
        return std::string("stopped after ") + std::to_string(rounds.load());
    });
    ASSERT_TRUE(bell.AwaitMoreThan(0));
    runner.RequestStop();
    const Runner::News news = CollectAll(runner, bell);
    ASSERT_TRUE(news.Finished());
    EXPECT_EQ(news.result->rfind("stopped after ", 0), 0u);
    EXPECT_GT(rounds.load(), 0);

    // Destroying the runner stops a running job and waits for it.
    std::atomic<bool> ended{false};
    {
        Runner destroyed([] {});
        destroyed.Start([&](Runner::Context& context) {
            while (!context.StopRequested()) {
                std::this_thread::yield();
            }
            ended = true;
            return std::string();
        });
    }
    EXPECT_TRUE(ended.load());
}

TEST(JobRunner, StartingAgainStopsTheRunningJobAndDropsWhatItLeft)
{
    Doorbell bell;
    Runner runner([&] { bell.Ring(); });
    std::atomic<bool> firstSawStop{false};
    runner.Start([&](Runner::Context& context) {
        context.Hand(1);
        while (!context.StopRequested()) {
            std::this_thread::yield();
        }
        firstSawStop = true;
        return std::string("first");
    });
    ASSERT_TRUE(bell.AwaitMoreThan(0));
    const std::uint64_t second = runner.Start([](Runner::Context& context) {
        context.Hand(2);
        return std::string("second");
    });
    EXPECT_TRUE(firstSawStop.load());
    EXPECT_EQ(second, 2u);
    std::vector<int> items;
    const Runner::News news = CollectAll(runner, bell, &items);
    EXPECT_EQ(news.job, 2u);
    EXPECT_EQ(*news.result, "second");
    EXPECT_EQ(items, std::vector<int>{2}) << "nothing of the first job";
}

// The job reports as fast as it can while the owner collects on its own schedule: every item
// arrives once and in order, and notifications never outnumber collections by more than one.
TEST(JobRunner, EverythingReportedArrivesWhileTheOwnerCollectsConcurrently)
{
    Doorbell bell;
    Runner runner([&] { bell.Ring(); });
    constexpr int kItems = 20000;
    runner.Start([](Runner::Context& context) {
        for (int i = 0; i < kItems; ++i) {
            context.Hand(i);
            context.Progress(static_cast<std::uint64_t>(i + 1), kItems);
        }
        return std::string("all");
    });
    std::vector<int> items;
    int collections = 0;
    const Runner::News last = CollectAll(runner, bell, &items, &collections);
    EXPECT_EQ(*last.result, "all");
    EXPECT_LE(bell.Rings(), collections + 1) << "a notification before the last was collected";
    ASSERT_EQ(items.size(), static_cast<std::size_t>(kItems));
    for (int i = 0; i < kItems; ++i) {
        ASSERT_EQ(items[static_cast<std::size_t>(i)], i);
    }
}

} // namespace
} // namespace orx
