#include "hexview/HexViewModel.h"

#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HexViewModelEditing, TypingHexDigitsEditsNibbleByNibble)
{
    // clang-format off
    struct Case { const char* name; Bytes start; EditMode mode; std::uint64_t caret; std::u16string typed;
        Bytes expected; std::uint64_t expectedCaret; bool expectedPending; };
    // clang-format on
    using enum EditMode;
    const Case cases[] = {
        // The first digit replaces the high nibble at once and keeps the low one.
        {"overwrite, one digit", {0x12, 0x34}, Overwrite, 0, u"A", {0xA2, 0x34}, 0, true},
        {"four digits", {0x12, 0x34, 0x56}, Overwrite, 0, u"0f9C", {0x0F, 0x9C, 0x56}, 2, false},
        // At the last byte the caret stays and further digits keep rewriting that byte.
        {"overwrite, last byte", {0x12, 0x34}, Overwrite, 1, u"5678", {0x12, 0x78}, 1, false},
        {"other characters", {0x12}, Overwrite, 0, u"g x", {0x12}, 0, false},
        // Insert mode inserts only when the second digit arrives.
        {"insert, one digit", {0x12}, Insert, 0, u"4", {0x12}, 0, true},
        {"insert, two digits", {0x12}, Insert, 0, u"41", {0x41, 0x12}, 1, false},
        {"insert at the end", {0x12}, Insert, 1, u"4142", {0x12, 0x41, 0x42}, 3, false},
        {"insert into an empty document", {}, Insert, 0, u"ff", {0xFF}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f(c.start);
        f.EnableEditing(c.mode);
        (void)f.view.SetCaret(c.caret);
        Type(f.view, c.typed);
        EXPECT_EQ(f.Bytes(), c.expected);
        EXPECT_EQ(f.view.CaretOffset(), c.expectedCaret);
        EXPECT_EQ(f.view.HasPendingNibble(), c.expectedPending);
    }
}

TEST(HexViewModelEditing, ACaretMoveOrToggleDropsThePendingDigit)
{
    struct Case {
        const char* name;
        EditMode mode;
        std::function<void(HexViewModel&)> interrupt;
        Bytes expected; // after typing 4, the interruption, then 4 1
    };
    const auto right = [](HexViewModel& v) { (void)v.OnKeyDown(vk::kRight, false); };
    using enum EditMode;
    // clang-format off
    const Case cases[] = {
        {"arrow key, insert", Insert, right, {0x12, 0x41, 0x34}},
        {"arrow key, overwrite", Overwrite, right, {0x42, 0x41}},
        {"read-only toggled twice", Overwrite,
         [](HexViewModel& v) { (void)v.ToggleEditingEnabled(), (void)v.ToggleEditingEnabled(); }, {0x41, 0x34}},
        {"insert key twice", Overwrite,
         [](HexViewModel& v) { (void)v.OnKeyDown(vk::kInsert, false), (void)v.OnKeyDown(vk::kInsert, false); },
         {0x41, 0x34}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f({0x12, 0x34});
        f.EnableEditing(c.mode);
        (void)f.view.OnChar(u'4');
        c.interrupt(f.view);
        Type(f.view, u"41");
        EXPECT_EQ(f.Bytes(), c.expected);
    }
}

TEST(HexViewModelEditing, DeleteBackspaceAndSelections)
{
    // clang-format off
    struct Case { const char* name; EditMode mode; std::uint64_t caret;
        std::optional<std::pair<std::uint64_t, std::uint64_t>> selection; std::uint32_t key; Bytes expected;
        std::uint64_t expectedCaret; };
    // clang-format on
    using enum EditMode;
    const Case cases[] = {
        {"delete", Overwrite, 1, {}, vk::kDelete, {0, 2, 3, 4, 5}, 1},
        {"delete the last byte", Overwrite, 5, {}, vk::kDelete, {0, 1, 2, 3, 4}, 4},
        {"backspace", Overwrite, 2, {}, vk::kBack, {0, 2, 3, 4, 5}, 1},
        {"backspace at 0 does nothing", Overwrite, 0, {}, vk::kBack, {0, 1, 2, 3, 4, 5}, 0},
        {"delete at Size() does nothing", Insert, 6, {}, vk::kDelete, {0, 1, 2, 3, 4, 5}, 6},
        {"backspace at Size()", Insert, 6, {}, vk::kBack, {0, 1, 2, 3, 4}, 5},
        {"one clicked byte", Overwrite, 2, {{2, 2}}, vk::kDelete, {0, 1, 3, 4, 5}, 2},
        {"reversed range by backspace", Overwrite, 4, {{4, 1}}, vk::kBack, {0, 5}, 1},
        {"range up to the end", Overwrite, 3, {{3, 5}}, vk::kDelete, {0, 1, 2}, 2},
        {"everything", Insert, 0, {{0, 5}}, vk::kDelete, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f(Sequence(6));
        f.EnableEditing(c.mode);
        (void)f.view.SetCaret(c.caret);
        if (c.selection) {
            (void)f.view.SetSelection(c.selection->first, c.selection->second);
        }
        EXPECT_TRUE(f.view.OnKeyDown(c.key, false).handled);
        EXPECT_EQ(f.Bytes(), c.expected);
        EXPECT_EQ(f.view.CaretOffset(), c.expectedCaret);
        EXPECT_FALSE(f.view.HasSelection());
    }
    FileView empty({});
    empty.EnableEditing(EditMode::Insert);
    EXPECT_FALSE(
        empty.view.OnKeyDown(vk::kDelete, false).handled); // nothing to delete: default processing
}

TEST(HexViewModelEditing, ReadOnlyBlocksEditsButNotNavigationOrCopy)
{
    FileView f({0x12, 0x34, 0x56});
    ASSERT_FALSE(f.view.EditingEnabled()); // every attach starts read-only
    // clang-format off
    struct Case { const char* name; std::function<InputResult(HexViewModel&)> input; bool blocked, handled; };
    const Case cases[] = {
        {"hex digit", [](HexViewModel& v) { return v.OnChar(u'f'); }, true, true},
        {"letter g does nothing at all", [](HexViewModel& v) { return v.OnChar(u'g'); }, false, false},
        {"delete", [](HexViewModel& v) { return v.OnKeyDown(vk::kDelete, false); }, true, true},
        {"backspace", [](HexViewModel& v) { return v.OnKeyDown(vk::kBack, false); }, true, true},
        {"insert", [](HexViewModel& v) { return v.OnKeyDown(vk::kInsert, false); }, true, true},
        {"right arrow", [](HexViewModel& v) { return v.OnKeyDown(vk::kRight, false); }, false, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const InputResult result = c.input(f.view);
        EXPECT_EQ(result.effects.editBlocked, c.blocked);
        EXPECT_EQ(result.handled, c.handled);
    }
    EXPECT_EQ(f.Bytes(), (Bytes{0x12, 0x34, 0x56}));
    EXPECT_EQ(f.view.Mode(), EditMode::Overwrite);
    EXPECT_EQ(f.view.CaretOffset(), 1u);
}

TEST(HexViewModelEditing, NavigationKeys)
{
    // 100 bytes, ten visible rows; caret at 0x25 and bytes 0x20..0x22 selected before each key.
    // clang-format off
    struct Case { const char* name; std::uint32_t key; bool ctrl; EditMode mode; std::uint64_t expected;
        bool keepsSelection; };
    // clang-format on
    using enum EditMode;
    const Case cases[] = {
        {"left", vk::kLeft, false, Overwrite, 0x24, false},
        {"up", vk::kUp, false, Overwrite, 0x15, false},
        {"down", vk::kDown, false, Overwrite, 0x35, false},
        {"home", vk::kHome, false, Overwrite, 0x20, false},
        {"end", vk::kEnd, false, Overwrite, 0x2F, false},
        {"ctrl+home", vk::kHome, true, Overwrite, 0, false},
        {"ctrl+end", vk::kEnd, true, Overwrite, 99, false},
        {"ctrl+end, insert mode", vk::kEnd, true, Insert, 100, false},
        {"page up stops at 0", vk::kPageUp, false, Overwrite, 0, false},
        {"page down stops at the last byte", vk::kPageDown, false, Overwrite, 99, false},
        {"escape only drops the selection", vk::kEscape, false, Overwrite, 0x25, false},
        {"a letter key is not ours", 0x41, false, Overwrite, 0x25, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f(Sequence(100));
        f.EnableEditing(c.mode);
        (void)f.view.SetCaret(0x25);
        (void)f.view.SetSelection(0x20, 0x22);
        const InputResult result = f.view.OnKeyDown(c.key, c.ctrl);
        EXPECT_EQ(f.view.CaretOffset(), c.expected);
        EXPECT_EQ(f.view.HasSelection(), c.keepsSelection);
        // The status bar shows the selection: dropping it is notified as a caret move is.
        EXPECT_EQ(result.effects.viewChanged, c.expected != 0x25 || !c.keepsSelection);
    }
    FileView shortRow(Sequence(20));
    (void)shortRow.view.SetCaret(17);
    (void)shortRow.view.OnKeyDown(vk::kEnd, false);
    EXPECT_EQ(shortRow.view.CaretOffset(), 19u); // End stops at the last byte of a partial row
}

TEST(HexViewModelEditing, LeavingInsertModeAtTheEndMovesTheCaretOntoTheLastByte)
{
    FileView f(Sequence(32));
    f.EnableEditing(EditMode::Insert);
    (void)f.view.SetCaret(32);
    EXPECT_EQ(f.view.TotalRows(), 3u); // the empty row after a full one
    EXPECT_TRUE(f.view.ToggleEditMode().scrollBars);
    EXPECT_EQ(f.view.CaretOffset(), 31u);
    EXPECT_EQ(f.view.TotalRows(), 2u);
}

TEST(HexViewModelEditing, EditModeSurvivesAttachButEditingAndPositionDoNot)
{
    FileView f(Sequence(64));
    f.EnableEditing(EditMode::Insert);
    (void)f.view.SetCaret(40);
    (void)f.view.OnChar(u'4');
    (void)f.view.SetSelection(1, 2);
    EXPECT_TRUE(f.view.SetDocument(&f.document, &f.document).setFocus);
    EXPECT_EQ(f.view.Mode(), EditMode::Insert);
    EXPECT_FALSE(f.view.EditingEnabled() || f.view.HasSelection() || f.view.HasPendingNibble());
    EXPECT_EQ(f.view.CaretOffset(), 0u);
    EXPECT_TRUE(f.view.TakeRepaintOnce());
    EXPECT_FALSE(f.view.TakeRepaintOnce());
}

TEST(HexViewModelEditing, MouseSelectsFromTheAnchorWithTheCaretLeftThere)
{
    FileView f(Sequence(0x40));
    EXPECT_EQ(f.view.OnLButtonDown(20, 20),
              ViewEffects{.setFocus = true}); // offset column: focus only
    const auto [x0, y0] = *f.view.CellCenterPixels(0x20, false);
    EXPECT_TRUE(f.view.OnLButtonDown(x0, y0).captureMouse);
    EXPECT_EQ(f.view.SelectionHigh(), 0x20u); // a click leaves a one-byte selection

    const auto [x1, y1] = *f.view.CellCenterPixels(0x10, false);
    (void)f.view.OnMouseMove(x1, y1);
    (void)f.view.OnMouseMove(-40, -40); // outside: the selection stays
    EXPECT_EQ(f.view.SelectionLow(), 0x10u);
    EXPECT_EQ(f.view.SelectionHigh(), 0x20u);
    EXPECT_EQ(f.view.CaretOffset(), 0x20u);
    EXPECT_TRUE(f.view.OnLButtonUp().releaseCapture);
    (void)f.view.OnMouseMove(x0 + 30, y0); // not dragging any more
    EXPECT_EQ(f.view.SelectionHigh(), 0x20u);

    // The text column hits the same byte; a lost capture ends the drag.
    const auto [tx, ty] = *f.view.CellCenterPixels(0x05, true);
    (void)f.view.OnLButtonDown(tx, ty);
    EXPECT_EQ(f.view.CaretOffset(), 0x05u);
    (void)f.view.OnCaptureChanged();
    (void)f.view.OnMouseMove(x1, y1);
    EXPECT_EQ(f.view.SelectionHigh(), 0x05u);
}

TEST(HexViewModelEditing, CopyTextIsSpaceSeparatedUpperCaseHex)
{
    Bytes bytes(0x20, 0);
    bytes[0x11] = 0xFF;
    bytes[0x12] = 0x7A;
    bytes[0x1F] = 0xAB;
    FileView f(bytes);
    // clang-format off
    struct Case { std::uint64_t a, b; std::u16string expected; };
    // clang-format on
    const Case cases[] = {
        {0x10, 0x12, u"00 FF 7A"}, {0x12, 0x10, u"00 FF 7A"}, {0x1F, 0x40, u"AB"}};
    for (const Case& c : cases) {
        (void)f.view.SetSelection(c.a, c.b);
        EXPECT_TRUE(f.view.OnKeyDown(vk::kC, true).effects.copySelection);
        const ClipboardText text = f.view.SelectionClipboardText();
        EXPECT_EQ(text.status, ClipboardText::Status::Ready);
        EXPECT_EQ(text.text, c.expected);
    }
    (void)f.view.ClearSelection();
    EXPECT_EQ(f.view.OnKeyDown(vk::kC, true).effects, ViewEffects{});
    EXPECT_FALSE(f.view.OnKeyDown(vk::kC, false).handled);
}

TEST(HexViewModelEditing, CopyOfAHugeSelectionIsRefusedWithoutReadingIt)
{
    constexpr std::uint64_t largest =
        kMaxClipboardTextBytes / 6; // six bytes of UTF-16 per selected byte
    for (const std::uint64_t count : {largest, largest + 1, std::uint64_t{1} << 40}) {
        SCOPED_TRACE(count);
        const bool refused = count > largest;
        SizedView sized(1ull << 41);
        (void)sized.view.SetSelection(5, 5 + count - 1);
        const ViewEffects effects = sized.view.OnKeyDown(vk::kC, true).effects;
        EXPECT_EQ(effects.copyRefused, refused);
        EXPECT_EQ(effects.copySelection, !refused);
        const ClipboardText text = sized.view.SelectionClipboardText();
        EXPECT_EQ(text.status,
                  refused ? ClipboardText::Status::TooLarge : ClipboardText::Status::Ready);
        EXPECT_EQ(text.text.size(), refused ? 0 : count * 3 - 1);
        EXPECT_EQ(sized.document.bytesRead, refused ? 0 : count);
    }
}

TEST(HexViewModelEditing, SearchHitSelectsTheRangeAndPutsTheCaretOnItsStart)
{
    FileView f(Sequence(0x400));
    (void)f.view.OnLButtonDown(120, 20); // a drag in progress ends
    EXPECT_TRUE(f.view.ShowRange(0x300, 0x303).releaseCapture);
    EXPECT_FALSE(f.view.MouseCaptured());
    EXPECT_EQ(f.view.CaretOffset(), 0x300u);
    EXPECT_EQ(f.view.SelectionHigh(), 0x303u);
    EXPECT_EQ(f.view.TopRow(), 0x30u - 9); // scrolled into view
}

} // namespace
} // namespace orx::test
