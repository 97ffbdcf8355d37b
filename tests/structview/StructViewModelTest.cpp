#include "structview/StructViewModel.h"

#include "platform/Utf.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using platform::Narrow;

// Each text is the last part of its key: "title", "definition", "offset"...
StructViewTexts KeyTexts()
{
    return LoadStructViewTexts([](std::string_view key) {
        return platform::Widen(std::string(key.substr(key.rfind('.') + 1)));
    });
}

std::vector<StructViewRow> MakeRows(int count)
{
    std::vector<StructViewRow> rows;
    for (int i = 0; i < count; ++i) {
        const std::u16string n = platform::Widen(std::to_string(i));
        rows.push_back({u"m" + n, u"0x" + n, u"v" + n, u"4"});
    }
    return rows;
}

// A view of 700 × 640 pixels holding `rows` rows of a loaded pattern.
StructViewModel TableView(int rows)
{
    StructViewModel view;
    view.SetTexts(KeyTexts());
    (void)view.SetClientSize(700, 640);
    (void)view.SetContent(u"png.orpat", MakeRows(rows), u"entry = Png");
    return view;
}

TEST(StructViewModel, ColumnsFollowTheirWidthsAndDragsStopAtTheMinimum)
{
    StructViewModel view = TableView(3);
    StructViewGeometry g = view.Geometry();
    EXPECT_EQ(g.columns[0].left, 12);
    EXPECT_EQ(g.columns[1].left, 100);
    EXPECT_EQ(g.columns[1].right, 320);
    EXPECT_EQ(g.dropDown, (PixelRect{300, 70, 320, 88}));
    EXPECT_EQ(view.ContentWidth(), 72 + 220 + 72 + 280 + 72);

    // clang-format off
    struct Drag { int column; int moveBy; int width; };
    // clang-format on
    const Drag drags[] = {
        {1, -500, 80},                 // value stops at 80
        {1, 30, 250},  {3, -400, 120}, // name stops at 120
        {0, -100, 56}, {2, 64, 136},
    };
    for (const Drag& drag : drags) {
        SCOPED_TRACE(drag.column);
        StructViewModel fresh = TableView(3);
        const int divider = fresh.Geometry().dividers[drag.column];
        const int headerY = fresh.Geometry().headerTop + 10;
        EXPECT_TRUE(fresh.SizingCursorAt(divider + 4, headerY));
        EXPECT_FALSE(fresh.SizingCursorAt(divider + 4, headerY + 40)) << "rows do not drag";
        EXPECT_TRUE(fresh.OnLButtonDown(divider + 4, headerY).Has(kSvCapture));
        (void)fresh.OnMouseMove(divider + 4 + drag.moveBy, headerY);
        EXPECT_EQ(fresh.ColumnWidths()[drag.column], drag.width);
        EXPECT_TRUE(fresh.OnLButtonUp().Has(kSvReleaseCapture));
        EXPECT_FALSE(fresh.Dragging());
        // A double click on the divider restores the default.
        const int moved = fresh.Geometry().dividers[drag.column];
        (void)fresh.OnLButtonDoubleClick(moved, headerY);
        EXPECT_EQ(fresh.ColumnWidths()[drag.column], kStructColumnDefaultWidths[drag.column]);
    }
}

TEST(StructViewModel, ClicksOpenTheMenuSelectRowsAndClearTheSelection)
{
    StructViewModel view = TableView(5);
    const StructViewGeometry g = view.Geometry();
    EXPECT_TRUE(view.OnLButtonDown(305, 75).Has(kSvFormatMenu));
    (void)view.OnLButtonDown(40, g.rowsTop + 2 * 32 + 5);
    EXPECT_EQ(view.SelectedRow(), 2);
    (void)view.OnLButtonDown(40, g.rowsTop + 5 * 32 + 1);
    EXPECT_EQ(view.SelectedRow(), -1) << "below the last row";
    (void)view.OnLButtonDown(40, g.rowsTop + 1);
    EXPECT_EQ(view.SelectedRow(), 0);
    (void)view.OnLButtonDown(40, 20);
    EXPECT_EQ(view.SelectedRow(), -1) << "above the rows";

    // Outside the table state, clicks do nothing but take the focus.
    (void)view.SetEmptyMessage(u"none");
    EXPECT_EQ(view.OnLButtonDown(305, 75).bits, 0u);
    EXPECT_FALSE(view.SizingCursorAt(g.dividers[0], g.headerTop + 5));
}

