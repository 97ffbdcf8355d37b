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

// Where the compare window goes, and where the main window moves to make room for it (the
// side windows follow it). Its frame is `width` × `height` at most the work area, centred
// on the main window and slid sideways into the work area; vertically, the first that
// covers none of the group: below it, above it, below it after moving the group up (or
// down) as little as it takes. When none does, it goes to the bottom of the work area, over
// the lower part of the group, which stays where it is.
struct ComparePlacement {
    ScreenRect frame;
    ScreenRect main;
    friend bool operator==(const ComparePlacement&, const ComparePlacement&) = default;
};
[[nodiscard]] ComparePlacement PlaceCompareWindow(const ScreenRect& workArea,
                                                  const WindowGroup& group, std::int32_t width,
                                                  std::int32_t height);

} // namespace orx
