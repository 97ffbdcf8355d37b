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

ByteMatcher::ByteMatcher(std::span<const std::uint8_t> pattern, std::span<const std::uint8_t> mask)
    : pattern_(pattern.begin(), pattern.end())
{
    const std::size_t m = pattern_.size();
    if (m == 0) {
        return;
    }
    if (mask.size() == m &&
        std::any_of(mask.begin(), mask.end(), [](std::uint8_t bits) { return bits != 0xFF; })) {
        mask_.assign(mask.begin(), mask.end());
        for (std::size_t k = 0; k < m; ++k) {
            pattern_[k] &= mask_[k];
        }
    }
    auto bitsAt = [&](std::size_t k) { return mask_.empty() ? std::uint8_t{0xFF} : mask_[k]; };
    // Fixed bits first, then the rarer byte; a wildcard byte filters nothing.
    auto rank = [&](std::size_t k) {
        return Commonness(pattern_[k]) + 2 * (8 - std::popcount(bitsAt(k)));
    };
    auto rarer = [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); };
    for (std::size_t i = 1; i < m; ++i) {
        if (rarer(i, probe1_)) {
            probe1_ = i;
        }
    }
    // The second probe should differ in value from the first, so that a run of one byte in
    // the text does not pass the filter everywhere.
    auto differs = [&](std::size_t k) {
        return ((pattern_[k] ^ pattern_[probe1_]) & bitsAt(k) & bitsAt(probe1_)) != 0;
    };
    probe2_ = probe1_;
    for (std::size_t i = 0; i < m; ++i) {
        if (i == probe1_) {
            continue;
        }
        const bool distinct = differs(i);
        const bool currentDistinct = probe2_ != probe1_ && differs(probe2_);
        if (probe2_ == probe1_ || (distinct && !currentDistinct) ||
            (distinct == currentDistinct && rarer(i, probe2_))) {
            probe2_ = i;
        }
    }
    if (mask_.empty()) {
        forwardFailure_ = FailureFunction(pattern_);
        std::vector<std::uint8_t> reversed(pattern_.rbegin(), pattern_.rend());
        backwardFailure_ = FailureFunction(reversed);
        return;
    }
    words_ = (m + 63) / 64;
    forwardTable_.assign(256 * words_, 0);
    backwardTable_.assign(256 * words_, 0);
    for (std::size_t value = 0; value < 256; ++value) {
        for (std::size_t k = 0; k < m; ++k) {
            if ((value & mask_[k]) == pattern_[k]) {
                forwardTable_[value * words_ + k / 64] |= std::uint64_t{1} << (k % 64);
                const std::size_t r = m - 1 - k;
                backwardTable_[value * words_ + r / 64] |= std::uint64_t{1} << (r % 64);
            }
        }
    }
}

bool ByteMatcher::MatchesAt(const std::uint8_t* at) const
{
    if (mask_.empty()) {
        return std::memcmp(at, pattern_.data(), pattern_.size()) == 0;
    }
    for (std::size_t k = 0; k < pattern_.size(); ++k) {
        if ((at[k] & mask_[k]) != pattern_[k]) {
            return false;
        }
    }
    return true;
}

namespace {

// Hands a match to the sink; true when the scan stops there (no list to fill).
template <class Sink>
bool Deliver(const Sink& sink, std::size_t start)
{
    if (sink.hits == nullptr) {
        return true;
    }
    sink.hits->push_back(sink.base + start);
    return false;
}

// One shift-and step over `words` words: the set of pattern prefixes that end at this byte.
void ShiftAndStep(std::uint64_t* state, const std::uint64_t* row, std::size_t words)
{
    std::uint64_t carry = 1;
    for (std::size_t w = 0; w < words; ++w) {
        const std::uint64_t next = state[w] >> 63;
        state[w] = ((state[w] << 1) | carry) & row[w];
        carry = next;
    }
}

#if ORX_HAVE_SSE2
// One filter byte, broadcast: the pattern byte and its mask.
struct Probe {
    std::size_t at;
    __m128i value;
    __m128i bits;
};

template <bool Masked>
__m128i Equal(const std::uint8_t* p, const Probe& probe)
{
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + probe.at));
    if constexpr (Masked) {
        bytes = _mm_and_si128(bytes, probe.bits);
    }
    return _mm_cmpeq_epi8(bytes, probe.value);
}

