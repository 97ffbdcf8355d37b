#include "app/ProgressThrottle.h"

#include <limits>
#include <utility>
#include <string>

namespace orx {

namespace {

constexpr std::uint64_t kSamePercentInterval = 100;
constexpr std::uint64_t kIntermediateInterval = 50;

// The full 128-bit product of a and b as (high, low) words.
std::pair<std::uint64_t, std::uint64_t> Multiply(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow;
    const std::uint64_t cross = (lowLow >> 32) + (aHigh * bLow & 0xFFFFFFFFu) + aLow * bHigh;
    const std::uint64_t high = aHigh * bHigh + (aHigh * bLow >> 32) + (cross >> 32);
    return {high, (cross << 32) | (lowLow & 0xFFFFFFFFu)};
}

} // namespace

std::uint64_t ProgressPercent(std::uint64_t done, std::uint64_t total)
{
    if (total == 0 || done >= total) {
        return 100;
    }
    if (done <= std::numeric_limits<std::uint64_t>::max() / 100) {
        return done * 100 / total;
    }
    // done × 100 does not fit in 64 bits: the largest p with p × total <= done × 100.
    const auto scaled = Multiply(done, 100);
    std::uint64_t percent = 0;
    while (percent < 99 && Multiply(percent + 1, total) <= scaled) {
        ++percent;
    }
    return percent;
}

std::optional<std::uint64_t> NextProgressUpdate(ProgressThrottle& state, std::uint64_t done,
                                                std::uint64_t total, std::uint64_t nowTick)
{
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

std::u16string ProgressText(const std::u16string& label, std::uint64_t percent)
{
    std::u16string text = label + u" ";
    for (const char c : std::to_string(percent)) {
        text.push_back(static_cast<char16_t>(c));
    }
    return text + u"%";
}

} // namespace orx