TEST(StructViewModel, SelectingARowMarksItsBytesAndActivatingItGoesThere)
{
    StructViewModel view;
    view.SetTexts(KeyTexts());
    (void)view.SetClientSize(700, 640);
    std::vector<StructViewRow> rows = MakeRows(3);
    rows[0] = {u"a", u"0x10", u"1", u"4", true, 0x10, 4};
    rows[1] = {u"b", u"0x14", u"2", u"4", true, 0x14, 4};
    (void)view.SetContent(u"p.orpat", rows, u"entry = P"); // rows[2] is not located
    const int rowsTop = view.Geometry().rowsTop;

    const StructViewEffects click = view.OnLButtonDown(40, rowsTop + 32 + 5);
    EXPECT_TRUE(click.Has(kSvSelection));
    EXPECT_FALSE(click.Has(kSvGoToRow));
    ASSERT_NE(view.SelectedLocatedRow(), nullptr);
    EXPECT_EQ(view.SelectedLocatedRow()->first, 0x14u);
    EXPECT_FALSE(view.OnLButtonDown(40, rowsTop + 32 + 9).Has(kSvSelection)) << "the same row";

    EXPECT_TRUE(view.OnLButtonDoubleClick(40, rowsTop + 5).Has(kSvGoToRow));
    EXPECT_EQ(view.SelectedRow(), 0);
    EXPECT_TRUE(view.OnKeyDown(svkey::kReturn, false).effects.Has(kSvGoToRow));

    // A row that stands for no bytes is selected but goes nowhere and marks nothing.
    EXPECT_FALSE(view.OnLButtonDoubleClick(40, rowsTop + 2 * 32 + 5).Has(kSvGoToRow));
    EXPECT_EQ(view.SelectedLocatedRow(), nullptr);
    EXPECT_FALSE(view.OnKeyDown(svkey::kReturn, false).effects.Has(kSvGoToRow));
    EXPECT_TRUE(view.SelectRow(-1).Has(kSvSelection)) << "the mark goes with the selection";
}

TEST(StructViewModel, TheOfferStandsAboveTheMessageOnlyWithoutAPattern)
{
    StructViewModel view;
    view.SetTexts(KeyTexts());
    (void)view.SetClientSize(700, 640);
    (void)view.SetEmptyMessage(u"none");
    const StructViewGeometry before = view.Geometry();
    EXPECT_FALSE(before.offerVisible);
    EXPECT_TRUE(view.SetOffer(u"PNG image: apply png.orpat", u"Also: GIF").Has(kSvLayout));
    const StructViewGeometry g = view.Geometry();
    EXPECT_TRUE(g.offerVisible);
    EXPECT_GE(g.messageEdit.top, g.offerButton.bottom) << "the message moves down";
    EXPECT_EQ(Narrow(view.MessagePanelText()), "none\r\n\r\nAlso: GIF");
    EXPECT_EQ(view.SetOffer(u"PNG image: apply png.orpat", u"Also: GIF").bits, 0u);

    (void)view.SetContent(u"png.orpat", MakeRows(2), u"entry = Png");
    EXPECT_FALSE(view.Geometry().offerVisible);
    EXPECT_EQ(StructViewModel::LibraryPatternOfCommand(svid::kLibraryFirst + 3), 3);
    EXPECT_EQ(StructViewModel::LibraryPatternOfCommand(svid::kLibraryBrowse), -1);
}

TEST(StructViewModel, KeysMoveTheSelectionAndScrollItIntoView)
{
    StructViewModel view = TableView(40); // 40 rows of 32 in a 544-pixel rows area
    const int area = 640 - 96;
    ASSERT_EQ(view.VerticalScrollBar(), (StructScrollBar{0, 40 * 32 - 1, unsigned(area), 0}));
    EXPECT_FALSE(view.OnKeyDown(svkey::kUp, false).effects.bits) << "nothing selected yet";
    (void)view.OnKeyDown(svkey::kDown, false);
    EXPECT_EQ(view.SelectedRow(), 0);
    for (int i = 0; i < 20; ++i) {
        (void)view.OnKeyDown(svkey::kDown, false);
    }
    EXPECT_EQ(view.SelectedRow(), 20);
    EXPECT_EQ(view.ScrollY(), 21 * 32 - area) << "the row's bottom is the last visible pixel";
    (void)view.SelectRow(3);
    EXPECT_EQ(view.ScrollY(), 3 * 32) << "scrolled up to a row above the view";
    (void)view.SelectRow(39);
    (void)view.OnKeyDown(svkey::kDown, false);
    EXPECT_EQ(view.SelectedRow(), 39) << "no row after the last";

    (void)view.OnKeyDown(svkey::kHome, false);
    EXPECT_EQ(view.ScrollY(), 0);
    (void)view.OnKeyDown(svkey::kPageDown, false);
    EXPECT_EQ(view.ScrollY(), area);
    (void)view.OnKeyDown(svkey::kEnd, false);
    EXPECT_EQ(view.ScrollY(), 40 * 32 - area);
    EXPECT_EQ(view.ScrollX(), 716 - 700) << "the right end of the table";
    (void)view.OnMouseWheel(120);
    EXPECT_EQ(view.ScrollY(), 40 * 32 - area - 48);
    (void)view.OnMouseWheel(-30);
    EXPECT_EQ(view.ScrollY(), 40 * 32 - area) << "at least one step per message";
    (void)view.OnVerticalScroll(StructScrollRequest::ThumbTrack, 100000);
    EXPECT_EQ(view.ScrollY(), 40 * 32 - area);

    EXPECT_TRUE(view.OnKeyDown(svkey::kF5, false).effects.Has(kSvReload));
    EXPECT_TRUE(view.OnKeyDown(svkey::kC, true).effects.Has(kSvCopy));
    EXPECT_TRUE(view.OnKeyDown(svkey::kInsert, true).effects.Has(kSvCopy));
    EXPECT_FALSE(view.OnKeyDown(svkey::kC, false).handled);

    // Fewer rows after a refresh: the selection moves to the last row, the scroll follows.
    (void)view.SetContent(u"png.orpat", MakeRows(2), u"entry = Png");
    EXPECT_EQ(view.SelectedRow(), 1);
    EXPECT_EQ(view.ScrollY(), 0);
}

