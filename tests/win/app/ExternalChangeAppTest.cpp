// Another program changes the file the editor shows: through its own handles it writes,
// shortens and replaces the file while the editor holds it open. Saves ask before they write
// over it, and a file without edits is read anew in place.
#include "app/CommandIds.h"
#include "inspector/InspectorValues.h"
#include "win/app/AppHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <numeric>

namespace orx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::Narrow;

Bytes Ramp(std::size_t count)
{
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

bool Contains(const std::u16string& text, std::u16string_view part)
{
    return text.find(part) != std::u16string::npos;
}

// The other program's handle, with the sharing the editor's read handle allows: writes
// `bytes` at `offset`, then ends the file at `end` when given.
void OtherProgramWrites(const std::u16string& path, std::uint64_t offset, const Bytes& bytes,
                        std::optional<std::uint64_t> end = std::nullopt)
{
    const HANDLE file = CreateFileW(win::W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    if (!bytes.empty()) {
        EXPECT_TRUE(
            SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
    if (end) {
        at.QuadPart = static_cast<LONGLONG>(*end);
        EXPECT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    }
    CloseHandle(file);
}

// Takes the name away (the editor's delete sharing allows it): to the editor, a deletion.
void MoveAside(AppHarness& app, const std::u16string& path)
{
    ASSERT_TRUE(MoveFileExW(win::W(path), win::W(app.Dir().Path(u"aside.old")), 0));
}

// Saves to a new file and renames it to the path, as editors that save safely do. Windows
// (and Wine) refuse to rename over a file the editor holds open, so the old one is renamed
// aside first; afterwards the path names another file, as after a rename over it.
void ReplaceByRename(AppHarness& app, const std::u16string& path, const Bytes& bytes)
{
    const std::u16string fresh = app.Dir().Write(u"fresh.tmp", bytes);
    MoveAside(app, path);
    ASSERT_TRUE(MoveFileExW(win::W(fresh), win::W(path), 0));
}

// Starts on `bytes` made an hour old, so that a write in the clock tick of the open still
// shows as a change.
std::u16string StartOn(AppHarness& app, const Bytes& bytes)
{
    const std::u16string path = app.Dir().Write(u"f.bin", bytes);
    std::filesystem::last_write_time(ToPath(path), std::filesystem::file_time_type::clock::now() -
                                                       std::chrono::hours(1));
    EXPECT_TRUE(app.Start(path));
    // As if another window were active: the timer stops, and only Activate looks at the file.
    SendMessageW(app.Main(), WM_ACTIVATE, WA_INACTIVE, 0);
    return path;
}

// Started on 64 bytes, editing allowed, 0x77 typed over the first byte or, in Insert mode, in
// front of it (a save then goes through a temporary file).
std::u16string StartEdited(AppHarness& app, bool insert = false)
{
    const std::u16string path = StartOn(app, Ramp(64));
    app.Key('R', true);
    if (insert) {
        app.Key(VK_INSERT);
    }
    app.Type(u"77");
    return path;
}

Bytes With77(Bytes bytes, bool insert)
{
    if (insert) {
        bytes.insert(bytes.begin(), 0x77);
    } else {
        bytes[0] = 0x77;
    }
    return bytes;
}

// What activating the main window does, as the system sends it.
void Activate(AppHarness& app)
{
    SendMessageW(app.Main(), WM_ACTIVATE, WA_ACTIVE, 0);
    app.Pump();
}

constexpr UINT kSaveQuestion = MB_ICONWARNING | MB_OKCANCEL | MB_DEFBUTTON2;
constexpr UINT kReloadQuestion = MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON2;

// Each save path over each change: the save asks first, Cancel the default, and Cancel leaves
// the other program's bytes exactly as it left them with the edits pending. OK then saves:
// into the same file as usual, over a replacement the document as the editor read it.
TEST(ExternalChangeApp, EachSavePathAsksAndCancelLeavesTheOtherProgramsBytes)
{
    Bytes written = Ramp(64);
    std::fill(written.begin() + 8, written.begin() + 16, 0xEE);
    // clang-format off
    struct Change { const char* name; std::function<void(AppHarness&, const std::u16string&)> act; Bytes left; std::u16string sentence; bool anew; };
    const Change changes[] = {
        {"written", [](auto&, auto& path) { OtherProgramWrites(path, 8, Bytes(8, 0xEE)); }, written,
         u"Another program has changed this file since Orlin read it.", false},
        {"shortened", [](auto&, auto& path) { OtherProgramWrites(path, 0, {}, 20); }, Ramp(20),
         u"Another program has shortened this file since Orlin read it.", false},
        {"replaced by rename", [](auto& app, auto& path) { ReplaceByRename(app, path, Bytes(40, 0xAB)); }, Bytes(40, 0xAB),
         u"Another program has replaced this file with a different one since Orlin read it.", true},
        {"moved away", [](auto& app, auto& path) { MoveAside(app, path); }, Bytes{},
         u"This file has been deleted since Orlin read it.", true},
    };
    // clang-format on
    for (const bool insert : {false, true}) {
        for (const Change& change : changes) {
            SCOPED_TRACE(std::string(insert ? "temporary file, " : "in place, ") + change.name);
            AppHarness app;
            const std::u16string path = StartEdited(app, insert);
            change.act(app, path);
            const std::vector<std::u16string> listing = app.Dir().List();

            app.Command(cmd::kSave); // no answer queued: the box's default, Cancel
            ASSERT_EQ(app.boxes.size(), 1u);
            const ShownBox& box = app.boxes[0];
            EXPECT_EQ(box.type, kSaveQuestion);
            EXPECT_TRUE(
                Contains(box.text, path) && Contains(box.text, change.sentence) &&
                Contains(box.text, change.anew ? u"Save the document anew?" : u"Save anyway?"))
                << Narrow(box.text);
            EXPECT_EQ(ReadAll(path), change.left) << "byte for byte as the other program left it";
            EXPECT_EQ(app.Dir().List(), listing) << "no temporary file left behind";
            EXPECT_TRUE(app.App().Document().IsModified()); // the title may show a deletion

            if (insert && !change.anew) {
                continue; // composed over the other program's bytes: the usual save, not shown
            }
            app.answers = {IDOK};
            app.Command(cmd::kSave);
            EXPECT_EQ(app.boxes.size(), 2u);
            EXPECT_EQ(ReadAll(path), With77(change.anew ? Ramp(64) : change.left, insert));
            EXPECT_EQ(app.Title(), u"Orlin - f.bin");
        }
    }
}

// Without unsaved edits the file is read anew in place: caret, selection, scroll position and
// encoding stay, the side window shows the new bytes, and the status bar says what happened.
// Activation looks at once; while active, the timer looks again.
TEST(ExternalChangeApp, AnUneditedFileIsReloadedInPlaceKeepingCaretAndScroll)
{
    AppHarness app;
    const std::u16string path = StartOn(app, Ramp(64 * 1024));
    app.Command(cmd::kEncodingFirst + 2);
    const TextEncoding encoding = app.Model().Encoding();
    HexView& view = app.App().View();
    view.Apply(view.Model().SetCaret(0x1234));
    view.Apply(view.Model().SetTopRow(0x100));
    view.Apply(view.Model().SetSelection(0x1230, 0x1240));
    app.Pump();

    OtherProgramWrites(path, 0x1000, Bytes(0x1000, 0xC3));
    Activate(app);
    EXPECT_TRUE(app.boxes.empty());
    EXPECT_EQ(app.App().Document().Read(0x1234, 1).bytes, Bytes{0xC3});
    EXPECT_EQ(app.Model().CaretOffset(), 0x1234u);
    EXPECT_EQ(app.Model().TopRow(), 0x100u);
    EXPECT_TRUE(app.Model().HasSelection() && app.Model().SelectionLow() == 0x1230 &&
                app.Model().SelectionHigh() == 0x1240);
    EXPECT_EQ(app.Model().Encoding(), encoding);
    EXPECT_EQ(app.Status().rfind(u"The file was changed by another program and has been "
                                 u"reloaded.  Offset: 0x00001234",
                                 0),
              0u)
        << Narrow(app.Status());
    const auto& values = app.App().Inspector().Table().Values();
    for (int i = 0; i < 250 && !(values.size() > 1 && values[1] == FormatHexDec(0xC3, 2)); ++i) {
        app.PumpFor(20);
    }
    EXPECT_EQ(values.size() > 1 ? values[1] : u"", FormatHexDec(0xC3, 2)) << "the inspector too";

    // Shortened under the caret, found by the timer alone: the caret comes back to the end.
    OtherProgramWrites(path, 0, {}, 0x1000);
    app.PumpFor(1600);
    EXPECT_TRUE(app.boxes.empty());
    EXPECT_EQ(app.App().Document().Size(), 0x1000u);
    EXPECT_EQ(app.Model().CaretOffset(), 0xFFFu);
}

// With unsaved edits the user is told once: keeping the edits leaves the save's check to ask,
// reloading discards them.
TEST(ExternalChangeApp, WithEditsTheUserIsToldOnceThenTheSaveAsks)
{
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        AppHarness app;
        const std::u16string path = StartEdited(app);
        OtherProgramWrites(path, 8, Bytes(8, 0xEE));
        app.answers = {answer};
        Activate(app);
        ASSERT_EQ(app.boxes.size(), 1u);
        EXPECT_EQ(app.boxes[0].type, kReloadQuestion);
        EXPECT_TRUE(Contains(app.boxes[0].text, u"Reloading discards your unsaved edits."));
        EXPECT_EQ(app.App().Document().IsModified(), answer == IDNO);
        EXPECT_EQ(app.App().Document().Read(0, 1).bytes,
                  Bytes{static_cast<std::uint8_t>(answer == IDNO ? 0x77 : 0x00)});
        EXPECT_EQ(Contains(app.Status(), u"has been reloaded"), answer == IDYES);
        EXPECT_TRUE(app.Model().EditingEnabled()) << "the read-only switch is kept";
        if (answer == IDYES) {
            continue;
        }
        OtherProgramWrites(path, 0, Bytes{0x55}); // changed again: still told only once
        Activate(app);
        app.PumpFor(1300);
        EXPECT_EQ(app.boxes.size(), 1u);
        app.Command(cmd::kSave);
        ASSERT_EQ(app.boxes.size(), 2u);
        EXPECT_EQ(app.boxes[1].type, kSaveQuestion);
        EXPECT_EQ(ReadAll(path)[0], 0x55);
    }
}

// A file that lost its name: the view keeps what it shows and the title says so (the save
// that writes it anew is in the table above).
TEST(ExternalChangeApp, ADeletedFileIsShownSo)
{
    AppHarness app;
    const std::u16string path = StartEdited(app);
    MoveAside(app, path);
    Activate(app);
    EXPECT_TRUE(app.boxes.empty());
    EXPECT_EQ(app.Title(), u"Orlin - f.bin (deleted) *");
    EXPECT_TRUE(Contains(app.Status(), u"The file has been deleted. Save writes it anew."));
    EXPECT_EQ(app.App().Document().Read(0, 64).bytes, With77(Ramp(64), false));
    app.answers = {IDOK};
    app.Command(cmd::kSave);
    EXPECT_EQ(app.Title(), u"Orlin - f.bin");
    EXPECT_FALSE(Contains(app.Status(), u"deleted"));
}

} // namespace
} // namespace orx::test
