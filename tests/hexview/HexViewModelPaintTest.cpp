#include "hexview/HexViewModel.h"

#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

TEST(HexViewModelPaint, OnlyVisibleRowsAreReadWhateverTheDocumentSize)
{
    // clang-format off
    struct Case { const char* name; std::uint64_t size; std::uint64_t topRow; const char16_t* firstOffset; };
    // clang-format on
    const Case cases[] = {
        {"4 KiB", 4096, 0, u"00000000:"},
        {"4 GiB - 1 keeps 8 digits", (1ull << 32) - 1, (1ull << 28) - 20, u"FFFFFEC0:"},
        {"4 GiB, 16 digits", 1ull << 32, (1ull << 28) - 10, u"00000000FFFFFF60:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SizedView sized(c.size);
        HexViewModel& view = sized.view;
        (void)view.SetTopRow(c.topRow);
        const PaintModel paint = view.BuildPaintModel();
        ASSERT_EQ(paint.rows.size(), 10u);
        EXPECT_EQ(sized.document.bytesRead, 160u);
        EXPECT_EQ(paint.rows[0].rowIndex, c.topRow);
        std::u16string offset;
        for (const PaintCell& cell : paint.rows[0].offsetCells) {
            offset += cell.text;
        }
        EXPECT_EQ(offset, c.firstOffset);
        // One box per offset character, on the hex cell grid.
        EXPECT_EQ(paint.rows[0].offsetCells.back().box.left,
                  8.0f + 10.0f * static_cast<float>(offset.size() - 1));
    }
}

TEST(HexViewModelPaint, RowsStopAfterTheLastByteExceptTheInsertModeExtraRow)
{
    // clang-format off
    struct Case { const char* name; std::uint64_t size; bool insertAtEnd; std::size_t rows;
        std::size_t lastRowCells; };
    // clang-format on
    const Case cases[] = {
        {"partial last row", 40, false, 3, 8},
        {"full last row", 32, false, 2, 16},
        {"extra row for the insert caret", 32, true, 3, 0},
        {"empty document", 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SizedView sized(c.size);
        HexViewModel& view = sized.view;
        (void)view.OnSetFocus();
        if (c.insertAtEnd) {
            (void)view.ToggleEditMode();
            (void)view.SetCaret(c.size);
        }
        const PaintModel paint = view.BuildPaintModel();
        ASSERT_EQ(paint.rows.size(), c.rows);
        if (c.rows == 0) {
            continue;
        }
        const PaintRow& last = paint.rows.back();
        EXPECT_EQ(last.hexCells.size(), c.lastRowCells);
        EXPECT_FALSE(last.offsetCells.empty());
        if (c.insertAtEnd) {
            // The caret bar at column 0 of the otherwise empty row.
            EXPECT_EQ(last.caret.style, CaretStyle::Bar);
            EXPECT_FLOAT_EQ(last.caret.hex.left, kHexStart);
            EXPECT_FLOAT_EQ(last.caret.hex.top, 8.0f + 2 * kRow);
        }
    }
}

TEST(HexViewModelPaint, CaretBoxAlwaysShowsAndTheInsertBarFollowsFocusAndBlink)
{
    // clang-format off
    struct Case { const char* name; EditMode mode; bool focused; bool blinkOn; CaretStyle expected;
        float hexWidth; };
    // clang-format on
    const Case cases[] = {
        {"overwrite without focus", EditMode::Overwrite, false, false, CaretStyle::Box, 20.0f},
        {"overwrite with focus", EditMode::Overwrite, true, true, CaretStyle::Box, 20.0f},
        {"insert with focus", EditMode::Insert, true, true, CaretStyle::Bar, 2.0f},
        {"insert, hidden blink phase", EditMode::Insert, true, false, CaretStyle::None, 0.0f},
        {"insert without focus", EditMode::Insert, false, false, CaretStyle::None, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SizedView sized(64);
        HexViewModel& view = sized.view;
        if (c.mode == EditMode::Insert) {
            (void)view.ToggleEditMode();
        }
        if (c.focused) {
            (void)view.OnSetFocus();
            if (!c.blinkOn) {
                (void)view.OnBlinkTimer();
            }
        }
        (void)view.SetCaret(0x13); // row 1, column 3
        const PaintModel paint = view.BuildPaintModel();
        EXPECT_EQ(paint.rows[0].caret.style, CaretStyle::None);
        const PaintCaret& caret = paint.rows[1].caret;
        EXPECT_EQ(caret.style, c.expected);
        if (c.expected != CaretStyle::None) {
            EXPECT_EQ(caret.hex,
                      (RectF{kHexStart + 90, 8 + kRow, kHexStart + 90 + c.hexWidth, 8 + 2 * kRow}));
            const float textWidth = c.expected == CaretStyle::Box ? 10.0f : 2.0f;
            EXPECT_EQ(caret.text, (RectF{kTextStart + 30, 8 + kRow, kTextStart + 30 + textWidth,
                                         8 + 2 * kRow}));
        }
    }
}

TEST(HexViewModelPaint, SelectionIsOneUnbrokenBandPerColumnAndRow)
{
    SizedView sized(64);
    HexViewModel& view = sized.view;
    (void)view.SetSelection(0x12, 0x0E); // rows 0 and 1, set backwards
    const PaintModel paint = view.BuildPaintModel();
    const float top0 = 8, top1 = 8 + kRow, top2 = 8 + 2 * kRow;
    // The hex band covers the space after each byte, so it runs to the column's end.
    EXPECT_EQ(paint.rows[0].selection,
              (std::vector<RectF>{{kHexStart + 14 * 30, top0, kHexStart + 16 * 30, top1},
                                  {kTextStart + 140, top0, kTextStart + 160, top1}}));
    EXPECT_EQ(paint.rows[1].selection,
              (std::vector<RectF>{{kHexStart, top1, kHexStart + 3 * 30, top2},
                                  {kTextStart, top1, kTextStart + 30, top2}}));
    EXPECT_TRUE(paint.rows[2].selection.empty());
}

TEST(HexViewModelPaint, MarkedRunsAreCutAtRowEdgesAndRepaintTheViewWhenTheyChange)
{
    struct Marks final : IByteMarks {
        void MarksIn(std::uint64_t first, std::uint64_t end,
                     std::vector<MarkedRange>& out) const override
        {
            asked = {first, end};
            out.insert(out.end(), ranges.begin(), ranges.end());
        }
        std::vector<MarkedRange> ranges;
        mutable std::pair<std::uint64_t, std::uint64_t> asked;
    } marks;
    marks.ranges = {{0x0E, 3, MarkKind::Hit},            // rows 0 and 1
                    {0x30, ~0ull, MarkKind::Difference}, // to the end, without overflow
                    {0x100, 4, MarkKind::Hit}};          // past the end
    SizedView sized(64);
    HexViewModel& view = sized.view;
    (void)view.TakeRepaintPlan();
    view.AddMarks(&marks);
    EXPECT_TRUE(view.TakeRepaintPlan().all);
    const PaintModel paint = view.BuildPaintModel();
    EXPECT_EQ(marks.asked, (std::pair<std::uint64_t, std::uint64_t>{0, 160}));
    const float top0 = 8, top1 = 8 + kRow, top3 = 8 + 3 * kRow, top4 = 8 + 4 * kRow;
    const auto hit = MarkKind::Hit, diff = MarkKind::Difference;
    // The hex band stops at the last digit, not after the space behind it.
    EXPECT_EQ(
        paint.rows[0].marks,
        (std::vector<PaintMark>{{{kHexStart + 14 * 30, top0, kHexStart + 15 * 30 + 20, top1}, hit},
                                {{kTextStart + 140, top0, kTextStart + 160, top1}, hit}}));
    EXPECT_EQ(paint.rows[1].marks.size(), 2u);
    EXPECT_TRUE(paint.rows[2].marks.empty());
    EXPECT_EQ(paint.rows[3].marks,
              (std::vector<PaintMark>{{{kHexStart, top3, kHexStart + 15 * 30 + 20, top4}, diff},
                                      {{kTextStart, top3, kTextStart + 160, top4}, diff}}));
    (void)view.MarksChanged();
    EXPECT_TRUE(view.TakeRepaintPlan().all);
    view.RemoveMarks(&marks);
    EXPECT_TRUE(view.TakeRepaintPlan().all);
    EXPECT_TRUE(view.BuildPaintModel().rows[0].marks.empty());
}

TEST(SingleMark, GivesItsRangeToTheSpansItMeets)
{
    SingleMark mark;
    EXPECT_FALSE(mark.Set(MarkedRange{5, 0, MarkKind::Field})) << "an empty range marks nothing";
    EXPECT_TRUE(mark.Set(MarkedRange{0x10, 4, MarkKind::Field}));
    EXPECT_FALSE(mark.Set(MarkedRange{0x10, 4, MarkKind::Field}));
    const std::pair<std::uint64_t, std::uint64_t> meets[] = {{0, 0x11}, {0x13, 0x20}, {0x11, 0x12}};
    const std::pair<std::uint64_t, std::uint64_t> misses[] = {{0, 0x10}, {0x14, 0x100}};
    std::vector<MarkedRange> out;
    for (const auto& [first, end] : meets) {
        out.clear();
        mark.MarksIn(first, end, out);
        EXPECT_EQ(out.size(), 1u) << first;
    }
    for (const auto& [first, end] : misses) {
        out.clear();
        mark.MarksIn(first, end, out);
        EXPECT_TRUE(out.empty()) << first;
    }
    // A mark that ends at the top of the offsets does not wrap around to the start.
    EXPECT_TRUE(mark.Set(MarkedRange{UINT64_MAX - 1, 2, MarkKind::Field}));
    out.clear();
    mark.MarksIn(0, 0x100, out);
    EXPECT_TRUE(out.empty());
    mark.MarksIn(UINT64_MAX - 1, UINT64_MAX, out);
    EXPECT_EQ(out.size(), 1u);
    EXPECT_TRUE(mark.Set(std::nullopt));
    EXPECT_TRUE(mark.Empty());
}

TEST(HexViewModelPaint, HorizontalScrollMovesDataUnderAFixedOffsetColumn)
{
    SizedView sized(32, 400, kClientHeight);
    HexViewModel& view = sized.view;
    (void)view.OnHorizontalScroll(ScrollRequest::ThumbTrack, 100);
    const PaintRow row = view.BuildPaintModel().rows[0];
    EXPECT_EQ(row.offsetClip, (RectF{8, 8, 98, 8 + kRow}));
    EXPECT_EQ(row.dataClip, (RectF{110, 8, 392, 8 + kRow})); // bytes scrolled left are clipped here
    EXPECT_EQ(row.glyphClip,
              (RectF{110, 0, 392, 8 + 2 * kRow})); // tall glyphs may reach a row up and down
    EXPECT_EQ(row.offsetCells[0].box.left, 8.0f);
    EXPECT_EQ(row.hexCells[0].box, (RectF{10, 8, 30, 8 + kRow}));
    EXPECT_EQ(row.hexCells[0].text, u"00");
    EXPECT_EQ(row.hexCells[1].text, u"07");
}

TEST(HexViewModelPaint, UnknownThemeValuesPaintAsLight)
{
    HexViewModel view;
    (void)view.SetTheme(static_cast<Theme>(7));
    const PaintModel paint = view.BuildPaintModel();
    EXPECT_EQ(paint.palette.background, HexViewPalette(Theme::Light).background);
    EXPECT_TRUE(paint.rows.empty()); // no document: an empty background
}

TEST(HexViewModelPaint, MeasuringAveragesLinesAndTakesTheWidestProbeCharacter)
{
    class Measurer final : public ITextMeasurer {
    public:
        std::vector<float> LineHeights(std::u16string_view, float, float) override
        {
            return {18, 20, 19, 19};
        }
        std::optional<float> WidthIncludingTrailingSpace(std::u16string_view text, float,
                                                         float) override
        {
            ++calls;
            if (text == u"W") {
                return std::nullopt; // a failed layout is skipped
            }
            return text == u"m" ? 12.0f : text == u":" ? 9.5f : 6.0f; // a proportional font
        }
        int calls = 0;
    } measurer;
    const TextMetrics metrics = MeasureTextMetrics(measurer);
    EXPECT_FLOAT_EQ(metrics.lineHeight, 19.0f);
    EXPECT_FLOAT_EQ(metrics.hexCellWidth, 9.5f);
    EXPECT_FLOAT_EQ(metrics.textCellWidth, 12.0f);
    EXPECT_EQ(measurer.calls, 17 + 95);
}

} // namespace
} // namespace orx::test
