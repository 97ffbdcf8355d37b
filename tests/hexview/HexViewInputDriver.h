#pragma once

#include "hexview/HexViewModel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orx::test {

// Turns a byte string into window input for a hex view (keys, characters, mouse, wheel,
// scroll bars, resizing, zoom, focus, toggles), so that random sequences can check that
// the view's invariants hold whatever the user does.
class HexViewInputDriver {
public:
    explicit HexViewInputDriver(std::span<const std::uint8_t> script) : script_(script) {}

    [[nodiscard]] bool Done() const { return position_ >= script_.size(); }

    // Applies the next input; false when the script is used up.
    bool Step(HexViewModel& view)
    {
        if (Done()) {
            return false;
        }
        static constexpr std::uint32_t kKeys[] = {
            vk::kBack, vk::kEscape, vk::kPageUp, vk::kPageDown, vk::kEnd,    vk::kHome, vk::kLeft,
            vk::kUp,   vk::kRight,  vk::kDown,   vk::kInsert,   vk::kDelete, vk::kC,    0x41};
        static constexpr char16_t kChars[] = u"0123456789abcdefABCDEFg x";
        switch (Next() % 16) {
        case 0:
        case 1:
        case 2: {
            const std::uint8_t key = Next();
            (void)view.OnKeyDown(kKeys[key % std::size(kKeys)], (key & 0x80) != 0);
            break;
        }
        case 3:
        case 4:
        case 5: (void)view.OnChar(kChars[Next() % (std::size(kChars) - 1)]); break;
        case 6: (void)view.OnLButtonDown(Coordinate(), Coordinate()); break;
        case 7: (void)view.OnMouseMove(Coordinate(), Coordinate()); break;
        case 8:
            (void)view.OnLButtonUp();
            if (Next() & 1) {
                (void)view.OnCaptureChanged();
            }
            break;
        case 9: {
            const std::uint8_t wheel = Next();
            (void)view.OnMouseWheel(static_cast<std::int8_t>(wheel), (wheel & 1) != 0);
            break;
        }
        case 10: {
            const auto request = static_cast<ScrollRequest>(Next() % 9);
            const std::int32_t track = static_cast<std::int32_t>(Next32());
            if (Next() & 1) {
                (void)view.OnVerticalScroll(request, track);
            } else {
                (void)view.OnHorizontalScroll(request, track);
            }
            break;
        }
        case 11: (void)view.SetClientSize(Next() * 4 - 40, Next() * 2 - 20); break;
        case 12: (void)view.ToggleEditingEnabled(); break;
        case 13: {
            const std::uint8_t pick = Next();
            if (pick < 64) {
                (void)view.ZoomBy(static_cast<float>(static_cast<std::int8_t>(Next())) / 40.0f);
            } else if (pick < 128) {
                view.SetDpi(48u + Next()); // 48 to 303 DPI
                (void)view.Relayout();
            } else if (pick < 192) {
                (void)view.SetFont(u"Mono", static_cast<float>(Next()), (pick & 1) != 0,
                                   (pick & 2) != 0);
            } else {
                (void)view.ToggleEditMode();
            }
            break;
        }
        case 14: {
            const std::uint64_t a = Next32() % 600;
            const std::uint64_t b = Next32() % 600;
            const std::uint8_t pick = Next() % 4;
            if (pick == 0) {
                (void)view.SetCaret(a);
            } else if (pick == 1) {
                (void)view.SetSelection(a, b);
            } else if (pick == 2) {
                (void)view.ShowRange(std::min(a, b), std::max(a, b));
            } else {
                (void)view.MoveCaretBy(static_cast<std::int64_t>(a) - 300);
            }
            break;
        }
        default: {
            const std::uint8_t pick = Next() % 3;
            if (pick == 0) {
                (void)view.OnSetFocus();
            } else if (pick == 1) {
                (void)view.OnKillFocus();
            } else {
                (void)view.OnBlinkTimer();
            }
            break;
        }
        }
        return true;
    }

    // Empty when the view is consistent, otherwise what is wrong. Building the paint model
    // reads every visible row, so callers in a hurry check it only now and then.
    static std::string CheckInvariants(const HexViewModel& view, bool paint = true)
    {
        if (view.CaretOffset() > view.LastOffset()) {
            return "caret beyond the last offset";
        }
        if (view.HasSelection() && view.SelectionHigh() > view.LastByte()) {
            return "selection beyond the last byte";
        }
        if (view.TopRow() > view.MaxTopRow()) {
            return "top row beyond the limit";
        }
        if (view.HorizontalScroll() < 0 ||
            view.HorizontalScroll() > view.Geometry().MaxHorizontalScroll()) {
            return "horizontal scroll out of range";
        }
        if (!paint) {
            return {};
        }
        const PaintModel model = view.BuildPaintModel();
        if (model.rows.size() > view.VisibleRows()) {
            return "more rows painted than visible";
        }
        for (const PaintRow& row : model.rows) {
            if (row.hexCells.size() > 16 || row.textCells.size() > 16) {
                return "more than 16 cells in a row";
            }
        }
        return {};
    }

private:
    std::uint8_t Next() { return position_ < script_.size() ? script_[position_++] : 0; }
    std::uint32_t Next32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8 | Next();
        }
        return value;
    }
    // Client pixels, some of them outside the window (a captured mouse).
    std::int32_t Coordinate() { return static_cast<std::int32_t>(Next()) * 4 - 64; }

    std::span<const std::uint8_t> script_;
    std::size_t position_ = 0;
};

} // namespace orx::test
