#include "app/CommandIds.h"
#include "app/win/PromptDialog.h"
#include "bookmarks/BookmarkStore.h"
#include "win/app/AppHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace orx::test {
namespace {

using Regions = std::vector<Region>;

// Answers the note-and-colour dialog as a user would.
void AnswerRegionDialog(AppHarness& app, const wchar_t* note, int colour)
{
    app.dialogSteps.push_back([note, colour](HWND dialog) {
        SetDlgItemTextW(dialog, win::PromptDialog::kEditId, note);
        SendDlgItemMessageW(dialog, win::PromptDialog::kChoiceId, CB_SETCURSEL, colour, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

std::u16string Cell(HWND list, int row, int column)
{
    wchar_t buffer[128] = {};
    ListView_GetItemText(list, row, column, buffer, 128);
    return win::FromW(buffer);
}

TEST(BookmarksApp, AddListStepFollowEditsAndComeBackWithTheFile)
{
    AppHarness app;
    std::string bytes(64, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i);
    }
    const std::u16string path = app.Dir().Write(u"data.bin", bytes);
    ASSERT_TRUE(app.Start(path));
    HexView& view = app.App().View();
    app.MouseDown(app.CellCenter(0x10));
    app.MouseMove(app.CellCenter(0x1F));
    app.MouseUp(app.CellCenter(0x1F));
    EXPECT_NE(app.Status().find(u"Selection: 0x10\u20130x1F, 16 bytes (0x10)"),
              std::u16string::npos)
        << platform::Narrow(app.Status());

    AnswerRegionDialog(app, L"header", 3);
    app.Key('B', true);
    const Regions header = {{0x10, 16, RegionColour::Blue, u"header"}};
    EXPECT_EQ(app.App().Bookmarks().Regions().Items(), header);
    const auto marks = app.Model().BuildPaintModel().rows.at(1).marks;
    ASSERT_FALSE(marks.empty()) << "painted in the view";
    EXPECT_EQ(marks[0].kind, MarkKindOf(RegionColour::Blue));

    app.Command(cmd::kToggleBookmarksPanel);
    const HWND panel =
        FindWindowExW(app.Main(), nullptr, BookmarksController::kPanelClassName, nullptr);
    ASSERT_NE(panel, nullptr);
    const HWND list = GetDlgItem(panel, BookmarksController::kList);
    EXPECT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(Cell(list, 0, 0), u"0x00000010");
    EXPECT_EQ(Cell(list, 0, 2), u"Blue");
    EXPECT_EQ(Cell(list, 0, 3), u"header");

    // F2 from the start, Enter in the panel: the region selected.
    view.Apply(view.Model().SetCaret(0));
    app.Key(VK_F2);
    EXPECT_EQ(app.Model().SelectionLow(), 0x10u);
    EXPECT_EQ(app.Model().SelectionHigh(), 0x1Fu);
    view.Apply(view.Model().SetCaret(0x30));
    app.Command(cmd::kPreviousRegion);
    EXPECT_EQ(app.Model().CaretOffset(), 0x10u);
    view.Apply(view.Model().SetCaret(0));
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(list);
    app.Key(VK_RETURN);
    EXPECT_EQ(app.Model().SelectionLow(), 0x10u);

    // A byte inserted before it moves it; saved, closed and opened again, it is still there.
    app.Key('R', true);
    SetFocus(app.View());
    app.Key(VK_INSERT);
    view.Apply(view.Model().SetCaret(2));
    app.Type(u"AB");
    const Regions moved = {{0x11, 16, RegionColour::Blue, u"header"}};
    EXPECT_EQ(app.App().Bookmarks().Regions().Items(), moved);
    app.Command(cmd::kSave);
    app.Command(cmd::kClose);
    EXPECT_TRUE(app.App().Bookmarks().Regions().Empty());
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    app.chosenFile = path;
    app.Command(cmd::kOpen);
    EXPECT_EQ(app.App().Bookmarks().Regions().Items(), moved);
    EXPECT_EQ(BookmarkStore(BookmarksPathBeside(app.SettingsPath())).Find(path)->regions, moved);

    // Copy As: a C array on the clipboard.
    view.Apply(view.Model().SetSelection(0, 3));
    app.Command(cmd::kCopyAsFirst + static_cast<UINT>(CopyFormat::CArray));
    EXPECT_EQ(app.Clipboard(), u"unsigned char data[4] = {\n    0x00, 0x01, 0xAB, 0x02\n};");

    // Every byte of it deleted: removed, and the status bar says so.
    app.Key('R', true);
    view.Apply(view.Model().SetSelection(0x11, 0x20));
    SetFocus(app.View());
    app.Key(VK_DELETE);
    EXPECT_TRUE(app.App().Bookmarks().Regions().Empty());
    EXPECT_EQ(app.Status(), u"A region lost all its bytes and was removed.");
}

} // namespace
} // namespace orx::test
