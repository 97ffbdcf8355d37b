#include "app/CommandIds.h"
#include "ui/win/ClipboardText.h"
#include "win/app/AppHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace orx::test {
namespace {

std::vector<std::uint8_t> Ramp(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

template <typename Char>
bool Contains(const std::basic_string<Char>& text,
              std::type_identity_t<std::basic_string_view<Char>> part)
{
    return text.find(part) != text.npos;
}

using platform::Narrow;

// Appends in place: GCC 12's -Wrestrict misreads operator+ on UTF-16 strings at -O3.
std::u16string Cat(std::initializer_list<std::u16string_view> parts)
{
    std::u16string result;
    for (std::u16string_view part : parts) {
        result.append(part);
    }
    return result;
}

TEST(AppWindow, StartsOnTheCommandLineFileReadOnlyClosesItAndExits)
{
    AppHarness app;
    const auto path = app.Dir().Write(u"sample.bin", Ramp(64));
    ASSERT_TRUE(app.Start(path));

    EXPECT_EQ(app.Title(), u"Orlin - sample.bin");
    EXPECT_EQ(Narrow(app.Status()),
              "Offset: 0x00000000 (0)  Encoding: ASCII  Read-only  Zoom: 100%");
    EXPECT_TRUE(app.MenuChecked(cmd::kToggleReadOnly));
    EXPECT_FALSE(app.MenuGrayed(cmd::kSave));
    EXPECT_TRUE(app.MenuChecked(cmd::kThemeFirst + 2)) << "the settings' Black theme is applied";
    EXPECT_EQ(app.Model().CurrentTheme(), Theme::Black);
    EXPECT_EQ(app.MenuLabel(cmd::kRecentFirst), Cat({u"1 ", path}));
    EXPECT_TRUE(Contains(app.SettingsFileText(), "sample.bin")) << "the open is remembered on disk";
    EXPECT_EQ(GetFocus(), app.View());
    EXPECT_TRUE(app.boxes.empty());

    app.Command(cmd::kClose); // nothing to confirm without edits
    EXPECT_TRUE(app.boxes.empty());
    EXPECT_EQ(app.Title(), u"Orlin");
    EXPECT_EQ(Narrow(app.Status()), "No file open");
    EXPECT_TRUE(app.MenuGrayed(cmd::kSave));

    const HWND main = app.Main();
    app.Command(cmd::kExit);
    EXPECT_FALSE(IsWindow(main));
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST(AppWindow, StartupFileThatCannotBeOpenedLeavesTheClosedState)
{
    AppHarness app;
    bool visibleAtBox = false;
    app.duringBox = [&] { visibleAtBox = IsWindowVisible(app.Main()) != FALSE; };
    ASSERT_TRUE(app.Start(app.Dir().Path(u"missing.bin")));

    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_TRUE(visibleAtBox) << "the error shows over the visible window";
    EXPECT_EQ(Narrow(app.boxes[0].text), "The file could not be opened.");
    EXPECT_EQ(Narrow(app.boxes[0].caption), "Orlin");
    EXPECT_EQ(app.boxes[0].type, static_cast<UINT>(MB_ICONERROR | MB_OK));
    EXPECT_EQ(app.Title(), u"Orlin");
    EXPECT_EQ(Narrow(app.Status()), "No file open");
    EXPECT_TRUE(app.MenuGrayed(cmd::kSave));
    EXPECT_TRUE(app.MenuGrayed(cmd::kClose));
    EXPECT_FALSE(Contains(app.SettingsFileText(), "missing.bin"));
}

TEST(AppWindow, EditsAreRefusedWithAFlashUntilCtrlRAndThenTypedNibbleByNibble)
{
    AppHarness app;
    const auto path = app.Dir().Write(u"edit.bin", Ramp(32));
    ASSERT_TRUE(app.Start(path));

    app.Type(u"g");
    EXPECT_FALSE(app.App().FlashActive()) << "a non-hex character is ignored in read-only mode";
    app.Type(u"f");
    EXPECT_TRUE(app.App().FlashActive());
    EXPECT_EQ(Narrow(app.Status()), "The file is read-only. Press Ctrl+R to allow editing.");
    EXPECT_FALSE(app.App().Document().IsModified());
    app.PumpFor(600);
    app.Key(VK_DELETE);
    app.PumpFor(600);
    EXPECT_TRUE(app.App().FlashActive()) << "the second attempt restarted the 900 ms";
    app.PumpFor(500);
    EXPECT_FALSE(app.App().FlashActive());
    EXPECT_TRUE(Contains(app.Status(), u"Offset: 0x00000000"));

    app.Key('R', true); // through the accelerator table
    EXPECT_FALSE(app.MenuChecked(cmd::kToggleReadOnly));
    app.Key(VK_RIGHT);
    app.Type(u"A");
    EXPECT_EQ(app.App().Document().Read(1, 1).bytes, std::vector<std::uint8_t>{0xA1});
    EXPECT_EQ(app.Model().CaretOffset(), 1u);
    app.Type(u"b");
    EXPECT_EQ(app.App().Document().Read(1, 1).bytes, std::vector<std::uint8_t>{0xAB});
    EXPECT_EQ(app.Model().CaretOffset(), 2u);
    EXPECT_EQ(app.Title(), u"Orlin - edit.bin *");
    EXPECT_TRUE(Contains(app.Status(), u"Mode: Overwrite  Modified")) << Narrow(app.Status());

    app.Key('R', true);
    EXPECT_TRUE(app.MenuChecked(cmd::kToggleReadOnly));
    EXPECT_TRUE(Contains(app.Status(), u"Read-only"));
    EXPECT_EQ(ReadAll(path), Ramp(32)) << "nothing reaches the file before a save";
}

TEST(AppWindow, MouseDragSelectsAndCtrlCCopiesHex)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"drag.bin", Ramp(64))));
    AppHarness::ClearClipboard();

    app.MouseDown(app.CellCenter(0x22));
    app.MouseMove(app.CellCenter(0x10, true)); // the text column hits the same bytes
    app.MouseUp(app.CellCenter(0x10, true));
    EXPECT_TRUE(app.Model().HasSelection());
    EXPECT_EQ(app.Model().SelectionLow(), 0x10u);
    EXPECT_EQ(app.Model().SelectionHigh(), 0x22u);
    EXPECT_EQ(app.Model().CaretOffset(), 0x22u);
    EXPECT_TRUE(Contains(app.Status(), u"Offset: 0x00000022"));

    app.Key('C', true);
    EXPECT_EQ(app.Clipboard(), u"10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F 20 21 22");

    app.Key(VK_LEFT);
    EXPECT_FALSE(app.Model().HasSelection()) << "a caret key ends the selection";
}

