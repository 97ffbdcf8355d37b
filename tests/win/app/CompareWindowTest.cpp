#include "app/CommandIds.h"

#include "AppHarness.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

using platform::Narrow;

CompareWindow& Compare(AppHarness& app)
{
    return app.App().Compare();
}

// Pumps until the comparison's worker has nothing left to do.
void WaitIdle(AppHarness& app)
{
    const ULONGLONG end = GetTickCount64() + 20000;
    while (Compare(app).Working() && GetTickCount64() < end) {
        app.PumpFor(20);
    }
    app.Pump();
    EXPECT_FALSE(Compare(app).Working());
}

// A key pressed in the compare window's left pane, Shift held when `shift`.
void PaneKey(AppHarness& app, UINT key, bool shift = false)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    SetForegroundWindow(Compare(app).Window());
    SetFocus(Compare(app).LeftPane().Window());
    PostMessageW(Compare(app).LeftPane().Window(), WM_KEYDOWN, key, 1);
    app.Pump();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

// `size` bytes, all zero but for "AB" at the start and `last` `size - 5` (a sparse file).
std::u16string Sparse(AppHarness& app, std::u16string_view name, std::uint64_t size, char last)
{
    const std::u16string path = app.Dir().Write(name, std::string_view("AB"));
    HANDLE file = CreateFileW(win::ToW(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size - 5);
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, &last, 1, &written, nullptr);
    at.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    return path;
}

