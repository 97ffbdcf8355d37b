#include "hexview/win/GdiFirstFrame.h"

#include "ui/win/ThemeColors.h"
#include "ui/win/WinHandles.h"

#include <dwrite_2.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace orx::win {
namespace {

using Microsoft::WRL::ComPtr;

// GDI has no alpha: a translucent colour is mixed with the background it is drawn over.
COLORREF Over(const ColorF& color, const ColorF& background)
{
    const auto mix = [&](float top, float bottom) {
        return top * color.a + bottom * (1.0f - color.a);
    };
    return ToColorRef(
        {mix(color.r, background.r), mix(color.g, background.g), mix(color.b, background.b), 1.0f});
}

// Glyph runs rasterised as Direct2D rasterises them for a DC render target that keeps the
// default text settings: the system's rendering parameters, ClearType antialiasing when their
// ClearType level is above zero (grey scale otherwise), the face's recommended rendering mode
// at this size, and the coverage of each pixel's middle subpixel, which is what sampling a
// ClearType texture three times as wide as the pixels gives at the pixels' centres.
class GlyphRunPixels {
public:
    GlyphRunPixels(HDC dc, IDWriteFactory* factory, const GridFont* grid, float scale)
        : scale_(scale)
    {
        DIBSECTION dib{};
        const auto bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
        // Top-down is the caller's to make sure of: Wine reports the height without its sign.
        if (factory == nullptr || grid == nullptr || bitmap == nullptr ||
            GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == nullptr ||
            dib.dsBm.bmBitsPixel != 32 ||
            FAILED(factory->QueryInterface(IID_PPV_ARGS(&factory_))) ||
            FAILED(factory->CreateRenderingParams(&params_)) ||
            FAILED(grid->Face()->GetRecommendedRenderingMode(grid->Size(), scale, kMeasuring,
                                                             params_.Get(), &mode_)) ||
            mode_ == DWRITE_RENDERING_MODE_OUTLINE) {
            factory_.Reset();
            return;
        }
        pixels_ = static_cast<std::uint32_t*>(dib.dsBm.bmBits);
        width_ = dib.dsBm.bmWidth;
        height_ = dib.dsBm.bmHeight;
        antialias_ = params_->GetClearTypeLevel() > 0.0f ? DWRITE_TEXT_ANTIALIAS_MODE_CLEARTYPE
                                                         : DWRITE_TEXT_ANTIALIAS_MODE_GRAYSCALE;
        texture_ = mode_ == DWRITE_RENDERING_MODE_ALIASED ||
                           antialias_ == DWRITE_TEXT_ANTIALIAS_MODE_GRAYSCALE
                       ? DWRITE_TEXTURE_ALIASED_1x1
                       : DWRITE_TEXTURE_CLEARTYPE_3x1;
    }

    [[nodiscard]] bool Usable() const { return factory_ != nullptr; }

    void Draw(D2D1_POINT_2F origin, const DWRITE_GLYPH_RUN& run, const ColorF& color)
    {
        const DWRITE_MATRIX transform{scale_, 0.0f, 0.0f, scale_, 0.0f, 0.0f};
        ComPtr<IDWriteGlyphRunAnalysis> analysis;
        RECT bounds{};
        if (FAILED(factory_->CreateGlyphRunAnalysis(&run, &transform, mode_, kMeasuring,
                                                    DWRITE_GRID_FIT_MODE_DEFAULT, antialias_,
                                                    origin.x, origin.y, &analysis)) ||
            FAILED(analysis->GetAlphaTextureBounds(texture_, &bounds)) || IsRectEmpty(&bounds)) {
            return;
        }
        const std::size_t step = texture_ == DWRITE_TEXTURE_CLEARTYPE_3x1 ? 3 : 1;
        const auto columns = static_cast<std::size_t>(bounds.right - bounds.left);
        coverage_.assign(columns * static_cast<std::size_t>(bounds.bottom - bounds.top) * step, 0);
        if (FAILED(analysis->CreateAlphaTexture(texture_, &bounds, coverage_.data(),
                                                static_cast<UINT32>(coverage_.size())))) {
            return;
        }
        GdiFlush(); // what GDI drew is in the pixels before they are read
        for (LONG y = std::max(bounds.top, 0L); y < std::min(bounds.bottom, height_); ++y) {
            const std::size_t row = static_cast<std::size_t>(y - bounds.top) * columns;
            std::uint32_t* line = pixels_ + static_cast<std::size_t>(y) * width_;
            for (LONG x = std::max(bounds.left, 0L); x < std::min(bounds.right, width_); ++x) {
                const std::size_t at = row + static_cast<std::size_t>(x - bounds.left);
                const unsigned alpha = coverage_[at * step + step / 2];
                if (alpha != 0) {
                    line[x] = Blend(line[x], color, alpha);
                }
            }
        }
    }

private:
    static constexpr DWRITE_MEASURING_MODE kMeasuring = DWRITE_MEASURING_MODE_NATURAL;

