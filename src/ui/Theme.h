#pragma once

#include <array>
#include <cstdint>

namespace orx {

// Colour theme of the editor windows. Stored as its number; unknown numbers (a damaged
// settings file) paint as Light.
enum class Theme : std::uint32_t {
    Light = 0,
    DarkBlue = 1,
    Black = 2,
};

// Straight (not premultiplied) colour with components 0..1, as Direct2D takes it.
struct ColorF {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    friend bool operator==(const ColorF&, const ColorF&) = default;
};

// The colours the hex view paints with. Marked bytes (hits, differences) lie under the
// selection, which is translucent, so both show where they meet.
struct ThemePalette {
    ColorF background;
    ColorF text;
    ColorF offset;
    ColorF selection;
    ColorF caret;
    ColorF hit;
    ColorF difference;
    // The bookmarked regions' colours, red, orange, green, blue, purple: light tints on the
    // light theme, deep shades under the light text of the dark ones.
    std::array<ColorF, 5> regions;
    ColorF field; // the struct view's selected member
    friend bool operator==(const ThemePalette&, const ThemePalette&) = default;
};

// Any value other than 0, 1, 2 behaves as Light.
[[nodiscard]] constexpr Theme ThemeFromValue(std::uint32_t value)
{
    return value == 1 ? Theme::DarkBlue : value == 2 ? Theme::Black : Theme::Light;
}

// 8-bit components divided by 255, alpha as a fraction.
[[nodiscard]] constexpr ColorF ColorFromBytes(std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                              float a = 1.0f)
{
    return ColorF{static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
                  static_cast<float>(b) / 255.0f, a};
}

// The hex view's palette; unknown themes get Light's.
[[nodiscard]] constexpr ThemePalette HexViewPalette(Theme theme)
{
    switch (ThemeFromValue(static_cast<std::uint32_t>(theme))) {
    case Theme::DarkBlue:
        return {ColorFromBytes(13, 27, 42),
                ColorFromBytes(230, 237, 243),
                ColorFromBytes(143, 183, 226),
                ColorFromBytes(31, 111, 235, 0.45f),
                ColorFromBytes(158, 193, 255),
                ColorFromBytes(122, 96, 20),
                ColorFromBytes(128, 36, 48),
                {ColorFromBytes(120, 40, 80), ColorFromBytes(125, 72, 16),
                 ColorFromBytes(30, 95, 50), ColorFromBytes(28, 72, 140),
                 ColorFromBytes(82, 52, 132)},
                ColorFromBytes(28, 100, 70)};
    case Theme::Black:
        return {ColorFromBytes(17, 17, 17),
                ColorFromBytes(243, 243, 243),
                ColorFromBytes(185, 185, 185),
                ColorFromBytes(112, 112, 112, 0.48f),
                ColorFromBytes(243, 243, 243),
                ColorFromBytes(110, 92, 0),
                ColorFromBytes(120, 30, 30),
                {ColorFromBytes(135, 30, 95), ColorFromBytes(140, 76, 0),
                 ColorFromBytes(0, 100, 40), ColorFromBytes(0, 70, 165),
                 ColorFromBytes(98, 44, 155)},
                ColorFromBytes(0, 96, 48)};
    case Theme::Light: break;
    }
    return {ColorFromBytes(246, 244, 239),
            ColorFromBytes(32, 32, 32),
            ColorFromBytes(95, 107, 118),
            ColorFromBytes(159, 197, 232, 0.75f),
            ColorFromBytes(27, 27, 27),
            ColorFromBytes(255, 226, 122),
            ColorFromBytes(246, 178, 178),
            {ColorFromBytes(250, 172, 204), ColorFromBytes(255, 200, 140),
             ColorFromBytes(178, 228, 170), ColorFromBytes(172, 206, 250),
             ColorFromBytes(212, 190, 245)},
            ColorFromBytes(176, 226, 186)};
}

// The five colours of the two side windows, the data inspector and the struct view.
struct SideWindowPalette {
    ColorF background;
    ColorF header;
    ColorF grid;
    ColorF text;
    ColorF selectedRow;
};

// Unknown themes get Light's colours.
[[nodiscard]] constexpr SideWindowPalette SideWindowPaletteFor(Theme theme)
{
    switch (ThemeFromValue(static_cast<std::uint32_t>(theme))) {
    case Theme::DarkBlue:
        return {ColorFromBytes(15, 20, 28), ColorFromBytes(42, 71, 110), ColorFromBytes(60, 70, 82),
                ColorFromBytes(230, 237, 243), ColorFromBytes(32, 52, 79)};
    case Theme::Black:
        return {ColorFromBytes(17, 17, 17), ColorFromBytes(45, 45, 45), ColorFromBytes(72, 72, 72),
                ColorFromBytes(243, 243, 243), ColorFromBytes(56, 56, 56)};
    case Theme::Light: break;
    }
    return {ColorFromBytes(250, 250, 250), ColorFromBytes(224, 232, 242),
            ColorFromBytes(194, 198, 205), ColorFromBytes(32, 32, 32),
            ColorFromBytes(214, 228, 246)};
}

} // namespace orx
