// Find All through the Find dialog: the hits panel, its list, going to a hit, copying, the
// marks in the view, an edit making the list out of date, stopping midway, F3 / Shift+F3.
#include "app/CommandIds.h"
#include "app/win/FindAllPanel.h"
#include "app/win/SearchDialog.h"
#include "win/app/AppHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace orx::test {
namespace {

using Dialog = win::SearchDialog;
using Panel = win::FindAllPanel;

HWND QueryEdit(HWND dialog)
{
    return FindWindowExW(GetDlgItem(dialog, Dialog::kQueryBox), nullptr, L"Edit", nullptr);
}

// Opens Find, types the hex query and presses Find All, which closes the dialog.
void FindAll(AppHarness& app, std::u16string_view query)
{
    app.dialogSteps = {[query](HWND dialog) {
        SetWindowTextW(QueryEdit(dialog), win::ToW(query).c_str());
        PostMessageW(GetDlgItem(dialog, Dialog::kFindAll), BM_CLICK, 0, 0);
    }};
    app.Key('F', true);
    EXPECT_TRUE(app.dialogSteps.empty());
}

void WaitWhileRunning(AppHarness& app)
{
    for (int i = 0; i < 500 && app.App().FindAll().Running(); ++i) {
        app.PumpFor(20);
    }
}

HWND PanelOf(AppHarness& app)
{
    return FindWindowExW(app.Main(), nullptr, Panel::kClassName, nullptr);
}

std::u16string ListText(HWND list, int row, int column)
{
    wchar_t buffer[128] = {};
    ListView_GetItemText(list, row, column, buffer, 128);
    return win::FromW(buffer);
}

void SelectRows(HWND list, std::initializer_list<int> rows)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (const int row : rows) {
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    SetFocus(list);
}

TEST(FindAllApp, ListsMarksGoesToAndCopiesEveryHitUntilAnEditMakesTheListOutOfDate)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"hits.bin", std::string_view("AAA-AA-xyz"))));
    FindAll(app, u"41 41");
    WaitWhileRunning(app);

    const HitList& hits = app.App().FindAll().Hits();
    ASSERT_EQ(hits.Count(), 3u) << "overlapping hits count";
    EXPECT_EQ((std::vector<std::uint64_t>{hits.At(0), hits.At(1), hits.At(2)}),
              (std::vector<std::uint64_t>{0, 1, 4}));
    EXPECT_TRUE(app.Status().ends_with(u"  3 hits")) << platform::Narrow(app.Status());
    const HWND panel = PanelOf(app);
    ASSERT_NE(panel, nullptr);
    const HWND list = GetDlgItem(panel, Panel::kList);
    EXPECT_EQ(ListView_GetItemCount(list), 3);
    EXPECT_EQ(ListText(list, 2, 0), u"00000004");
    EXPECT_EQ(ListText(list, 2, 1), u"41 41");
    EXPECT_EQ(ListText(list, 2, 2), u"AAA-AA-xyz");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, Panel::kStop)));
    EXPECT_EQ(app.Model().BuildPaintModel().rows.at(0).marks.size(), 6u) << "hex and text bands";

    SelectRows(list, {2});
    app.Key(VK_RETURN);
    EXPECT_EQ(app.Model().SelectionLow(), 4u);
    EXPECT_EQ(app.Model().SelectionHigh(), 5u);

    AppHarness::ClearClipboard();
    SelectRows(list, {0, 2});
    app.Key('C', true);
    EXPECT_EQ(app.Clipboard(), u"00000000\t41 41\r\n00000004\t41 41\r\n");
    PostMessageW(GetDlgItem(panel, Panel::kCopyAll), BM_CLICK, 0, 0);
    app.Pump();
    EXPECT_EQ(app.Clipboard(), u"00000000\t41 41\r\n00000001\t41 41\r\n00000004\t41 41\r\n");

    // F3 and Shift+F3 repeat the query from the selection, without a dialog.
    app.Key(VK_F3);
    EXPECT_EQ(app.Model().SelectionLow(), 4u) << "no hit after 4: the selection stays";
    EXPECT_EQ(app.boxes.size(), 1u);
    app.Command(cmd::kFindPreviousAgain);
    EXPECT_EQ(app.Model().SelectionLow(), 1u);

    app.Key('R', true); // editing on
    SetFocus(app.View());
    app.Type(u"7");
    EXPECT_EQ(hits.Count(), 0u) << "an edit empties the list";
    EXPECT_TRUE(app.Model().BuildPaintModel().rows.at(0).marks.empty());
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    EXPECT_FALSE(app.Status().ends_with(u"hits"));

    PostMessageW(GetDlgItem(panel, Panel::kClose), BM_CLICK, 0, 0);
    app.Pump();
    EXPECT_EQ(PanelOf(app), nullptr);
}

TEST(FindAllApp, EscapeStopsMidwayWhileTheViewScrollsAndEditsOpenAndCloseWait)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.SparseFile(16ull << 30)));
    app.Key('R', true); // editing on: the wait must come from the search
    FindAll(app, u"DE AD BE EF");
    ASSERT_TRUE(app.App().FindAll().Running());
    EXPECT_TRUE(app.MenuGrayed(cmd::kOpen));
    EXPECT_TRUE(app.MenuGrayed(cmd::kClose));
    EXPECT_FALSE(app.MenuGrayed(cmd::kGoTo));
    app.Command(cmd::kClose);
    EXPECT_TRUE(app.App().Document().IsOpen()) << "close waits";
    SetFocus(app.View());
    app.Key(VK_NEXT);
    EXPECT_GT(app.Model().TopRow(), 0u) << "the view scrolls meanwhile";
    app.Type(u"5");
    EXPECT_FALSE(app.App().Document().IsModified()) << "edits wait";
    EXPECT_EQ(platform::Narrow(app.Status()),
              "Find All is reading the file: edits wait until it ends (Esc stops it).");

    app.Key(VK_ESCAPE);
    WaitWhileRunning(app);
    EXPECT_FALSE(app.App().FindAll().Running());
    EXPECT_FALSE(app.MenuGrayed(cmd::kClose));
    const HWND panel = PanelOf(app);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, Panel::kClose)));
    app.Type(u"5");
    EXPECT_TRUE(app.App().Document().IsModified()) << "edits go through again";
}

} // namespace
} // namespace orx::test
