// Find, Go to, Font and About, opened through their commands and driven with the messages
// a user's keys and clicks produce.
#include "app/AppFlow.h"
#include "app/CommandIds.h"
#include "app/win/LicenseText.h"
#include "win/app/AppHarness.h"
#include "win/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orx::test {
namespace {

constexpr int kTypeList = 3102;
constexpr int kQueryBox = 3104;
constexpr int kPrevious = 3105;

std::u16string ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return win::FromW(name);
}

HWND QueryEdit(HWND dialog)
{
    return FindWindowExW(GetDlgItem(dialog, kQueryBox), nullptr, L"Edit", nullptr);
}

void TypeInto(HWND window, std::u16string_view text)
{
    for (char16_t c : text) {
        PostMessageW(window, WM_CHAR, c, 1);
    }
}

void PressKey(HWND window, UINT key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
}

void Click(HWND dialog, int id)
{
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ChooseItem(HWND dialog, int id, int index)
{
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::vector<std::u16string> ListItems(HWND list)
{
    std::vector<std::u16string> items;
    const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[256] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
        items.push_back(win::FromW(buffer));
    }
    return items;
}

// After every dialog the main window takes input again, with the focus on the hex view.
void ExpectOwnerBack(AppHarness& app)
{
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    EXPECT_EQ(GetActiveWindow(), app.Main());
    EXPECT_EQ(GetFocus(), app.View());
}

void ExpectSelected(AppHarness& app, std::uint64_t low, std::uint64_t high)
{
    EXPECT_TRUE(app.Model().HasSelection());
    EXPECT_EQ(app.Model().SelectionLow(), low);
    EXPECT_EQ(app.Model().SelectionHigh(), high);
    EXPECT_EQ(app.Model().CaretOffset(), low);
}

TEST(SearchDialog, NextWalksEveryOccurrenceWithoutWrappingAndPreviousGoesBack)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"a.bin", std::string_view("AAAA-"))));
    HWND seen = nullptr;
    std::size_t boxesBefore = 0;
    app.dialogSteps = {
        [&](HWND dialog) {
            seen = dialog;
            EXPECT_EQ(ClassOf(dialog), u"Orlin.SearchDialog");
            EXPECT_EQ(WindowText(dialog), u"Find");
            EXPECT_EQ(SendDlgItemMessageW(dialog, kTypeList, CB_GETCURSEL, 0, 0), 0);
            EXPECT_EQ(GetFocus(), QueryEdit(dialog));
            EXPECT_FALSE(IsWindowEnabled(app.Main()));
            TypeInto(QueryEdit(dialog), u" 41 41 ");
            PressKey(QueryEdit(dialog), VK_RETURN);
        },
        [&](HWND dialog) {
            ExpectSelected(app, 0, 1);
            PressKey(QueryEdit(dialog), VK_RETURN);
        },
        [&](HWND dialog) {
            ExpectSelected(app, 1, 2);
            PressKey(QueryEdit(dialog), VK_RETURN);
        },
        [&](HWND dialog) {
            ExpectSelected(app, 2, 3);
            boxesBefore = app.boxes.size();
            PressKey(QueryEdit(dialog), VK_RETURN);
        },
        [&](HWND dialog) {
            ASSERT_EQ(app.boxes.size(), boxesBefore + 1) << "no wrap to the beginning";
            EXPECT_EQ(app.boxes.back().text, u"No match was found.");
            EXPECT_EQ(app.boxes.back().caption, u"Find");
            EXPECT_EQ(app.boxes.back().owner, dialog);
            EXPECT_EQ(app.boxes.back().type, UINT(MB_ICONINFORMATION | MB_OK));
            ExpectSelected(app, 2, 3);
            EXPECT_EQ(WindowText(QueryEdit(dialog)), u" 41 41 ") << "the query stays as typed";
            Click(dialog, kPrevious);
        },
        [&](HWND dialog) {
            ExpectSelected(app, 1, 2);
            EXPECT_EQ(ListItems(GetDlgItem(dialog, kQueryBox)),
                      std::vector<std::u16string>{u"41 41"});
            Click(dialog, IDCANCEL);
        },
    };
    app.Key('F', true);

    EXPECT_TRUE(app.dialogSteps.empty());
    EXPECT_FALSE(IsWindow(seen));
    ExpectOwnerBack(app);
    const std::string settings = app.SettingsFileText();
    EXPECT_NE(settings.find("\"41 41\""), std::string::npos);
    EXPECT_EQ(settings.find("\"41 41\""), settings.rfind("\"41 41\"")) << "one history entry";
}

