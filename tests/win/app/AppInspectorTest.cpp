#include "app/CommandIds.h"
#include "inspector/InspectorTable.h"
#include "inspector/InspectorValues.h"
#include "win/app/AppHarness.h"
#include "win/hexview/Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace orx::test {
namespace {

std::vector<std::uint8_t> Ramp(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

HWND InspectorWindow(AppHarness& app)
{
    return app.App().Inspector().Window();
}

const std::vector<std::u16string>& Values(AppHarness& app)
{
    return app.App().Inspector().Table().Values();
}

bool ShowsUInt8(AppHarness& app, std::uint8_t value)
{
    return Values(app).size() == kInspectorRowCount && Values(app)[1] == FormatHexDec(value, 2);
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A click in the inspector's client area, in pixels.
void ClickInspector(AppHarness& app, int x, int y)
{
    SendMessageW(InspectorWindow(app), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    app.Pump();
}

// Client pixel centre of a value cell; the window is at 96 DPI under the test display.
POINT ValueCell(int row)
{
    return {300, 38 + 36 * row + 18};
}

TEST(DataInspector, ShowsTheElevenValuesAtTheCaretAndCopiesTheSelectedOne)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(
        app.Dir().Write(u"known.bin", std::vector<std::uint8_t>{0x41, 0x42, 0x43, 0x44, 0x45, 0x46,
                                                                0x47, 0x48, 0xE3, 0x81, 0x82})));
    ASSERT_NE(InspectorWindow(app), nullptr);
    ASSERT_TRUE(app.PumpUntil([&] { return ShowsUInt8(app, 0x41); }));
    const std::u16string expected[kInspectorRowCount] = {
        u"0b0100_0001",
        u"0x41 / 65",
        u"0x4241 / 16961",
        u"0x4142 / 16706",
        u"0x44434241 / 1145258561",
        u"0x41424344 / 1094861636",
        u"0x4847464544434241 / 5208208757389214273",
        u"0x4142434445464748 / 4702394921427289928",
        u"A (U+0041)",
    };
    for (std::size_t row = 0; row < 9; ++row) {
        EXPECT_EQ(Values(app)[row], expected[row]) << "row " << row;
    }

    // The caret on a three-byte UTF-8 character: the hiragana row is drawn from the CJK
    // fallback, and the value is the character itself.
    for (int i = 0; i < 8; ++i) {
        app.Key(VK_RIGHT);
    }
    ASSERT_TRUE(app.PumpUntil([&] { return ShowsUInt8(app, 0xE3); }));
    EXPECT_EQ(Values(app)[8], u"\u3042 (U+3042)");

    AppHarness::ClearClipboard();
    ClickInspector(app, ValueCell(1).x, ValueCell(1).y);
    EXPECT_EQ(app.App().Inspector().Table().SelectedRow(), 1);
    EXPECT_EQ(GetFocus(), InspectorWindow(app)) << "a click takes the focus";
    app.Key('C', true);
    EXPECT_EQ(app.Clipboard(), u"0xE3 / 227");

    ClickInspector(app, ValueCell(8).x, ValueCell(8).y);
    SendMessageW(InspectorWindow(app), WM_COPY, 0, 0);
    EXPECT_EQ(app.Clipboard(), u"\u3042 (U+3042)");

    ClickInspector(app, 20, ValueCell(2).y); // the label column clears the selection
    EXPECT_EQ(app.App().Inspector().Table().SelectedRow(), -1);
    AppHarness::ClearClipboard();
    app.Key(VK_INSERT, true);
    EXPECT_EQ(app.Clipboard(), std::nullopt) << "nothing selected, nothing copied";
}

TEST(DataInspector, RapidCaretMovesEndWithTheValuesOfTheFinalCaret)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"ramp.bin", Ramp(4096))));
    SetFocus(app.View());
    // Posted all at once, as a held key arrives: the worker sees only some of them.
    for (int i = 0; i < 300; ++i) {
        PostMessageW(app.View(), WM_KEYDOWN, VK_RIGHT, 1);
    }
    for (int i = 0; i < 20; ++i) {
        PostMessageW(app.View(), WM_KEYDOWN, VK_DOWN, 1);
    }
    app.Pump();
    const std::uint64_t caret = app.Model().CaretOffset();
    ASSERT_EQ(caret, 300u + 20u * 16u);
    ASSERT_TRUE(app.PumpUntil([&] { return ShowsUInt8(app, static_cast<std::uint8_t>(caret)); }));
    app.PumpFor(200);
    EXPECT_TRUE(ShowsUInt8(app, static_cast<std::uint8_t>(caret))) << "no older result follows";
    EXPECT_TRUE(app.PumpUntil([&] { return app.App().Inspector().ShowsCurrentValues(); }))
        << "the paced repaint of the last values comes";
}

