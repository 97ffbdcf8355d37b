#include "hexview/HexViewModel.h"

#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Feeds characters one by one as WM_CHAR would.
std::vector<InputResult> Type(HexViewModel& view, std::u16string_view text) {
    std::vector<InputResult> results;
    for (const char16_t c : text) {
        results.push_back(view.OnChar(c));
    }
    return results;
}

TEST(HexViewModelEditing, TypingHexDigitsEditsNibbleByNibble) {
    struct Case {
        const char* name;
        Bytes start;
        EditMode mode;
        std::uint64_t caret;
        std::u16string typed;
        Bytes expected;
        std::uint64_t expectedCaret;
        bool expectedPending;
    };
    const Case cases[] = {
        // The first digit replaces the high nibble at once and keeps the low one.
        {"overwrite first digit", {0x12, 0x34}, EditMode::Overwrite, 0, u"A", {0xA2, 0x34}, 0, true},
        {"overwrite two digits", {0x12, 0x34}, EditMode::Overwrite, 0, u"aB", {0xAB, 0x34}, 1, false},
        {"overwrite four digits", {0x12, 0x34, 0x56}, EditMode::Overwrite, 0, u"0f9C", {0x0F, 0x9C, 0x56}, 2, false},
        // At the last byte the caret stays and further digits keep rewriting that byte.
        {"overwrite last byte", {0x12, 0x34}, EditMode::Overwrite, 1, u"5678", {0x12, 0x78}, 1, false},
        {"overwrite ignores other characters", {0x12}, EditMode::Overwrite, 0, u"g x", {0x12}, 0, false},
        // Insert mode inserts only when the second digit arrives.
        {"insert one digit", {0x12}, EditMode::Insert, 0, u"4", {0x12}, 0, true},
        {"insert two digits", {0x12}, EditMode::Insert, 0, u"41", {0x41, 0x12}, 1, false},
        {"insert at end", {0x12}, EditMode::Insert, 1, u"4142", {0x12, 0x41, 0x42}, 3, false},
        {"insert into empty document", {}, EditMode::Insert, 0, u"ff", {0xFF}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f(c.start);
        f.EnableEditing(c.mode);
        (void)f.view.SetCaret(c.caret);
        (void)Type(f.view, c.typed);
        EXPECT_EQ(f.Bytes(), c.expected);
        EXPECT_EQ(f.view.CaretOffset(), c.expectedCaret);
        EXPECT_EQ(f.view.HasPendingNibble(), c.expectedPending);
    }
}

TEST(HexViewModelEditing, ACaretMoveOrToggleDropsThePendingDigit) {
    struct Case {
        const char* name;
        EditMode mode;
        std::function<void(HexViewModel&)> interrupt;
        Bytes expected;
    };
    const Case cases[] = {
        {"arrow key in insert mode", EditMode::Insert, [](HexViewModel& v) { (void)v.OnKeyDown(vk::kRight, false); },
         {0x12, 0x41, 0x34}},
        // Overwrite already wrote the high nibble; the next digits start a new byte at the caret.
        {"arrow key in overwrite mode", EditMode::Overwrite,
         [](HexViewModel& v) { (void)v.OnKeyDown(vk::kRight, false); }, {0x42, 0x41}},
        {"read-only toggled off and on", EditMode::Overwrite,
         [](HexViewModel& v) {
             (void)v.ToggleEditingEnabled();
             (void)v.ToggleEditingEnabled();
         },
         {0x41, 0x34}},
        {"insert key twice", EditMode::Overwrite,
         [](HexViewModel& v) {
             (void)v.OnKeyDown(vk::kInsert, false);
             (void)v.OnKeyDown(vk::kInsert, false);
         },
         {0x41, 0x34}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f({0x12, 0x34});
        f.EnableEditing(c.mode);
        (void)f.view.OnChar(u'4');
        c.interrupt(f.view);
        EXPECT_FALSE(f.view.HasPendingNibble());
        (void)Type(f.view, u"41");
        EXPECT_EQ(f.Bytes(), c.expected);
    }
}

TEST(HexViewModelEditing, DeleteAndBackspace) {
    struct Case {
        const char* name;
        EditMode mode;
        std::uint64_t caret;
        std::uint32_t key;
        Bytes expected;
        std::uint64_t expectedCaret;
        bool expectedHandled;
    };
    const Bytes start{0, 1, 2, 3};
    const Case cases[] = {
        {"delete at caret", EditMode::Overwrite, 1, vk::kDelete, {0, 2, 3}, 1, true},
        {"delete last byte", EditMode::Overwrite, 3, vk::kDelete, {0, 1, 2}, 2, true},
        {"backspace", EditMode::Overwrite, 2, vk::kBack, {0, 2, 3}, 1, true},
        {"backspace at 0 does nothing but is handled", EditMode::Overwrite, 0, vk::kBack, {0, 1, 2, 3}, 0, true},
        {"delete at Size() in insert mode does nothing", EditMode::Insert, 4, vk::kDelete, {0, 1, 2, 3}, 4, true},
        {"backspace at Size() deletes the last byte", EditMode::Insert, 4, vk::kBack, {0, 1, 2}, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f(start);
        f.EnableEditing(c.mode);
        (void)f.view.SetCaret(c.caret);
        const InputResult result = f.view.OnKeyDown(c.key, false);
        EXPECT_EQ(result.handled, c.expectedHandled);
        EXPECT_EQ(f.Bytes(), c.expected);
        EXPECT_EQ(f.view.CaretOffset(), c.expectedCaret);
    }
}

TEST(HexViewModelEditing, DeletingInAnEmptyDocumentGoesToDefaultProcessing) {
    FileView f({});
    f.EnableEditing(EditMode::Insert);
    EXPECT_FALSE(f.view.OnKeyDown(vk::kDelete, false).handled);
    EXPECT_FALSE(f.view.OnKeyDown(vk::kBack, false).handled);
}

TEST(HexViewModelEditing, SelectionDeletionRemovesTheWholeRangeAtOnce) {
    struct Case {
        const char* name;
        std::uint64_t anchor, end;
        std::uint32_t key;
        Bytes expected;
        std::uint64_t expectedCaret;
    };
    const Case cases[] = {
        {"one clicked byte", 2, 2, vk::kDelete, {0, 1, 3, 4, 5, 6, 7}, 2},
        {"range with backspace", 1, 3, vk::kBack, {0, 4, 5, 6, 7}, 1},
        {"reversed range", 6, 4, vk::kDelete, {0, 1, 2, 3, 7}, 4},
        {"up to the end", 5, 7, vk::kDelete, {0, 1, 2, 3, 4}, 4}, // caret limited to the new last byte
        {"everything", 0, 7, vk::kDelete, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f(Sequence(8));
        f.EnableEditing(EditMode::Overwrite);
        (void)f.view.SetSelection(c.anchor, c.end);
        const InputResult result = f.view.OnKeyDown(c.key, false);
        EXPECT_TRUE(result.handled);
        EXPECT_TRUE(result.effects.viewChanged);
        EXPECT_EQ(f.Bytes(), c.expected);
        EXPECT_EQ(f.view.CaretOffset(), c.expectedCaret);
        EXPECT_FALSE(f.view.HasSelection());
    }
}

TEST(HexViewModelEditing, ReadOnlyBlocksEditsButNotNavigationOrCopy) {
    FileView f({0x12, 0x34, 0x56});
    ASSERT_FALSE(f.view.EditingEnabled()); // every attach starts read-only
    struct Case {
        const char* name;
        std::function<InputResult(HexViewModel&)> input;
        bool blocked;
        bool handled;
    };
    const Case cases[] = {
        {"hex digit f", [](HexViewModel& v) { return v.OnChar(u'f'); }, true, true},
        {"hex digit 0", [](HexViewModel& v) { return v.OnChar(u'0'); }, true, true},
        {"letter g does nothing at all", [](HexViewModel& v) { return v.OnChar(u'g'); }, false, false},
        {"delete", [](HexViewModel& v) { return v.OnKeyDown(vk::kDelete, false); }, true, true},
        {"backspace", [](HexViewModel& v) { return v.OnKeyDown(vk::kBack, false); }, true, true},
        {"insert", [](HexViewModel& v) { return v.OnKeyDown(vk::kInsert, false); }, true, true},
        {"right arrow", [](HexViewModel& v) { return v.OnKeyDown(vk::kRight, false); }, false, true},
        {"ctrl+c", [](HexViewModel& v) { return v.OnKeyDown(vk::kC, true); }, false, true},
    };
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

TEST(HexViewModelEditing, NavigationKeys) {
    // 100 bytes, ten visible rows; the caret starts at 0x25 for every case.
    struct Case {
        const char* name;
        std::uint32_t key;
        bool ctrl;
        EditMode mode;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {"left", vk::kLeft, false, EditMode::Overwrite, 0x24},
        {"right", vk::kRight, false, EditMode::Overwrite, 0x26},
        {"up", vk::kUp, false, EditMode::Overwrite, 0x15},
        {"down", vk::kDown, false, EditMode::Overwrite, 0x35},
        {"home", vk::kHome, false, EditMode::Overwrite, 0x20},
        {"end", vk::kEnd, false, EditMode::Overwrite, 0x2F},
        {"ctrl+home", vk::kHome, true, EditMode::Overwrite, 0},
        {"ctrl+end", vk::kEnd, true, EditMode::Overwrite, 99},
        {"ctrl+end in insert mode", vk::kEnd, true, EditMode::Insert, 100},
        {"page up stops at 0", vk::kPageUp, false, EditMode::Overwrite, 0},
        {"page down stops at the last byte", vk::kPageDown, false, EditMode::Overwrite, 99},
        {"shift plays no role: a letter key", 0x41, false, EditMode::Overwrite, 0x25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView f(Sequence(100));
        f.EnableEditing(c.mode);
        (void)f.view.SetCaret(0x25);
        (void)f.view.SetSelection(0x20, 0x22);
        const InputResult result = f.view.OnKeyDown(c.key, c.ctrl);
        EXPECT_EQ(f.view.CaretOffset(), c.expected);
        if (c.expected != 0x25) {
            EXPECT_TRUE(result.effects.viewChanged);
            EXPECT_FALSE(f.view.HasSelection()); // the keyboard never keeps a selection
        }
    }
}

TEST(HexViewModelEditing, EndOnTheLastPartialRowStopsAtTheLastByte) {
    FileView f(Sequence(20));
    (void)f.view.SetCaret(17);
    (void)f.view.OnKeyDown(vk::kEnd, false);
    EXPECT_EQ(f.view.CaretOffset(), 19u);
}

TEST(HexViewModelEditing, LeavingInsertModeAtTheEndMovesTheCaretOntoTheLastByte) {
    FileView f(Sequence(32));
    f.EnableEditing(EditMode::Insert);
    (void)f.view.SetCaret(32);
    EXPECT_EQ(f.view.TotalRows(), 3u); // the empty row after a full one
    const ViewEffects effects = f.view.ToggleEditMode();
    EXPECT_EQ(f.view.Mode(), EditMode::Overwrite);
    EXPECT_EQ(f.view.CaretOffset(), 31u);
    EXPECT_EQ(f.view.TotalRows(), 2u);
    EXPECT_TRUE(effects.blinkTimer && effects.viewChanged && effects.scrollBars);
}

TEST(HexViewModelEditing, EditModeSurvivesAttachButEditingAndPositionDoNot) {
    FileView f(Sequence(64));
    f.EnableEditing(EditMode::Insert);
    (void)f.view.SetCaret(40);
    (void)f.view.OnChar(u'4');
    (void)f.view.SetSelection(1, 2);
    const ViewEffects effects = f.view.SetDocument(&f.document, &f.document);
    EXPECT_EQ(f.view.Mode(), EditMode::Insert);
    EXPECT_FALSE(f.view.EditingEnabled());
    EXPECT_EQ(f.view.CaretOffset(), 0u);
    EXPECT_FALSE(f.view.HasSelection());
    EXPECT_FALSE(f.view.HasPendingNibble());
    EXPECT_TRUE(effects.setFocus);
    EXPECT_TRUE(f.view.TakeRepaintOnce());
    EXPECT_FALSE(f.view.TakeRepaintOnce());
}

TEST(HexViewModelEditing, MouseSelectsFromTheAnchorWithTheCaretLeftThere) {
    FileView f(Sequence(0x40));
    auto at = [&](std::uint64_t offset) { return *f.view.CellCenterPixels(offset, false); };
    const auto [x0, y0] = at(0x20);
    const ViewEffects down = f.view.OnLButtonDown(x0, y0);
    EXPECT_TRUE(down.setFocus && down.captureMouse && down.viewChanged);
    EXPECT_EQ(f.view.CaretOffset(), 0x20u);
    EXPECT_TRUE(f.view.HasSelection()); // a click leaves a one-byte selection
    EXPECT_EQ(f.view.SelectionLow(), 0x20u);

    const auto [x1, y1] = at(0x10);
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
    EXPECT_FALSE(f.view.MouseCaptured());
}

TEST(HexViewModelEditing, ClickOutsideTheDataOnlyTakesTheFocus) {
    FileView f(Sequence(0x40));
    (void)f.view.SetCaret(3);
    const ViewEffects effects = f.view.OnLButtonDown(20, 20); // offset column
    EXPECT_EQ(effects, ViewEffects{.setFocus = true});
    EXPECT_EQ(f.view.CaretOffset(), 3u);
    EXPECT_FALSE(f.view.HasSelection());
}

TEST(HexViewModelEditing, EscapeClearsTheSelectionWithoutMovingTheCaret) {
    FileView f(Sequence(0x40));
    (void)f.view.SetCaret(7);
    (void)f.view.SetSelection(2, 9);
    const InputResult result = f.view.OnKeyDown(vk::kEscape, false);
    EXPECT_FALSE(f.view.HasSelection());
    EXPECT_EQ(f.view.CaretOffset(), 7u);
    EXPECT_FALSE(result.effects.viewChanged); // selection changes are not notified
}

TEST(HexViewModelEditing, CopyTextIsSpaceSeparatedUpperCaseHex) {
    struct Case {
        std::uint64_t a, b;
        std::u16string expected;
    };
    Bytes bytes(0x20, 0);
    bytes[0x10] = 0x00;
    bytes[0x11] = 0xFF;
    bytes[0x12] = 0x7A;
    bytes[0x1F] = 0xAB;
    const Case cases[] = {
        {0x10, 0x12, u"00 FF 7A"},
        {0x12, 0x10, u"00 FF 7A"},
        {0x11, 0x11, u"FF"},
        {0x1F, 0x40, u"AB"}, // the selection end is limited to the last byte
    };
    FileView f(bytes);
    for (const Case& c : cases) {
        (void)f.view.SetSelection(c.a, c.b);
        const InputResult key = f.view.OnKeyDown(vk::kC, true);
        EXPECT_TRUE(key.effects.copySelection);
        const ClipboardText text = f.view.SelectionClipboardText();
        EXPECT_EQ(text.status, ClipboardText::Status::Ready);
        EXPECT_EQ(text.text, c.expected);
    }
    (void)f.view.ClearSelection();
    EXPECT_EQ(f.view.OnKeyDown(vk::kC, true).effects, ViewEffects{});
    EXPECT_EQ(f.view.SelectionClipboardText().status, ClipboardText::Status::Nothing);
    EXPECT_FALSE(f.view.OnKeyDown(vk::kC, false).handled);
}

TEST(HexViewModelEditing, CopyOfAHugeSelectionIsRefusedWithoutReadingIt) {
    // Six bytes of UTF-16 text per selected byte, terminating zero included.
    const std::uint64_t largest = kMaxClipboardTextBytes / 6;
    struct Case {
        std::uint64_t count;
        bool refused;
    };
    const Case cases[] = {{largest, false}, {largest + 1, true}, {1ull << 40, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        SizedView sized(1ull << 41);
        auto& [document, view] = sized;
        (void)view.SetSelection(5, 5 + c.count - 1);
        const InputResult key = view.OnKeyDown(vk::kC, true);
        EXPECT_EQ(key.effects.copyRefused, c.refused);
        EXPECT_EQ(key.effects.copySelection, !c.refused);
        const ClipboardText text = view.SelectionClipboardText();
        if (c.refused) {
            EXPECT_EQ(text.status, ClipboardText::Status::TooLarge);
            EXPECT_EQ(document.bytesRead, 0u);
        } else {
            EXPECT_EQ(text.status, ClipboardText::Status::Ready);
            EXPECT_EQ(text.text.size(), c.count * 3 - 1);
        }
    }
}

TEST(HexViewModelEditing, SearchHitSelectsTheRangeAndPutsTheCaretOnItsStart) {
    FileView f(Sequence(0x400));
    (void)f.view.OnLButtonDown(120, 20); // a drag in progress ends
    const ViewEffects effects = f.view.ShowRange(0x300, 0x303);
    EXPECT_TRUE(effects.releaseCapture && effects.viewChanged);
    EXPECT_FALSE(f.view.MouseCaptured());
    EXPECT_EQ(f.view.CaretOffset(), 0x300u);
    EXPECT_EQ(f.view.SelectionLow(), 0x300u);
    EXPECT_EQ(f.view.SelectionHigh(), 0x303u);
    EXPECT_EQ(f.view.TopRow(), 0x30u - 9); // scrolled into view
}

TEST(HexViewModelEditing, CaretBlinksOnlyInInsertModeWithFocus) {
    FileView f(Sequence(4));
    EXPECT_FALSE(f.view.BlinkTimerRuns());
    EXPECT_TRUE(f.view.OnSetFocus().blinkTimer);
    EXPECT_FALSE(f.view.BlinkTimerRuns()); // Overwrite: the box does not blink
    f.EnableEditing(EditMode::Insert);
    EXPECT_TRUE(f.view.BlinkTimerRuns());
    (void)f.view.OnBlinkTimer();
    EXPECT_FALSE(f.view.CaretBlinkOn());
    (void)f.view.OnKillFocus();
    EXPECT_FALSE(f.view.BlinkTimerRuns());
    EXPECT_EQ(HexViewModel::BlinkIntervalMs(530), 530u);
    EXPECT_EQ(HexViewModel::BlinkIntervalMs(0), 200u);
}

} // namespace
} // namespace orx::test