TEST(SearchDialog, RejectedQueriesAreReportedAndKeptOutOfTheHistory)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"b.bin", std::string_view("xyz"))));
    auto submit = [](HWND dialog, std::u16string_view query) {
        SetWindowTextW(GetDlgItem(dialog, kQueryBox), win::ToW(query).c_str());
        PressKey(QueryEdit(dialog), VK_RETURN);
    };
    std::vector<std::u16string> hexItems;
    app.dialogSteps = {
        [&](HWND dialog) {
            EXPECT_EQ(SendMessageW(QueryEdit(dialog), EM_GETLIMITTEXT, 0, 0), 12287);
            submit(dialog, u"DEA");
        },
        [&](HWND dialog) { submit(dialog, u"00"); }, // valid, not found
        [&](HWND dialog) {
            ChooseItem(dialog, kTypeList, 1);
            EXPECT_EQ(SendMessageW(QueryEdit(dialog), EM_GETLIMITTEXT, 0, 0), 4096);
            EXPECT_TRUE(ListItems(GetDlgItem(dialog, kQueryBox)).empty()) << "hex entries hidden";
            submit(dialog, u"caf\u00e9"); // not ASCII
        },
        [&](HWND dialog) { submit(dialog, u"  yz  "); },
        [&](HWND dialog) {
            EXPECT_EQ(ListItems(GetDlgItem(dialog, kQueryBox)), std::vector<std::u16string>{u"yz"});
            ChooseItem(dialog, kTypeList, 0);
            hexItems = ListItems(GetDlgItem(dialog, kQueryBox));
        },
    };
    app.Key('F', true);

    const std::u16string expected[] = {
        u"The search text is not valid hex. Enter pairs of hexadecimal digits, such as 4D 5A 90 "
        u"00.",
        u"No match was found.",
        u"The search text cannot be represented in the current encoding.",
    };
    ASSERT_EQ(app.boxes.size(), std::size(expected));
    for (std::size_t i = 0; i < app.boxes.size(); ++i) {
        EXPECT_EQ(app.boxes[i].text, expected[i]);
        EXPECT_EQ(app.boxes[i].caption, u"Find");
        EXPECT_NE(app.boxes[i].owner, app.Main()) << "owned by the dialog";
    }
    ExpectSelected(app, 1, 2);
    EXPECT_EQ(hexItems, std::vector<std::u16string>{u"00"});
    const std::string settings = app.SettingsFileText();
    EXPECT_EQ(settings.find("DEA"), std::string::npos);
    EXPECT_EQ(settings.find("caf"), std::string::npos);
    EXPECT_NE(settings.find("\"yz\""), std::string::npos);
}

AppHarness* g_timerApp = nullptr;
std::u16string g_statusDuringSearch;

