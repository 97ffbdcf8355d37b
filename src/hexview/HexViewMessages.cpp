#include "hexview/HexViewModel.h"

#include "text/HexDigit.h"

#include <algorithm>
#include <limits>

namespace orx {

// The window's keys, characters, mouse, focus and blink timer, turned into the model's
// operations.

InputResult HexViewModel::OnKeyDown(std::uint32_t virtualKey, bool ctrl)
{
    if (!HasOpenDocument() || virtualKey < vk::kBack || virtualKey > vk::kC) {
        return Unhandled();
    }
    const std::uint64_t rowStart = caretOffset_ - caretOffset_ % kBytesPerRow;
    const auto page = static_cast<std::int64_t>(std::min<std::uint64_t>(
        VisibleRows() * kBytesPerRow,
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())));
    switch (virtualKey) {
    case vk::kBack:
    case vk::kDelete:
        if (!CanEdit()) {
            return Handled(ViewEffects{.editBlocked = true});
        }
        return DeleteAtCaret(virtualKey == vk::kBack);
    case vk::kEscape: return Handled(ClearSelection());
    case vk::kPageUp: return Handled(MoveCaretBy(-page));
    case vk::kPageDown: return Handled(MoveCaretBy(page));
    case vk::kEnd:
        return Handled(SetCaret(ctrl ? LastOffset() : std::min(LastOffset(), rowStart + 15)));
    case vk::kHome: return Handled(SetCaret(ctrl ? 0 : rowStart));
    case vk::kLeft: return Handled(MoveCaretBy(-1));
    case vk::kRight: return Handled(MoveCaretBy(1));
    case vk::kUp: return Handled(MoveCaretBy(-static_cast<std::int64_t>(kBytesPerRow)));
    case vk::kDown: return Handled(MoveCaretBy(static_cast<std::int64_t>(kBytesPerRow)));
    case vk::kInsert:
        if (!CanEdit()) {
            return Handled(ViewEffects{.editBlocked = true});
        }
        return Handled(ToggleEditMode());
    case vk::kC: {
        if (!ctrl) {
            return Unhandled();
        }
        if (!hasSelection_) {
            return Handled({});
        }
        if (CopyTooLarge(SelectionHigh() - SelectionLow() + 1)) {
            return Handled(ViewEffects{.copyRefused = true});
        }
        return Handled(ViewEffects{.copySelection = true});
    }
    default: return Unhandled();
    }
}

InputResult HexViewModel::OnChar(char16_t character)
{
    if (CanEdit()) {
        if (!HasOpenDocument()) {
            return Unhandled();
        }
        return TypeHexDigit(character);
    }
    if (HexDigitValue(character)) {
        return Handled(ViewEffects{.editBlocked = true});
    }
    return Unhandled();
}

ViewEffects HexViewModel::OnLButtonDown(std::int32_t x, std::int32_t y)
{
    ViewEffects effects{.setFocus = true};
    if (!HasOpenDocument()) {
        return effects;
    }
    const std::optional<std::uint64_t> hit = HitTest(x, y);
    if (!hit) {
        return effects;
    }
    dragAnchor_ = *hit;
    dragAnchorValid_ = true;
    mouseCaptured_ = true;
    effects.captureMouse = true;
    effects |= SetSelection(*hit, *hit);
    effects |= SetCaret(*hit);
    return effects;
}

ViewEffects HexViewModel::OnMouseMove(std::int32_t x, std::int32_t y)
{
    if (!mouseCaptured_ || !dragAnchorValid_) {
        return {};
    }
    const std::optional<std::uint64_t> hit = HitTest(x, y);
    if (!hit) {
        return {};
    }
    return SetSelection(dragAnchor_, *hit);
}

ViewEffects HexViewModel::OnLButtonUp()
{
    if (!mouseCaptured_) {
        return {};
    }
    mouseCaptured_ = false;
    return ViewEffects{.releaseCapture = true};
}

ViewEffects HexViewModel::OnCaptureChanged()
{
    mouseCaptured_ = false;
    dragAnchorValid_ = false;
    return {};
}

ViewEffects HexViewModel::OnSetFocus()
{
    focused_ = true;
    caretBlinkOn_ = true;
    return ViewEffects{.repaint = true, .blinkTimer = true};
}

ViewEffects HexViewModel::OnKillFocus()
{
    focused_ = false;
    caretBlinkOn_ = false;
    return ViewEffects{.repaint = true, .blinkTimer = true};
}

ViewEffects HexViewModel::OnBlinkTimer()
{
    caretBlinkOn_ = !caretBlinkOn_;
    return ViewEffects{.repaint = true};
}

std::uint32_t HexViewModel::BlinkIntervalMs(std::uint32_t systemBlinkTime)
{
    return std::max<std::uint32_t>(systemBlinkTime, 200);
}

} // namespace orx
