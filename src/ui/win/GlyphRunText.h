#pragma once

// Drawing the grid's characters as glyph runs. A text layout per cell is what the text
// system offers, but each one costs a layout and a draw call; under Wine a full repaint
// that way takes seconds. A glyph run puts many characters exactly where the grid wants
// them in one call. Cells whose characters the font lacks still go through a layout, so
// that the font fallback can find them a glyph.
#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace orx::win {

// The font face behind a text format, with what placing glyphs by hand needs.
class GridFont {
public:
    // The face of the format's family, weight, style and stretch; null when the family is
    // not in the format's collection (the caller then draws with layouts only).
    [[nodiscard]] static std::unique_ptr<GridFont> Create(IDWriteFactory& factory,
                                                          IDWriteTextFormat& format);

    // Distance from the top of a layout box to the first line's baseline.
    [[nodiscard]] float Baseline() const { return baseline_; }
    // Height of one line of a layout.
    [[nodiscard]] float LineHeight() const { return lineHeight_; }
    [[nodiscard]] float Size() const { return size_; }
    [[nodiscard]] IDWriteFontFace* Face() const { return face_.Get(); }

    struct Glyph {
        UINT16 index = 0;
        float advance = 0.0f;
    };
    // The glyph of one UTF-16 unit; nothing for a surrogate or a character the face lacks.
    [[nodiscard]] std::optional<Glyph> Find(char16_t character) const;

private:
    [[nodiscard]] std::optional<Glyph> Lookup(char16_t character) const;

    Microsoft::WRL::ComPtr<IDWriteFontFace> face_;
    float size_ = 0.0f;
    float baseline_ = 0.0f;
    float lineHeight_ = 0.0f;
    float designScale_ = 0.0f; // DIPs per design unit
    std::array<std::optional<Glyph>, 0x7F - 0x20> ascii_{};
};

// Collects characters, on any number of baselines, and draws them with a single glyph run:
// under Wine each run costs a rasterisation and a texture, whatever its length.
class GlyphRunText {
public:
    explicit GlyphRunText(const GridFont& font) : font_(font) {}

    // Adds `text` as a layout box at (x, top) would draw it: each character at the natural
    // advance of the ones before it, without kerning. Nothing is added, and false returned,
    // when a character has no glyph of its own in the face or needs a layout's rules, or
    // when the text would reach past `right` (a clipped layout shows the cut glyph).
    bool Add(float x, float top, std::u16string_view text,
             float right = std::numeric_limits<float>::infinity());
    // Draws what was collected and starts over.
    void Flush(ID2D1RenderTarget& target, ID2D1Brush& brush);
    // The same, handing the run and its baseline origin (DIPs) to `draw`, for a target of
    // `scale` pixels per DIP that is not Direct2D's.
    using RunDrawer = std::function<void(D2D1_POINT_2F origin, const DWRITE_GLYPH_RUN& run)>;
    void Flush(float scale, const RunDrawer& draw);

private:
    const GridFont& font_;
    std::vector<GridFont::Glyph> found_; // the glyphs of the text being added
    std::vector<UINT16> glyphs_;
    std::vector<float> positions_;
    std::vector<float> tops_;
    std::vector<float> advances_;
    std::vector<DWRITE_GLYPH_OFFSET> offsets_;
};

} // namespace orx::win
