#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

namespace orx {

// How far a job has come: `done` of `total` units (bytes, say); total 0 when unknown.
struct JobProgress {
    std::uint64_t done = 0;
    std::uint64_t total = 0;
};

// Runs one long job at a time on a thread of its own (a checksum over a file, Find All, a
// comparison) while the thread that started it stays free. The job reports progress, may
// hand over items as it finds them, and returns a result; it is asked to stop through a
// std::stop_token, which it polls between pieces of work.
//
// What the job reports waits in a mailbox until the owner collects it: the newest progress
// only (older progress is superseded, never queued), every handed item in order, and the
// result once. Whenever the mailbox turns from empty to non-empty, `notify` runs on the
// job's thread (a window posts itself a message there); it runs again only after the
// owner has collected. So at most one notification is outstanding however fast the job
// reports, and nothing the job reports is lost: the collection that answers a notification
// takes whatever arrived meanwhile too.
//
// Start, RequestStop, Wait and Collect belong to the owner's thread; the context's calls to
// the job's thread. Destroying the runner asks a running job to stop and waits for it.
template <typename Result, typename Item = std::monostate>
class JobRunner {
public:
    // What the job calls while it runs; lives on the job's thread.
    class Context {
    public:
        [[nodiscard]] std::stop_token StopToken() const { return stop_; }
        [[nodiscard]] bool StopRequested() const { return stop_.stop_requested(); }
        void Progress(std::uint64_t done, std::uint64_t total)
        {
            runner_.Post([&](Mailbox& box) { box.progress = JobProgress{done, total}; });
        }
        void Hand(Item item)
        {
            runner_.Post([&](Mailbox& box) { box.items.push_back(std::move(item)); });
        }

    private:
        friend class JobRunner;
        Context(JobRunner& runner, std::stop_token stop) : runner_(runner), stop_(std::move(stop))
        {}
        JobRunner& runner_;
        std::stop_token stop_;
    };

    using Job = std::function<Result(Context&)>;
    using Notify = std::function<void()>;

    // What one collection takes out of the mailbox.
    struct News {
        std::uint64_t job = 0;               // the number Start gave the job; 0: none yet
        std::optional<JobProgress> progress; // the newest, when there was any since the last
        std::vector<Item> items;             // handed over since the last collection
        std::optional<Result> result;        // once, when the job has returned
        [[nodiscard]] bool Finished() const { return result.has_value(); }
    };

    explicit JobRunner(Notify notify) : notify_(std::move(notify)) {}
    ~JobRunner() { Wait(true); }
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;
    JobRunner(JobRunner&&) = delete;
    JobRunner& operator=(JobRunner&&) = delete;

    // Starts `job` on a new thread and returns its number (1, 2, ...). A job still running
    // is asked to stop and waited for first, and whatever it left uncollected is dropped.
    // Failing to start a thread throws std::system_error.
    std::uint64_t Start(Job job)
    {
        Wait(true);
        std::uint64_t number = 0;
        {
            std::lock_guard lock(mutex_);
            box_ = Mailbox{};
            number = ++started_;
            box_.job = number;
            running_ = true;
            notified_ = false;
        }
        thread_ = std::jthread([this, job = std::move(job)](std::stop_token stop) mutable {
            Context context(*this, std::move(stop));
            Result result = job(context);
            Post([&](Mailbox& box) {
                box.result = std::move(result);
                running_ = false;
            });
        });
        return number;
    }

    // Asks the running job to stop; returns at once. The job still returns its result.
    void RequestStop() { thread_.request_stop(); }

    // Waits until the job has returned (asking it to stop first when `stop`). The result
    // stays in the mailbox for Collect.
    void Wait(bool stop = false)
    {
        if (stop) {
            RequestStop();
        }
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // Whether a job has been started and has not returned yet.
    [[nodiscard]] bool Running() const
    {
        std::lock_guard lock(mutex_);
        return running_;
    }

    // Takes everything the mailbox holds and re-arms the notification.
    [[nodiscard]] News Collect()
    {
        std::lock_guard lock(mutex_);
        News news;
        news.job = box_.job;
        news.progress = std::exchange(box_.progress, std::nullopt);
        news.items = std::exchange(box_.items, {});
        news.result = std::exchange(box_.result, std::nullopt);
        notified_ = false;
        return news;
    }

private:
    struct Mailbox {
        std::uint64_t job = 0;
        std::optional<JobProgress> progress;
        std::vector<Item> items;
        std::optional<Result> result;
    };

    // Changes the mailbox under the lock and notifies, outside it, when this is the first
    // change since the last collection.
    template <typename Change>
    void Post(Change&& change)
    {
        bool first = false;
        {
            std::lock_guard lock(mutex_);
            change(box_);
            first = !std::exchange(notified_, true);
        }
        if (first && notify_) {
            notify_();
        }
    }

    Notify notify_;
    mutable std::mutex mutex_;
    Mailbox box_;
    std::uint64_t started_ = 0;
    bool running_ = false;
    bool notified_ = false;
    // Last, so that the thread starts after everything above exists and is joined (by the
    // destructor's Wait) before any of it goes.
    std::jthread thread_;
};

} // namespace orx
