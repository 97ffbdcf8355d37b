// Japanese UI text drawn by GDI with the status bar's font must show glyphs. Under Wine that
// takes the font links scripts/lib.sh writes into every prefix it creates; without them the
// kana come out as the same boxes as characters that no font has.
#include "localization/StringTable.h"
#include "platform/Utf.h"
#include "platform/win32/WinString.h"
#include "win/hexview/Canvas.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace orx {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 48;

// The pixels of `text` drawn in black on white with `font` into a memory DC.
std::vector<std::uint32_t> Render(HFONT font, const std::u16string& text)
{
    test::Canvas canvas(kWidth, kHeight);
    if (!canvas.Ready()) {
        ADD_FAILURE() << "no memory DC";
        return {};
    }
    HDC dc = canvas.Dc();
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 4, 4, win::W(text), static_cast<int>(text.size()));
    GdiFlush();
    SelectObject(dc, oldFont);
    return canvas.Pixels();
}

bool HasInk(const std::vector<std::uint32_t>& pixels)
{
    return std::any_of(pixels.begin(), pixels.end(),
                       [](std::uint32_t pixel) { return pixel != 0xFFFFFFu; });
}

TEST(UiFontLink, JapaneseMenuLabelDrawsGlyphsInTheStatusBarFont)
{
    const char* source = std::getenv("ORX_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "run through ctest";
    StringTable strings([] { return std::optional<std::u16string>(u"ja-JP"); });
    strings.SetBaseDirectory(platform::Widen(source));
    strings.SetLanguage(UiLanguage::Japanese);
    const std::optional<std::u16string> label = strings.Find("menu.file");
    ASSERT_TRUE(label.has_value());

    // Only the Japanese part of "ファイル(&F)": ASCII draws in any font.
    std::u16string japanese;
    std::u16string privateUse;
    for (const char16_t c : *label) {
        if (c >= 0x3000) {
            japanese += c;
            privateUse += static_cast<char16_t>(0xE000 + privateUse.size());
        }
    }
    ASSERT_GE(japanese.size(), 2u);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    HFONT statusFont = CreateFontIndirectW(&metrics.lfStatusFont);
    ASSERT_NE(statusFont, nullptr);
    const std::vector<std::uint32_t> drawn = Render(statusFont, japanese);
    const std::vector<std::uint32_t> boxes = Render(statusFont, privateUse);
    DeleteObject(statusFont);

    // Characters no font has must leave a mark, or the comparison below proves nothing.
    ASSERT_TRUE(HasInk(boxes));
    EXPECT_TRUE(drawn != boxes) << "the Japanese label drew as boxes in "
                                << platform::Narrow(win::FromW(metrics.lfStatusFont.lfFaceName));
}

} // namespace
} // namespace orx
