#include "search/ByteMatcher.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define ORX_HAVE_SSE2 1
#else
#define ORX_HAVE_SSE2 0
#endif

namespace orx {
namespace {

// How common a byte tends to be in files people search (lower is rarer): zero and 0xFF fill
// binaries, spaces and lower-case letters fill text. Only the order matters; it picks the
// filter bytes so that typical data yields few candidates.
int Commonness(std::uint8_t b)
{
    if (b == 0x00 || b == 0xFF || b == ' ')
        return 6;
    if (b >= 'a' && b <= 'z')
        return 5;
    if (b == '\n' || b == '\r' || b == '\t' || (b >= '0' && b <= '9'))
        return 4;
    if (b >= 'A' && b <= 'Z')
        return 3;
    if (b < 0x80)
        return 2;
    return 1;
}

std::vector<std::uint32_t> FailureFunction(const std::vector<std::uint8_t>& p)
{
    std::vector<std::uint32_t> failure(p.size(), 0);
    std::uint32_t k = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        while (k > 0 && p[i] != p[k]) {
            k = failure[k - 1];
        }
        if (p[i] == p[k]) {
            ++k;
        }
        failure[i] = k;
    }
    return failure;
}

// Verification work a filter may spend per scanned byte before the linear scan takes over.
constexpr std::size_t kVerifyBudgetPerByte = 4;
constexpr std::size_t kVerifyBudgetBase = 1 << 16;

} // namespace

ByteMatcher::ByteMatcher(std::span<const std::uint8_t> pattern)
    : pattern_(pattern.begin(), pattern.end())
{
    const std::size_t m = pattern_.size();
    if (m == 0) {
        return;
    }
    auto rarer = [&](std::size_t a, std::size_t b) {
        return Commonness(pattern_[a]) < Commonness(pattern_[b]);
    };
    for (std::size_t i = 1; i < m; ++i) {
        if (rarer(i, probe1_)) {
            probe1_ = i;
        }
    }
    // The second probe should differ in value from the first, so that a run of one byte in
    // the text does not pass the filter everywhere.
    probe2_ = probe1_;
    for (std::size_t i = 0; i < m; ++i) {
        if (i == probe1_) {
            continue;
        }
        const bool distinct = pattern_[i] != pattern_[probe1_];
        const bool currentDistinct = probe2_ != probe1_ && pattern_[probe2_] != pattern_[probe1_];
        if (probe2_ == probe1_ || (distinct && !currentDistinct) ||
            (distinct == currentDistinct && rarer(i, probe2_))) {
            probe2_ = i;
        }
    }
    forwardFailure_ = FailureFunction(pattern_);
    std::vector<std::uint8_t> reversed(pattern_.rbegin(), pattern_.rend());
    backwardFailure_ = FailureFunction(reversed);
}

bool ByteMatcher::MatchesAt(const std::uint8_t* at) const
{
    return std::memcmp(at, pattern_.data(), pattern_.size()) == 0;
}

#if ORX_HAVE_SSE2
namespace {

// Bit k is set when candidate `at` + k has the probe bytes, for k = 0 .. 31.
template <bool Single>
std::uint32_t FilterMask(const std::uint8_t* at, std::size_t probe1, std::size_t probe2, __m128i v1,
                         __m128i v2)
{
    auto half = [&](const std::uint8_t* p) {
        __m128i equal =
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + probe1)), v1);
        if constexpr (!Single) {
            equal = _mm_and_si128(
                equal,
                _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + probe2)), v2));
        }
        return static_cast<std::uint32_t>(_mm_movemask_epi8(equal));
    };
    return half(at) | (half(at + 16) << 16);
}

} // namespace
#endif

