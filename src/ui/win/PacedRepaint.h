#pragma once

// A PaintPacer carried out with a window timer, for windows that repaint on every result
// of a background worker.
#include "ui/TimerIds.h"
#include "worker/PaintPacer.h"

#include <windows.h>

#include <chrono>

namespace orx::win {

class PacedRepaint {
public:
    [[nodiscard]] static double NowMs()
    {
        return std::chrono::duration<double, std::milli>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // Whether the window may invalidate what changed now. Otherwise the timer is set (or
    // already was) and OnTimer says when.
    [[nodiscard]] bool MayPaintNow(HWND window)
    {
        if (waiting_) {
            return false;
        }
        const double delay = pacer_.DelayMs(NowMs());
        if (delay <= 0.0) {
            return true;
        }
        // Without a timer to wait with, paint now rather than never.
        waiting_ = SetTimer(window, kTimerPacedRepaint, static_cast<UINT>(delay) + 1, nullptr) != 0;
        return !waiting_;
    }

    // For WM_TIMER: true when the wait is over and the window should invalidate now.
    [[nodiscard]] bool OnTimer(HWND window, WPARAM id)
    {
        if (id != kTimerPacedRepaint) {
            return false;
        }
        KillTimer(window, kTimerPacedRepaint);
        waiting_ = false;
        return true;
    }

    [[nodiscard]] bool Waiting() const { return waiting_; }

    // Runs one paint and times it.
    template <typename PaintFunction>
    void Paint(PaintFunction&& paint)
    {
        const double start = NowMs();
        paint();
        pacer_.Painted(start, NowMs());
    }

    // A new window: no timer of the old one is pending.
    void Reset() { waiting_ = false; }

private:
    PaintPacer pacer_;
    bool waiting_ = false;
};

} // namespace orx::win
