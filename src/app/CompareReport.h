#pragma once

#include "localization/StringLookup.h"
#include "app/Placement.h"
#include "compare/DifferenceMarks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orx {

// Everything the compare window's status line depends on.
struct CompareStatusInputs {
    enum class Job { None, Counting, Searching };
    Job job = Job::None;
    std::uint64_t percent = 0;
    std::optional<std::uint64_t> total;  // differences, once the count has finished
    std::optional<std::uint64_t> number; // of the difference at the caret, among `total`
    std::optional<DifferenceMarks::Nearby> atCaret;
    std::uint64_t size = 0;  // of the longer document: decides how offsets are written
    std::string_view notice; // string key of what the last search or count ended with
};

// "Difference 0x000001F0–0x000001F3 (4 bytes)   17 differences in all": the search's
// progress or notice first, then the difference at the caret, then the count or its progress.
[[nodiscard]] std::u16string CompareStatusText(const CompareStatusInputs& inputs,
                                               const StringLookup& lookup);

// The compare window's title: "LEFT ↔ RIGHT - Compare" with the files' last components.
[[nodiscard]] std::u16string CompareTitle(std::u16string_view leftPath,
                                          std::u16string_view rightPath,
                                          const StringLookup& lookup);

// Where the compare window goes: `width` × `height` at most the work area, below the main
// window when there is room, otherwise at the bottom of the work area over the main window's
// lower part; centred on the main window, slid sideways into the work area.
[[nodiscard]] ScreenRect CompareWindowFrame(const ScreenRect& workArea, const ScreenRect& main,
                                            std::int32_t width, std::int32_t height);

} // namespace orx