TEST(SearchDialog, EscapeDuringALongSearchStopsItAndLeavesTheDialogOpen)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.SparseFile(16ull << 30)));
    g_timerApp = &app;
    // Set the selection on "B", where Next starts one byte later.
    app.MouseDown(app.CellCenter(1));
    app.MouseUp(app.CellCenter(1));
    ASSERT_TRUE(app.Model().HasSelection());
    app.dialogSteps = {
        [&](HWND dialog) {
            TypeInto(QueryEdit(dialog), u"DEADBEEF");
            PressKey(QueryEdit(dialog), VK_RETURN);
            SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
                KillTimer(nullptr, id);
                AppHarness& running = *g_timerApp;
                g_statusDuringSearch = running.Status();
                // What would pull the document away is refused while the search reads it.
                PostMessageW(running.Main(), WM_COMMAND, cmd::kClose, 0);
                PostMessageW(running.Main(), WM_CLOSE, 0, 0);
                PressKey(GetFocus(), VK_ESCAPE);
            });
        },
        [&](HWND dialog) {
            EXPECT_TRUE(app.boxes.empty()) << "a cancelled search shows nothing";
            ExpectSelected(app, 1, 1);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
            EXPECT_FALSE(app.App().Busy());
            // The Escape that stopped the search, still held: its repeats do not close.
            PostMessageW(QueryEdit(dialog), WM_KEYDOWN, VK_ESCAPE, 0x40000001);
        },
        [&](HWND dialog) {
            EXPECT_TRUE(IsWindowVisible(dialog));
            PressKey(QueryEdit(dialog), VK_ESCAPE); // a fresh press closes
        },
    };
    app.Key('F', true);
    g_timerApp = nullptr;

    EXPECT_TRUE(app.dialogSteps.empty());
    EXPECT_EQ(g_statusDuringSearch.rfind(u"Searching... ", 0), 0u)
        << platform::Narrow(g_statusDuringSearch);
    EXPECT_TRUE(app.App().Document().IsOpen());
    EXPECT_TRUE(IsWindow(app.Main()));
    ExpectOwnerBack(app);
}

TEST(ModalDialogs, ActivatedAgainTheyGiveTheFocusBackToTheControlThatHadIt)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"d.bin", std::string_view("focus"))));
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    // clang-format off
    struct Case { const char* name; UINT key; UINT command; };
    const Case cases[] = {{"Go to", 'G', 0}, {"Find", 'F', 0}, {"Font", 0, cmd::kFont}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.dialogSteps = {[&](HWND dialog) {
            HWND focus = GetFocus();
            ASSERT_TRUE(IsChild(dialog, focus));
            SetActiveWindow(other); // Alt+Tab away...
            EXPECT_NE(GetFocus(), focus);
            SetActiveWindow(dialog); // ...and back
            EXPECT_EQ(GetFocus(), focus);
        }};
        if (c.key != 0) {
            app.Key(c.key, true);
        } else {
            app.Command(c.command);
        }
        EXPECT_TRUE(app.dialogSteps.empty());
    }
    DestroyWindow(other);
}

TEST(GoToDialog, MovesTheCaretAndRefusesWhatIsNotAnOffset)
{
    AppHarness app;
    ASSERT_TRUE(app.Start());
    app.dialogSteps = {[](HWND) { ADD_FAILURE() << "a dialog without a document"; }};
    app.Key('G', true);
    EXPECT_EQ(app.dialogSteps.size(), 1u);
    app.chosenFile = app.Dir().Write(u"g.bin", std::vector<std::uint8_t>(64));
    app.Command(cmd::kOpen);
    // Parsing has its own tests: one offset, one refusal and one past the end.
    // clang-format off
    struct Case { std::u16string typed; std::uint64_t caret; bool refused; };
    const Case cases[] = {{u"1a", 0x1A, false}, {u"g", 0x1A, true}, {u"FFFF", 63, false}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::Narrow(c.typed));
        const std::u16string initial = GoToInitialText(app.Model().CaretOffset());
        app.dialogSteps = {[&](HWND dialog) {
            EXPECT_EQ(ClassOf(dialog), u"Orlin.PromptDialog");
            HWND edit = GetDlgItem(dialog, 3002);
            EXPECT_EQ(WindowText(edit), initial);
            EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(0, initial.size()));
            TypeInto(edit, c.typed); // replaces the selected text
            PressKey(edit, VK_RETURN);
        }};
        app.boxes.clear();
        app.Key('G', true);
        EXPECT_EQ(app.Model().CaretOffset(), c.caret);
        ASSERT_EQ(app.boxes.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(app.boxes[0].caption, u"Go To");
            EXPECT_EQ(app.boxes[0].owner, app.Main());
        }
        ExpectOwnerBack(app);
    }
    app.dialogSteps = {[](HWND dialog) {
        TypeInto(GetDlgItem(dialog, 3002), u"0");
        PressKey(GetDlgItem(dialog, 3002), VK_ESCAPE);
    }};
    app.Key('G', true);
    EXPECT_EQ(app.Model().CaretOffset(), 63u) << "Escape cancels";
}

