#include "compare/ByteCompare.h"

#include <bit>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define ORX_COMPARE_SSE2 1
#endif

namespace orx {
namespace {

#if ORX_COMPARE_SSE2
constexpr std::size_t kLane = 16;

// Bit i set when byte i of the 16 at a and b is one we look for.
unsigned Wanted(const std::uint8_t* a, const std::uint8_t* b, bool same)
{
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    const auto equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
    return same ? equal : (~equal & 0xFFFFu);
}

// Whether any of the 64 bytes at a and b differ: four vectors folded into one test, so
// that long equal stretches (the common case) cost one branch per cache line.
bool AnyDifference64(const std::uint8_t* a, const std::uint8_t* b)
{
    const auto load = [](const std::uint8_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    const __m128i e0 = _mm_cmpeq_epi8(load(a), load(b));
    const __m128i e1 = _mm_cmpeq_epi8(load(a + 16), load(b + 16));
    const __m128i e2 = _mm_cmpeq_epi8(load(a + 32), load(b + 32));
    const __m128i e3 = _mm_cmpeq_epi8(load(a + 48), load(b + 48));
    const __m128i all = _mm_and_si128(_mm_and_si128(e0, e1), _mm_and_si128(e2, e3));
    return _mm_movemask_epi8(all) != 0xFFFF;
}
#endif

} // namespace

std::size_t FindFirst(const std::uint8_t* a, const std::uint8_t* b, std::size_t n, bool same)
{
    std::size_t i = 0;
#if ORX_COMPARE_SSE2
    if (!same) {
        while (i + 64 <= n && !AnyDifference64(a + i, b + i)) {
            i += 64;
        }
    }
    for (; i + kLane <= n; i += kLane) {
        if (const unsigned mask = Wanted(a + i, b + i, same)) {
            return i + static_cast<std::size_t>(std::countr_zero(mask));
        }
    }
#endif
    for (; i < n; ++i) {
        if ((a[i] == b[i]) == same) {
            return i;
        }
    }
    return n;
}

std::size_t FindLast(const std::uint8_t* a, const std::uint8_t* b, std::size_t n, bool same)
{
    std::size_t end = n;
#if ORX_COMPARE_SSE2
    if (!same) {
        while (end >= 64 && !AnyDifference64(a + end - 64, b + end - 64)) {
            end -= 64;
        }
    }
    for (; end >= kLane; end -= kLane) {
        if (const unsigned mask = Wanted(a + end - kLane, b + end - kLane, same)) {
            // The highest set bit of the 32-bit mask is the last wanted byte of the 16.
            return end - kLane + static_cast<std::size_t>(31 - std::countl_zero(mask));
        }
    }
#endif
    while (end > 0) {
        --end;
        if ((a[end] == b[end]) == same) {
            return end;
        }
    }
    return n;
}

} // namespace orx
