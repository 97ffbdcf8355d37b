#pragma once

// Layout in the windows is written in pixels at 96 DPI and scaled to the window's DPI.
#include <windows.h>

namespace orx::win {

inline constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI;

// The DPI of the monitor the window is on; the default for no window.
[[nodiscard]] inline UINT WindowDpi(HWND window)
{
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : kDefaultDpi;
}

// A length at 96 DPI scaled to `dpi`, rounded to the nearest pixel.
[[nodiscard]] inline int ScaleForDpi(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

} // namespace orx::win
