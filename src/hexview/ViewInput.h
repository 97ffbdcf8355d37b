#pragma once

#include <cstdint>
#include <limits>
#include <optional>

namespace orx {

// What the window has to carry out after a model operation. Flags accumulate over the
// nested steps of one operation; the window acts on each set flag once.
struct ViewEffects {
    bool repaint = false;             // repaint what changed (TakeRepaintPlan says what)
    bool dropDeviceResources = false; // drop the render target and the text format
    bool scrollBars = false;    // SetScrollInfo from VerticalScrollBar()/HorizontalScrollBar()
    bool viewChanged = false;   // post kMsgViewChanged to the parent
    bool editBlocked = false;   // post kMsgEditBlocked to the parent
    bool zoomChanged = false;   // send kMsgZoomChanged to the parent
    bool copyRefused = false;   // post kMsgCopyRefused to the parent
    bool copySelection = false; // put SelectionClipboardText() on the clipboard
    bool blinkTimer = false;    // kill the blink timer, then set it if BlinkTimerRuns()
    bool setFocus = false;      // give the control the keyboard focus
    bool captureMouse = false;
    bool releaseCapture = false;

    ViewEffects& operator|=(const ViewEffects& other);
    friend bool operator==(const ViewEffects&, const ViewEffects&) = default;
};

// Result of an input handler: whether the message was used (false: default processing).
struct [[nodiscard]] InputResult {
    bool handled = true;
    ViewEffects effects;
};

// The input handlers' two answers: leave the message to default processing, or use it.
inline InputResult Unhandled()
{
    return InputResult{false, {}};
}

inline InputResult Handled(const ViewEffects& effects)
{
    return InputResult{true, effects};
}

// A scroll bar as SetScrollInfo takes it (range, page and position).
struct ScrollBarInfo {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::uint32_t page = 0;
    std::int32_t position = 0;
    friend bool operator==(const ScrollBarInfo&, const ScrollBarInfo&) = default;
};

inline constexpr std::int32_t kMaxScrollPosition = std::numeric_limits<std::int32_t>::max();

// Scroll bar requests, numbered as the SB_* codes of WM_VSCROLL / WM_HSCROLL.
enum class ScrollRequest : std::uint32_t {
    LineBack = 0,    // line up / line left
    LineForward = 1, // line down / line right
    PageBack = 2,
    PageForward = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Start = 6, // top / left
    End = 7,   // bottom / right
    EndScroll = 8,
};

// Where a scroll bar request leads from `current` (rows or DIPs), before limiting; nothing
// for the end of a drag, which changes nothing.
[[nodiscard]] std::optional<std::int64_t> ScrollTarget(ScrollRequest request, std::int64_t current,
                                                       std::int64_t line, std::int64_t page,
                                                       std::int32_t track, std::int64_t end);

// Virtual-key codes the view reacts to (the Win32 VK_* values).
namespace vk {
inline constexpr std::uint32_t kBack = 0x08;
inline constexpr std::uint32_t kEscape = 0x1B;
inline constexpr std::uint32_t kPageUp = 0x21;
inline constexpr std::uint32_t kPageDown = 0x22;
inline constexpr std::uint32_t kEnd = 0x23;
inline constexpr std::uint32_t kHome = 0x24;
inline constexpr std::uint32_t kLeft = 0x25;
inline constexpr std::uint32_t kUp = 0x26;
inline constexpr std::uint32_t kRight = 0x27;
inline constexpr std::uint32_t kDown = 0x28;
inline constexpr std::uint32_t kInsert = 0x2D;
inline constexpr std::uint32_t kDelete = 0x2E;
inline constexpr std::uint32_t kC = 0x43;
} // namespace vk

} // namespace orx