// Bit k is set when candidate `at` + k has the probe bytes, for k = 0 .. 31.
template <bool Single, bool Masked>
std::uint32_t FilterMask(const std::uint8_t* at, const Probe& probe1, const Probe& probe2)
{
    auto half = [&](const std::uint8_t* p) {
        __m128i equal = Equal<Masked>(p, probe1);
        if constexpr (!Single) {
            equal = _mm_and_si128(equal, Equal<Masked>(p, probe2));
        }
        return static_cast<std::uint32_t>(_mm_movemask_epi8(equal));
    };
    return half(at) | (half(at + 16) << 16);
}

Probe MakeProbe(std::size_t at, std::uint8_t value, std::uint8_t bits)
{
    return {at, _mm_set1_epi8(static_cast<char>(value)), _mm_set1_epi8(static_cast<char>(bits))};
}
#endif

} // namespace

template <bool Single, bool Masked>
std::size_t ByteMatcher::ScanForward(std::span<const std::uint8_t> text, std::size_t from,
                                     Sink sink) const
{
    const std::size_t m = pattern_.size();
    const std::uint8_t* t = text.data();
    const std::size_t lastStart = text.size() - m;
    const std::uint8_t b1 = pattern_[probe1_];
    const std::uint8_t b2 = pattern_[probe2_];
    const std::uint8_t k1 = Masked ? mask_[probe1_] : 0xFF;
    const std::uint8_t k2 = Masked ? mask_[probe2_] : 0xFF;
    std::size_t verified = 0;
    std::size_t i = from;
    auto overBudget = [&] {
        return verified > kVerifyBudgetBase + kVerifyBudgetPerByte * (i - from);
    };
    // A one-byte pattern needs no verification: the filter compared all of it.
    auto matches = [&](std::size_t candidate) {
        if constexpr (Single) {
            return true;
        }
        verified += m;
        return MatchesAt(t + candidate);
    };
#if ORX_HAVE_SSE2
    const Probe v1 = MakeProbe(probe1_, b1, k1);
    const Probe v2 = MakeProbe(probe2_, b2, k2);
    // 32 candidates at a time; the probe loads stay inside the reach of the last candidate.
    while (i + 32 <= lastStart + 1) {
        std::uint32_t bits = FilterMask<Single, Masked>(t + i, v1, v2);
        while (bits != 0) {
            const std::size_t candidate = i + static_cast<std::size_t>(std::countr_zero(bits));
            if (matches(candidate) && Deliver(sink, candidate)) {
                return candidate;
            }
            bits &= bits - 1;
        }
        i += 32;
        if (overBudget()) {
            return LinearFirst(text, i, sink);
        }
    }
#endif
    for (; i <= lastStart; ++i) {
        if ((t[i + probe1_] & k1) == b1 && (t[i + probe2_] & k2) == b2) {
            if (matches(i) && Deliver(sink, i)) {
                return i;
            }
            if (overBudget()) {
                return LinearFirst(text, i + 1, sink);
            }
        }
    }
    return npos;
}

template <bool Single, bool Masked>
std::size_t ByteMatcher::ScanBackward(std::span<const std::uint8_t> text, std::size_t limit) const
{
    const std::size_t m = pattern_.size();
    const std::uint8_t* t = text.data();
    const std::uint8_t b1 = pattern_[probe1_];
    const std::uint8_t b2 = pattern_[probe2_];
    const std::uint8_t k1 = Masked ? mask_[probe1_] : 0xFF;
    const std::uint8_t k2 = Masked ? mask_[probe2_] : 0xFF;
    // Candidates are tried from `end` - 1 down to 0.
    std::size_t end = std::min(limit, text.size() - m) + 1;
    const std::size_t top = end;
    std::size_t verified = 0;
    auto overBudget = [&] {
        return verified > kVerifyBudgetBase + kVerifyBudgetPerByte * (top - end);
    };
    auto matches = [&](std::size_t candidate) {
        if constexpr (Single) {
            return true;
        }
        verified += m;
        return MatchesAt(t + candidate);
    };
#if ORX_HAVE_SSE2
    const Probe v1 = MakeProbe(probe1_, b1, k1);
    const Probe v2 = MakeProbe(probe2_, b2, k2);
    while (end >= 32) {
        const std::size_t i = end - 32;
        std::uint32_t bits = FilterMask<Single, Masked>(t + i, v1, v2);
        while (bits != 0) {
            const int bit = std::bit_width(bits) - 1;
            const std::size_t candidate = i + static_cast<std::size_t>(bit);
            if (matches(candidate)) {
                return candidate;
            }
            bits &= ~(std::uint32_t{1} << bit);
        }
        end = i;
        if (overBudget()) {
            return end == 0 ? npos : LinearLast(text, end - 1);
        }
    }
#endif
    while (end > 0) {
        const std::size_t i = --end;
        if ((t[i + probe1_] & k1) == b1 && (t[i + probe2_] & k2) == b2) {
            if (matches(i)) {
                return i;
            }
            if (overBudget()) {
                return end == 0 ? npos : LinearLast(text, end - 1);
            }
        }
    }
    return npos;
}