TEST(StructViewModel, NarrowWindowScrollsSideways)
{
    StructViewModel view = TableView(1);
    (void)view.SetClientSize(520, 300);
    EXPECT_EQ(view.HorizontalScrollBar(), (StructScrollBar{0, 715, 520, 0}));
    (void)view.OnHorizontalScroll(StructScrollRequest::End, 0);
    EXPECT_EQ(view.ScrollX(), 716 - 520);
    EXPECT_EQ(view.Geometry().columns[0].left, 12 - 196);
    (void)view.OnHorizontalScroll(StructScrollRequest::LineBack, 0);
    EXPECT_EQ(view.ScrollX(), 196 - 24);
    (void)view.SetClientSize(900, 300);
    EXPECT_EQ(view.ScrollX(), 0) << "a wider window leaves nothing to scroll";
}

TEST(StructViewModel, InformationPanelPushesTheTableDown)
{
    StructViewModel view = TableView(3);
    (void)view.SetInfoTextHeight(150);
    EXPECT_EQ(view.Geometry().infoHeight, 0) << "hidden until toggled";
    EXPECT_TRUE(view.ToggleInfo().Has(kSvLayout));
    const StructViewGeometry g = view.Geometry();
    EXPECT_EQ(g.infoHeight, 170);
    EXPECT_TRUE(g.infoEditVisible);
    EXPECT_EQ(g.infoEdit, (PixelRect{12, 72, 688, 222}));
    EXPECT_EQ(g.rowsTop, 96 + 170);
    EXPECT_EQ(g.dropDown.top, 170 + 70);
    EXPECT_FALSE(g.messageEditVisible);

    (void)view.ShowError(u"bad.orpat", u"line 1, column 2: oops");
    EXPECT_FALSE(view.InfoEnabled());
    EXPECT_EQ(view.Geometry().infoHeight, 0) << "no information text, no panel";
    EXPECT_EQ(view.ToggleInfo().bits, 0u);
    EXPECT_EQ(view.Geometry().messageEdit, (PixelRect{12, 74, 688, 628}));
}

