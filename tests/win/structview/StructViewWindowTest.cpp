#include "platform/Utf.h"
#include "structview/win/StructViewWindow.h"
#include "ui/win/WinHandles.h"
#include "win/support/TestWindows.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orx::test {
namespace {

using platform::Narrow;

void SetCtrl(bool down)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void Key(HWND target, UINT key, bool ctrl = false)
{
    SetCtrl(ctrl);
    SendMessageW(target, WM_KEYDOWN, key, 1);
    SetCtrl(false);
    Pump();
}

StructViewTexts Texts()
{
    return LoadStructViewTexts([](std::string_view key) {
        return platform::Widen(std::string(key.substr(key.find('.') + 1)));
    });
}

class StructViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(view.Create(owner.window, GetModuleHandleW(nullptr), Texts(), Theme::Light));
        view.Dock({40, 40, 740, 680}, true);
        Pump();
        ParentWindow::received.clear();
    }

    HWND Button(int id) const { return GetDlgItem(view.Window(), id); }

    COLORREF PixelAt(int x, int y)
    {
        InvalidateRect(view.Window(), nullptr, FALSE);
        UpdateWindow(view.Window());
        HDC dc = GetDC(view.Window());
        const COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(view.Window(), dc);
        return pixel;
    }

    ParentWindow owner{{0, 0, 300, 300}, WS_OVERLAPPEDWINDOW};
    StructViewWindow view;
};

// F5 and the format menu's commands reach the owner in the running editor's tests.
TEST_F(StructViewWindowTest, ButtonsAndTheCloseBoxAskTheOwner)
{
    view.SetContent(u"png.orpat", {{u"magic", u"0x0", u"89 50", u"8"}}, u"entry = Png");
    EXPECT_TRUE(IsWindowEnabled(Button(svid::kReloadButton)));
    EXPECT_EQ(Narrow(WindowText(Button(svid::kReloadButton))), "reload.button");

    SendMessageW(Button(svid::kOpenButton), BM_CLICK, 0, 0);
    SendMessageW(Button(svid::kReloadButton), BM_CLICK, 0, 0);
    SendMessageW(Button(svid::kCloseButton), BM_CLICK, 0, 0);
    SendMessageW(view.Window(), WM_CLOSE, 0, 0);
    Pump();
    const std::vector<std::pair<UINT, WPARAM>> expected = {{kMsgStructOpenPattern, 0},
                                                           {kMsgStructReloadPattern, 0},
                                                           {kMsgStructClosePattern, 0},
                                                           {kMsgStructViewClosed, 0}};
    EXPECT_EQ(ParentWindow::received, expected);
    EXPECT_TRUE(IsWindow(view.Window())) << "the owner decides when it goes";

    // Ctrl+A in the message panel selects its whole text.
    view.ShowError(u"bad.orpat", u"line 2, column 5: unexpected '}'");
    Key(view.MessageEdit(), 'A', true);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(view.MessageEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, WindowText(view.MessageEdit()).size());
}

TEST_F(StructViewWindowTest, PanelsAndButtonsFollowTheState)
{
    view.SetEmptyMessage(u"No pattern.");
    EXPECT_TRUE(IsWindowVisible(view.MessageEdit()));
    EXPECT_EQ(Narrow(WindowText(view.MessageEdit())), "No pattern.");
    EXPECT_FALSE(IsWindowEnabled(Button(svid::kReloadButton)));
    EXPECT_FALSE(IsWindowEnabled(Button(svid::kCloseButton)));
    EXPECT_FALSE(IsWindowEnabled(Button(svid::kInfoButton)));

    view.ShowError(u"bad.orpat", u"line 2, column 5: x\r\n  }\r\n  ^");
    EXPECT_EQ(Narrow(WindowText(view.MessageEdit())),
              "error.prefix: line 2, column 5: x\r\n  }\r\n  ^");
    EXPECT_TRUE(IsWindowEnabled(Button(svid::kReloadButton)));
    EXPECT_FALSE(IsWindowEnabled(Button(svid::kInfoButton)));

    view.SetContent(u"png.orpat", {}, u"entry = Png\r\nsizeof_int = 4");
    EXPECT_FALSE(IsWindowVisible(view.MessageEdit()));
    EXPECT_FALSE(IsWindowVisible(view.InfoEdit()));
    SendMessageW(Button(svid::kInfoButton), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowVisible(view.InfoEdit()));
    EXPECT_EQ(Narrow(WindowText(view.InfoEdit())), "entry = Png\r\nsizeof_int = 4");
    EXPECT_GE(view.Model().Geometry().infoHeight, 20 + 2 * 10) << "two wrapped lines measured";
}

