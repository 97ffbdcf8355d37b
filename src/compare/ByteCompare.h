#pragma once

#include <cstddef>
#include <cstdint>

namespace orx {

// Scans of two equal-length byte arrays, 16 bytes at a time where the processor allows.
// Each returns an index in [0, n]; n means "none".

// The first index where a and b differ (same == false) or agree (same == true).
[[nodiscard]] std::size_t FindFirst(const std::uint8_t* a, const std::uint8_t* b, std::size_t n,
                                    bool same);
// The last index where a and b differ (same == false) or agree (same == true).
[[nodiscard]] std::size_t FindLast(const std::uint8_t* a, const std::uint8_t* b, std::size_t n,
                                   bool same);

} // namespace orx
