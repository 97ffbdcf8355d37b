#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orx {

// Throttles the percentage shown while a save or a search runs, so that progress reports
// from many small writes do not flood the status bar.
struct ProgressThrottle {
    static constexpr std::uint64_t kNone = ~std::uint64_t{0};
    std::uint64_t lastPercent = kNone;
    std::uint64_t lastTick = 0;

    void Reset() { *this = ProgressThrottle{}; }
};

// done × 100 / total, 100 when total is 0, at most 100.
[[nodiscard]] std::uint64_t ProgressPercent(std::uint64_t done, std::uint64_t total);

// The percentage to show now, or nothing when the update is skipped: the same percentage
// within 100 ms, or an intermediate one (neither 0 nor 100) within 50 ms of the last shown
// update. Showing it records percent and tick in `state`.
[[nodiscard]] std::optional<std::uint64_t> NextProgressUpdate(ProgressThrottle& state,
                                                              std::uint64_t done,
                                                              std::uint64_t total,
                                                              std::uint64_t nowTick);

// "<label> <percent>%", e.g. "Saving 42%".
[[nodiscard]] std::u16string ProgressText(const std::u16string& label, std::uint64_t percent);

} // namespace orx
