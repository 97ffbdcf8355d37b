// The inspector's typed rows, editing a value in place and searching by value, in the running
// editor.
#include "app/CommandIds.h"
#include "app/win/SearchDialog.h"
#include "inspector/InspectorTable.h"
#include "inspector/InspectorValues.h"
#include "platform/win32/WinString.h"
#include "support/TempDir.h"
#include "win/app/AppHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::vector<std::u16string>& Values(AppHarness& app)
{
    return app.App().Inspector().Table().Values();
}

bool Shows(AppHarness& app, std::size_t row, std::u16string_view value)
{
    return Values(app).size() == kInspectorRowCount && Values(app)[row] == value;
}

HWND Inspector(AppHarness& app)
{
    return app.App().Inspector().Window();
}

// Selects a row by a click on its value cell (96 DPI under the test display) and presses a key.
void PressOnRow(AppHarness& app, std::size_t row, WPARAM key)
{
    const InspectorBox cell = app.App().Inspector().Table().ValueCell(row, 500);
    SendMessageW(Inspector(app), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(static_cast<int>(cell.left) + 40, static_cast<int>(cell.top) + 18));
    SendMessageW(Inspector(app), WM_KEYDOWN, key, 1);
    app.Pump();
}

void TypeIntoEditor(AppHarness& app, std::u16string_view text)
{
    const HWND editor = app.App().Inspector().Editor();
    ASSERT_NE(editor, nullptr);
    SetWindowTextW(editor, win::ToW(text).c_str());
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
    app.Pump();
}

constexpr std::size_t kInt8Row = 11;
constexpr std::size_t kInt16Row = 12;
constexpr std::size_t kUnix32Row = 18;
constexpr std::size_t kGuidRow = 22;

TEST(InspectorValuesApp, ShowsTheTypedRowsInEitherOrderAndWritesAnEditedValueToDisk)
{
    AppHarness app;
    const Bytes start = {0xFE, 0xFF, 0x00, 0x80, 0x33, 0x22, 0x11, 0x00,
                         0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    const std::u16string path = app.Dir().Write(u"values.bin", start);
    ASSERT_TRUE(app.Start(path));
    ASSERT_TRUE(app.PumpUntil([&] { return Shows(app, kInt8Row, u"-2"); }));
    EXPECT_EQ(Values(app)[kInt16Row], u"-2");
    EXPECT_EQ(Values(app)[kGuidRow], u"{8000FFFE-2233-0011-8899-AABBCCDDEEFF}");
    // The wheel brings the last rows under the header of a window too short for all.
    SendMessageW(Inspector(app), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)),
                 0);
    RECT client{};
    GetClientRect(Inspector(app), &client);
    EXPECT_EQ(app.App().Inspector().Table().FirstRow(),
              kInspectorRowCount -
                  std::min(kInspectorRowCount,
                           InspectorTable::VisibleRows(static_cast<float>(client.bottom))));
    SendMessageW(Inspector(app), WM_MOUSEWHEEL, MAKEWPARAM(0, 9 * WHEEL_DELTA), 0);
    EXPECT_EQ(app.App().Inspector().Table().FirstRow(), 0u);

    // The switch in the header flips the rows that follow it, and the setting keeps it.
    const InspectorBox toggle = InspectorTable::ByteOrderBox(520);
    SendMessageW(Inspector(app), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(static_cast<int>(toggle.left) + 20, 18));
    ASSERT_TRUE(app.PumpUntil([&] { return Shows(app, kInt16Row, u"-257"); }));
    EXPECT_EQ(Values(app)[1], u"0xFE / 254") << "the first rows stay as they are";
    EXPECT_EQ(Values(app)[kUnix32Row], u"1969-06-20 01:29:36 UTC"); // 0xFEFF0080 as int32
    EXPECT_NE(app.SettingsFileText().find("\"endian\": \"big\""), std::string::npos);

    // Read-only: nothing opens, and the status bar says why.
    PressOnRow(app, kInt16Row, VK_F2);
    EXPECT_EQ(app.App().Inspector().Editor(), nullptr);
    EXPECT_EQ(app.Status(), u"The file is read-only. Press Ctrl+R to allow editing.");
    app.Command(cmd::kToggleReadOnly);
    SetFocus(app.View());
    app.Key(VK_INSERT);
    PressOnRow(app, kInt16Row, VK_RETURN);
    EXPECT_EQ(app.App().Inspector().Editor(), nullptr);
    EXPECT_EQ(app.Status(), u"Values are written in Overwrite mode only. Press Insert to switch.");
    SetFocus(app.View());
    app.Key(VK_INSERT);

    // A value that does not fit is refused with its range, and the box stays open.
    PressOnRow(app, kInt16Row, VK_F2);
    TypeIntoEditor(app, u"40000");
    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_EQ(app.boxes[0].text, u"40000 does not fit Int16 (-32768 to 32767).");
    EXPECT_NE(app.App().Inspector().Editor(), nullptr);
    EXPECT_EQ(app.Title(), u"Orlin - values.bin") << "nothing written";

    TypeIntoEditor(app, u"0x1234");
    EXPECT_EQ(app.App().Inspector().Editor(), nullptr);
    ASSERT_TRUE(app.PumpUntil([&] { return Shows(app, kInt16Row, u"4660"); }));
    EXPECT_NE(app.Title(), u"Orlin - values.bin") << "the title marks the edit";
    app.Command(cmd::kSave);
    Bytes expected = start;
    expected[0] = 0x12;
    expected[1] = 0x34;
    EXPECT_EQ(ReadAll(path), expected);
}

