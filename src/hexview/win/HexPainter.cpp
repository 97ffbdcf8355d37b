#include "hexview/win/HexPainter.h"

#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace orx::win {
namespace {

using Microsoft::WRL::ComPtr;

D2D1_RECT_F ToD2D(const RectF& rect)
{
    return D2D1::RectF(rect.left, rect.top, rect.right, rect.bottom);
}

D2D1_COLOR_F ToD2D(const ColorF& color)
{
    return D2D1::ColorF(color.r, color.g, color.b, color.a);
}

const wchar_t* Chars(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Colour fonts for emoji; natural measuring as in the metrics.
constexpr D2D1_DRAW_TEXT_OPTIONS kTextOptions = D2D1_DRAW_TEXT_OPTIONS_ENABLE_COLOR_FONT;

class ClipScope {
public:
    ClipScope(ID2D1RenderTarget& target, const RectF& clip) : target_(target)
    {
        target_.PushAxisAlignedClip(ToD2D(clip), D2D1_ANTIALIAS_MODE_ALIASED);
    }
    ~ClipScope() { target_.PopAxisAlignedClip(); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    ID2D1RenderTarget& target_;
};

class RowPainter {
public:
    RowPainter(ID2D1RenderTarget& target, IDWriteFactory& factory, IDWriteTextFormat& format,
               const GridFont* grid, const PaintBrushes& brushes, const RectF& area)
        : target_(target), factory_(factory), format_(format), grid_(grid), brushes_(brushes),
          area_(area)
    {}

    void Paint(const PaintRow& row)
    {
        if (row.glyphClip.bottom <= area_.top || row.glyphClip.top >= area_.bottom) {
            return;
        }
        if (const auto clip = Within(row.dataClip)) {
            ClipScope scope(target_, *clip);
            for (const PaintMark& mark : row.marks) {
                target_.FillRectangle(ToD2D(mark.box), brushes_.Mark(mark.kind));
            }
            for (const RectF& band : MergeAdjacent(row.selection)) {
                target_.FillRectangle(ToD2D(band), brushes_.selection.Get());
            }
            DrawCaret(row.caret);
        }
        if (const auto clip = Within(row.offsetClip)) {
            ClipScope scope(target_, *clip);
            DrawCells(row.offsetCells, *brushes_.offset.Get());
        }
        if (const auto clip = Within(row.dataClip)) {
            ClipScope scope(target_, *clip);
            DrawCells(row.hexCells, *brushes_.text.Get());
        }
        if (const auto clip = Within(row.glyphClip)) {
            ClipScope scope(target_, *clip);
            DrawTextCells(row.textCells);
        }
    }

private:
    // The part of `clip` inside the area, or nothing. An empty clip is left out rather than
    // pushed: Wine's Direct2D then stops clipping at all instead of drawing nothing.
    [[nodiscard]] std::optional<RectF> Within(const RectF& clip) const
    {
        const RectF both{std::max(clip.left, area_.left), std::max(clip.top, area_.top),
                         std::min(clip.right, area_.right), std::min(clip.bottom, area_.bottom)};
        if (both.left >= both.right || both.top >= both.bottom) {
            return std::nullopt;
        }
        return both;
    }

    void DrawCaret(const PaintCaret& caret)
    {
        switch (caret.style) {
        case CaretStyle::Box:
            for (const RectF& box : {caret.hex, caret.text}) {
                target_.FillRectangle(ToD2D(box), brushes_.selection.Get());
                target_.DrawRectangle(ToD2D(box), brushes_.caret.Get(), 1.0f);
            }
            break;
        case CaretStyle::Bar:
            target_.FillRectangle(ToD2D(caret.hex), brushes_.caret.Get());
            target_.FillRectangle(ToD2D(caret.text), brushes_.caret.Get());
            break;
        case CaretStyle::None: break;
        }
    }

    void DrawCells(const std::vector<PaintCell>& cells, ID2D1Brush& brush)
    {
        std::optional<GlyphRunText> run;
        if (grid_ != nullptr) {
            run.emplace(*grid_);
        }
        for (const PaintCell& cell : cells) {
            if (!Reaches(cell.box.left, cell.box.right)) {
                continue;
            }
            if (!run || !run->Add(cell.box.left, cell.box.top, cell.text)) {
                target_.DrawText(Chars(cell.text), static_cast<UINT32>(cell.text.size()), &format_,
                                 ToD2D(cell.box), &brush, kTextOptions,
                                 DWRITE_MEASURING_MODE_NATURAL);
            }
        }
        if (run) {
            run->Flush(target_, brush);
        }
    }

    void DrawTextCells(const std::vector<PaintTextCell>& cells)
    {
        std::optional<GlyphRunText> run;
        if (grid_ != nullptr) {
            run.emplace(*grid_);
        }
        ID2D1Brush& brush = *brushes_.text.Get();
        for (const PaintTextCell& cell : cells) {
            if (!Reaches(cell.x, cell.x + cell.maxWidth)) {
                continue;
            }
            // One character the font has: straight into the run. Anything else (pairs,
            // marks joined to their base, glyphs only a fallback font has) gets a layout.
            if (run && cell.text.size() == 1 && run->Add(cell.x, cell.y, cell.text)) {
                continue;
            }
            ComPtr<IDWriteTextLayout> layout;
            // A cell whose layout cannot be made is skipped; the rest of the row still shows.
            if (SUCCEEDED(factory_.CreateTextLayout(Chars(cell.text),
                                                    static_cast<UINT32>(cell.text.size()), &format_,
                                                    cell.maxWidth, cell.maxHeight, &layout))) {
                target_.DrawTextLayout(D2D1::Point2F(cell.x, cell.y), layout.Get(), &brush,
                                       kTextOptions);
            }
        }
        if (run) {
            run->Flush(target_, brush);
        }
    }

    // Whether a glyph drawn from `left` to `right` can touch the area; a glyph may
    // overhang its box, by as much again to be safe.
    [[nodiscard]] bool Reaches(float left, float right) const
    {
        const float overhang = right - left;
        return left - overhang < area_.right && right + overhang > area_.left;
    }

    ID2D1RenderTarget& target_;
    IDWriteFactory& factory_;
    IDWriteTextFormat& format_;
    const GridFont* grid_;
    const PaintBrushes& brushes_;
    RectF area_;
};

} // namespace

std::vector<RectF> MergeAdjacent(const std::vector<RectF>& rects)
{
    constexpr float kTouching = 0.01f;
    std::vector<RectF> merged;
    for (const RectF& rect : rects) {
        if (!merged.empty()) {
            RectF& last = merged.back();
            if (last.top == rect.top && last.bottom == rect.bottom &&
                std::fabs(last.right - rect.left) < kTouching) {
                last.right = rect.right;
                continue;
            }
        }
        merged.push_back(rect);
    }
    return merged;
}

bool PaintBrushes::Prepare(ID2D1RenderTarget& target, const ThemePalette& palette)
{
    if (target_ == &target && palette_ == palette && text) {
        return true;
    }
    Reset();
    bool made = SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.text), &text)) &&
                SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.offset), &offset)) &&
                SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.selection), &selection)) &&
                SUCCEEDED(target.CreateSolidColorBrush(ToD2D(palette.caret), &caret));
    for (std::size_t i = 0; made && i < kMarkColorCount; ++i) {
        made = SUCCEEDED(target.CreateSolidColorBrush(ToD2D(MarkColorAt(palette, i)), &marks_[i]));
    }
    if (made) {
        target_ = &target;
        palette_ = palette;
        return true;
    }
    Reset();
    return false;
}