HGLOBAL WINAPI NoMemory(UINT /*flags*/, SIZE_T /*bytes*/)
{
    return nullptr;
}

TEST(ClipboardText, AFailedCopyLeavesTheClipboardAsItWas)
{
    ASSERT_TRUE(win::CopyTextToClipboard(nullptr, u"kept \u3042"));
    EXPECT_FALSE(win::CopyTextToClipboard(nullptr, u"lost", &NoMemory));
    EXPECT_FALSE(win::CopyTextToClipboard(nullptr, u""));
    EXPECT_EQ(AppHarness::Clipboard(), u"kept \u3042");
}

TEST(AppWindow, CopyThatWouldExhaustMemoryIsRefusedWithAFlash)
{
    AppHarness app;
    // 32 MiB of zeros: its hex text would need 192 MiB.
    ASSERT_TRUE(app.Start(app.Dir().Write(u"big.bin", std::vector<std::uint8_t>(32u << 20))));
    AppHarness::ClearClipboard();
    app.App().View().Apply(app.App().View().Model().SetSelection(0, (32u << 20) - 1));
    app.Key('C', true);
    EXPECT_TRUE(app.App().FlashActive());
    EXPECT_EQ(Narrow(app.Status()), "The selection is too large to copy.");
    EXPECT_EQ(app.Clipboard(), std::nullopt);
}

TEST(AppWindow, ZoomFromWheelAndMenuShowsInStatusAndIsNotSaved)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"zoom.bin", Ramp(16))));
    const std::string settingsBefore = app.SettingsFileText();

    // clang-format off
    struct Step { std::function<void()> action; const char* zoom; };
    const Step steps[] = {
        {[&] { app.Wheel(WHEEL_DELTA, true); }, "110%"}, {[&] { app.Wheel(-1, true); }, "100%"},
        {[&] { app.Command(cmd::kZoomIn); }, "110%"},    {[&] { app.Command(cmd::kZoomOut); }, "100%"},
        {[&] { app.Command(cmd::kZoomOut); }, "90%"},    {[&] { app.Command(cmd::kZoomReset); }, "100%"},
        {[&] { app.Wheel(-WHEEL_DELTA, false); }, "100%"}, // plain wheel scrolls instead
    };
    // clang-format on
    for (const Step& step : steps) {
        step.action();
        EXPECT_TRUE(Contains(Narrow(app.Status()), std::string("Zoom: ") + step.zoom))
            << Narrow(app.Status());
    }
    EXPECT_EQ(app.SettingsFileText(), settingsBefore);
}

