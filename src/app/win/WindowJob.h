#pragma once

#include "worker/JobRunner.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <utility>
#include <variant>

namespace orx {

// A JobRunner whose notifications are messages posted to a window, which collects the news
// when one arrives. The message carries nothing: one that comes late (after the window has
// collected already, or after the job was replaced) finds an empty or newer mailbox, and
// one that finds no window goes nowhere without leaking anything.
template <typename Result, typename Item = std::monostate>
class WindowJob {
public:
    using Runner = JobRunner<Result, Item>;
    using News = typename Runner::News;

    explicit WindowJob(UINT message) : message_(message), runner_([this] { Post(); }) {}
    ~WindowJob() { Stop(); }
    WindowJob(const WindowJob&) = delete;
    WindowJob& operator=(const WindowJob&) = delete;

    // Where the notifications go; none while no window is set.
    void SetTarget(HWND window) { target_.store(window); }

    std::uint64_t Start(typename Runner::Job job) { return runner_.Start(std::move(job)); }
    void RequestStop() { runner_.RequestStop(); }
    [[nodiscard]] bool Running() const { return runner_.Running(); }
    [[nodiscard]] News Collect() { return runner_.Collect(); }

    // Stops the job and waits for it, then takes the notifications still queued for the
    // window out of its queue. UI thread.
    void Stop()
    {
        runner_.Wait(true);
        if (HWND target = target_.exchange(nullptr)) {
            MSG message{};
            while (PeekMessageW(&message, target, message_, message_, PM_REMOVE)) {
            }
        }
    }

private:
    void Post()
    {
        if (HWND target = target_.load()) {
            PostMessageW(target, message_, 0, 0);
        }
    }

    const UINT message_;
    std::atomic<HWND> target_{nullptr};
    // Last: its thread is joined before the members above go.
    Runner runner_;
};

} // namespace orx
