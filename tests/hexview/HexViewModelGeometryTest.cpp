#include "hexview/HexViewModel.h"

#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace orx::test {
namespace {

TEST(HexViewModelGeometry, InsertingTheByteThatReaches4GiBWidensTheOffsetColumn)
{
    TempDir dir;
    const std::u16string path = dir.Write(u"big.bin", "");
    std::filesystem::resize_file(ToPath(path), (1ull << 32) - 1); // sparse
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    HexViewModel view;
    PrepareView(view);
    (void)view.SetDocument(&document, &document);
    EXPECT_FLOAT_EQ(view.Metrics().offsetColumnWidth, 9 * 10.0f);
    (void)view.ToggleEditingEnabled();
    (void)view.ToggleEditMode();
    (void)view.OnChar(u'4');
    EXPECT_TRUE(view.OnChar(u'1').effects.dropDeviceResources);
    EXPECT_EQ(document.Size(), 1ull << 32);
    EXPECT_FLOAT_EQ(view.Metrics().offsetColumnWidth, 17 * 10.0f);
}

TEST(HexViewModelGeometry, HitTestMapsPointsToBytesAndMissesEverythingElse)
{
    SizedView sized(40); // rows 0 and 1 full, row 2 holds 32..39
    HexViewModel& view = sized.view;
    const std::int32_t row0 = 19, row1 = 19 + 22, row2 = 19 + 44, row3 = 19 + 66; // row middles
    // clang-format off
    struct Case { std::int32_t x, y; std::optional<std::uint64_t> expected; };
    const Case cases[] = {
        {50, row0, std::nullopt}, {105, row0, std::nullopt}, // offset column, gap
        {110, row0, 0}, {139, row0, 0}, {140, row0, 1}, // the space after the digits hits the byte
        {589, row1, 31}, {595, row1, std::nullopt}, {602, row1, 16}, // gap, then the text column
        {761, row0, 15}, {762, row0, std::nullopt},
        {320, row2, 39}, {350, row2, std::nullopt}, {682, row2, std::nullopt}, // right of the last byte
        {200, row3, std::nullopt}, // below the last row
        {200, 7, std::nullopt}, {200, kClientHeight - 8, std::nullopt}, // margins
        {-5, row0, std::nullopt}, // a captured mouse left of the window
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(view.HitTest(c.x, c.y), c.expected) << c.x << "," << c.y;
    }
    view.SetDpi(192); // physical pixels are halved into DIPs
    (void)view.SetClientSize(2 * kClientWidth, 2 * kClientHeight);
    EXPECT_EQ(view.HitTest(2 * 140, 2 * row1), 17u);
    EXPECT_EQ(view.HitTest(2 * 105, 2 * row1), std::nullopt);

    SizedView empty(0);
    EXPECT_EQ(empty.view.HitTest(120, row0), std::nullopt); // no byte to hit
    EXPECT_EQ(empty.view.VerticalScrollBar(), (ScrollBarInfo{0, 0, 10, 0}));
}

TEST(HexViewModelGeometry, PointsOutsideThePaintedDataHitNothing)
{
    // Ten full rows and a 15-DIP strip under them; 400 wide, so the data area ends at 392 and
    // the hex column scrolled 60 DIPs to the left starts at 50, under the offset column.
    SizedView sized(16 * 100, 400, kClientHeight + 15);
    HexViewModel& view = sized.view;
    const std::int32_t lastRow = 8 + 9 * 22 + 11;
    // clang-format off
    struct Case { const char* region; std::int32_t x, y; std::optional<std::uint64_t> expected; };
    const Case cases[] = {
        {"last full row", 200, lastRow, 16 * 9 + 5},
        {"strip under the last full row", 200, 8 + 10 * 22 + 2, std::nullopt},
        {"offset column over a scrolled cell", 60, 19, std::nullopt},
        {"gap over a scrolled cell", 109, 19, std::nullopt},
        {"first visible data", 110, 19, 2},
        {"right edge of the data area", 391, 19, 11},
        {"right margin of a narrow window", 395, 19, std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.region);
        (void)view.SetTopRow(0);
        (void)view.OnHorizontalScroll(ScrollRequest::ThumbTrack, 60);
        EXPECT_EQ(view.HitTest(c.x, c.y), c.expected);
        if (!c.expected) { // and a click there selects nothing and scrolls nowhere
            (void)view.OnLButtonDown(c.x, c.y);
            (void)view.OnLButtonUp();
            EXPECT_EQ(view.TopRow(), 0u);
            EXPECT_EQ(view.HorizontalScroll(), 60);
            EXPECT_FALSE(view.HasSelection());
        }
    }
}

TEST(HexViewModelGeometry, RowsAndScrollLimitsFollowSizeModeAndCaret)
{
    // insertAtEnd: Insert mode with the caret at Size()
    // clang-format off
    struct Case { const char* name; std::uint64_t size; bool insertAtEnd;
        std::uint64_t totalRows, maxTopRow; };
    const Case cases[] = {
        {"empty", 0, false, 0, 0},
        {"ten rows fit", 160, false, 10, 0},
        {"eleven rows", 161, false, 11, 1},
        {"insert at the end of a full row adds a row", 160, true, 11, 1},
        {"insert at the end of a partial row adds none", 161, true, 11, 1},
        {"insert in an empty document adds none", 0, true, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SizedView sized(c.size);
        HexViewModel& view = sized.view;
        if (c.insertAtEnd) {
            (void)view.ToggleEditMode();
            (void)view.SetCaret(c.size);
        }
        EXPECT_EQ(view.TotalRows(), c.totalRows);
        (void)view.SetTopRow(1000);
        EXPECT_EQ(view.TopRow(), c.maxTopRow);
    }
    // Narrower than offset column and margins, shorter than a row: no page, still one row.
    SizedView tiny(1000, 60, 10);
    EXPECT_EQ(tiny.view.HorizontalScrollBar(), (ScrollBarInfo{0, 480 + 12 + 160 - 1, 0, 0}));
    EXPECT_EQ(tiny.view.VisibleRows(), 1u);
}

TEST(HexViewModelGeometry, ScrollBarRequests)
{
    // 100 rows with ten visible; 282 DIPs of the 652-DIP data columns visible.
    SizedView sized(16 * 100, 400, kClientHeight);
    HexViewModel& view = sized.view;
    // clang-format off
    struct Case { bool vertical; std::int64_t from; ScrollRequest request; std::int32_t track;
        std::int64_t expected; };
    const Case cases[] = {
        {true, 0, ScrollRequest::LineBack, 0, 0}, {true, 90, ScrollRequest::LineForward, 0, 90},
        {true, 10, ScrollRequest::PageBack, 0, 0}, {true, 25, ScrollRequest::PageBack, 0, 15},
        {true, 85, ScrollRequest::PageForward, 0, 90}, {true, 3, ScrollRequest::ThumbTrack, 42, 42},
        {true, 3, ScrollRequest::ThumbPosition, 500, 90}, {true, 0, ScrollRequest::End, 0, 90},
        {true, 7, ScrollRequest::EndScroll, 0, 7}, {false, 25, ScrollRequest::LineBack, 0, 15},
        {false, 0, ScrollRequest::LineBack, 0, 0}, {false, 300, ScrollRequest::PageBack, 0, 18},
        {false, 300, ScrollRequest::PageForward, 0, 370}, {false, 0, ScrollRequest::ThumbTrack, -50, 0},
        {false, 0, ScrollRequest::End, 0, 370},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.vertical << " " << c.from << " " << static_cast<int>(c.request));
        if (c.vertical) {
            (void)view.SetTopRow(static_cast<std::uint64_t>(c.from));
            const ViewEffects effects = view.OnVerticalScroll(c.request, c.track);
            EXPECT_EQ(static_cast<std::int64_t>(view.TopRow()), c.expected);
            EXPECT_EQ(effects.viewChanged, c.request != ScrollRequest::EndScroll);
        } else {
            (void)view.OnHorizontalScroll(ScrollRequest::ThumbTrack,
                                          static_cast<std::int32_t>(c.from));
            const ViewEffects effects = view.OnHorizontalScroll(c.request, c.track);
            EXPECT_EQ(view.HorizontalScroll(), c.expected);
            EXPECT_FALSE(effects.viewChanged); // horizontal scrolling is not notified
        }
    }
}

TEST(HexViewModelGeometry, ScrollBarStopsAt2To31RowsWhileTheKeyboardGoesOn)
{
    const std::uint64_t rows = 1ull << 36;
    SizedView sized(rows * 16);
    HexViewModel& view = sized.view;
    const std::int32_t top = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(view.VerticalScrollBar().maximum, top);
    (void)view.OnVerticalScroll(ScrollRequest::ThumbTrack, top);
    EXPECT_EQ(view.TopRow(), static_cast<std::uint64_t>(top));
    (void)view.OnKeyDown(vk::kEnd, true);
    EXPECT_EQ(view.TopRow(), rows - 10);
    EXPECT_EQ(view.VerticalScrollBar().position, top);
    EXPECT_EQ(sized.document.bytesRead, 0u); // scrolling alone reads nothing
}

TEST(HexViewModelGeometry, WheelScrollsThreeRowsOrZoomsWithCtrl)
{
    SizedView sized(16 * 100);
    HexViewModel& view = sized.view;
    // clang-format off
    struct Case { std::uint64_t from; std::int32_t distance; bool ctrl; std::uint64_t expectedTop;
        float expectedZoom; };
    const Case cases[] = {
        {10, 1, false, 7, 1.0f}, // a high-resolution wheel still moves three rows
        {2, 120, false, 0, 1.0f}, {10, 0, false, 13, 1.0f}, {89, -120, false, 90, 1.0f},
        {10, 120, true, 0, 1.1f}, {10, 0, true, 0, 0.9f}, // zooming keeps the caret (at 0) in view
    };
    // clang-format on
    for (const Case& c : cases) {
        (void)view.ResetZoom();
        (void)view.SetTopRow(c.from);
        EXPECT_EQ(view.OnMouseWheel(c.distance, c.ctrl).zoomChanged, c.ctrl);
        EXPECT_EQ(view.TopRow(), c.expectedTop);
        EXPECT_NEAR(view.Zoom(), c.expectedZoom, 1e-5);
    }
}

TEST(HexViewModelGeometry, ZoomIsLimitedAndOnlyRealChangesNotify)
{
    SizedView sized(100);
    HexViewModel& view = sized.view;
    // delta: 0: ResetZoom
    // clang-format off
    struct Step { float delta; float expected; bool notified; };
    const Step steps[] = {
        {1.45f, 2.45f, true}, {0.1f, 2.5f, true},   {0.1f, 2.5f, false},
        {0.0f, 1.0f, true},   {0.0f, 1.0f, false},  {-0.35f, 0.65f, true},
        {-0.1f, 0.6f, true},  {-0.1f, 0.6f, false}, {0.0005f, 0.6f, false},
    };
    // clang-format on
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.delta << " to " << s.expected);
        const ViewEffects effects = s.delta == 0.0f ? view.ResetZoom() : view.ZoomBy(s.delta);
        EXPECT_NEAR(view.Zoom(), s.expected, 1e-5);
        EXPECT_EQ(effects.zoomChanged, s.notified);
        EXPECT_NEAR(view.Metrics().fontSize, 16.0f * s.expected, 1e-3);
    }
}

