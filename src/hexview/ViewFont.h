#pragma once

#include "hexview/TextMetrics.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orx {

// The view's layout sizes in device-independent pixels, derived from the measured font.
struct ViewMetrics {
    float rowHeight = 19.0f;
    float margin = 8.0f;
    float offsetColumnWidth = 126.0f;
    float hexColumnWidth = 470.0f;
    float textColumnWidth = 160.0f;
    float columnGap = 12.0f;
    float baseFontSize = 16.0f;
    float fontSize = 16.0f;
    float hexCellWidth = 8.0f;
    float textCellWidth = 8.0f;
    friend bool operator==(const ViewMetrics&, const ViewMetrics&) = default;
};

// Measures a font for the metrics; nothing when the text system is unavailable.
using TextMeasureFunction = std::function<std::optional<TextMetrics>(const FontSpec&)>;

// The metrics for a font of `baseFontSize` DIPs at `zoom`, as `measured` (the fallback values
// when nothing was measured). `wideOffsets`: the offset column shows 16 digits, not 8.
[[nodiscard]] ViewMetrics ComputeViewMetrics(const std::optional<TextMetrics>& measured,
                                             float baseFontSize, float zoom, bool wideOffsets,
                                             std::uint32_t dpi);

// The font the view draws with, its zoom, and the metrics measured from both.
class ViewFont {
public:
    // Without a measurer, metrics keep their fallback values as when DirectWrite is unavailable.
    void SetMeasurer(TextMeasureFunction measurer);
    // Size in points, limited to 6..48. False, changing nothing, for an empty family or the
    // same font (family compared ignoring case).
    bool Set(const std::u16string& family, float sizePoints, bool bold, bool italic);
    // False when the zoom, limited to 0.6..2.5, stays as it is.
    bool ZoomBy(float delta);
    bool ResetZoom();
    // Measures the font and recomputes the metrics; true when they changed.
    bool Measure(bool wideOffsets, std::uint32_t dpi);

    [[nodiscard]] const ViewMetrics& Metrics() const { return metrics_; }
    [[nodiscard]] FontSpec Zoomed() const; // family, zoomed size, bold, italic
    [[nodiscard]] const std::u16string& Family() const { return family_; }
    [[nodiscard]] float SizePoints() const; // base size in points
    [[nodiscard]] bool Bold() const { return bold_; }
    [[nodiscard]] bool Italic() const { return italic_; }
    [[nodiscard]] float Zoom() const { return zoom_; }

private:
    TextMeasureFunction measurer_;
    FontSpec cachedFont_;
    std::optional<TextMetrics> cachedMetrics_;
    ViewMetrics metrics_;
    float zoom_ = 1.0f;
    std::u16string family_ = u"Consolas";
    bool bold_ = false;
    bool italic_ = false;
};

} // namespace orx
