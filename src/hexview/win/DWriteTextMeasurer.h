#pragma once

#include "hexview/TextMetrics.h"

#include <windows.h>

#include <dwrite.h>
#include <wrl/client.h>

#include <optional>

namespace orx::win {

// Answers the metrics' layout questions with DirectWrite text layouts of one text format.
class DWriteTextMeasurer final : public ITextMeasurer {
public:
    DWriteTextMeasurer(IDWriteFactory& factory, IDWriteTextFormat& format)
        : factory_(factory), format_(format)
    {}

    [[nodiscard]] std::vector<float> LineHeights(std::u16string_view text, float maxWidth,
                                                 float maxHeight) override;
    [[nodiscard]] std::optional<float>
    WidthIncludingTrailingSpace(std::u16string_view text, float maxWidth, float maxHeight) override;

private:
    [[nodiscard]] Microsoft::WRL::ComPtr<IDWriteTextLayout> Layout(std::u16string_view text,
                                                                   float maxWidth, float maxHeight);

    IDWriteFactory& factory_;
    IDWriteTextFormat& format_;
};

// Measures `font` (family resolved to an installed one) with DirectWrite; nothing when no
// text format can be made for it.
[[nodiscard]] std::optional<TextMetrics> MeasureFont(IDWriteFactory& factory, const FontSpec& font);

} // namespace orx::win