    // The text colour over the pixel by `alpha` / 255, with the arithmetic Direct2D's blend
    // gives under Wine, byte for byte: the brush's colour times the coverage rounded to a byte,
    // plus the pixel times the rest divided by 255 in whole numbers.
    static std::uint32_t Blend(std::uint32_t pixel, const ColorF& color, unsigned alpha)
    {
        const auto mix = [alpha](std::uint32_t below, float above) {
            const auto source =
                static_cast<std::uint32_t>(std::lround(above * static_cast<float>(alpha)));
            const std::uint32_t rest = below * (255u - alpha);
            return std::min(255u, source + ((rest + (rest >> 8) + 0x80u) >> 8));
        };
        return mix(pixel & 0xFFu, color.b) | mix((pixel >> 8) & 0xFFu, color.g) << 8 |
               mix((pixel >> 16) & 0xFFu, color.r) << 16;
    }

    float scale_;
    ComPtr<IDWriteFactory2> factory_;
    ComPtr<IDWriteRenderingParams> params_;
    DWRITE_RENDERING_MODE mode_ = DWRITE_RENDERING_MODE_DEFAULT;
    DWRITE_TEXT_ANTIALIAS_MODE antialias_ = DWRITE_TEXT_ANTIALIAS_MODE_GRAYSCALE;
    DWRITE_TEXTURE_TYPE texture_ = DWRITE_TEXTURE_ALIASED_1x1;
    std::uint32_t* pixels_ = nullptr;
    LONG width_ = 0;
    LONG height_ = 0;
    std::vector<BYTE> coverage_;
};

class GdiRows {
public:
    GdiRows(HDC dc, const ThemePalette& palette, const GridFont* grid, GlyphRunPixels& runs,
            float scale)
        : dc_(dc), palette_(palette), grid_(runs.Usable() ? grid : nullptr), runs_(runs),
          scale_(scale)
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

    // The cells of one colour as the Direct2D frame draws them: one glyph run for all that it
    // can hold, GDI text for the rest. `single`: only one-character cells go into the run.
    template <typename Cell, typename Place>
    void Cells(const std::vector<Cell>& cells, const ColorF& color, bool single, Place place) const
    {
        std::optional<GlyphRunText> run;
        if (grid_ != nullptr) {
            run.emplace(*grid_);
        }
        for (const Cell& cell : cells) {
            const auto [x, y] = place(cell);
            if (!run || (single && cell.text.size() != 1) || !run->Add(x, y, cell.text)) {
                Text(cell.text, x, y, ToColorRef(color));
            }
        }
        if (run) {
            run->Flush(scale_, [&](D2D1_POINT_2F origin, const DWRITE_GLYPH_RUN& glyphs) {
                runs_.Draw(origin, glyphs, color);
            });
        }
    }

    void Row(const PaintRow& row) const
    {
        for (const PaintMark& mark : row.marks) {
            Fill(mark.box, ToColorRef(MarkColor(palette_, mark.kind)));
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
        const auto boxTopLeft = [](const PaintCell& cell) {
            return std::pair{cell.box.left, cell.box.top};
        };
        Cells(row.offsetCells, palette_.offset, false, boxTopLeft);
        Cells(row.hexCells, palette_.text, false, boxTopLeft);
        Cells(row.textCells, palette_.text, true, [](const PaintTextCell& cell) {
            return std::pair{cell.x, cell.y};
        });
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
    const GridFont* grid_;
    GlyphRunPixels& runs_;
    float scale_;
};

} // namespace

void DrawFirstFrameWithGdi(HDC dc, const RECT& client, const PaintModel& frame,
                           const FirstFrameFont& font, float scale)
{
    FillSolid(dc, client, ToColorRef(frame.palette.background));
    const FontHandle gdiFont(
        CreateFontW(-static_cast<int>(std::lround(font.sizeDips * scale)), 0, 0, 0,
                    font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                    FIXED_PITCH | FF_MODERN, font.family.c_str()));
    const HGDIOBJ old = SelectObject(dc, gdiFont.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    GlyphRunPixels runs(dc, font.factory, font.grid, scale);
    const GdiRows rows(dc, frame.palette, font.grid, runs, scale);
    for (const PaintRow& row : frame.rows) {
        rows.Row(row);
    }
    SelectObject(dc, old);
}

} // namespace orx::win
