#include "hexview/RowGeometry.h"

#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

// Ten rows of 22 DIPs between 8-DIP margins, at 96 and 144 DPI, with the last row cut short.
RowGeometry TenRows(std::uint32_t dpi, std::int32_t extraPixels)
{
    const FontSpec font{u"Consolas", 16.0f};
    RowGeometry geometry;
    geometry.metrics = ComputeViewMetrics(FakeMetrics(font), 16.0f, 1.0f, false, dpi);
    geometry.dpi = dpi;
    geometry.clientWidth = static_cast<std::int32_t>(kClientWidth * dpi / 96);
    geometry.clientHeight = static_cast<std::int32_t>(kClientHeight * dpi / 96) + extraPixels;
    return geometry;
}

TEST(RowGeometry, RowBandsCoverTheClientAreaWithoutGapsOrOverlaps)
{
    for (const auto& [dpi, extra] : {std::pair{96u, 0}, {96u, 15}, {144u, 7}}) {
        const RowGeometry geometry = TenRows(dpi, extra);
        ASSERT_EQ(geometry.VisibleRows(), 10u);
        float top = 0.0f;
        for (std::uint64_t row = 0; row < 10; ++row) {
            const RectF band = geometry.RowBand(row);
            EXPECT_FLOAT_EQ(band.top, top) << dpi << " DPI, row " << row;
            EXPECT_GT(band.bottom, band.top);
            EXPECT_FLOAT_EQ(band.right, geometry.ClientWidthDips());
            top = band.bottom;
        }
        EXPECT_FLOAT_EQ(top, geometry.ClientHeightDips()) << dpi << " DPI";
    }
}

TEST(RowGeometry, RowsReachingIncludeEveryRowWhoseGlyphsMeetTheArea)
{
    const RowGeometry geometry = TenRows(96, 0);
    const float rowHeight = geometry.metrics.rowHeight;
    // Areas: the whole view, one row's band, a sliver inside a row, the margins.
    const std::pair<float, float> areas[] = {
        {0.0f, 236.0f}, {118.0f, 140.0f}, {125.0f, 126.0f}, {0.0f, 8.0f}, {228.0f, 236.0f}};
    for (const auto& [top, bottom] : areas) {
        const auto [first, end] = geometry.RowsReaching(top, bottom);
        EXPECT_LE(end, geometry.VisibleRows());
        for (std::uint64_t row = 0; row < geometry.VisibleRows(); ++row) {
            // A row's glyphs may run one row up and one row down.
            const float rowTop = geometry.metrics.margin + static_cast<float>(row) * rowHeight;
            const bool meets = rowTop - rowHeight < bottom && rowTop + 2.0f * rowHeight > top;
            if (meets) {
                EXPECT_TRUE(row >= first && row < end) << top << ".." << bottom << " row " << row;
            }
        }
    }
}

} // namespace
} // namespace orx::test
