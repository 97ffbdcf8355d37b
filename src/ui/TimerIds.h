#pragma once

#include <cstdint>

namespace orx {

// The ids of the editor's window timers, numbered in one place. An id need only differ from
// the others set on the same window, so the table is grouped by window.

// The main window, where the status bar and the watch on the open file keep their timers.
inline constexpr std::uintptr_t kTimerStatusFlash = 1;   // ends a flashed status text
inline constexpr std::uintptr_t kTimerFileCheck = 2;     // looks at the file on disk
inline constexpr std::uintptr_t kTimerReloadNotice = 3;  // ends the "reloaded" notice
inline constexpr std::uintptr_t kTimerStartupFinish = 4; // when the first paint never comes

// The hex view.
inline constexpr std::uintptr_t kTimerCaretBlink = 1;

// The compare window: the background count starts again after an input.
inline constexpr std::uintptr_t kTimerCompareResume = 1;

// The side windows that repaint at a paced rate (data inspector, struct view); far from the
// small numbers so that a window can also keep timers of its own.
inline constexpr std::uintptr_t kTimerPacedRepaint = 0x7061;

} // namespace orx
