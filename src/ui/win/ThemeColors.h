#pragma once

// Theme colours for GDI, which takes them as COLORREF, and plain fills with them.
#include "ui/Theme.h"

#include <windows.h>

#include <cmath>

namespace orx::win {

[[nodiscard]] inline COLORREF ToColorRef(const ColorF& color)
{
    const auto byte = [](float value) { return static_cast<BYTE>(std::lround(value * 255.0f)); };
    return RGB(byte(color.r), byte(color.g), byte(color.b));
}

// Fills `rect` with one colour through the DC's own brush: no brush to make or free.
inline void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    SetDCBrushColor(dc, color);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

} // namespace orx::win