TEST(AppWindow, EncodingThemeAndLanguageAreCheckedAppliedAndSaved)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"prefs.bin", Ramp(16))));

    app.Command(cmd::kEncodingFirst + 4);
    EXPECT_TRUE(app.MenuChecked(cmd::kEncodingFirst + 4));
    EXPECT_FALSE(app.MenuChecked(cmd::kEncodingFirst));
    EXPECT_TRUE(Contains(app.Status(), u"Encoding: Shift_JIS"));
    EXPECT_TRUE(Contains(app.SettingsFileText(), "\"code\": \"cp932\""));

    app.Command(cmd::kThemeFirst + 0);
    EXPECT_TRUE(app.MenuChecked(cmd::kThemeFirst));
    EXPECT_FALSE(app.MenuChecked(cmd::kThemeFirst + 2));
    EXPECT_EQ(app.Model().CurrentTheme(), Theme::Light);
    EXPECT_TRUE(Contains(app.SettingsFileText(), "\"theme\": \"Light\""));
    EXPECT_TRUE(Contains(app.SettingsFileText(), "\"family\": \"Consolas\""))
        << "the family asked for is kept, whatever the view draws with";

    app.Command(cmd::kLanguageFirst + 2);
    EXPECT_TRUE(app.MenuChecked(cmd::kLanguageFirst + 2));
    EXPECT_TRUE(Contains(app.SettingsFileText(), "\"language\": \"Japanese\""));
    StringTable japanese;
    japanese.SetBaseDirectory(SourceDirectory());
    japanese.SetLanguage(UiLanguage::Japanese);
    EXPECT_EQ(app.MenuLabel(cmd::kOpen), japanese.Lookup("menu.file.open"));
    EXPECT_TRUE(Contains(app.Status(), japanese.Lookup("status.readonly")));
    EXPECT_EQ(app.Title(), Cat({japanese.Lookup("app.title"), u" - prefs.bin"}));
}

TEST(AppWindow, SaveWritesTheEditsAndClearsTheModifiedMark)
{
    AppHarness app;
    const auto path = app.Dir().Write(u"save.bin", Ramp(16));
    ASSERT_TRUE(app.Start(path));
    app.Key('R', true);
    app.Type(u"ff");
    app.Key(VK_INSERT);
    app.Type(u"00");
    app.Command(cmd::kSave);

    auto expected = Ramp(16);
    expected[0] = 0xFF;
    expected.insert(expected.begin() + 1, 0x00);
    EXPECT_EQ(ReadAll(path), expected);
    EXPECT_EQ(app.Title(), u"Orlin - save.bin");
    EXPECT_FALSE(Contains(app.Status(), u"Modified"));
    EXPECT_FALSE(app.App().Busy());
    EXPECT_TRUE(IsWindowEnabled(app.View()));
    EXPECT_TRUE(app.boxes.empty());

    // Typing goes on at once, without a click to give the view the keyboard back.
    const std::uint64_t caret = app.Model().CaretOffset();
    app.Type(u"7e");
    EXPECT_EQ(app.App().Document().Read(caret, 1).bytes, std::vector<std::uint8_t>{0x7E});
    EXPECT_EQ(app.App().Document().Size(), 18u);
}

// Sees each message before the window does, which gets it only when `onMessage` returns true.
// One spy at a time.
class MessageSpy {
public:
    MessageSpy(HWND window, std::function<bool(UINT)> onMessage) : window_(window)
    {
        onMessage_ = std::move(onMessage);
        original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageSpy::Proc)));
    }
    ~MessageSpy()
    {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return onMessage_(message) ? CallWindowProcW(original_, window, message, wParam, lParam)
                                   : 0;
    }

    HWND window_;
    static inline std::function<bool(UINT)> onMessage_;
    static inline WNDPROC original_ = nullptr;
};