TEST_F(StructViewWindowTest, FormatMenuChecksTheChosenFormats)
{
    view.SetOptions({0, 1, 1});
    const win::MenuHandle menu = view.BuildFormatMenu();
    std::vector<UINT> checked;
    for (int id = svid::kFormatFirst; id <= svid::kFormatLast; ++id) {
        if (GetMenuState(menu.Get(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) {
            checked.push_back(static_cast<UINT>(id - 4200));
        }
    }
    EXPECT_EQ(checked, (std::vector<UINT>{1, 4, 6, 7})) << "7: the pattern follows the caret";
}

TEST_F(StructViewWindowTest, PaintsEachThemeAndTheSelectedRow)
{
    std::vector<StructViewRow> rows(4, {u"x", u"0x0", u"0x00", u"1"});
    view.SetContent(u"t.orpat", rows, {});
    const StructViewGeometry g = view.Model().Geometry();
    const int belowRows = g.rowsTop + 5 * 32;
    struct Case {
        Theme theme;
        COLORREF background;
        COLORREF caption;
        COLORREF selection;
    };
    const Case cases[] = {
        {Theme::Light, RGB(0xFA, 0xFA, 0xFA), RGB(0xE0, 0xE8, 0xF2), RGB(0xD6, 0xE4, 0xF6)},
        {Theme::DarkBlue, RGB(0x0F, 0x14, 0x1C), RGB(0x2A, 0x47, 0x6E), RGB(0x20, 0x34, 0x4F)},
        {Theme::Black, RGB(0x11, 0x11, 0x11), RGB(0x2D, 0x2D, 0x2D), RGB(0x38, 0x38, 0x38)},
    };
    SendMessageW(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, g.rowsTop + 40));
    SendMessageW(view.Window(), WM_LBUTTONUP, 0, MAKELPARAM(40, g.rowsTop + 40));
    ASSERT_EQ(view.Model().SelectedRow(), 1);
    for (const Case& test : cases) {
        SCOPED_TRACE(static_cast<int>(test.theme));
        view.SetTheme(test.theme);
        EXPECT_EQ(PixelAt(g.width - 5, belowRows), test.background);
        EXPECT_EQ(PixelAt(5, 5), test.caption);
        EXPECT_EQ(PixelAt(g.width - 5, g.rowsTop + 34), test.selection);
        EXPECT_EQ(PixelAt(g.dropDown.left + 2, g.dropDown.top + 2), RGB(0xFF, 0xFF, 0xFF));
    }
}

TEST_F(StructViewWindowTest, KeysAndTheWheelKeepTheRowsAtTheBottomInView)
{
    view.SetContent(u"t.orpat", std::vector<StructViewRow>(40, {u"x", u"0x0", u"0x00", u"1"}), {});
    // A rows area of exactly 17 rows.
    RECT frame{};
    RECT client{};
    GetWindowRect(view.Window(), &frame);
    GetClientRect(view.Window(), &client);
    const int wanted = view.Model().Geometry().rowsTop + 17 * 32;
    view.Dock({frame.left, frame.top, frame.right, frame.bottom + wanted - client.bottom}, true);
    Pump();
    GetClientRect(view.Window(), &client);
    ASSERT_EQ(client.bottom, wanted);
    for (int row = 0; row <= 18; ++row) {
        Key(view.Window(), VK_DOWN);
        ASSERT_EQ(view.Model().SelectedRow(), row);
        EXPECT_LE(view.Model().RowTop(static_cast<std::size_t>(row)) + 32, client.bottom)
            << "row " << row << " below the view";
    }
    // Row 17 selected, then one notch up: it shows its upper half, painted as selected.
    Key(view.Window(), VK_UP);
    SendMessageW(view.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    Pump();
    const int top = view.Model().RowTop(17);
    ASSERT_TRUE(top < client.bottom && top + 32 > client.bottom);
    EXPECT_EQ(PixelAt(view.Model().Geometry().width - 5, top + 4), RGB(0xD6, 0xE4, 0xF6));
}

TEST_F(StructViewWindowTest, DraggingAndDoubleClickingAColumnDivider)
{
    view.SetContent(u"t.orpat", {{u"x", u"0x0", u"0x00", u"1"}}, {});
    const StructViewGeometry g = view.Model().Geometry();
    const int y = g.headerTop + 10;
    const int x = g.dividers[1];
    SendMessageW(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    EXPECT_EQ(GetCapture(), view.Window());
    SendMessageW(view.Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x - 300, y));
    SendMessageW(view.Window(), WM_LBUTTONUP, 0, MAKELPARAM(x - 300, y));
    EXPECT_EQ(view.Model().ColumnWidths()[1], 80);
    EXPECT_NE(GetCapture(), view.Window());
    const int moved = view.Model().Geometry().dividers[1];
    SendMessageW(view.Window(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(moved, y));
    EXPECT_EQ(view.Model().ColumnWidths()[1], 220);
}

} // namespace
} // namespace orx::test
