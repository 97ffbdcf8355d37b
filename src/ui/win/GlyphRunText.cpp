#include "ui/win/GlyphRunText.h"

#include <cmath>
#include <string>

namespace orx::win {

using Microsoft::WRL::ComPtr;

std::unique_ptr<GridFont> GridFont::Create(IDWriteFactory& factory, IDWriteTextFormat& format)
{
    ComPtr<IDWriteFontCollection> collection;
    if (FAILED(format.GetFontCollection(&collection)) || !collection) {
        collection.Reset();
        if (FAILED(factory.GetSystemFontCollection(&collection, FALSE))) {
            return nullptr;
        }
    }
    std::wstring family(format.GetFontFamilyNameLength() + 1, L'\0');
    if (FAILED(format.GetFontFamilyName(family.data(), static_cast<UINT32>(family.size())))) {
        return nullptr;
    }
    family.resize(family.size() - 1);
    UINT32 index = 0;
    BOOL exists = FALSE;
    ComPtr<IDWriteFontFamily> fontFamily;
    ComPtr<IDWriteFont> font;
    auto result = std::unique_ptr<GridFont>(new GridFont());
    if (FAILED(collection->FindFamilyName(family.c_str(), &index, &exists)) || !exists ||
        FAILED(collection->GetFontFamily(index, &fontFamily)) ||
        FAILED(fontFamily->GetFirstMatchingFont(format.GetFontWeight(), format.GetFontStretch(),
                                                format.GetFontStyle(), &font)) ||
        FAILED(font->CreateFontFace(&result->face_))) {
        return nullptr;
    }

    ComPtr<IDWriteTextLayout> layout;
    DWRITE_LINE_METRICS line{};
    UINT32 lines = 0;
    if (FAILED(factory.CreateTextLayout(L"0", 1, &format, 1000.0f, 1000.0f, &layout)) ||
        FAILED(layout->GetLineMetrics(&line, 1, &lines)) || lines != 1) {
        return nullptr;
    }
    DWRITE_FONT_METRICS metrics{};
    result->face_->GetMetrics(&metrics);
    if (metrics.designUnitsPerEm == 0) {
        return nullptr;
    }
    result->size_ = format.GetFontSize();
    result->baseline_ = line.baseline;
    result->designScale_ = result->size_ / static_cast<float>(metrics.designUnitsPerEm);
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        result->ascii_[c - 0x20] = result->Lookup(c);
    }
    return result;
}

std::optional<GridFont::Glyph> GridFont::Find(char16_t character) const
{
    if (character >= 0x20 && character < 0x7F) {
        return ascii_[character - 0x20];
    }
    return Lookup(character);
}

std::optional<GridFont::Glyph> GridFont::Lookup(char16_t character) const
{
    if (character >= 0xD800 && character <= 0xDFFF) {
        return std::nullopt; // half of a pair: the layout handles it with its partner
    }
    const UINT32 codePoint = character;
    UINT16 index = 0;
    DWRITE_GLYPH_METRICS metrics{};
    if (FAILED(face_->GetGlyphIndices(&codePoint, 1, &index)) || index == 0 ||
        FAILED(face_->GetDesignGlyphMetrics(&index, 1, &metrics, FALSE))) {
        return std::nullopt;
    }
    return Glyph{index, static_cast<float>(metrics.advanceWidth) * designScale_};
}

bool GlyphRunText::Add(ID2D1RenderTarget& target, ID2D1Brush& brush, float x, float top,
                       std::u16string_view text)
{
    // Checked before anything is added, so that a refused cell leaves the run as it was.
    std::array<GridFont::Glyph, 4> found{};
    if (text.empty() || text.size() > found.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto glyph = font_.Find(text[i]);
        if (!glyph) {
            return false;
        }
        found[i] = *glyph;
    }
    if (!glyphs_.empty() && top != top_) {
        Flush(target, brush);
    }
    top_ = top;
    for (std::size_t i = 0; i < text.size(); ++i) {
        glyphs_.push_back(found[i].index);
        positions_.push_back(x);
        x += found[i].advance;
    }
    return true;
}

void GlyphRunText::Flush(ID2D1RenderTarget& target, ID2D1Brush& brush)
{
    if (glyphs_.empty()) {
        return;
    }
    // Each glyph at its own offset from a fixed origin, no advances: where a glyph lands then
    // does not depend on which glyphs come before it in the run, so a row drawn in part
    // puts its glyphs on exactly the pixels a whole row does.
    advances_.assign(glyphs_.size(), 0.0f);
    offsets_.resize(glyphs_.size());
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        offsets_[i] = DWRITE_GLYPH_OFFSET{positions_[i], 0.0f};
    }
    DWRITE_GLYPH_RUN run{};
    run.fontFace = font_.Face();
    run.fontEmSize = font_.Size();
    run.glyphCount = static_cast<UINT32>(glyphs_.size());
    run.glyphIndices = glyphs_.data();
    run.glyphAdvances = advances_.data();
    run.glyphOffsets = offsets_.data();
    // Text drawn through a layout sits on a baseline snapped to whole device pixels; a glyph
    // run is drawn where it is put, so it is snapped here the same way.
    float dpiX = 96.0f;
    float dpiY = 96.0f;
    target.GetDpi(&dpiX, &dpiY);
    const float scale = dpiY > 0.0f ? dpiY / 96.0f : 1.0f;
    const float baseline = std::round((top_ + font_.Baseline()) * scale) / scale;
    target.DrawGlyphRun(D2D1::Point2F(0.0f, baseline), &run, &brush, DWRITE_MEASURING_MODE_NATURAL);
    glyphs_.clear();
    positions_.clear();
}

} // namespace orx::win