TEST(InspectorValuesApp, FindAllByValueListsBothByteOrdersAndF3RepeatsIt)
{
    using Dialog = win::SearchDialog;
    AppHarness app;
    const Bytes data = {0x00, 0x04, 0x00, 0x00, 0x04, 0x00, 0x00, 0x09};
    ASSERT_TRUE(app.Start(app.Dir().Write(u"find.bin", data)));
    app.dialogSteps = {[](HWND dialog) {
        const HWND types = GetDlgItem(dialog, Dialog::kTypeList);
        SendMessageW(types, CB_SETCURSEL, 2 + 6, 0); // hex, text, then Int8 .. UInt32
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(Dialog::kTypeList, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(types));
        const HWND orders = GetDlgItem(dialog, Dialog::kByteOrderList);
        EXPECT_TRUE(IsWindowEnabled(orders));
        SendMessageW(orders, CB_SETCURSEL, 2, 0); // either
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(Dialog::kByteOrderList, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(orders));
        const HWND edit =
            FindWindowExW(GetDlgItem(dialog, Dialog::kQueryBox), nullptr, L"Edit", nullptr);
        SetWindowTextW(edit, L"1024");
        PostMessageW(GetDlgItem(dialog, Dialog::kFindAll), BM_CLICK, 0, 0);
    }};
    app.Key('F', true);
    for (int i = 0; i < 500 && app.App().FindAll().Running(); ++i) {
        app.PumpFor(20);
    }
    const HitList& hits = app.App().FindAll().Hits();
    ASSERT_EQ(hits.Count(), 3u);
    EXPECT_EQ((std::vector<std::uint64_t>{hits.At(0), hits.At(1), hits.At(2)}),
              (std::vector<std::uint64_t>{0, 2, 3}));
    EXPECT_EQ(app.SettingsFileText().find("value:u32:either") != std::string::npos, true)
        << "the history keeps the type and the order";

    SetFocus(app.View());
    app.Key(VK_RIGHT);
    ASSERT_EQ(app.Model().CaretOffset(), 1u);
    app.Key(VK_F3);
    EXPECT_EQ(app.Model().CaretOffset(), 2u) << "F3 finds the big-endian one";
    app.Key(VK_F3);
    EXPECT_EQ(app.Model().CaretOffset(), 3u) << "then the little-endian one it overlaps";
}

} // namespace
} // namespace orx::test
