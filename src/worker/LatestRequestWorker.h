#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace orx {

// What a worker hands back: the number of the request it answers and the computed value.
// It travels by pointer (through a window message, say); whoever holds the unique_ptr
// owns it, so it is freed exactly once whichever way it goes.
template <typename Result>
struct WorkerResult {
    std::uint64_t number = 0;
    Result value;
};

// A background thread that computes answers to the newest request only. Requests replace
// one another in a single pending slot, so a burst of requests (an arrow key held down)
// costs one computation per moment the worker is free, never a queue. The result goes to
// the deliver callback, on the worker thread; the receiver compares its number with
// IsCurrent, since a newer request may have been made while it travelled.
//
// The counter only grows and is read without the lock; everything else lives under the
// mutex. Compute and deliver run outside the lock, so Submit never waits for them.
template <typename Request, typename Result>
class LatestRequestWorker {
public:
    using Compute = std::function<Result(const Request&)>;
    using Deliver = std::function<void(std::unique_ptr<WorkerResult<Result>>)>;

    // Starts the thread. Failing to start one throws std::system_error, which nothing
    // handles: without its workers the application cannot run.
    LatestRequestWorker(Compute compute, Deliver deliver)
        : compute_(std::move(compute)), deliver_(std::move(deliver)), thread_([this] { Run(); })
    {}

    ~LatestRequestWorker() { Stop(); }

    LatestRequestWorker(const LatestRequestWorker&) = delete;
    LatestRequestWorker& operator=(const LatestRequestWorker&) = delete;
    LatestRequestWorker(LatestRequestWorker&&) = delete;
    LatestRequestWorker& operator=(LatestRequestWorker&&) = delete;

    // Stores `request` as the one pending job (replacing any older pending one) and wakes
    // the worker. Returns the request's number. After Stop the request is not kept.
    // A request with a `settle` time starts only once no newer request came for that long:
    // an expensive job is not begun for every step of a burst that will replace it.
    std::uint64_t Submit(Request request, std::chrono::milliseconds settle = {})
    {
        std::uint64_t number = 0;
        {
            std::lock_guard lock(mutex_);
            // Numbered under the lock, so the slot always holds the highest number given.
            number = latest_.load(std::memory_order_relaxed) + 1;
            latest_.store(number, std::memory_order_release);
            if (stop_) {
                return number;
            }
            pending_.emplace(Pending{number, std::move(request), settle});
        }
        wake_.notify_one();
        return number;
    }

    // Forgets the pending request, if any. A computation already under way (or settling)
    // still delivers.
    void DropPending()
    {
        std::lock_guard lock(mutex_);
        pending_.reset();
    }

    // Ends the thread and waits for it: the pending request is dropped, and a result
    // computed after this call is freed instead of delivered (a delivery already under way
    // finishes first). Safe to call more than once, but never from deliver or compute.
    void Stop()
    {
        RequestStop();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // The first half of Stop, without waiting: two workers can be told to end together
    // and then joined one after the other.
    void RequestStop()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            pending_.reset();
        }
        wake_.notify_all();
    }

    // Whether `number` is still the newest request: results of older ones are stale.
    [[nodiscard]] bool IsCurrent(std::uint64_t number) const
    {
        return number == latest_.load(std::memory_order_acquire);
    }

    // From within compute only: whether a newer request came since the one being computed,
    // so that a long computation can give up (its result would be thrown away).
    [[nodiscard]] bool Overtaken() const { return !IsCurrent(computing_); }

    // The number of the newest request so far (0 before the first).
    [[nodiscard]] std::uint64_t LatestNumber() const
    {
        return latest_.load(std::memory_order_acquire);
    }

private:
    void Run()
    {
        for (;;) {
            std::optional<Pending> job;
            {
                // Something to do: a request to take, or a newer one while one settles.
                const auto woken = [this] { return stop_ || pending_.has_value(); };
                std::unique_lock lock(mutex_);
                wake_.wait(lock, woken);
                if (stop_) {
                    return;
                }
                job = std::move(pending_);
                pending_.reset();
                if (job->settle.count() > 0 && wake_.wait_for(lock, job->settle, woken)) {
                    continue; // a newer request (or Stop) came first: this one is never begun
                }
            }
            computing_ = job->number;
            auto result = std::make_unique<WorkerResult<Result>>(
                WorkerResult<Result>{job->number, compute_(job->request)});
            {
                // A result finished after Stop has nobody left to receive it, and one
                // overtaken by a newer request would only be thrown away on arrival.
                std::lock_guard lock(mutex_);
                if (stop_) {
                    return;
                }
                if (!IsCurrent(result->number)) {
                    continue;
                }
            }
            deliver_(std::move(result));
        }
    }

    struct Pending {
        std::uint64_t number = 0;
        Request request;
        std::chrono::milliseconds settle{};
    };

    Compute compute_;
    Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Pending> pending_;
    bool stop_ = false;
    // Written under the mutex, read without it.
    std::atomic<std::uint64_t> latest_{0};
    std::uint64_t computing_ = 0; // the worker thread's own: the request compute has
    // Last, so that it starts once everything above is initialised.
    std::thread thread_;
};

} // namespace orx