void PaintBrushes::Reset()
{
    text.Reset();
    offset.Reset();
    selection.Reset();
    caret.Reset();
    for (auto& brush : marks_) {
        brush.Reset();
    }
    target_ = nullptr;
}

bool DrawPaintModel(ID2D1RenderTarget& target, IDWriteFactory& factory, IDWriteTextFormat& format,
                    const GridFont* grid, const PaintModel& frame, std::span<const RectF> areas,
                    PaintBrushes& brushes)
{
    if (!brushes.Prepare(target, frame.palette)) {
        return false;
    }
    const D2D1_SIZE_F size = target.GetSize();
    const RectF whole{0.0f, 0.0f, size.width, size.height};
    for (const RectF& area : areas.empty() ? std::span<const RectF>(&whole, 1) : areas) {
        ClipScope clip(target, area);
        target.Clear(ToD2D(frame.palette.background));
        RowPainter painter(target, factory, format, grid, brushes, area);
        for (const PaintRow& row : frame.rows) {
            painter.Paint(row);
        }
    }
    return true;
}

bool DrawPaintModel(ID2D1RenderTarget& target, IDWriteFactory& factory, IDWriteTextFormat& format,
                    const GridFont* grid, const PaintModel& frame)
{
    PaintBrushes brushes;
    target.SetTransform(D2D1::Matrix3x2F::Identity());
    return DrawPaintModel(target, factory, format, grid, frame, {}, brushes);
}

} // namespace orx::win
