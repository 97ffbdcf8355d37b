#include "hexview/TextMetrics.h"

#include <algorithm>
#include <numeric>

namespace orx {

namespace {

// The widest single character of `probe`, at least 1; characters that cannot be laid out
// are skipped.
float WidestCell(ITextMeasurer& measurer, std::u16string_view probe)
{
    float widest = 1.0f;
    for (std::size_t i = 0; i < probe.size(); ++i) {
        const std::optional<float> width =
            measurer.WidthIncludingTrailingSpace(probe.substr(i, 1), kCellProbeBox, kCellProbeBox);
        if (width && *width > widest) {
            widest = *width;
        }
    }
    return widest;
}

std::u16string PrintableAscii()
{
    std::u16string text;
    for (char16_t c = 0x20; c <= 0x7E; ++c) {
        text.push_back(c);
    }
    return text;
}

} // namespace

TextMetrics MeasureTextMetrics(ITextMeasurer& measurer)
{
    TextMetrics metrics;
    const std::vector<float> lines =
        measurer.LineHeights(kLineHeightProbe, kLineProbeBox, kLineProbeBox);
    if (!lines.empty()) {
        metrics.lineHeight =
            std::accumulate(lines.begin(), lines.end(), 0.0f) / static_cast<float>(lines.size());
    }
    metrics.hexCellWidth = WidestCell(measurer, kHexCellProbe);
    metrics.textCellWidth = WidestCell(measurer, PrintableAscii());
    return metrics;
}

} // namespace orx
