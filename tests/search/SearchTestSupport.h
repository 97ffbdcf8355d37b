#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orx::test {

// An empty mask compares every bit; otherwise only the bits set in mask[k].
inline bool MatchesAt(std::span<const std::uint8_t> text, std::span<const std::uint8_t> pattern,
                      std::size_t at, std::span<const std::uint8_t> mask = {})
{
    if (pattern.size() > text.size() || at > text.size() - pattern.size()) {
        return false;
    }
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const std::uint8_t bits = mask.empty() ? 0xFF : mask[k];
        if ((text[at + k] & bits) != (pattern[k] & bits)) {
            return false;
        }
    }
    return true;
}

// The smallest match start >= from, by trying every position.
inline std::optional<std::uint64_t> NaiveFirst(std::span<const std::uint8_t> text,
                                               std::span<const std::uint8_t> pattern,
                                               std::uint64_t from,
                                               std::span<const std::uint8_t> mask = {})
{
    for (std::uint64_t i = from; pattern.size() <= text.size() && i + pattern.size() <= text.size();
         ++i) {
        if (MatchesAt(text, pattern, static_cast<std::size_t>(i), mask)) {
            return i;
        }
    }
    return std::nullopt;
}

// The greatest match start <= limit, by trying every position.
inline std::optional<std::uint64_t> NaiveLast(std::span<const std::uint8_t> text,
                                              std::span<const std::uint8_t> pattern,
                                              std::uint64_t limit,
                                              std::span<const std::uint8_t> mask = {})
{
    if (pattern.empty() || pattern.size() > text.size()) {
        return std::nullopt;
    }
    for (std::uint64_t i = std::min<std::uint64_t>(limit, text.size() - pattern.size()) + 1;
         i-- > 0;) {
        if (MatchesAt(text, pattern, static_cast<std::size_t>(i), mask)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace orx::test
