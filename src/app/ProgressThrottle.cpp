#include "app/ProgressThrottle.h"

#include <limits>
#include <string>

namespace orx {

namespace {

constexpr std::uint64_t kSamePercentInterval = 100;
constexpr std::uint64_t kIntermediateInterval = 50;

} // namespace

std::uint64_t ProgressPercent(std::uint64_t done, std::uint64_t total) {
    if (total == 0 || done >= total) {
        return 100;
    }
    if (done <= std::numeric_limits<std::uint64_t>::max() / 100) {
        return done * 100 / total;
    }
    // done × 100 would overflow; total is then above 10^17 and total / 100 loses nothing visible.
    return done / (total / 100);
}

std::optional<std::uint64_t> NextProgressUpdate(ProgressThrottle& state, std::uint64_t done, std::uint64_t total,
                                                std::uint64_t nowTick) {
    const std::uint64_t percent = ProgressPercent(done, total);
    const std::uint64_t elapsed = nowTick >= state.lastTick ? nowTick - state.lastTick : 0;
    if (percent == state.lastPercent && elapsed < kSamePercentInterval) {
        return std::nullopt;
    }
    if (percent > 0 && percent < 100 && elapsed < kIntermediateInterval) {
        return std::nullopt;
    }
    state.lastPercent = percent;
    state.lastTick = nowTick;
    return percent;
}

std::u16string ProgressText(const std::u16string& label, std::uint64_t percent) {
    std::u16string text = label + u" ";
    for (const char c : std::to_string(percent)) {
        text.push_back(static_cast<char16_t>(c));
    }
    return text + u"%";
}

} // namespace orx
