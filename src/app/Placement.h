#pragma once

#include <cstdint>
#include <optional>

namespace orx {

// A screen rectangle in pixels (left, top inclusive; right, bottom exclusive).
struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    [[nodiscard]] std::int32_t Width() const { return right - left; }
    [[nodiscard]] std::int32_t Height() const { return bottom - top; }
    [[nodiscard]] bool IsEmpty() const
    {
        return left == 0 && top == 0 && right == 0 && bottom == 0;
    }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The work area to centre in: the monitor's under the mouse, unless it is unknown or all
// zero, then the primary monitor's.
[[nodiscard]] ScreenRect ChooseWorkArea(const std::optional<ScreenRect>& monitorWorkArea,
                                        const ScreenRect& primaryWorkArea);

// Top-left corner that centres a width × height window in `area`; a window larger than the
// area goes to its top-left corner. Also used for dialogs over their owner.
[[nodiscard]] ScreenPoint CenterIn(const ScreenRect& area, std::int32_t width, std::int32_t height);

// Side windows docked to the main window: the inspector one pixel right of it, the struct
// view one pixel left of it, both as tall as the main window.
[[nodiscard]] ScreenRect DockRightOf(const ScreenRect& mainWindow, std::int32_t width);
[[nodiscard]] ScreenRect DockLeftOf(const ScreenRect& mainWindow, std::int32_t width);

} // namespace orx
