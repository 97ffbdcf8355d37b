#include "app/Placement.h"

#include <algorithm>

namespace orx {

ScreenRect ChooseWorkArea(const std::optional<ScreenRect>& monitorWorkArea,
                          const ScreenRect& primaryWorkArea)
{
    if (!monitorWorkArea || monitorWorkArea->IsEmpty()) {
        return primaryWorkArea;
    }
    return *monitorWorkArea;
}

ScreenPoint CenterIn(const ScreenRect& area, std::int32_t width, std::int32_t height)
{
    // 64-bit arithmetic: extents of hostile rectangles must not overflow.
    const std::int64_t dx =
        std::max<std::int64_t>(0, (static_cast<std::int64_t>(area.right) - area.left - width) / 2);
    const std::int64_t dy =
        std::max<std::int64_t>(0, (static_cast<std::int64_t>(area.bottom) - area.top - height) / 2);
    return {static_cast<std::int32_t>(area.left + dx), static_cast<std::int32_t>(area.top + dy)};
}

ScreenRect DockRightOf(const ScreenRect& mainWindow, std::int32_t width)
{
    return {mainWindow.right + 1, mainWindow.top, mainWindow.right + 1 + width, mainWindow.bottom};
}

ScreenRect DockLeftOf(const ScreenRect& mainWindow, std::int32_t width)
{
    return {mainWindow.left - width - 1, mainWindow.top, mainWindow.left - 1, mainWindow.bottom};
}

} // namespace orx
