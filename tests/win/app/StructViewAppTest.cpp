#include "app/CommandIds.h"
#include "hexview/ByteMarks.h"
#include "hexview/PaintModel.h"
#include "structview/win/StructViewWindow.h"
#include "win/app/AppHarness.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace orx::test {
namespace {

using platform::Narrow;

// English, with the struct view shown.
constexpr std::string_view kStructViewSettings =
    "{\r\n  \"appVersion\": \"v1.03\",\r\n  \"theme\": \"Light\",\r\n  \"language\": "
    "\"English\",\r\n  \"analysis\": {\r\n    \"dataInspector\": {\r\n      \"visible\": false\r\n"
    "    },\r\n    \"structView\": {\r\n      \"visible\": true\r\n    }\r\n  }\r\n}\r\n";

// The start of a PNG file: signature, then the IHDR chunk of a 256 × 128 RGBA image.
const std::vector<std::uint8_t> kPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x80, 0x08, 0x06, 0x00, 0x00, 0x00, 0x12, 0x34, 0x56,
    0x78, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// A whole PNG of three chunks: IHDR (256 × 128 RGBA), ten bytes of IDAT, IEND.
const std::vector<std::uint8_t> kThreeChunkPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x80, 0x08, 0x06, 0x00, 0x00,
    0x00, 0xE4, 0xB5, 0xB7, 0x0A, 0x00, 0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x00,
    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x86, 0x27, 0x60, 0x42, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// The rows first: no side window exists before the hex view has painted, and both appear
// right after.
TEST(StartupOrder, TheHexRowsArePaintedBeforeAnySideWindowIsCreated)
{
    AppHarness app("{\r\n  \"appVersion\": \"v1.03\",\r\n  \"analysis\": {\r\n    "
                   "\"dataInspector\": { \"visible\": true },\r\n    \"structView\": { "
                   "\"visible\": true }\r\n  }\r\n}\r\n");
    ASSERT_TRUE(app.Start(app.Dir().Write(u"image.png", kPng)));
    const StartupTrace& trace = app.App().Startup();
    EXPECT_TRUE(trace.Before("file opened", "hex view: first paint")) << trace.Format();
    EXPECT_TRUE(trace.Before("hex view: first paint", "inspector created")) << trace.Format();
    EXPECT_TRUE(trace.Before("hex view: first paint", "struct view created")) << trace.Format();
    ASSERT_NE(app.App().Inspector().Window(), nullptr);
    ASSERT_NE(app.App().StructView().Window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(app.App().Inspector().Window()));
    EXPECT_TRUE(IsWindowVisible(app.App().StructView().Window()));
}

class StructViewApp : public ::testing::Test {
protected:
    StructViewApp() : app(kStructViewSettings) {}

    const StructViewWindow& View() { return app.App().StructView(); }
    const StructViewModel& Model() { return View().Model(); }

    // Pumps until `done` holds, at most five seconds; the worker answers meanwhile.
    template <typename Predicate>
    bool WaitFor(Predicate done)
    {
        for (int i = 0; i < 250 && !done(); ++i) {
            app.PumpFor(20);
        }
        return done();
    }

    // The value shown for the member `name`, once the view shows rows.
    std::string Value(std::string_view name)
    {
        for (const StructViewRow& row : Model().Rows()) {
            if (Narrow(row.name) == name) {
                return Narrow(row.value);
            }
        }
        return "(no row " + std::string(name) + ")";
    }

    bool ValueIs(std::string_view name, std::string_view value)
    {
        return WaitFor([&] { return Value(name) == value; });
    }

    void OpenPattern(const std::u16string& path)
    {
        app.chosenPattern = path;
        PostMessageW(app.Main(), kMsgStructOpenPattern, 0, 0);
        app.Pump();
    }

