#include "hexview/win/GdiFirstFrame.h"

#include "ui/win/ThemeColors.h"
#include "ui/win/WinHandles.h"

#include <cmath>

namespace orx::win {
namespace {

// GDI has no alpha: a translucent colour is mixed with the background it is drawn over.
COLORREF Over(const ColorF& color, const ColorF& background)
{
    const auto mix = [&](float top, float bottom) {
        return top * color.a + bottom * (1.0f - color.a);
    };
    return ToColorRef(
        {mix(color.r, background.r), mix(color.g, background.g), mix(color.b, background.b), 1.0f});
}

class GdiRows {
public:
    GdiRows(HDC dc, const ThemePalette& palette, float scale)
        : dc_(dc), palette_(palette), scale_(scale)
    {}

    void Fill(const RectF& box, COLORREF color) const { FillSolid(dc_, Pixels(box), color); }

    void Outline(const RectF& box, COLORREF color) const
    {
        SetDCBrushColor(dc_, color);
        const RECT rect = Pixels(box);
        FrameRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }

    void Text(const std::u16string& text, float x, float y, COLORREF color) const
    {
        SetTextColor(dc_, color);
        ExtTextOutW(dc_, Pixel(x), Pixel(y), 0, nullptr,
                    reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<UINT>(text.size()),
                    nullptr);
    }

    void Row(const PaintRow& row) const
    {
        for (const PaintMark& mark : row.marks) {
            Fill(mark.box,
                 ToColorRef(mark.kind == MarkKind::Hit ? palette_.hit : palette_.difference));
        }
        const COLORREF selection = Over(palette_.selection, palette_.background);
        for (const RectF& band : row.selection) {
            Fill(band, selection);
        }
        const PaintCaret& caret = row.caret;
        for (const RectF& box : {caret.hex, caret.text}) {
            if (caret.style == CaretStyle::Box) {
                Fill(box, selection);
                Outline(box, ToColorRef(palette_.caret));
            } else if (caret.style == CaretStyle::Bar) {
                Fill(box, ToColorRef(palette_.caret));
            }
        }
        for (const PaintCell& cell : row.offsetCells) {
            Text(cell.text, cell.box.left, cell.box.top, ToColorRef(palette_.offset));
        }
        for (const PaintCell& cell : row.hexCells) {
            Text(cell.text, cell.box.left, cell.box.top, ToColorRef(palette_.text));
        }
        for (const PaintTextCell& cell : row.textCells) {
            Text(cell.text, cell.x, cell.y, ToColorRef(palette_.text));
        }
    }

private:
    [[nodiscard]] int Pixel(float dips) const
    {
        return static_cast<int>(std::lround(dips * scale_));
    }
    [[nodiscard]] RECT Pixels(const RectF& box) const
    {
        return {Pixel(box.left), Pixel(box.top), Pixel(box.right), Pixel(box.bottom)};
    }

    HDC dc_;
    const ThemePalette& palette_;
    float scale_;
};

} // namespace

void DrawFirstFrameWithGdi(HDC dc, const RECT& client, const PaintModel& frame,
                           const std::wstring& family, float fontSizeDips, bool bold, bool italic,
                           float scale)
{
    FillSolid(dc, client, ToColorRef(frame.palette.background));
    const FontHandle font(CreateFontW(
        -static_cast<int>(std::lround(fontSizeDips * scale)), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
        italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, family.c_str()));
    const HGDIOBJ old = SelectObject(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const GdiRows rows(dc, frame.palette, scale);
    for (const PaintRow& row : frame.rows) {
        rows.Row(row);
    }
    SelectObject(dc, old);
}

} // namespace orx::win
