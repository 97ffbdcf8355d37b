#pragma once

// Theme colours for GDI, which takes them as COLORREF.
#include "ui/Theme.h"

#include <windows.h>

#include <cmath>

namespace orx::win {

[[nodiscard]] inline COLORREF ToColorRef(const ColorF& color)
{
    const auto byte = [](float value) { return static_cast<BYTE>(std::lround(value * 255.0f)); };
    return RGB(byte(color.r), byte(color.g), byte(color.b));
}

} // namespace orx::win
