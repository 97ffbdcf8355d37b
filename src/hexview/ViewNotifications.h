#pragma once

#include <cstdint>

namespace orx {

// Private messages from the hex view to its parent window (WM_APP = 0x8000 plus an offset).
inline constexpr std::uint32_t kWmApp = 0x8000;
inline constexpr std::uint32_t kMsgViewChanged = kWmApp + 1; // posted
inline constexpr std::uint32_t kMsgEditBlocked = kWmApp + 2; // posted
inline constexpr std::uint32_t kMsgZoomChanged = kWmApp + 3; // sent
// Posted when Ctrl+C is refused because the selection's text would be too large for the
// clipboard; the main window flashes a short status text instead of copying.
inline constexpr std::uint32_t kMsgCopyRefused = kWmApp + 4;

} // namespace orx