TEST(HexViewModelGeometry, FontSizesAreLimitedAndTheSameFontChangesNothing)
{
    SizedView sized(100);
    HexViewModel& view = sized.view;
    // clang-format off
    struct Case { std::u16string family; float points; bool bold, changes; float expectedDips; };
    const Case cases[] = {
        {u"Consolas", 12.0f, false, false, 16.0f}, // the initial font
        {u"DejaVu Sans Mono", 72.0f, false, true, 64.0f},
        {u"dejavu sans MONO", 48.0f, false, false, 64.0f},
        {u"DejaVu Sans Mono", 4.0f, false, true, 8.0f},
        {u"DejaVu Sans Mono", 6.0f, true, true, 8.0f},
        {u"", 20.0f, false, false, 8.0f},
        {u"Consolas", std::numeric_limits<float>::quiet_NaN(), true, true, 8.0f},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.points);
        EXPECT_EQ(view.SetFont(c.family, c.points, c.bold, false).viewChanged, c.changes);
        EXPECT_FLOAT_EQ(view.Metrics().baseFontSize, c.expectedDips);
    }
    EXPECT_EQ(view.FontFamily(), u"Consolas");
}

TEST(HexViewModelGeometry, CaretIsScrolledIntoViewBothWays)
{
    SizedView sized(16 * 100, 400, kClientHeight); // 282 DIPs of data visible
    HexViewModel& view = sized.view;
    // clang-format off
    struct Case { std::uint64_t caret, expectedTop; std::int32_t expectedScroll; };
    const Case cases[] = {
        {16 * 9 + 9, 0,
         30 * 9 + 20 - 282}, // the right edge of the caret's two digits comes into view
        {16 * 10, 1, 0},     // one row below the last visible row
        {16 * 99 + 15, 90, 30 * 15 + 20 - 282},
        {16 * 50 + 2, 50, 60}, // above: becomes the top row; the left edge scrolls back
    };
    // clang-format on
    for (const Case& c : cases) {
        (void)view.SetCaret(c.caret);
        EXPECT_EQ(view.TopRow(), c.expectedTop) << c.caret;
        EXPECT_EQ(view.HorizontalScroll(), c.expectedScroll) << c.caret;
    }
}

} // namespace
} // namespace orx::test
