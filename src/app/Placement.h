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

// One docked side window as placement sees it: whether it is on, the width it has and the
// least width it accepts (its minimum tracking width).
struct SideWindowSpan {
    bool on = false;
    std::int32_t width = 0;
    std::int32_t minimum = 0;
};

// The main window and the side windows docked to it: the struct view on the left, the
// data inspector on the right. A side window that is off has an empty frame.
struct WindowGroup {
    ScreenRect main;
    ScreenRect left;
    ScreenRect right;
    friend bool operator==(const WindowGroup&, const WindowGroup&) = default;
};

// Where the side windows go beside `main`, each one pixel away and as tall as it.
[[nodiscard]] WindowGroup DockSideWindows(const ScreenRect& main, const SideWindowSpan& left,
                                          const SideWindowSpan& right);

// The group moved and narrowed so that it lies inside `workArea`: side windows narrow
// toward their minimum first, then the main window toward `mainMinimumWidth`; then the group
// slides sideways and the main window up and shortens, as little as it takes. A group whose
// minimums are wider than the area keeps them and starts at the area's left edge.
[[nodiscard]] WindowGroup FitWindowGroup(const ScreenRect& workArea, const ScreenRect& main,
                                         const SideWindowSpan& left, const SideWindowSpan& right,
                                         std::int32_t mainMinimumWidth);

// The group with the main window maximised: its frame is the work area less the side
// windows that are on, so that all of them stay on the screen. Side windows narrow only as
// far as the main window needs to keep `mainMinimumWidth`.
[[nodiscard]] WindowGroup MaximizedWindowGroup(const ScreenRect& workArea,
                                               const SideWindowSpan& left,
                                               const SideWindowSpan& right,
                                               std::int32_t mainMinimumWidth);

} // namespace orx