std::size_t ByteMatcher::Forward(std::span<const std::uint8_t> text, std::size_t from,
                                 Sink sink) const
{
    const std::size_t m = pattern_.size();
    if (m == 0 || m > text.size() || from > text.size() - m) {
        return npos;
    }
    if (m == 1) {
        return mask_.empty() ? ScanForward<true, false>(text, from, sink)
                             : ScanForward<true, true>(text, from, sink);
    }
    return mask_.empty() ? ScanForward<false, false>(text, from, sink)
                         : ScanForward<false, true>(text, from, sink);
}

std::size_t ByteMatcher::FindFirst(std::span<const std::uint8_t> text, std::size_t from) const
{
    return Forward(text, from, {});
}

void ByteMatcher::FindAll(std::span<const std::uint8_t> text, std::size_t from,
                          std::vector<std::uint64_t>& hits, std::uint64_t base) const
{
    (void)Forward(text, from, {&hits, base});
}

std::size_t ByteMatcher::FindLast(std::span<const std::uint8_t> text, std::size_t limit) const
{
    const std::size_t m = pattern_.size();
    if (m == 0 || m > text.size()) {
        return npos;
    }
    if (m == 1) {
        return mask_.empty() ? ScanBackward<true, false>(text, limit)
                             : ScanBackward<true, true>(text, limit);
    }
    return mask_.empty() ? ScanBackward<false, false>(text, limit)
                         : ScanBackward<false, true>(text, limit);
}

std::size_t ByteMatcher::LinearFirst(std::span<const std::uint8_t> text, std::size_t from,
                                     Sink sink) const
{
    return mask_.empty() ? KmpFirst(text, from, sink) : ShiftAndFirst(text, from, sink);
}

std::size_t ByteMatcher::LinearLast(std::span<const std::uint8_t> text, std::size_t limit) const
{
    return mask_.empty() ? KmpLast(text, limit) : ShiftAndLast(text, limit);
}

std::size_t ByteMatcher::KmpFirst(std::span<const std::uint8_t> text, std::size_t from,
                                  Sink sink) const
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
            if (Deliver(sink, i + 1 - m)) {
                return i + 1 - m;
            }
            k = forwardFailure_[m - 1];
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

std::size_t ByteMatcher::ShiftAndFirst(std::span<const std::uint8_t> text, std::size_t from,
                                       Sink sink) const
{
    const std::size_t m = pattern_.size();
    const std::uint64_t top = std::uint64_t{1} << ((m - 1) % 64);
    std::vector<std::uint64_t> state(words_, 0);
    for (std::size_t i = from; i < text.size(); ++i) {
        ShiftAndStep(state.data(), &forwardTable_[text[i] * words_], words_);
        if ((state[words_ - 1] & top) != 0 && Deliver(sink, i + 1 - m)) {
            return i + 1 - m;
        }
    }
    return npos;
}

// Over the reversed text and pattern, like KmpLast.
std::size_t ByteMatcher::ShiftAndLast(std::span<const std::uint8_t> text, std::size_t limit) const
{
    const std::size_t m = pattern_.size();
    const std::uint64_t top = std::uint64_t{1} << ((m - 1) % 64);
    std::vector<std::uint64_t> state(words_, 0);
    for (std::size_t i = std::min(limit + m, text.size()); i-- > 0;) {
        ShiftAndStep(state.data(), &backwardTable_[text[i] * words_], words_);
        if ((state[words_ - 1] & top) != 0) {
            return i;
        }
    }
    return npos;
}

} // namespace orx