    std::u16string ShippedPattern(std::u16string_view name)
    {
        return SourceDirectory() + u"\\patterns\\" + std::u16string(name);
    }
    // The shipped pattern as it was before it read the whole file: a fixed header at the
    // caret, which is what the window's caret-following behaviour is tested with.
    std::u16string FixedHeaderPattern(std::u16string_view name)
    {
        return SourceDirectory() + u"\\tests\\structview\\compat\\" + std::u16string(name);
    }

    // The screen rows of the hex view that paint the struct view's field mark.
    std::vector<std::size_t> FieldMarkRows()
    {
        std::vector<std::size_t> rows;
        const PaintModel paint = app.Model().BuildPaintModel();
        for (std::size_t i = 0; i < paint.rows.size(); ++i) {
            for (const PaintMark& mark : paint.rows[i].marks) {
                if (mark.kind == MarkKind::Field) {
                    rows.push_back(i);
                    break;
                }
            }
        }
        return rows;
    }

    std::vector<std::string> Values(std::string_view name)
    {
        std::vector<std::string> values;
        for (const StructViewRow& row : Model().Rows()) {
            if (Narrow(row.name) == name) {
                values.push_back(Narrow(row.value));
            }
        }
        return values;
    }

    AppHarness app;
};

TEST_F(StructViewApp, AnAnchoredPatternShowsTheWholeFileAndMarksTheFieldsOfTheCaret)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"three.png", kThreeChunkPng)));
    OpenPattern(ShippedPattern(u"png.orpat"));
    // Big-endian as the pattern says, without a byte-order choice.
    ASSERT_TRUE(ValueIs("  width", "0x00000100"));
    EXPECT_EQ(Value("  height"), "0x00000080");
    EXPECT_EQ(Narrow(Model().FileName()), "png.orpat at 0x0");
    EXPECT_EQ(Value("chunks : Chunk[]"), "3 elements");
    EXPECT_EQ(Values("    type"),
              (std::vector<std::string>{"49 48 44 52", "49 44 41 54", "49 45 4E 44"}));
    EXPECT_EQ(Values("    length"),
              (std::vector<std::string>{"0x0000000D", "0x0000000A", "0x00000000"}));
    // The caret at 0 is in the signature: its row is selected and its bytes marked.
    ASSERT_TRUE(WaitFor([&] { return FieldMarkRows() == std::vector<std::size_t>{0}; }));
    EXPECT_EQ(Narrow(Model().SelectedLocatedRow()->name), "signature");

    // The caret moves to the IDAT chunk's type: the rows stay, that member's row is
    // selected, and its bytes are marked in the hex view's third row.
    for (const UINT key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT}) {
        app.Key(key); // a row is 16 bytes
    }
    ASSERT_TRUE(WaitFor([&] {
        const StructViewRow* row = Model().SelectedLocatedRow();
        return row != nullptr && row->first == 0x25;
    }));
    EXPECT_EQ(Narrow(Model().SelectedLocatedRow()->name), "    type");
    EXPECT_EQ(Narrow(Model().Rows()[0].offset), "0x0");
    ASSERT_TRUE(WaitFor([&] { return FieldMarkRows() == std::vector<std::size_t>{2}; }));

    // Three rows down is the IEND chunk, at 0x37 to 0x42; Enter puts the caret there and
    // keeps that row selected, since it holds the caret.
    SetFocus(View().Window());
    for (int i = 0; i < 3; ++i) {
        app.Key(VK_DOWN);
    }
    ASSERT_NE(Model().SelectedLocatedRow(), nullptr);
    EXPECT_EQ(Narrow(Model().SelectedLocatedRow()->name), "  [2]");
    ASSERT_TRUE(WaitFor([&] { return FieldMarkRows() == std::vector<std::size_t>{3, 4}; }));
    app.Key(VK_RETURN);
    EXPECT_EQ(app.Model().CaretOffset(), 0x37u);
    app.PumpFor(100);
    EXPECT_EQ(Narrow(Model().SelectedLocatedRow()->name), "  [2]");
    EXPECT_EQ(GetFocus(), View().Window()) << "the keys stay with the rows";

    // The menu's placement: following the caret lays the pattern at 0x37, staying keeps it
    // there while the caret moves on.
    const auto choose = [&](int command) {
        SendMessageW(View().Window(), WM_COMMAND, static_cast<WPARAM>(command), 0);
        app.Pump();
    };
    choose(svid::kFormatFirst + 6);
    ASSERT_TRUE(WaitFor([&] { return Narrow(Model().Rows()[0].offset) == "0x37"; }));
    EXPECT_EQ(Narrow(Model().FileName()), "png.orpat");
    choose(svid::kFormatFirst + 7);
    ASSERT_TRUE(WaitFor([&] { return Narrow(Model().FileName()) == "png.orpat at 0x37"; }));
    app.Command(cmd::kToggleStructView); // hidden: the mark goes with the view
    EXPECT_TRUE(FieldMarkRows().empty());
}

