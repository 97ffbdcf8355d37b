#pragma once

// Placement's screen rectangles and Win32's RECT, one for the other.
#include "app/Placement.h"

#include <windows.h>

namespace orx {

[[nodiscard]] inline ScreenRect ToScreenRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

[[nodiscard]] inline RECT ToRect(const ScreenRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace orx
