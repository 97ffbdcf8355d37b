#pragma once

#include "hexview/Theme.h"

namespace orx {

// The five colours the data inspector paints with.
struct InspectorPalette {
    ColorF background;
    ColorF header;
    ColorF grid;
    ColorF text;
    ColorF selectedRow;
};

// Unknown themes get Light's colours.
[[nodiscard]] constexpr InspectorPalette InspectorPaletteFor(Theme theme)
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