TEST_F(StructViewApp, TheLibraryOffersTheMatchingPatternInOneClick)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"three.png", kThreeChunkPng)));
    ASSERT_TRUE(WaitFor([&] { return !Model().OfferText().empty(); }));
    EXPECT_EQ(Narrow(Model().OfferText()), "PNG image: apply png.orpat");
    HWND offer = GetDlgItem(View().Window(), svid::kOfferButton);
    EXPECT_TRUE(IsWindowVisible(offer));
    bool listed = false; // the Open button's menu has the match at its top
    for (const LibraryMenuGroup& group : Model().LibraryMenu()) {
        for (const LibraryMenuItem& item : group.items) {
            listed =
                listed || (group.title.empty() && Narrow(item.label) == "PNG image (png.orpat)");
        }
    }
    EXPECT_TRUE(listed);

    SendMessageW(offer, BM_CLICK, 0, 0);
    app.Pump();
    ASSERT_TRUE(ValueIs("  width", "0x00000100"));
    EXPECT_EQ(Narrow(Model().FileName()), "png.orpat at 0x0");
    EXPECT_FALSE(IsWindowVisible(offer));

    // The setting applies the best match without asking, and is kept.
    PostMessageW(app.Main(), kMsgStructAutoApply, 0, 0);
    app.Pump();
    EXPECT_NE(app.SettingsFileText().find("\"applyMatches\": true"), std::string::npos);
    EXPECT_TRUE(Model().AutoApply());
}

TEST_F(StructViewApp, ShowsTheRowsAtTheCaretAndFollowsMovesAndEdits)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"image.png", kPng)));
    ASSERT_NE(View().Window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(View().Window()));
    EXPECT_EQ(Model().State(), StructViewState::Empty);
    RECT main{};
    RECT side{};
    GetWindowRect(app.Main(), &main);
    GetWindowRect(View().Window(), &side);
    EXPECT_EQ(side.right, main.left - 1) << "docked on the left";
    EXPECT_EQ(side.bottom - side.top, main.bottom - main.top);

    OpenPattern(FixedHeaderPattern(u"png.orpat"));
    ASSERT_EQ(app.patternDialogFolders.size(), 1u);
    EXPECT_EQ(app.patternDialogFolders[0], SourceDirectory() + u"\\patterns");
    ASSERT_TRUE(ValueIs("width", "0x00010000"));
    EXPECT_EQ(Narrow(Model().FileName()), "png.orpat");
    EXPECT_EQ(Value("signature"), "89 50 4E 47 0D 0A 1A 0A");
    EXPECT_EQ(Narrow(Model().Rows()[0].offset), "0x0");

    // One byte further the struct starts at offset 1.
    app.Key(VK_RIGHT);
    ASSERT_TRUE(ValueIs("signature", "50 4E 47 0D 0A 1A 0A 00"));
    EXPECT_EQ(Narrow(Model().Rows()[0].offset), "0x1");

    // Back at 0, an edit of the width's first byte shows at once.
    app.Key(VK_LEFT);
    app.Command(cmd::kToggleReadOnly);
    for (int i = 0; i < 16; ++i) { // to the width at 16
        app.Key(VK_RIGHT);
    }
    app.Type(u"ab");
    ASSERT_TRUE(WaitFor([&] { return Narrow(Model().Rows()[0].offset) == "0x11"; }));
    app.Key(VK_HOME, true);
    EXPECT_TRUE(ValueIs("width", "0x000100AB"));
}

