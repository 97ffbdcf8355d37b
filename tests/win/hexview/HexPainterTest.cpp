#include "document/EditableDocument.h"
#include "hexview/HexViewModel.h"
#include "hexview/win/DWriteTextMeasurer.h"
#include "ui/win/FontResolver.h"
#include "platform/Utf.h"
#include "platform/win32/WinString.h"
#include "support/TempDir.h"
#include "win/hexview/Canvas.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orx::test {
namespace {

using Microsoft::WRL::ComPtr;

constexpr int kWidth = 900;
constexpr int kHeight = 400;

std::uint32_t Rgb(const ColorF& color)
{
    const auto byte = [](float v) { return static_cast<std::uint32_t>(v * 255.0f + 0.5f); };
    return byte(color.r) << 16 | byte(color.g) << 8 | byte(color.b);
}

// A real model over a real document, measured with DirectWrite, ready to paint.
class PaintSetup {
public:
    PaintSetup(const std::vector<std::uint8_t>& bytes, TextEncoding encoding)
    {
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown**>(factory_.GetAddressOf()));
        EXPECT_TRUE(document_.Open(dir_.Write(u"paint.bin", bytes)));
        model.SetTextMeasurer(
            [this](const FontSpec& font) { return win::MeasureFont(*factory_.Get(), font); });
        (void)model.SetClientSize(kWidth, kHeight);
        (void)model.SetDocument(&document_, &document_);
        (void)model.SetEncoding(encoding);
        (void)model.SetTheme(Theme::Light);
        const FontSpec font = model.Font();
        format_ =
            win::CreateResolvedTextFormat(*factory_.Get(), {win::ToW(font.family), font.sizeDips});
        grid_ = win::GridFont::Create(*factory_.Get(), *format_.Get());
    }

    std::vector<std::uint32_t> Paint(Canvas& canvas, bool glyphRuns)
    {
        EXPECT_TRUE(canvas.Draw(*factory_.Get(), *format_.Get(), glyphRuns ? grid_.get() : nullptr,
                                model.BuildPaintModel()));
        return canvas.Pixels();
    }

    [[nodiscard]] bool HasGridFont() const { return grid_ != nullptr; }

    HexViewModel model;

private:
    TempDir dir_;
    EditableDocument document_;
    ComPtr<IDWriteFactory> factory_;
    ComPtr<IDWriteTextFormat> format_;
    std::unique_ptr<win::GridFont> grid_;
};

std::vector<std::uint8_t> Ramp(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

TEST(HexPainter, GlyphRunsPutCharactersWhereTextLayoutsWould)
{
    for (TextEncoding encoding : {TextEncoding::Ascii, TextEncoding::Utf16Le}) {
        PaintSetup setup(Ramp(256), encoding);
        ASSERT_TRUE(setup.HasGridFont());
        (void)setup.model.SetSelection(0x12, 0x25);
        Canvas canvas(kWidth, kHeight);
        ASSERT_TRUE(canvas.Ready());
        const auto layouts = setup.Paint(canvas, false);
        const auto runs = setup.Paint(canvas, true);
        const std::uint32_t background = Rgb(HexViewPalette(Theme::Light).background);
        int ink = 0;
        int different = 0;
        for (std::size_t i = 0; i < layouts.size(); ++i) {
            ink += layouts[i] != background ? 1 : 0;
            different += layouts[i] != runs[i] ? 1 : 0;
        }
        EXPECT_GT(ink, 5000);
        EXPECT_LE(different, ink / 500) << "of " << ink << " ink pixels";
    }
}

TEST(HexPainter, JapaneseAndKoreanCellsShowGlyphs)
{
    // あ (E3 81 82), 한 (ED 95 9C), 漢 (E6 BC A2) in UTF-8, then plain letters.
    const std::vector<std::uint8_t> bytes = {0xE3, 0x81, 0x82, 0xED, 0x95, 0x9C,
                                             0xE6, 0xBC, 0xA2, 'a',  'b'};
    PaintSetup setup(bytes, TextEncoding::Utf8);
    Canvas canvas(kWidth, kHeight);
    const auto frame = setup.model.BuildPaintModel();
    ASSERT_FALSE(frame.rows.empty());
    const auto& cells = frame.rows[0].textCells;
    ASSERT_GE(cells.size(), 4u);
    setup.Paint(canvas, true);
    const std::uint32_t background = Rgb(HexViewPalette(Theme::Light).background);
    const float cell = setup.model.Metrics().textCellWidth;
    const float row = setup.model.Metrics().rowHeight;
    for (std::size_t i = 0; i < 3; ++i) {
        const int ink =
            canvas.Ink(cells[i].x, cells[i].y, cells[i].x + 2 * cell, cells[i].y + row, background);
        EXPECT_GT(ink, 30) << "cell " << i << " (" << platform::Narrow(cells[i].text)
                           << ") is blank";
    }
}

TEST(HexPainter, TouchingRectanglesOnOneRowMerge)
{
    const RectF a{0, 0, 10, 5};
    const RectF b{10, 0, 20, 5};
    const RectF c{20.005f, 0, 30, 5};
    const RectF gap{31, 0, 40, 5};
    const RectF below{40, 5, 50, 10};
    // clang-format off
    const struct { std::vector<RectF> input; std::vector<RectF> expected; } cases[] = {
        {{}, {}},
        {{a}, {a}},
        {{a, b, c}, {{0, 0, 30, 5}}},
        {{a, gap}, {a, gap}},
        {{a, b, gap, below}, {{0, 0, 20, 5}, gap, below}},
        {{b, a}, {b, a}}, // only left-to-right neighbours are joined
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(win::MergeAdjacent(c.input), c.expected);
    }
}

} // namespace
} // namespace orx::test