TEST(StructViewModel, StatesDecideTheControlsAndTheCopiedText)
{
    StructViewModel view = TableView(2);
    EXPECT_TRUE(view.ReloadEnabled());
    EXPECT_TRUE(view.InfoEnabled());
    EXPECT_EQ(Narrow(view.BuildCopyText()), "title\r\ndefinition: png.orpat\r\n\r\n"
                                            "offset\tvalue\tsize\tname\r\n"
                                            "0x0\tv0\t4\tm0\r\n0x1\tv1\t4\tm1");

    (void)view.ShowError(u"bad.orpat", u"line 3, column 7: expected ';'\r\n  int x\r\n       ^");
    EXPECT_EQ(view.State(), StructViewState::Error);
    EXPECT_TRUE(view.ReloadEnabled());
    EXPECT_TRUE(view.CloseEnabled());
    EXPECT_EQ(Narrow(view.MessagePanelText()),
              "prefix: line 3, column 7: expected ';'\r\n  int x\r\n       ^");
    EXPECT_EQ(Narrow(view.BuildCopyText()),
              "title\r\ndefinition: bad.orpat\r\n\r\n"
              "prefix: line 3, column 7: expected ';'\r\n  int x\r\n       ^");
    EXPECT_EQ(view.ContentHeight(), 0);
    EXPECT_EQ(view.ShowError(u"bad.orpat", view.MessagePanelText().substr(8)).bits, 0u)
        << "the same error again, as every caret move shows it";

    // While the owner is modal or busy, the pattern commands wait; the information stays.
    EXPECT_TRUE(view.SetCommandsEnabled(false).Has(kSvLayout));
    EXPECT_FALSE(view.OpenEnabled() || view.ReloadEnabled() || view.CloseEnabled());
    EXPECT_FALSE(view.OnKeyDown(svkey::kF5, false).effects.Has(kSvReload));
    EXPECT_EQ(view.SetCommandsEnabled(false).bits, 0u);
    (void)view.SetCommandsEnabled(true);
    EXPECT_TRUE(view.OnKeyDown(svkey::kF5, false).effects.Has(kSvReload));

    (void)view.SetEmptyMessage(u"No pattern.");
    EXPECT_FALSE(view.ReloadEnabled());
    EXPECT_FALSE(view.CloseEnabled());
    EXPECT_EQ(Narrow(view.SubtitleText()), "definition: -");
    EXPECT_EQ(Narrow(view.BuildCopyText()), "title\r\ndefinition: -\r\n\r\nNo pattern.");
}

TEST(StructViewModel, RefreshesDoOnlyTheWorkTheirChangeNeeds)
{
    StructViewModel view = TableView(3);
    EXPECT_EQ(view.SetContent(u"png.orpat", MakeRows(3), u"entry = Png").bits, 0u)
        << "the same rows again";
    const StructViewEffects rowsOnly = view.SetContent(u"png.orpat", MakeRows(4), u"entry = Png");
    EXPECT_TRUE(rowsOnly.Has(kSvRepaint) && rowsOnly.Has(kSvScrollBars));
    EXPECT_FALSE(rowsOnly.Has(kSvLayout)) << "the buttons and panels stay as they are";
    auto values = MakeRows(4);
    values[0].value = u"other";
    EXPECT_EQ(view.SetContent(u"png.orpat", values, u"entry = Png").bits, kSvRepaint)
        << "as many rows as before: the scroll bars stay";
    EXPECT_TRUE(view.SetContent(u"gif.orpat", MakeRows(4), u"entry = Gif").Has(kSvLayout));
    EXPECT_TRUE(view.SetEmptyMessage(u"none").Has(kSvLayout));
    EXPECT_EQ(view.SetEmptyMessage(u"none").bits, 0u);
    EXPECT_TRUE(view.SetContent(u"gif.orpat", MakeRows(4), u"entry = Gif").Has(kSvLayout))
        << "back from the empty state";
}

TEST(StructViewModel, ValueFormatChoicesChangeOneOptionEach)
{
    // clang-format off
    struct Case { std::uint64_t choice; StructValueOptions before; bool changed; StructValueOptions after; };
    // clang-format on
    const Case cases[] = {
        {1, {1, 1, 1}, true, {0, 1, 1}},  {2, {0, 0, 0}, true, {1, 0, 0}},
        {3, {1, 1, 1}, true, {1, 0, 1}},  {4, {0, 0, 0}, true, {0, 1, 0}},
        {5, {1, 1, 1}, true, {1, 1, 0}},  {6, {0, 0, 0}, true, {0, 0, 1}},
        {6, {0, 0, 1}, false, {0, 0, 1}}, // already chosen
        {0, {0, 0, 0}, false, {0, 0, 0}}, {7, {0, 0, 0}, false, {0, 0, 0}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.choice);
        StructValueOptions options = test.before;
        EXPECT_EQ(ApplyStructValueFormat(options, test.choice), test.changed);
        EXPECT_EQ(options, test.after);
    }

    StructViewModel view = TableView(1);
    (void)view.SetOptions({1, 0, 1});
    const auto menu = view.FormatMenu();
    EXPECT_EQ(Narrow(menu[1].title), "endian");
    std::vector<int> checked;
    for (const auto& group : menu) {
        for (const auto& item : group.items) {
            if (item.checked) {
                checked.push_back(StructViewModel::FormatChoiceOfCommand(item.command));
            }
        }
    }
    EXPECT_EQ(checked, (std::vector<int>{2, 3, 6, 7}));
    view.SetStaying(true);
    EXPECT_TRUE(view.FormatMenu()[3].items[1].checked);
    EXPECT_EQ(StructViewModel::FormatChoiceOfCommand(menu[3].items[1].command),
              static_cast<int>(kPlacementStayChoice));
    EXPECT_EQ(StructViewModel::FormatChoiceOfCommand(4200), 0);
}

} // namespace
} // namespace orx