TEST_F(StructViewApp, ValueFormatsComeFromTheMenuCommandsAndAreSaved)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"image.png", kPng)));
    OpenPattern(FixedHeaderPattern(u"png.orpat"));
    ASSERT_TRUE(ValueIs("width", "0x00010000"));

    const auto choose = [&](int command) {
        SendMessageW(View().Window(), WM_COMMAND, static_cast<WPARAM>(command), 0);
        app.Pump();
    };
    // A format or language change keeps the rows, the selected row and the scroll position
    // until the worker's new rows arrive, and after.
    SetFocus(View().Window());
    for (int i = 0; i < 3; ++i) {
        app.Key(VK_DOWN);
    }
    ASSERT_EQ(Model().SelectedRow(), 2);
    const std::size_t rowCount = Model().Rows().size();
    SendMessageW(app.Main(), kMsgStructValueFormat, 4, 0); // big-endian; the worker not heard yet
    EXPECT_EQ(Model().Rows().size(), rowCount);
    EXPECT_EQ(Model().SelectedRow(), 2);
    SendMessageW(app.Main(), WM_COMMAND, cmd::kLanguageFirst + 2, 0); // Japanese
    EXPECT_EQ(Model().Rows().size(), rowCount);
    app.Command(cmd::kLanguageFirst + 1);
    EXPECT_EQ(Model().SelectedRow(), 2);
    choose(svid::kFormatFirst + 3); // big-endian
    EXPECT_TRUE(ValueIs("width", "0x00000100"));
    EXPECT_NE(app.SettingsFileText().find("\"endian\": \"big\""), std::string::npos);
    choose(svid::kFormatFirst + 5); // decimal
    EXPECT_TRUE(ValueIs("width", "256"));
    choose(svid::kFormatFirst + 1); // char arrays as text
    EXPECT_TRUE(ValueIs("ihdrType", "\"IHDR\""));
    EXPECT_EQ(Model().Options(), (StructValueOptions{1, 1, 1})) << "the menu's check marks";

    const std::string saved = app.SettingsFileText();
    choose(svid::kFormatFirst + 5); // already chosen: nothing changes, nothing is written
    EXPECT_EQ(app.SettingsFileText(), saved);
    choose(svid::kFormatFirst + 2); // little-endian again
    EXPECT_TRUE(ValueIs("width", "65536"));
}

TEST_F(StructViewApp, SyntaxErrorShowsWhereAndReloadTakesTheFixedFile)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"data.bin", kPng)));
    const std::u16string path =
        app.Dir().Write(u"broken.orpat", "struct S {\n  int a;\n  int b\n};\n");
    OpenPattern(path);
    ASSERT_EQ(Model().State(), StructViewState::Error);
    EXPECT_EQ(Narrow(Model().FileName()), "broken.orpat");
    EXPECT_EQ(Narrow(Model().MessagePanelText()),
              "Error: Line 3, Col 3: Unexpected tokens after declaration name.\r\n  int b\r\n  ^");
    EXPECT_TRUE(IsWindowVisible(View().MessageEdit()));
    const std::u16string error = Model().MessagePanelText();
    // The error stays through caret moves, with Reload and Close at hand.
    SetFocus(app.View());
    app.Key(VK_RIGHT);
    app.PumpFor(100);
    EXPECT_EQ(Model().State(), StructViewState::Error);
    EXPECT_EQ(Model().MessagePanelText(), error);
    EXPECT_EQ(Narrow(Model().FileName()), "broken.orpat");
    EXPECT_TRUE(Model().ReloadEnabled() && Model().CloseEnabled());
    app.Key(VK_LEFT);

    (void)app.Dir().Write(u"broken.orpat", "struct S {\n  int a;\n  int b;\n};\n");
    SetFocus(View().MessageEdit());
    app.Key(VK_F5); // from the message panel
    ASSERT_TRUE(ValueIs("b", "0x0A1A0A0D")) << Value("b");
    EXPECT_EQ(Model().State(), StructViewState::Table);
    EXPECT_EQ(GetFocus(), View().Window()) << "the view keeps the focus after reloading";

    // Closing the pattern leaves the empty view; reload then has nothing to load.
    PostMessageW(app.Main(), kMsgStructClosePattern, 0, 0);
    app.Pump();
    EXPECT_EQ(Model().State(), StructViewState::Empty);
    PostMessageW(app.Main(), kMsgStructReloadPattern, 0, 0);
    app.PumpFor(100);
    EXPECT_EQ(Model().State(), StructViewState::Empty);
}

