#include "hexview/ViewFont.h"

#include "text/CaseFold.h"

#include <algorithm>
#include <cmath>

namespace orx {

namespace {

constexpr float kMinZoom = 0.6f;
constexpr float kMaxZoom = 2.5f;
constexpr float kZoomEpsilon = 0.001f;
constexpr float kMinFontPoints = 6.0f;
constexpr float kMaxFontPoints = 48.0f;
constexpr float kMinRowHeight = 17.0f;

} // namespace

ViewMetrics ComputeViewMetrics(const std::optional<TextMetrics>& measured, float baseFontSize,
                               float zoom, bool wideOffsets, std::uint32_t dpi)
{
    ViewMetrics metrics;
    metrics.rowHeight = kMinRowHeight;
    metrics.offsetColumnWidth = 0.0f;
    metrics.hexColumnWidth = 0.0f;
    metrics.textColumnWidth = 0.0f;
    metrics.baseFontSize = baseFontSize;
    metrics.fontSize = zoom * baseFontSize;
    if (!measured) {
        return metrics; // no text system: the view stays usable but shows nothing useful
    }
    const float lineHeight = measured->lineHeight > 0.0f ? measured->lineHeight : metrics.rowHeight;
    metrics.hexCellWidth = std::max(measured->hexCellWidth, 1.0f);
    metrics.textCellWidth = std::max(measured->textCellWidth, 1.0f);
    metrics.offsetColumnWidth = metrics.hexCellWidth * (wideOffsets ? 17.0f : 9.0f);
    metrics.hexColumnWidth = metrics.hexCellWidth * 3.0f * 16.0f;
    metrics.textColumnWidth = metrics.textCellWidth * 16.0f;
    const float fontSize = metrics.fontSize;
    const float rowHeight =
        std::max({kMinRowHeight, lineHeight + std::max(0.15f * fontSize, 0.75f), 1.35f * fontSize});
    // Rounded up to whole physical pixels: every row then sits at the same place within a
    // pixel, so a row moved as pixels looks exactly as the same row painted there.
    const float pixelsPerDip = static_cast<float>(dpi) / 96.0f;
    metrics.rowHeight = std::ceil(rowHeight * pixelsPerDip - 1e-3f) / pixelsPerDip;
    return metrics;
}

void ViewFont::SetMeasurer(TextMeasureFunction measurer)
{
    measurer_ = std::move(measurer);
    cachedMetrics_.reset();
}

bool ViewFont::Set(const std::u16string& family, float sizePoints, bool bold, bool italic)
{
    if (family.empty()) {
        return false;
    }
    float points = sizePoints;
    if (!(points >= kMinFontPoints)) {
        points = kMinFontPoints; // also a size that is not a number
    }
    points = std::min(points, kMaxFontPoints);
    const float dips = points * 96.0f / 72.0f;
    if (EqualsIgnoringCase(family, family_) && std::fabs(dips - metrics_.baseFontSize) < 0.01f &&
        bold == bold_ && italic == italic_) {
        return false;
    }
    family_ = family;
    metrics_.baseFontSize = dips;
    bold_ = bold;
    italic_ = italic;
    return true;
}

bool ViewFont::ZoomBy(float delta)
{
    const float zoom = std::clamp(zoom_ + delta, kMinZoom, kMaxZoom);
    if (!(std::fabs(zoom - zoom_) >= kZoomEpsilon)) {
        return false;
    }
    zoom_ = zoom;
    return true;
}

bool ViewFont::ResetZoom()
{
    if (std::fabs(zoom_ - 1.0f) < kZoomEpsilon) {
        return false;
    }
    zoom_ = 1.0f;
    return true;
}

bool ViewFont::Measure(bool wideOffsets, std::uint32_t dpi)
{
    std::optional<TextMetrics> measured;
    if (measurer_) {
        const FontSpec font = Zoomed();
        // Measuring lays out over a hundred probe strings; size-changing edits relayout on
        // every keystroke, so the last measurement is kept while the font stays the same.
        if (cachedMetrics_ && cachedFont_.family == font.family &&
            cachedFont_.sizeDips == font.sizeDips && cachedFont_.bold == font.bold &&
            cachedFont_.italic == font.italic) {
            measured = cachedMetrics_;
        } else {
            measured = measurer_(font);
            cachedFont_ = font;
            cachedMetrics_ = measured;
        }
    }
    const ViewMetrics metrics =
        ComputeViewMetrics(measured, metrics_.baseFontSize, zoom_, wideOffsets, dpi);
    if (metrics == metrics_) {
        return false;
    }
    metrics_ = metrics;
    return true;
}

FontSpec ViewFont::Zoomed() const
{
    return FontSpec{family_, metrics_.baseFontSize * zoom_, bold_, italic_};
}

float ViewFont::SizePoints() const
{
    return metrics_.baseFontSize * 72.0f / 96.0f;
}

} // namespace orx
