#pragma once

#include "hexview/PaintModel.h"
#include "ui/win/GlyphRunText.h"

#include <windows.h>

#include <dwrite.h>

#include <string>

namespace orx::win {

// What the first frame draws its characters with: the view's DirectWrite factory and grid
// font when it has them (either may be null), else a GDI font of `family`.
struct FirstFrameFont {
    IDWriteFactory* factory = nullptr;
    const GridFont* grid = nullptr;
    std::wstring family;
    float sizeDips = 0.0f;
    bool bold = false;
    bool italic = false;
};

// Draws the model's paint list with GDI into `dc` (client pixels, `scale` pixels per DIP):
// the background, then per row the selection, the caret, the offset, hex and text cells.
// The view's very first frame is drawn so: under Wine, Direct2D takes a second or more to
// draw its first frame (it starts Direct3D on the CPU and compiles its shaders), and the rows
// should not wait for that. When the DC holds a 32-bit top-down DIB section and the grid font
// is there, the characters are the glyph runs Direct2D's frame draws next, rasterised by
// DirectWrite with the same rendering mode and antialiasing and blended into the pixels as
// Direct2D blends them, so that its frame repaints the rows unchanged; otherwise, and for
// cells a glyph run cannot hold, GDI draws the text.
void DrawFirstFrameWithGdi(HDC dc, const RECT& client, const PaintModel& frame,
                           const FirstFrameFont& font, float scale);

} // namespace orx::win