TEST_F(StructViewApp, MaximisedViewStaysMaximisedThroughNewRowsAndMainWindowMoves)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"image.png", kPng)));
    OpenPattern(FixedHeaderPattern(u"png.orpat"));
    ASSERT_TRUE(ValueIs("width", "0x00010000"));
    ShowWindow(View().Window(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(View().Window()));

    SetFocus(app.View());
    app.Key(VK_RIGHT);
    ASSERT_TRUE(ValueIs("signature", "50 4E 47 0D 0A 1A 0A 00"));
    RECT main{};
    GetWindowRect(app.Main(), &main);
    SetWindowPos(app.Main(), nullptr, main.left + 10, main.top + 5, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    app.Pump();
    EXPECT_TRUE(IsZoomed(View().Window()));
    EXPECT_TRUE(IsWindowVisible(View().Window()));
}

TEST_F(StructViewApp, MaximisedMainWindowLeavesRoomForBothSideWindowsAndRestores)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"image.png", kPng)));
    app.Command(cmd::kToggleInspector);
    HWND inspector = app.App().Inspector().Window();
    ASSERT_NE(inspector, nullptr);
    RECT restored{};
    GetWindowRect(app.Main(), &restored);

    ShowWindow(app.Main(), SW_MAXIMIZE);
    app.Pump();
    ASSERT_TRUE(IsZoomed(app.Main()));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(app.Main(), MONITOR_DEFAULTTONEAREST), &monitor));
    RECT main{};
    RECT left{};
    RECT right{};
    GetWindowRect(app.Main(), &main);
    GetWindowRect(View().Window(), &left);
    GetWindowRect(inspector, &right);
    // Side by side across the whole work area, one pixel apart.
    EXPECT_EQ(
        (std::array{left.left, left.right + 1, main.right + 1, right.right, main.top, main.bottom}),
        (std::array{monitor.rcWork.left, main.left, right.left, monitor.rcWork.right,
                    monitor.rcWork.top, monitor.rcWork.bottom}));
    ShowWindow(app.Main(), SW_RESTORE);
    app.Pump();
    GetWindowRect(app.Main(), &main);
    EXPECT_TRUE(EqualRect(&main, &restored));
}

