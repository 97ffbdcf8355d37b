#include "hexview/HexViewModel.h"

#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace orx::test {
namespace {

TEST(HexViewModelGeometry, MetricsFollowMeasurementFontSizeAndDocumentSize) {
    struct Case {
        const char* name;
        std::optional<TextMetrics> measured;
        std::uint64_t documentSize;
        float zoom;
        ViewMetrics expected; // only the fields checked below
    };
    const Case cases[] = {
        // No text system: minimum row, 8-DIP cells and no columns at all.
        {"unmeasured", std::nullopt, 100, 1.0f, {17, 8, 0, 0, 0, 12, 16, 16, 8, 8}},
        // Tall line: line height plus 15 % of the font size wins.
        {"line height", TextMetrics{30, 9, 7}, 100, 1.0f, {32.4f, 8, 81, 432, 112, 12, 16, 16, 9, 7}},
        // Short line: 1.35 × font size wins.
        {"font size", TextMetrics{10, 9, 7}, 100, 1.0f, {21.6f, 8, 81, 432, 112, 12, 16, 16, 9, 7}},
        // Tiny font: the 17-DIP floor wins; failed line metrics count as 17.
        {"floor", TextMetrics{0, 4, 4}, 100, 0.6f, {17.0f + 0.15f * 9.6f, 8, 36, 192, 64, 12, 16, 9.6f, 4, 4}},
        // Glyph widths below 1 become 1.
        {"narrow glyphs", TextMetrics{16, 0.2f, 0}, 100, 1.0f, {21.6f, 8, 9, 48, 16, 12, 16, 16, 1, 1}},
        // The offset column needs 16 digits from 4 GiB on.
        {"4 GiB - 1", TextMetrics{16, 10, 10}, (1ull << 32) - 1, 1.0f, {21.6f, 8, 90, 480, 160, 12, 16, 16, 10, 10}},
        {"4 GiB", TextMetrics{16, 10, 10}, 1ull << 32, 1.0f, {21.6f, 8, 170, 480, 160, 12, 16, 16, 10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SizedDocument document(c.documentSize);
        HexViewModel view;
        (void)view.SetDocument(&document, nullptr);
        if (c.zoom != 1.0f) {
            (void)view.ZoomBy(c.zoom - 1.0f);
        }
        view.ComputeMetrics(c.measured);
        const ViewMetrics& m = view.Metrics();
        EXPECT_NEAR(m.rowHeight, c.expected.rowHeight, 1e-3);
        EXPECT_FLOAT_EQ(m.offsetColumnWidth, c.expected.offsetColumnWidth);
        EXPECT_FLOAT_EQ(m.hexColumnWidth, c.expected.hexColumnWidth);
        EXPECT_FLOAT_EQ(m.textColumnWidth, c.expected.textColumnWidth);
        EXPECT_FLOAT_EQ(m.hexCellWidth, c.expected.hexCellWidth);
        EXPECT_FLOAT_EQ(m.textCellWidth, c.expected.textCellWidth);
        EXPECT_NEAR(m.fontSize, c.expected.fontSize, 1e-4);
    }
}

TEST(HexViewModelGeometry, InsertingTheByteThatReaches4GiBWidensTheOffsetColumn) {
    // A sparse file of 4 GiB - 1 bytes: the real document, the real insertion.
    TempDir dir;
    const std::u16string path = dir.Path(u"big.bin");
    std::filesystem::resize_file(ToPath(dir.Write(u"big.bin", "")), (1ull << 32) - 1);
    EditableDocument document;
    ASSERT_TRUE(document.Open(path));
    HexViewModel view;
    PrepareView(view);
    (void)view.SetDocument(&document, &document);
    EXPECT_FLOAT_EQ(view.Metrics().offsetColumnWidth, 9 * 10.0f);

    (void)view.ToggleEditingEnabled();
    (void)view.ToggleEditMode();
    const InputResult first = view.OnChar(u'4');
    const InputResult second = view.OnChar(u'1');
    EXPECT_TRUE(first.handled && second.handled);
    EXPECT_EQ(document.Size(), 1ull << 32);
    EXPECT_FLOAT_EQ(view.Metrics().offsetColumnWidth, 17 * 10.0f);
    EXPECT_TRUE(second.effects.dropDeviceResources);
}

TEST(HexViewModelGeometry, HitTestMapsPointsToBytesAndMissesEverythingElse) {
    // 40 bytes: rows 0 and 1 full, row 2 holds 32..39.
    SizedView sized(40);
    auto& [document, view] = sized;
    struct Case {
        std::int32_t x, y;
        std::optional<std::uint64_t> expected;
    };
    // The middle of each row.
    const std::int32_t row0 = 19, row1 = 19 + 22, row2 = 19 + 44, row3 = 19 + 66;
    const Case cases[] = {
        {50, row0, std::nullopt},    // offset column
        {105, row0, std::nullopt},   // gap before the hex column
        {110, row0, 0},              // first digit
        {139, row0, 0},              // the space after the two digits belongs to the byte
        {140, row0, 1},
        {589, row1, 31},             // last hex cell of row 1
        {595, row1, std::nullopt},   // gap between hex and text columns
        {602, row1, 16},             // text column, same caret as the hex column
        {761, row0, 15},
        {762, row0, std::nullopt},   // right of the text column
        {110 + 30 * 7, row2, 39},    // last byte of the short last row
        {110 + 30 * 8, row2, std::nullopt}, // right of the last byte
        {602 + 10 * 8, row2, std::nullopt},
        {200, row3, std::nullopt},   // below the last row
        {200, 7, std::nullopt},      // top margin
        {200, kClientHeight - 8, std::nullopt}, // bottom margin
        {-5, row0, std::nullopt},    // a captured mouse left of the window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(view.HitTest(c.x, c.y), c.expected);
    }

    // Physical pixels at 192 DPI are halved into DIPs.
    view.SetDpi(192);
    (void)view.SetClientSize(2 * kClientWidth, 2 * kClientHeight);
    EXPECT_EQ(view.HitTest(2 * 140, 2 * row1), 17u);
    EXPECT_EQ(view.HitTest(2 * 105, 2 * row1), std::nullopt);
}

TEST(HexViewModelGeometry, NoDocumentOrAnEmptyOneNeverHits) {
    HexViewModel view;
    PrepareView(view);
    EXPECT_EQ(view.HitTest(120, 10), std::nullopt);
    SizedDocument empty(0);
    (void)view.SetDocument(&empty, nullptr);
    EXPECT_EQ(view.HitTest(120, 10), std::nullopt);
    EXPECT_EQ(view.VerticalScrollBar(), (ScrollBarInfo{0, 0, 10, 0}));
}

TEST(HexViewModelGeometry, RowsAndScrollLimitsFollowSizeModeAndCaret) {
    struct Case {
        const char* name;
        std::uint64_t size;
        bool insertAtEnd; // Insert mode with the caret at Size()
        std::uint64_t totalRows;
        std::uint64_t maxTopRow;
    };
    const Case cases[] = {
        {"empty", 0, false, 0, 0},
        {"one byte", 1, false, 1, 0},
        {"exactly ten rows", 160, false, 10, 0},
        {"eleven rows", 161, false, 11, 1},
        {"insert at end of full row adds a row", 160, true, 11, 1},
        {"insert at end of partial row adds none", 161, true, 11, 1},
        {"insert in empty document adds none", 0, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SizedView sized(c.size);
        auto& [document, view] = sized;
        if (c.insertAtEnd) {
            (void)view.ToggleEditMode();
            (void)view.SetCaret(c.size);
            EXPECT_EQ(view.CaretOffset(), c.size);
        }
        EXPECT_EQ(view.VisibleRows(), 10u);
        EXPECT_EQ(view.TotalRows(), c.totalRows);
        EXPECT_EQ(view.MaxTopRow(), c.maxTopRow);
        (void)view.SetTopRow(1000);
        EXPECT_EQ(view.TopRow(), c.maxTopRow);
    }
}

TEST(HexViewModelGeometry, NarrowAndShortWindowsStillWork) {
    SizedView sized(1000, 60, 10);
    auto& [document, view] = sized;
    // Narrower than the offset column plus margins: no horizontal page, full content range.
    EXPECT_EQ(view.ScrollViewWidth(), 0);
    EXPECT_EQ(view.HorizontalScrollBar(), (ScrollBarInfo{0, 480 + 12 + 160 - 1, 0, 0}));
    EXPECT_EQ(view.MaxHorizontalScroll(), 652);
    // Shorter than one row: still one visible row.
    EXPECT_EQ(view.VisibleRows(), 1u);
}

TEST(HexViewModelGeometry, VerticalScrollRequests) {
    SizedView sized(16 * 100); // 100 rows, ten visible, max top row 90
    auto& [document, view] = sized;
    struct Case {
        std::uint64_t from;
        ScrollRequest request;
        std::int32_t track;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {0, ScrollRequest::LineBack, 0, 0},       {5, ScrollRequest::LineBack, 0, 4},
        {5, ScrollRequest::LineForward, 0, 6},    {90, ScrollRequest::LineForward, 0, 90},
        {10, ScrollRequest::PageBack, 0, 0},      {25, ScrollRequest::PageBack, 0, 15},
        {25, ScrollRequest::PageForward, 0, 35},  {85, ScrollRequest::PageForward, 0, 90},
        {3, ScrollRequest::ThumbTrack, 42, 42},   {3, ScrollRequest::ThumbPosition, 500, 90},
        {50, ScrollRequest::Start, 0, 0},         {0, ScrollRequest::End, 0, 90},
        {7, ScrollRequest::EndScroll, 0, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " request " << static_cast<int>(c.request));
        (void)view.SetTopRow(c.from);
        const ViewEffects effects = view.OnVerticalScroll(c.request, c.track);
        EXPECT_EQ(view.TopRow(), c.expected);
        EXPECT_EQ(effects.viewChanged, c.request != ScrollRequest::EndScroll);
        EXPECT_EQ(view.VerticalScrollBar().position, static_cast<std::int32_t>(c.expected));
    }
}

TEST(HexViewModelGeometry, HorizontalScrollStepsAndLimits) {
    SizedView sized(64, 400, kClientHeight); // view width 400 - 8 - 90 - 12 - 8 = 282
    auto& [document, view] = sized;
    ASSERT_EQ(view.ScrollViewWidth(), 282);
    ASSERT_EQ(view.MaxHorizontalScroll(), 652 - 282);
    struct Case {
        std::int32_t from;
        ScrollRequest request;
        std::int32_t track;
        std::int32_t expected;
    };
    const Case cases[] = {
        {0, ScrollRequest::LineBack, 0, 0},          {25, ScrollRequest::LineBack, 0, 15},
        {25, ScrollRequest::LineForward, 0, 35},     {300, ScrollRequest::PageBack, 0, 18},
        {300, ScrollRequest::PageForward, 0, 370},   {0, ScrollRequest::ThumbTrack, 123, 123},
        {0, ScrollRequest::ThumbTrack, -50, 0},      {0, ScrollRequest::End, 0, 370},
        {200, ScrollRequest::Start, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " request " << static_cast<int>(c.request));
        (void)view.OnHorizontalScroll(ScrollRequest::ThumbTrack, c.from);
        const ViewEffects effects = view.OnHorizontalScroll(c.request, c.track);
        EXPECT_EQ(view.HorizontalScroll(), c.expected);
        EXPECT_FALSE(effects.viewChanged); // horizontal scrolling is not notified
        EXPECT_FLOAT_EQ(view.HexStart(), kHexStart - static_cast<float>(c.expected));
    }
}

TEST(HexViewModelGeometry, ScrollBarStopsAt2To31RowsWhileTheKeyboardGoesOn) {
    const std::uint64_t rows = 1ull << 36;
    SizedView sized(rows * 16);
    auto& [document, view] = sized;
    const std::int32_t top = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(view.VerticalScrollBar().maximum, top);

    (void)view.OnVerticalScroll(ScrollRequest::ThumbTrack, top);
    EXPECT_EQ(view.TopRow(), static_cast<std::uint64_t>(top));

    (void)view.OnKeyDown(vk::kEnd, true);
    EXPECT_EQ(view.CaretOffset(), rows * 16 - 1);
    EXPECT_EQ(view.TopRow(), rows - 10);
    EXPECT_EQ(view.VerticalScrollBar().position, top);
    EXPECT_EQ(document.bytesRead, 0u); // scrolling alone reads nothing
}

TEST(HexViewModelGeometry, WheelScrollsThreeRowsOrZoomsWithCtrl) {
    SizedView sized(16 * 100);
    auto& [document, view] = sized;
    struct Case {
        std::uint64_t from;
        std::int32_t distance;
        bool ctrl;
        std::uint64_t expectedTop;
        float expectedZoom;
    };
    const Case cases[] = {
        {10, 120, false, 7, 1.0f}, {10, 1, false, 7, 1.0f}, // a high-resolution wheel still moves three rows
        {2, 120, false, 0, 1.0f},  {10, -1, false, 13, 1.0f}, {10, 0, false, 13, 1.0f},
        {89, -120, false, 90, 1.0f},
        // Zooming keeps the caret (at 0) in view.
        {10, 120, true, 0, 1.1f}, {10, 0, true, 0, 0.9f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " " << c.distance << " ctrl " << c.ctrl);
        (void)view.ResetZoom();
        (void)view.SetTopRow(c.from);
        const ViewEffects effects = view.OnMouseWheel(c.distance, c.ctrl);
        EXPECT_EQ(view.TopRow(), c.expectedTop);
        EXPECT_NEAR(view.Zoom(), c.expectedZoom, 1e-5);
        EXPECT_EQ(effects.zoomChanged, c.ctrl);
    }
}

TEST(HexViewModelGeometry, ZoomIsLimitedAndOnlyRealChangesNotify) {
    SizedView sized(100);
    auto& [document, view] = sized;
    struct Step {
        float delta; // 0 means ResetZoom
        float expected;
        bool notified;
    };
    const Step steps[] = {
        {1.45f, 2.45f, true}, {0.1f, 2.5f, true},  {0.1f, 2.5f, false}, {0.0f, 1.0f, true},
        {0.0f, 1.0f, false},  {-0.35f, 0.65f, true}, {-0.1f, 0.6f, true}, {-0.1f, 0.6f, false},
        {0.0005f, 0.6f, false}, // below the 0.001 threshold
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "delta " << s.delta << " to " << s.expected);
        const ViewEffects effects = s.delta == 0.0f ? view.ResetZoom() : view.ZoomBy(s.delta);
        EXPECT_NEAR(view.Zoom(), s.expected, 1e-5);
        EXPECT_EQ(effects.zoomChanged, s.notified);
        EXPECT_EQ(effects.dropDeviceResources, s.notified);
        if (s.notified) {
            EXPECT_NEAR(view.Metrics().fontSize, 16.0f * s.expected, 1e-3);
        }
    }
}

TEST(HexViewModelGeometry, FontSizesAreLimitedAndTheSameFontChangesNothing) {
    SizedView sized(100);
    auto& [document, view] = sized;
    struct Case {
        std::u16string family;
        float points;
        bool bold;
        bool changes;
        std::u16string expectedFamily;
        float expectedDips;
    };
    const Case cases[] = {
        {u"Consolas", 12.0f, false, false, u"Consolas", 16.0f}, // the initial font
        {u"DejaVu Sans Mono", 72.0f, false, true, u"DejaVu Sans Mono", 64.0f},
        {u"dejavu sans MONO", 48.0f, false, false, u"DejaVu Sans Mono", 64.0f},
        {u"DejaVu Sans Mono", 4.0f, false, true, u"DejaVu Sans Mono", 8.0f},
        {u"DejaVu Sans Mono", 6.0f, true, true, u"DejaVu Sans Mono", 8.0f},
        {u"", 20.0f, false, false, u"DejaVu Sans Mono", 8.0f},
        {u"Consolas", std::numeric_limits<float>::quiet_NaN(), false, true, u"Consolas", 8.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points);
        const ViewEffects effects = view.SetFont(c.family, c.points, c.bold, false);
        EXPECT_EQ(effects.viewChanged, c.changes);
        EXPECT_EQ(effects.dropDeviceResources, c.changes);
        EXPECT_EQ(view.FontFamily(), c.expectedFamily);
        EXPECT_FLOAT_EQ(view.Metrics().baseFontSize, c.expectedDips);
    }
}

TEST(HexViewModelGeometry, CaretIsScrolledIntoViewBothWays) {
    SizedView sized(16 * 100, 400, kClientHeight); // 282 DIPs of data visible
    auto& [document, view] = sized;
    struct Case {
        std::uint64_t caret;
        std::uint64_t expectedTop;
        std::int32_t expectedScroll;
    };
    const Case cases[] = {
        {0, 0, 0},
        {16 * 9 + 9, 0, 30 * 9 + 20 - 282}, // right edge of the caret's two digits comes into view
        {16 * 10, 1, 0},                     // one row below the last visible row
        {16 * 99 + 15, 90, 30 * 15 + 20 - 282},
        {16 * 50 + 2, 50, 60},               // above: becomes the top row; left edge scrolls back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caret);
        (void)view.SetCaret(c.caret);
        EXPECT_EQ(view.TopRow(), c.expectedTop);
        EXPECT_EQ(view.HorizontalScroll(), c.expectedScroll);
    }
}

} // namespace
} // namespace orx::test