template <bool Single>
std::size_t ByteMatcher::ScanForward(std::span<const std::uint8_t> text, std::size_t from) const
{
    const std::size_t m = pattern_.size();
    const std::uint8_t* t = text.data();
    const std::size_t lastStart = text.size() - m;
    const std::uint8_t b1 = pattern_[probe1_];
    const std::uint8_t b2 = pattern_[probe2_];
    std::size_t verified = 0;
    std::size_t i = from;
    auto overBudget = [&] {
        return verified > kVerifyBudgetBase + kVerifyBudgetPerByte * (i - from);
    };
#if ORX_HAVE_SSE2
    const __m128i v1 = _mm_set1_epi8(static_cast<char>(b1));
    const __m128i v2 = _mm_set1_epi8(static_cast<char>(b2));
    // 32 candidates at a time; the probe loads stay inside the reach of the last candidate.
    while (i + 32 <= lastStart + 1) {
        std::uint32_t mask = FilterMask<Single>(t + i, probe1_, probe2_, v1, v2);
        while (mask != 0) {
            const std::size_t candidate = i + static_cast<std::size_t>(std::countr_zero(mask));
            verified += m;
            if (Single || MatchesAt(t + candidate)) {
                return candidate;
            }
            mask &= mask - 1;
        }
        i += 32;
        if (overBudget()) {
            return KmpFirst(text, i);
        }
    }
#endif
    for (; i <= lastStart; ++i) {
        if (t[i + probe1_] == b1 && t[i + probe2_] == b2) {
            verified += m;
            if (MatchesAt(t + i)) {
                return i;
            }
            if (overBudget()) {
                return KmpFirst(text, i + 1);
            }
        }
    }
    return npos;
}

template <bool Single>
std::size_t ByteMatcher::ScanBackward(std::span<const std::uint8_t> text, std::size_t limit) const
{
    const std::size_t m = pattern_.size();
    const std::uint8_t* t = text.data();
    const std::uint8_t b1 = pattern_[probe1_];
    const std::uint8_t b2 = pattern_[probe2_];
    // Candidates are tried from `end` - 1 down to 0.
    std::size_t end = std::min(limit, text.size() - m) + 1;
    const std::size_t top = end;
    std::size_t verified = 0;
    auto overBudget = [&] {
        return verified > kVerifyBudgetBase + kVerifyBudgetPerByte * (top - end);
    };
#if ORX_HAVE_SSE2
    const __m128i v1 = _mm_set1_epi8(static_cast<char>(b1));
    const __m128i v2 = _mm_set1_epi8(static_cast<char>(b2));
    while (end >= 32) {
        const std::size_t i = end - 32;
        std::uint32_t mask = FilterMask<Single>(t + i, probe1_, probe2_, v1, v2);
        while (mask != 0) {
            const int bit = std::bit_width(mask) - 1;
            const std::size_t candidate = i + static_cast<std::size_t>(bit);
            verified += m;
            if (Single || MatchesAt(t + candidate)) {
                return candidate;
            }
            mask &= ~(std::uint32_t{1} << bit);
        }
        end = i;
        if (overBudget()) {
            return end == 0 ? npos : KmpLast(text, end - 1);
        }
    }
#endif
    while (end > 0) {
        const std::size_t i = --end;
        if (t[i + probe1_] == b1 && t[i + probe2_] == b2) {
            verified += m;
            if (MatchesAt(t + i)) {
                return i;
            }
            if (overBudget()) {
                return end == 0 ? npos : KmpLast(text, end - 1);
            }
        }
    }
    return npos;
}

std::size_t ByteMatcher::FindFirst(std::span<const std::uint8_t> text, std::size_t from) const
{
    const std::size_t m = pattern_.size();
    if (m == 0 || m > text.size() || from > text.size() - m) {
        return npos;
    }
    return m == 1 ? ScanForward<true>(text, from) : ScanForward<false>(text, from);
}

std::size_t ByteMatcher::FindLast(std::span<const std::uint8_t> text, std::size_t limit) const
{
    const std::size_t m = pattern_.size();
    if (m == 0 || m > text.size()) {
        return npos;
    }
    return m == 1 ? ScanBackward<true>(text, limit) : ScanBackward<false>(text, limit);
}

std::size_t ByteMatcher::KmpFirst(std::span<const std::uint8_t> text, std::size_t from) const
{
    const std::size_t m = pattern_.size();
    std::size_t k = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        while (k > 0 && text[i] != pattern_[k]) {
            k = forwardFailure_[k - 1];
        }
        if (text[i] == pattern_[k]) {
            ++k;
        }
        if (k == m) {
            return i + 1 - m;
        }
    }
    return npos;
}

// The same scan over the reversed text and pattern, from the last byte a match starting at
// `limit` would cover, downwards.
std::size_t ByteMatcher::KmpLast(std::span<const std::uint8_t> text, std::size_t limit) const
{
    const std::size_t m = pattern_.size();
    std::size_t k = 0;
    for (std::size_t i = std::min(limit + m, text.size()); i-- > 0;) {
        while (k > 0 && text[i] != pattern_[m - 1 - k]) {
            k = backwardFailure_[k - 1];
        }
        if (text[i] == pattern_[m - 1 - k]) {
            ++k;
        }
        if (k == m) {
            return i;
        }
    }
    return npos;
}

} // namespace orx
