#pragma once

#include "hexview/PaintModel.h"

#include <windows.h>

#include <string>

namespace orx::win {

// Draws the model's paint list with GDI into `dc` (client pixels, `scale` pixels per DIP):
// the background, then per row the selection, the caret, the offset, hex and text cells,
// in the font `family` at the model's size. The view's very first frame is drawn so: under
// Wine, Direct2D takes a second or more to draw its first frame (it starts Direct3D on the
// CPU and compiles its shaders), and the rows should not wait for that. The next paint is
// Direct2D's, which draws the same rows with its own antialiasing.
void DrawFirstFrameWithGdi(HDC dc, const RECT& client, const PaintModel& frame,
                           const std::wstring& family, float fontSizeDips, bool bold, bool italic,
                           float scale);

} // namespace orx::win
