#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// Collects the families the font dialog offers: fixed-pitch faces only, without the
// vertical-writing "@" faces and without repeats (the system reports a family once per
// character set).
class FontFamilyList {
public:
    void Add(std::u16string_view name, bool variablePitch);
    // The names sorted without regard to case.
    [[nodiscard]] std::vector<std::u16string> Sorted() const;

private:
    std::vector<std::u16string> names_;
};

// The sizes offered, in points.
inline constexpr std::array<int, 12> kFontDialogSizes = {8,  9,  10, 11, 12, 13,
                                                         14, 16, 18, 20, 24, 28};

// The family entry to select: the one equal to `current` ignoring case, else the first.
[[nodiscard]] std::size_t PreselectFamily(const std::vector<std::u16string>& families,
                                          std::u16string_view current);
// The size entry to select: the current size rounded to the nearest point, else 8 points.
[[nodiscard]] std::size_t PreselectSize(float currentPoints);

// The font dialog's layout rules for a client width and height (device pixels at 96 DPI).
inline constexpr int kFontDialogMinWidth = 500;
inline constexpr int kFontDialogMinHeight = 220;
struct FontDialogLayout {
    int familyListWidth = 0;
    int okX = 0;
    int cancelX = 0;
    int buttonY = 0;
};
[[nodiscard]] FontDialogLayout LayoutFontDialog(int clientWidth, int clientHeight);

} // namespace orx