TEST(AppWindow, WhileSavingQueuedCommandsAndCloseAreRefusedAndTheMenuIsGrey)
{
    AppHarness app;
    const auto path = app.Dir().Write(u"busy.bin", Ramp(4096));
    ASSERT_TRUE(app.Start(path));
    app.Key('R', true);
    app.Key(VK_INSERT);
    app.Type(u"99"); // an insertion: the save streams a temporary file and pumps messages

    // Queued now, dispatched by the save's own message pump.
    PostMessageW(app.Main(), WM_COMMAND, cmd::kClose, 0);
    PostMessageW(app.Main(), WM_CLOSE, 0, 0);
    int queuedSeenBusy = 0;
    {
        MessageSpy spy(app.Main(), [&](UINT message) {
            if ((message == WM_COMMAND || message == WM_CLOSE) && app.App().Busy() &&
                app.MenuGrayed(cmd::kOpen) && app.MenuGrayed(cmd::kExit) &&
                !IsWindowEnabled(app.View())) {
                ++queuedSeenBusy;
            }
            return true;
        });
        SendMessageW(app.Main(), WM_COMMAND, cmd::kSave, 0);
    }
    app.Pump();

    EXPECT_EQ(queuedSeenBusy, 2) << "both queued messages arrived during the save";
    EXPECT_TRUE(IsWindow(app.Main())) << "WM_CLOSE during the save was ignored";
    EXPECT_TRUE(app.App().Document().IsOpen()) << "Close during the save was refused";
    EXPECT_EQ(ReadAll(path).size(), 4097u);
    EXPECT_FALSE(app.MenuGrayed(cmd::kOpen));
}

TEST(AppWindow, ClosingWithUnsavedEditsAsks)
{
    // clang-format off
    struct Case { int answer; bool windowGone; bool fileSaved; };
    const Case cases[] = {{IDCANCEL, false, false}, {IDNO, true, false}, {IDYES, true, true}};
    // clang-format on
    for (const Case& c : cases) {
        AppHarness app;
        const auto path = app.Dir().Write(u"ask.bin", Ramp(8));
        ASSERT_TRUE(app.Start(path));
        app.Key('R', true);
        app.Type(u"77");
        app.answers = {c.answer};
        SendMessageW(app.Main(), WM_CLOSE, 0, 0);
        app.Pump();
        ASSERT_EQ(app.boxes.size(), 1u);
        EXPECT_EQ(app.boxes[0].type, static_cast<UINT>(MB_ICONWARNING | MB_YESNOCANCEL));
        EXPECT_EQ(Narrow(app.boxes[0].text),
                  "This file has unsaved changes. Do you want to save them?");
        EXPECT_EQ(!IsWindow(app.Main()) || app.Main() == nullptr, c.windowGone) << c.answer;
        EXPECT_EQ(ReadAll(path)[0] == 0x77, c.fileSaved) << c.answer;
    }
}

TEST(AppWindow, DropsOpenTheFirstFileHereAndTheRestInNewInstances)
{
    AppHarness app;
    ASSERT_TRUE(app.Start());
    const auto missing = app.Dir().Path(u"missing.bin");
    const auto a = app.Dir().Write(u"a.bin", Ramp(4));
    const auto b = app.Dir().Write(u"b.bin", Ramp(4));
    app.Drop({missing, a, b});

    ASSERT_EQ(app.boxes.size(), 1u) << "the missing file's open error";
    EXPECT_EQ(app.Title(), u"Orlin - a.bin") << "after a failure the next file is tried here";
    ASSERT_EQ(app.launches.size(), 1u);
    EXPECT_EQ(app.launches[0].commandLine,
              Cat({u"\"", app.launches[0].application, u"\" \"", b, u"\""}));

    // With a modified document every dropped file goes to a new instance, without a question.
    app.Key('R', true);
    app.Type(u"12");
    app.launchSucceeds = false;
    app.Drop({b});
    EXPECT_EQ(app.launches.size(), 2u);
    ASSERT_EQ(app.boxes.size(), 2u);
    EXPECT_EQ(Narrow(app.boxes[1].text), "A new Orlin window could not be started for this file.");
    EXPECT_TRUE(app.App().Document().IsModified());
    EXPECT_EQ(app.Title(), u"Orlin - a.bin *");
}