TEST(FontDialog, OffersMonospaceFamiliesAndAppliesAndSavesTheChoice)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"f.bin", std::string_view("font"))));
    app.dialogSteps = {[&](HWND dialog) {
        EXPECT_EQ(ClassOf(dialog), u"Orlin.FontDialog");
        HWND families = GetDlgItem(dialog, 3302);
        const auto names = ListItems(families);
        EXPECT_NE(std::find(names.begin(), names.end(), u"DejaVu Sans Mono"), names.end());
        EXPECT_EQ(std::find(names.begin(), names.end(), u"DejaVu Sans"), names.end());
        EXPECT_EQ(WindowText(GetDlgItem(dialog, 3304)), u"12");
        SendMessageW(families, CB_SETCURSEL,
                     SendMessageW(families, CB_FINDSTRINGEXACT, -1,
                                  reinterpret_cast<LPARAM>(L"DejaVu Sans Mono")),
                     0);
        SendDlgItemMessageW(dialog, 3304, CB_SETCURSEL, 8, 0); // 18
        Click(dialog, 3305);
        PressKey(families, VK_RETURN);
    }};
    app.Command(cmd::kFont);
    EXPECT_EQ(app.Model().FontFamily(), u"DejaVu Sans Mono");
    EXPECT_EQ(app.Model().FontSizePoints(), 18.0f);
    EXPECT_TRUE(app.Model().FontBold());
    EXPECT_FALSE(app.Model().FontItalic());
    const std::string settings = app.SettingsFileText();
    EXPECT_NE(settings.find("DejaVu Sans Mono"), std::string::npos) << settings;
    ExpectOwnerBack(app);

    app.dialogSteps = {[](HWND dialog) {
        Click(dialog, 3306);
        Click(dialog, IDCANCEL);
    }};
    app.Command(cmd::kFont);
    EXPECT_FALSE(app.Model().FontItalic()) << "Cancel changes nothing";
}

TEST(AboutDialog, ShowsTheLicenceOpensTheLinkAndClosesOnlyOnPurpose)
{
    AppHarness app;
    ASSERT_TRUE(app.Start());
    HWND about = nullptr;
    app.dialogSteps = {
        [&](HWND dialog) {
            about = dialog;
            EXPECT_EQ(ClassOf(dialog), u"Orlin.AboutDialog");
            EXPECT_EQ(WindowText(GetDlgItem(dialog, 3202)), u"Version v1.03");
            HWND license = GetDlgItem(dialog, 3207);
            EXPECT_FALSE(win::LoadLicenseText().empty());
            EXPECT_EQ(WindowText(license), win::LoadLicenseText());
            EXPECT_EQ(SendMessageW(license, EM_GETSEL, 0, 0), 0) << "nothing selected";
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
            HWND link = GetDlgItem(dialog, 3205);
            EXPECT_TRUE(SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
            EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
            PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            PressKey(GetFocus(), VK_ESCAPE);
        },
        [&](HWND dialog) {
            EXPECT_EQ(app.openedLinks.size(), 1u);
            EXPECT_EQ(app.openedLinks.front(), WindowText(GetDlgItem(dialog, 3205)));
            PressKey(GetFocus(), VK_RETURN);
        },
        [&](HWND) { ADD_FAILURE() << "Enter left the box open"; },
    };
    app.Command(cmd::kAbout);
    EXPECT_EQ(app.dialogSteps.size(), 1u) << "Escape closed the box";
    EXPECT_FALSE(IsWindow(about));
    ExpectOwnerBack(app);
}

TEST(ModalLoop, QuitMessageEndsTheDialogAndStillReachesTheMainLoop)
{
    AppHarness app;
    ASSERT_TRUE(app.Start());
    app.dialogSteps = {[](HWND) { PostQuitMessage(7); }};
    SendMessageW(app.Main(), WM_COMMAND, cmd::kAbout, 0);
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

} // namespace
} // namespace orx::test
