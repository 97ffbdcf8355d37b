#pragma once

// Carrying a model's scroll bar (range, page, position) out to a window's scroll bar.
#include <windows.h>

namespace orx::win {

// `Bar` is any model type with minimum, maximum, page and position.
template <typename Bar>
void SetScrollBar(HWND window, int bar, const Bar& values)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = values.minimum;
    info.nMax = values.maximum;
    info.nPage = values.page;
    info.nPos = values.position;
    SetScrollInfo(window, bar, &info, TRUE);
}

} // namespace orx::win