TEST(CompareWindow, StepsThroughDifferencesScrollsTogetherAndFollowsEdits)
{
    AppHarness app;
    std::vector<std::uint8_t> base(0x10000);
    for (std::size_t i = 0; i < base.size(); ++i) {
        base[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    std::vector<std::uint8_t> other = base;
    for (const std::size_t at : {0x10, 0x11, 0x8000, 0xFFF0}) {
        other[at] ^= 0x5A;
    }
    other.resize(base.size() + 16, 0xEE); // the tail is the fourth difference
    ASSERT_TRUE(app.Start(app.Dir().Write(u"base.bin", base)));
    app.chosenFile = app.Dir().Write(u"other.bin", other);
    app.Command(cmd::kCompare);
    ASSERT_TRUE(Compare(app).IsOpen());
    WaitIdle(app);
    EXPECT_EQ(Compare(app).Total(), 4u);
    EXPECT_NE(Compare(app).StatusLine().find(u"4 differences in all"), std::u16string::npos);
    wchar_t title[256] = {};
    GetWindowTextW(Compare(app).Window(), title, 256);
    EXPECT_EQ(win::FromW(title), u"base.bin ↔ other.bin - Compare");
    RECT frame{};
    RECT work{};
    GetWindowRect(Compare(app).Window(), &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                frame.bottom <= work.bottom);
    // The test screen (2560 x 1440) has room for it below the main window, moved up if need be.
    RECT main{};
    RECT overlap{};
    GetWindowRect(app.Main(), &main);
    EXPECT_FALSE(IntersectRect(&overlap, &frame, &main));

    // F6 in the main window, then F6 and Shift+F6 in the compare window: every view goes.
    SetFocus(app.View());
    app.Key(VK_F6);
    WaitIdle(app);
    // clang-format off
    struct Step { bool inCompare; bool shift; std::uint64_t first; std::uint64_t last; const char16_t* status; };
    const Step steps[] = {
        {false, false, 0x10, 0x11, u"Difference at 0x00000010 to 0x00000011 (2 bytes)   1 of 4"},
        {true, false, 0x8000, 0x8000, u"Difference at 0x00008000 (1 byte)   2 of 4"},
        {true, false, 0xFFF0, 0xFFF0, u"0x0000FFF0 (1 byte)   3 of 4"},
        {true, true, 0x8000, 0x8000, u"0x00008000"},
        {true, true, 0x10, 0x11, u"0x00000010"},
        {true, true, 0x10, 0x11, u"No difference before the caret"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE(i);
        if (i > 0) {
            PaneKey(app, VK_F6, step.shift);
            WaitIdle(app);
        }
        for (HexView* view :
             {&app.App().View(), &Compare(app).LeftPane(), &Compare(app).RightPane()}) {
            EXPECT_EQ(view->Model().CaretOffset(), step.first);
            EXPECT_EQ(view->Model().SelectionHigh(), step.last);
        }
        EXPECT_NE(Compare(app).StatusLine().find(step.status), std::u16string::npos)
            << Narrow(Compare(app).StatusLine());
    }

    // Either pane scrolls the other.
    HexViewModel& left = Compare(app).LeftPane().Model();
    HexViewModel& right = Compare(app).RightPane().Model();
    for (int i = 0; i < 3; ++i) {
        SendMessageW(Compare(app).LeftPane().Window(), WM_VSCROLL, SB_PAGEDOWN, 0);
    }
    app.Pump();
    EXPECT_GT(left.TopRow(), 0u);
    EXPECT_EQ(right.TopRow(), left.TopRow());
    SendMessageW(Compare(app).RightPane().Window(), WM_VSCROLL, SB_LINEUP, 0);
    app.Pump();
    EXPECT_EQ(left.TopRow(), right.TopRow());

    // Typing the other file's byte over the one at 0x8000 in the main window removes that
    // difference from the count and from the compare window.
    SetForegroundWindow(app.Main());
    SetFocus(app.View());
    app.Key('R', true); // editable
    app.App().View().Apply(app.App().View().Model().SetCaret(0x8000));
    const char16_t* digits = u"0123456789ABCDEF";
    app.Type(std::u16string{digits[other[0x8000] >> 4], digits[other[0x8000] & 15]});
    WaitIdle(app);
    EXPECT_EQ(app.App().Document().Read(0x8000, 1).bytes, std::vector<std::uint8_t>{other[0x8000]});
    EXPECT_EQ(Compare(app).Total(), 3u);
    HexView& pane = Compare(app).LeftPane();
    pane.Apply(pane.Model().SetCaret(0x8000));
    app.Pump();
    EXPECT_NE(Compare(app).StatusLine().find(u"No difference at the caret"), std::u16string::npos)
        << Narrow(Compare(app).StatusLine());
}

TEST(CompareWindow, EscapeStopsTheSearchThroughAHundredGibibytes)
{
    AppHarness app;
    const std::uint64_t size = std::uint64_t{100} << 30;
    ASSERT_TRUE(app.Start(Sparse(app, u"left.bin", size, 'x')));
    app.chosenFile = Sparse(app, u"right.bin", size, 'y');
    app.Command(cmd::kCompare);
    ASSERT_TRUE(Compare(app).IsOpen());
    app.PumpFor(300);
    EXPECT_NE(Compare(app).StatusLine().find(u"Counting the differences..."), std::u16string::npos)
        << Narrow(Compare(app).StatusLine());
    SetFocus(app.View());
    app.Key(VK_F6);
    app.PumpFor(500);
    ASSERT_TRUE(Compare(app).Working());
    EXPECT_NE(Compare(app).StatusLine().find(u"Looking for the difference..."),
              std::u16string::npos)
        << Narrow(Compare(app).StatusLine());
    const ULONGLONG asked = GetTickCount64();
    PaneKey(app, VK_ESCAPE);
    while (Compare(app).StatusLine().find(u"Stopped") == std::u16string::npos &&
           GetTickCount64() - asked < 3000) {
        app.PumpFor(20);
    }
    EXPECT_NE(Compare(app).StatusLine().find(u"Stopped"), std::u16string::npos)
        << Narrow(Compare(app).StatusLine());
    EXPECT_EQ(app.App().View().Model().CaretOffset(), 0u) << "nothing was found";
}

} // namespace
} // namespace orx::test
