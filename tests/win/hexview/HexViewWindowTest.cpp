#include "document/EditableDocument.h"
#include "ui/WindowMessages.h"
#include "hexview/win/HexView.h"
#include "support/TempDir.h"
#include "win/support/TestWindows.h"

#include <gtest/gtest.h>

#include <vector>

namespace orx::test {
namespace {

class HexViewWindow : public ::testing::Test {
protected:
    void Open(std::size_t size)
    {
        HexView::RegisterWindowClass(GetModuleHandleW(nullptr));
        ASSERT_TRUE(document.Open(dir.Write(u"view.bin", std::vector<std::uint8_t>(size, 0x41))));
        ASSERT_TRUE(view.Create(parent.window, GetModuleHandleW(nullptr)));
        MoveWindow(view.Window(), 0, 0, 880, 560, TRUE);
        view.SetDocument(&document, &document);
        Pump();
        ParentWindow::received.clear();
    }

    SCROLLINFO Scroll(int bar) const
    {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(view.Window(), bar, &info);
        return info;
    }

    TempDir dir;
    EditableDocument document;
    ParentWindow parent;
    HexView view;
};

TEST_F(HexViewWindow, ScrollBarsAndScrollMessagesFollowTheModel)
{
    Open(64 * 1024); // 4096 rows
    const HexViewModel& model = view.Model();
    const ScrollBarInfo expected = model.VerticalScrollBar();
    SCROLLINFO bar = Scroll(SB_VERT);
    EXPECT_EQ(bar.nMax, 4095);
    EXPECT_EQ(bar.nMax, expected.maximum);
    EXPECT_EQ(bar.nPage, expected.page);

    const std::uint64_t page = model.VisibleRows();
    // clang-format off
    struct Step { UINT message; WPARAM wParam; std::uint64_t topRow; };
    // clang-format on
    const Step steps[] = {
        {WM_VSCROLL, SB_LINEDOWN, 1},
        {WM_VSCROLL, SB_PAGEDOWN, 1 + page},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 4 + page},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 30), 1 + page}, // one step per message, whatever the distance
        {WM_VSCROLL, SB_BOTTOM, model.MaxTopRow()},
        {WM_VSCROLL, SB_TOP, 0},
    };
    for (const Step& step : steps) {
        SendMessageW(view.Window(), step.message, step.wParam, 0);
        EXPECT_EQ(model.TopRow(), step.topRow) << step.message << "/" << LOWORD(step.wParam);
        EXPECT_EQ(static_cast<std::uint64_t>(Scroll(SB_VERT).nPos), step.topRow);
    }
    Pump();
    EXPECT_GE(ParentWindow::Count(kMsgViewChanged), 1) << "a new first row is announced";
}

TEST_F(HexViewWindow, InsertBarBlinksOnlyWhileFocused)
{
    Open(256);
    view.Apply(view.Model().ToggleEditingEnabled());
    SetFocus(view.Window());
    SendMessageW(view.Window(), WM_KEYDOWN, VK_INSERT, 0);
    ASSERT_EQ(view.Model().Mode(), EditMode::Insert);
    const UINT interval = HexViewModel::BlinkIntervalMs(GetCaretBlinkTime());
    int changes = 0;
    bool last = view.Model().CaretBlinkOn();
    const ULONGLONG end = GetTickCount64() + 3 * interval;
    while (GetTickCount64() < end) {
        PumpFor(20);
        changes += view.Model().CaretBlinkOn() != last ? 1 : 0;
        last = view.Model().CaretBlinkOn();
    }
    EXPECT_GE(changes, 2) << "the bar blinks with the focus";

    SetFocus(parent.window);
    EXPECT_FALSE(view.Model().CaretBlinkOn());
    PumpFor(2 * interval);
    EXPECT_FALSE(view.Model().CaretBlinkOn()) << "no blinking without the focus";
}

TEST_F(HexViewWindow, PaintsTheThemeBackgroundIntoTheWindow)
{
    Open(32);
    for (Theme theme : {Theme::Black, Theme::DarkBlue}) {
        view.Apply(view.Model().SetTheme(theme));
        UpdateWindow(view.Window());
        HDC dc = GetDC(view.Window());
        const COLORREF pixel = GetPixel(dc, 860, 540); // below the rows, right of the columns
        ReleaseDC(view.Window(), dc);
        const ColorF expected = HexViewPalette(theme).background;
        EXPECT_NEAR(GetRValue(pixel), expected.r * 255, 1.5);
        EXPECT_NEAR(GetGValue(pixel), expected.g * 255, 1.5);
        EXPECT_NEAR(GetBValue(pixel), expected.b * 255, 1.5);
    }
}

} // namespace
} // namespace orx::test
