#pragma once

#include "structview/PatternLibrary.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// What the struct view offers for the open file: the best match of the pattern library, in
// one click, and the other matches named below it.
struct PatternOffer {
    bool any = false;
    std::size_t pattern = 0;  // index into the library
    std::uint64_t offset = 0; // where it applies
    std::u16string button;    // "PNG image: apply png.orpat"
    std::u16string others;    // "Also matches: ZIP archive (zip.orpat)", or empty
};

using TextLookup = std::function<std::u16string(std::string_view key)>;

// The offer for `matches` (best first, as MatchPatterns gives them) with the texts of
// structview.offer.apply and structview.offer.others.
[[nodiscard]] PatternOffer MakePatternOffer(const PatternLibrary& library,
                                            std::span<const PatternMatch> matches,
                                            const TextLookup& lookup);

// The Open button's menu: the file's matches first, then each category's patterns by title,
// then the patterns without a category; patterns that fail to load are left out.
struct LibraryMenuItem {
    std::u16string label; // "PNG image (png.orpat)"
    std::size_t pattern = 0;
};
struct LibraryMenuGroup {
    std::u16string title; // empty: the items stand at the top level, before the groups
    std::vector<LibraryMenuItem> items;
};
[[nodiscard]] std::vector<LibraryMenuGroup> BuildLibraryMenu(const PatternLibrary& library,
                                                             std::span<const PatternMatch> matches,
                                                             const TextLookup& lookup);

} // namespace orx