TEST(AppWindow, RecentFilesReopenAndAMissingOneStaysListed)
{
    AppHarness app;
    const auto first = app.Dir().Write(u"first.bin", Ramp(4));
    const auto second = app.Dir().Write(u"second.bin", Ramp(4));
    ASSERT_TRUE(app.Start(first));
    app.chosenFile = second;
    app.Command(cmd::kOpen);
    EXPECT_EQ(app.MenuLabel(cmd::kRecentFirst), Cat({u"1 ", second}));
    EXPECT_EQ(app.MenuLabel(cmd::kRecentFirst + 1), Cat({u"2 ", first}));

    app.Command(cmd::kRecentFirst + 1);
    EXPECT_EQ(app.Title(), u"Orlin - first.bin");
    EXPECT_EQ(app.MenuLabel(cmd::kRecentFirst), Cat({u"1 ", first}));

    ASSERT_TRUE(DeleteFileW(reinterpret_cast<const wchar_t*>(second.c_str())));
    app.Command(cmd::kRecentFirst + 1);
    EXPECT_EQ(app.boxes.size(), 1u);
    EXPECT_EQ(app.Title(), u"Orlin") << "a failed open leaves no file open";
    EXPECT_FALSE(app.Model().HasOpenDocument());
    EXPECT_TRUE(app.MenuGrayed(cmd::kClose));
    EXPECT_EQ(app.MenuLabel(cmd::kRecentFirst + 1), Cat({u"2 ", second}));
    app.Command(cmd::kRecentFirst + 5); // no entry behind it
    EXPECT_EQ(app.boxes.size(), 1u);

    // A path is shown as it stands: an '&' in it is no mnemonic.
    app.chosenFile = app.Dir().Write(u"R&D.bin", Ramp(4));
    app.Command(cmd::kOpen);
    EXPECT_EQ(app.MenuLabel(cmd::kRecentFirst), Cat({u"1 ", app.Dir().Path(u"R&&D.bin")}));
    EXPECT_EQ(app.Title(), u"Orlin - R&D.bin");
}

TEST(AppWindow, DpiChangeTakesTheSuggestedRectangleAndRelaysOutTheView)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"dpi.bin", Ramp(64))));
    // clang-format off
    const struct { WORD dpi; std::uint32_t expected; RECT suggested; } cases[] = {
        {144, 144, {40, 30, 1240, 930}}, {0, 96, {20, 10, 1000, 770}}};
    // clang-format on
    for (const auto& c : cases) {
        RECT suggested = c.suggested;
        SendMessageW(app.Main(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        app.Pump();
        RECT now{};
        GetWindowRect(app.Main(), &now);
        EXPECT_TRUE(EqualRect(&now, &suggested))
            << now.left << ',' << now.top << ',' << now.right << ',' << now.bottom;
        EXPECT_EQ(app.Model().Dpi(), c.expected);
        // Clicks are in physical pixels: the byte under the pointer is found at the new scale.
        const POINT cell = app.CellCenter(0x11);
        app.MouseDown(cell);
        app.MouseUp(cell);
        EXPECT_EQ(app.Model().SelectionLow(), 0x11u) << c.dpi;
        EXPECT_TRUE(Contains(app.Status(), u"Offset: 0x00000011"));
    }
}

TEST(AppWindow, AnInputPaintsTheViewOnceWhileTitleAndStatusFollowIt)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"paint.bin", Ramp(64 * 1024))));
    app.Key('R', true);
    // The caret's blinking paints too, but on its own: the view's timers are held back.
    int paints = 0;
    const MessageSpy spy(app.View(), [&](UINT message) {
        paints += message == WM_PAINT ? 1 : 0;
        return message != WM_TIMER;
    });
    // clang-format off
    const struct { const char* name; std::function<void()> input; } inputs[] = {
        {"Right", [&] { app.Key(VK_RIGHT); }},       {"Down", [&] { app.Key(VK_DOWN); }},
        {"Page Down", [&] { app.Key(VK_NEXT); }},    {"typed digit", [&] { app.Type(u"7"); }},
        {"second digit", [&] { app.Type(u"e"); }},   {"Insert", [&] { app.Key(VK_INSERT); }},
        {"inserted byte", [&] { app.Type(u"41"); }}, {"Backspace", [&] { app.Key(VK_BACK); }},
    };
    // clang-format on
    for (const auto& input : inputs) {
        paints = 0;
        const std::u16string status = app.Status();
        input.input();
        EXPECT_EQ(paints, 1) << input.name;
        EXPECT_NE(app.Status(), status) << input.name << ": the status bar followed";
    }
}

} // namespace
} // namespace orx::test