TEST(DataInspector, ClosingTheMainWindowWhileTheWorkerIsBusyEndsCleanly)
{
    for (int round = 0; round < 3; ++round) {
        AppHarness app;
        ASSERT_TRUE(app.Start(app.Dir().Write(u"busy.bin", Ramp(4096))));
        const HWND main = app.Main();
        for (int i = 0; i < 200; ++i) {
            PostMessageW(app.View(), WM_KEYDOWN, VK_RIGHT, 1);
        }
        // Half of them handled: requests are pending and results are on their way.
        for (int i = 0; i < 100; ++i) {
            MSG message{};
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
        }
        SendMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(main));
        MSG message{};
        EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

TEST(DataInspector, DocksRightOfTheMainWindowAndFollowsIt)
{
    AppHarness app;
    ASSERT_TRUE(app.Start());
    const HWND inspector = InspectorWindow(app);
    ASSERT_NE(inspector, nullptr);
    EXPECT_TRUE(IsWindowVisible(inspector));
    EXPECT_EQ(GetWindow(inspector, GW_OWNER), app.Main());

    const auto expectDocked = [&](const char* when) {
        const RECT main = WindowRect(app.Main());
        const RECT side = WindowRect(inspector);
        EXPECT_EQ(side.left, main.right + 1) << when;
        EXPECT_EQ(side.top, main.top) << when;
        EXPECT_EQ(side.bottom, main.bottom) << when;
        EXPECT_EQ(side.right - side.left, app.App().Inspector().Width()) << when;
    };
    expectDocked("at start");
    SetWindowPos(app.Main(), nullptr, 40, 30, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    app.Pump();
    expectDocked("after the main window moved and shrank");

    // Dragged by its caption or its left edge, it stays where it is docked.
    const RECT before = WindowRect(inspector);
    SetWindowPos(inspector, nullptr, 100, 100, 600, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    app.Pump();
    EXPECT_EQ(WindowRect(inspector).left, before.left) << "it never slides over the main window";
    EXPECT_EQ(app.App().Inspector().Width(), 600) << "its width is the user's to choose";
    expectDocked("after the user widened it");
    SetWindowPos(inspector, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    app.Pump();
    EXPECT_GE(app.App().Inspector().Width(), 420) << "never narrower than its minimum";

    ShowWindow(app.Main(), SW_MINIMIZE);
    app.Pump();
    EXPECT_FALSE(IsWindowVisible(inspector)) << "hidden with the minimised main window";
    ShowWindow(app.Main(), SW_RESTORE);
    app.Pump();
    EXPECT_TRUE(IsWindowVisible(inspector));
    expectDocked("after restoring");
}

TEST(DataInspector, WidestValuesStayWholeAtTheLeastWidth)
{
    AppHarness app;
    const std::vector<std::uint8_t> bytes = {0x98, 0xFF, 0xA7, 0xF6, 0xC5, 0xB4, 0xE3, 0x92};
    ASSERT_TRUE(app.Start(app.Dir().Write(u"wide.bin", bytes)));
    const HWND inspector = InspectorWindow(app);
    ASSERT_TRUE(app.PumpUntil([&] { return ShowsUInt8(app, 0x98); }));
    SetWindowPos(inspector, nullptr, 0, 0, 1, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(inspector, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    app.Pump();
    RECT client{};
    GetClientRect(inspector, &client);
    // The pixels as shown: a value cut at its cell's margin has ink right up to it.
    Canvas canvas(client.right, client.bottom);
    HDC screen = GetDC(inspector);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(inspector, screen);
    GdiFlush();
    const int margin = static_cast<int>(InspectorTable::kCellMargin);
    const int valueLeft =
        static_cast<int>(InspectorTable::NameColumnWidth(static_cast<float>(client.right))) + 2;
    for (const int row : {6, 7}) { // the 64-bit rows
        const int top = 38 + 36 * row + 2;
        const std::uint32_t background = canvas.Pixel(client.right - 2, top);
        int rightmostInk = -1;
        for (int y = top; y < top + 32; ++y) {
            for (int x = valueLeft; x < client.right - 1; ++x) {
                if (canvas.Pixel(x, y) != background) {
                    rightmostInk = std::max(rightmostInk, x);
                }
            }
        }
        EXPECT_GT(rightmostInk, valueLeft) << "row " << row << " shows its value";
        EXPECT_LT(rightmostInk, client.right - margin - 2) << "row " << row << " is cut";
    }
}

TEST(DataInspector, MenuAndCloseBoxSwitchItOffAndTheSettingsRemember)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"toggle.bin", Ramp(64))));
    ASSERT_NE(InspectorWindow(app), nullptr);

    SendMessageW(InspectorWindow(app), WM_CLOSE, 0, 0);
    app.Pump();
    EXPECT_EQ(InspectorWindow(app), nullptr) << "the close box destroys it";
    EXPECT_FALSE(app.MenuChecked(cmd::kToggleInspector));
    EXPECT_NE(app.SettingsFileText().find("\"dataInspector\": {\r\n      \"visible\": false"),
              std::string::npos);

    app.Key(VK_RIGHT); // requests nothing while it is off
    app.PumpFor(100);
    EXPECT_EQ(InspectorWindow(app), nullptr);

    app.Command(cmd::kToggleInspector);
    ASSERT_NE(InspectorWindow(app), nullptr);
    EXPECT_TRUE(app.MenuChecked(cmd::kToggleInspector));
    EXPECT_NE(app.SettingsFileText().find("\"dataInspector\": {\r\n      \"visible\": true"),
              std::string::npos);
    ASSERT_TRUE(app.PumpUntil([&] { return ShowsUInt8(app, 1); })) << "it shows the caret's values";

    app.Command(cmd::kToggleInspector);
    EXPECT_EQ(InspectorWindow(app), nullptr);
    EXPECT_FALSE(app.MenuChecked(cmd::kToggleInspector));
}

TEST(DataInspector, FollowsThemeLanguageAndClosingTheFile)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"lang.bin", Ramp(2))));
    EXPECT_EQ(app.App().Inspector().CurrentTheme(), Theme::Black) << "from the settings";
    app.Command(cmd::kThemeFirst + 1);
    EXPECT_EQ(app.App().Inspector().CurrentTheme(), Theme::DarkBlue);

    ASSERT_TRUE(app.PumpUntil([&] { return ShowsUInt8(app, 0); }));
    EXPECT_EQ(Values(app)[4], u"N/A") << "two bytes make no 32-bit value";
    app.Command(cmd::kLanguageFirst + 2);
    StringTable japanese;
    japanese.SetBaseDirectory(SourceDirectory());
    japanese.SetLanguage(UiLanguage::Japanese);
    const std::u16string unavailable = japanese.Lookup("inspector.data.value.unavailable");
    ASSERT_TRUE(
        app.PumpUntil([&] { return Values(app).size() > 4 && Values(app)[4] == unavailable; }));
    wchar_t title[128] = {};
    GetWindowTextW(InspectorWindow(app), title, 128);
    EXPECT_EQ(win::FromW(title), japanese.Lookup("inspector.data.title"));

    app.Command(cmd::kClose);
    ASSERT_TRUE(app.PumpUntil([&] {
        return Values(app).size() > 1 && Values(app)[1] == unavailable;
    })) << "with no document every row is unavailable";
}

} // namespace
} // namespace orx::test
