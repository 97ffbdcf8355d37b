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
    result->lineHeight_ = line.height;
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

namespace {

// Characters a layout places by rules of its own: marks joined to their base, soft hyphens,
// direction and zero-width controls, right-to-left scripts. A run would place them as
// plain letters, so texts with them take a layout.
bool NeedsLayout(char16_t c)
{
    return c == 0x00AD || (c >= 0x0300 && c <= 0x036F) || (c >= 0x0590 && c <= 0x08FF) ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || (c >= 0x20D0 && c <= 0x20FF) ||
           (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE20 && c <= 0xFE2F) ||
           (c >= 0xFE70 && c <= 0xFEFF);
}

} // namespace

bool GlyphRunText::Add(float x, float top, std::u16string_view text, float right)
{
    // Checked before anything is added, so that a refused text leaves the run as it was.
    found_.clear();
    float end = x;
    for (const char16_t c : text) {
        const auto glyph = NeedsLayout(c) ? std::nullopt : font_.Find(c);
        if (!glyph) {
            return false;
        }
        found_.push_back(*glyph);
        end += glyph->advance;
    }
    if (found_.empty() || end > right) {
        return false;
    }
    for (const GridFont::Glyph& glyph : found_) {
        glyphs_.push_back(glyph.index);
        positions_.push_back(x);
        tops_.push_back(top);
        x += glyph.advance;
    }
    return true;
}

void GlyphRunText::Flush(ID2D1RenderTarget& target, ID2D1Brush& brush)
{
    float dpiX = 96.0f;
    float dpiY = 96.0f;
    target.GetDpi(&dpiX, &dpiY);
    Flush(dpiY > 0.0f ? dpiY / 96.0f : 1.0f,
          [&](D2D1_POINT_2F origin, const DWRITE_GLYPH_RUN& run) {
              target.DrawGlyphRun(origin, &run, &brush, DWRITE_MEASURING_MODE_NATURAL);
          });
}

void GlyphRunText::Flush(float scale, const RunDrawer& draw)
{
    if (glyphs_.empty()) {
        return;
    }
    // Text drawn through a layout sits on a baseline snapped to whole device pixels; a glyph
    // run is drawn where it is put, so each glyph's baseline is snapped here the same way.
    const auto baseline = [&](float top) {
        return std::round((top + font_.Baseline()) * scale) / scale;
    };
    const float origin = baseline(tops_.front());
    // Each glyph at its own offset from a fixed origin, no advances: where a glyph lands then
    // does not depend on which glyphs come before it in the run, so a row drawn in part
    // puts its glyphs on exactly the pixels a whole row does.
    advances_.assign(glyphs_.size(), 0.0f);
    offsets_.resize(glyphs_.size());
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        offsets_[i] = DWRITE_GLYPH_OFFSET{positions_[i], origin - baseline(tops_[i])};
    }
    DWRITE_GLYPH_RUN run{};
    run.fontFace = font_.Face();
    run.fontEmSize = font_.Size();
    run.glyphCount = static_cast<UINT32>(glyphs_.size());
    run.glyphIndices = glyphs_.data();
    run.glyphAdvances = advances_.data();
    run.glyphOffsets = offsets_.data();
    draw(D2D1::Point2F(0.0f, origin), run);
    glyphs_.clear();
    positions_.clear();
    tops_.clear();
}

} // namespace orx::win
