#pragma once

#include "hexview/ByteMarks.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orx {

// The colours a region can have; each theme defines how it paints (ThemePalette::regions).
enum class RegionColour : std::uint8_t {
    Red = 0,
    Orange = 1,
    Green = 2,
    Blue = 3,
    Purple = 4,
};

inline constexpr std::size_t kRegionColourCount = 5;

// One table for the writer and the reader of the bookmarks file.
inline constexpr std::array<std::string_view, kRegionColourCount> kRegionColourNames = {
    "red", "orange", "green", "blue", "purple"};

// The string keys of the colours' names, in the order of RegionColour.
inline constexpr std::array<const char*, kRegionColourCount> kRegionColourKeys = {
    "bookmarks.colour.red", "bookmarks.colour.orange", "bookmarks.colour.green",
    "bookmarks.colour.blue", "bookmarks.colour.purple"};

[[nodiscard]] constexpr std::string_view RegionColourName(RegionColour colour)
{
    return kRegionColourNames[static_cast<std::size_t>(colour) % kRegionColourCount];
}

[[nodiscard]] constexpr std::optional<RegionColour> RegionColourNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kRegionColourCount; ++i) {
        if (kRegionColourNames[i] == name) {
            return static_cast<RegionColour>(i);
        }
    }
    return std::nullopt;
}

[[nodiscard]] constexpr MarkKind MarkKindOf(RegionColour colour)
{
    return static_cast<MarkKind>(static_cast<std::uint8_t>(MarkKind::RegionFirst) +
                                 static_cast<std::uint8_t>(colour) % kRegionColourCount);
}

} // namespace orx
