#pragma once

#include "worker/LatestRequestWorker.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace orx {

// A LatestRequestWorker whose results travel to a window as a posted message, lParam being
// the heap result. The receiver takes it back with Receive, which makes it the owner.
// A result that cannot be posted is freed on the worker; results still queued when the
// worker stops are taken out of the queue and freed, since a destroyed window's messages
// would otherwise go with it, unfreed.
template <typename Request, typename Result>
class WindowWorker {
public:
    using Worker = LatestRequestWorker<Request, Result>;
    using Delivered = std::unique_ptr<WorkerResult<Result>>;

    explicit WindowWorker(UINT message) : message_(message) {}
    ~WindowWorker() { Stop(); }
    WindowWorker(const WindowWorker&) = delete;
    WindowWorker& operator=(const WindowWorker&) = delete;

    // Starts the thread. Results are posted to the window given to SetTarget (freed while
    // there is none).
    void Start(typename Worker::Compute compute)
    {
        worker_.emplace(std::move(compute), [this](Delivered result) { Post(std::move(result)); });
    }

    void SetTarget(HWND window) { target_.store(window); }

    // Nothing is computed before Start or after Stop. See LatestRequestWorker for `settle`.
    void Submit(Request request, std::chrono::milliseconds settle = {})
    {
        if (worker_) {
            (void)worker_->Submit(std::move(request), settle);
        }
    }

    void DropPending()
    {
        if (worker_) {
            worker_->DropPending();
        }
    }

    // Ends and joins the thread, then frees what it posted and nobody received. UI thread.
    void Stop()
    {
        if (!worker_) {
            return;
        }
        worker_->Stop();
        worker_.reset();
        if (HWND target = target_.exchange(nullptr)) {
            MSG message{};
            while (PeekMessageW(&message, target, message_, message_, PM_REMOVE)) {
                const Delivered unread = Receive(message.lParam);
            }
        }
    }

    [[nodiscard]] bool IsCurrent(std::uint64_t number) const
    {
        return worker_ && worker_->IsCurrent(number);
    }

    // From within compute only (see LatestRequestWorker::Overtaken).
    [[nodiscard]] bool Overtaken() const { return worker_ && worker_->Overtaken(); }

    // Takes ownership of the result a message carried.
    [[nodiscard]] static Delivered Receive(LPARAM lParam)
    {
        return Delivered(reinterpret_cast<WorkerResult<Result>*>(lParam));
    }

private:
    void Post(Delivered result)
    {
        HWND target = target_.load();
        if (target != nullptr &&
            PostMessageW(target, message_, 0, reinterpret_cast<LPARAM>(result.get())) != FALSE) {
            (void)result.release(); // the receiver owns it now
        }
    }

    const UINT message_;
    std::atomic<HWND> target_{nullptr};
    std::optional<Worker> worker_;
};

} // namespace orx
