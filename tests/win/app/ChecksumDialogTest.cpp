// The Checksums and Hashes dialog, opened from the Edit menu's command in the running main
// window: the values of the selection or of the whole file, Copy All, and a computation
// stopped with Escape, leaving no value.
#include "app/CommandIds.h"
#include "app/win/ChecksumDialog.h"
#include "win/app/AppHarness.h"
#include "win/support/TestWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

namespace orx::test {
namespace {

// The dialog's own control ids.
using enum win::ChecksumDialog::ControlId;

// The six algorithms' values of "abc", in the dialog's order.
const std::u16string kAbc[] = {
    u"352441c2",
    u"024d0127",
    u"900150983cd24fb0d6963f7d28e17f72",
    u"a9993e364706816aba3e25717850c26c9cd0d89d",
    u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
    u"ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3fe"
    u"ebbd454d4423643ce80e2a9ac94fa54ca49f",
};

std::u16string Item(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

std::vector<std::u16string> Values(HWND dialog)
{
    std::vector<std::u16string> values;
    for (int i = 0; i < 6; ++i) {
        values.push_back(Item(dialog, kValueFirst + i));
    }
    return values;
}

// A dialog step that comes back until `ready` holds (at most 20 s), then runs `then`.
std::function<void(HWND)> WhenReady(AppHarness& app, std::function<bool(HWND)> ready,
                                    std::function<void(HWND)> then)
{
    const auto deadline = std::make_shared<ULONGLONG>(GetTickCount64() + 20000);
    return [&app, ready = std::move(ready), then = std::move(then), deadline](HWND dialog) {
        if (!ready(dialog) && GetTickCount64() < *deadline) {
            Sleep(10);
            app.dialogSteps.push_front(WhenReady(app, ready, then));
            return;
        }
        then(dialog);
    };
}

bool Finished(HWND dialog)
{
    return Item(dialog, IDCANCEL) == u"Close";
}

void ExpectOwnerBack(AppHarness& app)
{
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    EXPECT_EQ(GetActiveWindow(), app.Main());
}

TEST(ChecksumDialog, ShowsEveryValueOfTheWholeFileAndCopiesThemAll)
{
    AppHarness app;
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(app.MenuGrayed(cmd::kChecksums)) << "nothing to hash without a document";
    app.chosenFile = app.Dir().Write(u"abc.bin", std::string_view("abc"));
    app.Command(cmd::kOpen);
    EXPECT_FALSE(app.MenuGrayed(cmd::kChecksums));
    EXPECT_EQ(app.MenuLabel(cmd::kChecksums), u"&Checksums and Hashes...");
    AppHarness::ClearClipboard();

    HWND seen = nullptr;
    app.dialogSteps = {
        WhenReady(app, Finished,
                  [&](HWND dialog) {
                      seen = dialog;
                      EXPECT_EQ(FindWindowW(L"Orlin.ChecksumDialog", nullptr), dialog);
                      EXPECT_EQ(WindowText(dialog), u"Checksums and Hashes");
                      EXPECT_FALSE(IsWindowEnabled(app.Main()));
                      EXPECT_EQ(Item(dialog, kRangeText), u"Whole file, 0x00000000 to 0x00000002");
                      EXPECT_EQ(Item(dialog, kLengthText), u"3 bytes");
                      EXPECT_EQ(Item(dialog, kStatus), u"Done.");
                      EXPECT_EQ(SendDlgItemMessageW(dialog, kProgress, PBM_GETPOS, 0, 0), 100);
                      EXPECT_EQ(Values(dialog),
                                std::vector<std::u16string>(std::begin(kAbc), std::end(kAbc)));
                      // Each value can be selected and copied.
                      HWND sha256 = GetDlgItem(dialog, kValueFirst + 4);
                      EXPECT_TRUE(GetWindowLongW(sha256, GWL_STYLE) & ES_READONLY);
                      SendMessageW(sha256, EM_SETSEL, 0, -1);
                      SendMessageW(sha256, WM_COPY, 0, 0);
                      EXPECT_EQ(app.Clipboard(), kAbc[4]);
                      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kCopyAll)));
                      PostMessageW(GetDlgItem(dialog, kCopyAll), BM_CLICK, 0, 0);
                  }),
        [&](HWND) {
            const char16_t* names[] = {u"CRC-32", u"Adler-32", u"MD5",
                                       u"SHA-1",  u"SHA-256",  u"SHA-512"};
            std::u16string lines;
            for (std::size_t i = 0; i < std::size(names); ++i) {
                lines.append(names[i]).append(u"  ").append(kAbc[i]).append(u"\r\n");
            }
            EXPECT_EQ(app.Clipboard(), lines);
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        },
        [](HWND) { ADD_FAILURE() << "Escape left the finished dialog open"; }};
    app.Command(cmd::kChecksums);
    EXPECT_EQ(app.dialogSteps.size(), 1u);
    EXPECT_FALSE(IsWindow(seen));
    ExpectOwnerBack(app);
}

