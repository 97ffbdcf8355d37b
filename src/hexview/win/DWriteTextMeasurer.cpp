#include "hexview/win/DWriteTextMeasurer.h"

#include "ui/win/FontResolver.h"
#include "platform/win32/WinString.h"

#include <vector>

namespace orx::win {

Microsoft::WRL::ComPtr<IDWriteTextLayout>
DWriteTextMeasurer::Layout(std::u16string_view text, float maxWidth, float maxHeight)
{
    Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
    if (FAILED(factory_.CreateTextLayout(reinterpret_cast<const wchar_t*>(text.data()),
                                         static_cast<UINT32>(text.size()), &format_, maxWidth,
                                         maxHeight, &layout))) {
        return nullptr;
    }
    return layout;
}

std::vector<float> DWriteTextMeasurer::LineHeights(std::u16string_view text, float maxWidth,
                                                   float maxHeight)
{
    auto layout = Layout(text, maxWidth, maxHeight);
    if (!layout) {
        return {};
    }
    UINT32 count = 0;
    // The first call only reports how many lines there are.
    if (layout->GetLineMetrics(nullptr, 0, &count) != E_NOT_SUFFICIENT_BUFFER || count == 0) {
        return {};
    }
    std::vector<DWRITE_LINE_METRICS> lines(count);
    if (FAILED(layout->GetLineMetrics(lines.data(), count, &count))) {
        return {};
    }
    std::vector<float> heights;
    heights.reserve(count);
    for (const DWRITE_LINE_METRICS& line : lines) {
        heights.push_back(line.height);
    }
    return heights;
}

std::optional<float> DWriteTextMeasurer::WidthIncludingTrailingSpace(std::u16string_view text,
                                                                     float maxWidth,
                                                                     float maxHeight)
{
    auto layout = Layout(text, maxWidth, maxHeight);
    DWRITE_TEXT_METRICS metrics{};
    if (!layout || FAILED(layout->GetMetrics(&metrics))) {
        return std::nullopt;
    }
    return metrics.widthIncludingTrailingWhitespace;
}

std::optional<TextMetrics> MeasureFont(IDWriteFactory& factory, const FontSpec& font)
{
    auto format = CreateResolvedTextFormat(
        factory, {ToW(font.family), font.sizeDips, font.bold, font.italic, FontRole::Monospace});
    if (!format) {
        return std::nullopt;
    }
    DWriteTextMeasurer measurer(factory, *format.Get());
    return MeasureTextMetrics(measurer);
}

} // namespace orx::win