TEST_F(StructViewApp, PatternCommandsWaitForDialogsAndItsFileDialogDisablesTheMainWindow)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"image.png", kPng)));
    OpenPattern(FixedHeaderPattern(u"png.orpat"));
    ASSERT_TRUE(ValueIs("width", "0x00010000"));
    HWND openButton = GetDlgItem(View().Window(), svid::kOpenButton);

    app.dialogSteps = {
        [&](HWND) {
            EXPECT_FALSE(Model().OpenEnabled() || Model().ReloadEnabled() ||
                         Model().CloseEnabled());
            EXPECT_FALSE(IsWindowEnabled(openButton));
            PostMessageW(app.Main(), kMsgStructOpenPattern, 0, 0);
            PostMessageW(app.Main(), kMsgStructClosePattern, 0, 0);
        },
        [](HWND) {}, // the posted requests are handled (and refused) meanwhile
    };
    app.Key('G', true);
    EXPECT_TRUE(app.dialogSteps.empty());
    EXPECT_EQ(app.patternDialogFolders.size(), 1u) << "no file dialog inside the Go to box";
    EXPECT_EQ(Narrow(Model().FileName()), "png.orpat") << "Close was refused";
    EXPECT_TRUE(Model().OpenEnabled() && Model().ReloadEnabled() && Model().CloseEnabled());
    EXPECT_TRUE(IsWindowEnabled(openButton));

    std::optional<bool> mainEnabled;
    app.duringPatternDialog = [&] { mainEnabled = IsWindowEnabled(app.Main()) != FALSE; };
    // The Open button lists the library; its last item asks for the file dialog.
    SetFocus(View().Window());
    PostMessageW(app.Main(), kMsgStructOpenPattern, 0, 0);
    app.Pump();
    EXPECT_EQ(mainEnabled, std::optional<bool>(false)) << "the view's own file dialog";
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    EXPECT_TRUE(Model().OpenEnabled());
}

TEST_F(StructViewApp, CopiesTheTableAsTabSeparatedText)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"data.bin", kPng)));
    OpenPattern(app.Dir().Write(u"two.orpat", "struct Two { uint16_t first; char tag[2]; };"));
    ASSERT_TRUE(ValueIs("tag", "4E 47")) << Value("tag");
    AppHarness::ClearClipboard();
    SetFocus(View().Window());
    app.Key('C', true);
    EXPECT_EQ(Narrow(app.Clipboard().value_or(u"")),
              "Struct View\r\nDefinition: two.orpat\r\n\r\nOffset\tValue\tSize\tName\r\n"
              "0x0\t0x5089\t2\tfirst\r\n0x2\t4E 47\t2\ttag");
}

TEST_F(StructViewApp, HidingKeepsThePatternAndTheCloseBoxClearsTheSetting)
{
    ASSERT_TRUE(app.Start(app.Dir().Write(u"image.png", kPng)));
    EXPECT_TRUE(app.MenuChecked(cmd::kToggleStructView));
    OpenPattern(FixedHeaderPattern(u"png.orpat"));
    ASSERT_TRUE(ValueIs("width", "0x00010000"));

    SendMessageW(View().Window(), WM_CLOSE, 0, 0);
    app.Pump();
    EXPECT_EQ(View().Window(), nullptr);
    EXPECT_FALSE(app.MenuChecked(cmd::kToggleStructView));
    EXPECT_NE(app.SettingsFileText().find("\"visible\": false,"), std::string::npos)
        << "the struct view's flag is saved off";

    app.Key(VK_RIGHT); // no window, no request
    app.Command(cmd::kToggleStructView);
    ASSERT_NE(View().Window(), nullptr);
    EXPECT_TRUE(app.MenuChecked(cmd::kToggleStructView));
    EXPECT_NE(app.SettingsFileText().find("\"visible\": true,"), std::string::npos);
    EXPECT_TRUE(ValueIs("signature", "50 4E 47 0D 0A 1A 0A 00")) << "the pattern is still loaded";
    EXPECT_EQ(Narrow(Model().FileName()), "png.orpat");
}

TEST_F(StructViewApp, WithoutADocumentEveryValueIsUnavailable)
{
    ASSERT_TRUE(app.Start());
    OpenPattern(FixedHeaderPattern(u"png.orpat"));
    ASSERT_EQ(Model().State(), StructViewState::Table);
    ASSERT_FALSE(Model().Rows().empty());
    for (const StructViewRow& row : Model().Rows()) {
        EXPECT_EQ(Narrow(row.value), "N/A") << Narrow(row.name);
    }
}

} // namespace
} // namespace orx::test