TEST(ChecksumDialog, HashesTheSelectionOfTheEditedDocument)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.Dir().Write(u"xabcx.bin", std::string_view("xAbcx"))));
    // Make "A" an "a" in the document, then select "abc".
    app.Key('R', true); // editing allowed
    app.MouseDown(app.CellCenter(1));
    app.MouseUp(app.CellCenter(1));
    app.Type(u"61");
    ASSERT_TRUE(app.App().Document().IsModified());
    app.MouseDown(app.CellCenter(1));
    app.MouseMove(app.CellCenter(3));
    app.MouseUp(app.CellCenter(3));

    app.dialogSteps = {WhenReady(app, Finished, [&](HWND dialog) {
        EXPECT_EQ(Item(dialog, kRangeText), u"Selection, 0x00000001 to 0x00000003");
        EXPECT_EQ(Item(dialog, kLengthText), u"3 bytes");
        EXPECT_EQ(Values(dialog), std::vector<std::u16string>(std::begin(kAbc), std::end(kAbc)));
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    })};
    app.Command(cmd::kChecksums);
    EXPECT_TRUE(app.dialogSteps.empty());
    ExpectOwnerBack(app);
}

TEST(ChecksumDialog, EscapeStopsAHundredGibibyteComputationLeavingNoValue)
{
    AppHarness app;
    ASSERT_TRUE(app.Start(app.SparseFile(std::uint64_t{100} << 30)));
    ULONGLONG stopAsked = 0;
    ULONGLONG stopShown = 0;
    const ULONGLONG opened = GetTickCount64();
    std::u16string running;
    app.dialogSteps = {
        // Half a second into the computation, which reads for minutes.
        WhenReady(
            app, [&](HWND) { return GetTickCount64() - opened >= 500; },
            [&](HWND dialog) {
                running = Item(dialog, kStatus);
                EXPECT_EQ(Item(dialog, kRangeText), u"Whole file, 0x0000000000000000 to "
                                                    u"0x00000018FFFFFFFF");
                EXPECT_EQ(Item(dialog, kLengthText), u"107,374,182,400 bytes");
                EXPECT_EQ(Item(dialog, IDCANCEL), u"Cancel");
                EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kCopyAll)));
                EXPECT_EQ(Values(dialog), std::vector<std::u16string>(6));
                stopAsked = GetTickCount64();
                PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
            }),
        WhenReady(app, Finished,
                  [&](HWND dialog) {
                      stopShown = GetTickCount64();
                      EXPECT_EQ(Item(dialog, kStatus), u"Stopped. No value was computed.");
                      EXPECT_EQ(Values(dialog), std::vector<std::u16string>(6)) << "no half value";
                      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kCopyAll)));
                      PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
                  }),
        [](HWND) { ADD_FAILURE() << "the second Escape left the dialog open"; },
    };
    app.Command(cmd::kChecksums);
    EXPECT_EQ(app.dialogSteps.size(), 1u);
    EXPECT_EQ(running.rfind(u"Computing... ", 0), 0u) << platform::Narrow(running);
    EXPECT_LT(stopShown - stopAsked, 3000u) << "the stop took effect within moments";
    ExpectOwnerBack(app);
}

} // namespace
} // namespace orx::test
