#pragma once

#include <cstdint>

namespace orx {

// The private messages between the editor's windows and the workers that post to them
// (WM_APP = 0x8000 plus an offset), numbered in one place so that no two collide.
inline constexpr std::uint32_t kWmApp = 0x8000;

// From the hex view to its parent window.
inline constexpr std::uint32_t kMsgViewChanged = kWmApp + 1; // posted
inline constexpr std::uint32_t kMsgEditBlocked = kWmApp + 2; // posted
inline constexpr std::uint32_t kMsgZoomChanged = kWmApp + 3; // sent
// Posted when Ctrl+C is refused because the selection's text would be too large for the
// clipboard; the main window flashes a short status text instead of copying.
inline constexpr std::uint32_t kMsgCopyRefused = kWmApp + 4;
// Posted once, when the view's first paint has drawn: what is not needed for the first
// rows waits for it.
inline constexpr std::uint32_t kMsgViewPainted = kWmApp + 5;

// Posted to the main window when something changed outside the messages it dispatches:
// the title, the status bar, the menu and the side windows follow.
inline constexpr std::uint32_t kMsgFlushChanges = kWmApp + 6;

// The data inspector: its worker's result (lParam: the heap result, owned by the main
// window) and its close box.
inline constexpr std::uint32_t kMsgInspectorResult = kWmApp + 10;
inline constexpr std::uint32_t kMsgInspectorClosed = kWmApp + 11;

// Between the struct view, its worker and the main window that owns both.
inline constexpr std::uint32_t kMsgStructViewClosed = kWmApp + 12;    // the close box
inline constexpr std::uint32_t kMsgStructOpenPattern = kWmApp + 13;   // the open button
inline constexpr std::uint32_t kMsgStructResult = kWmApp + 14;        // lParam: worker result
inline constexpr std::uint32_t kMsgStructClosePattern = kWmApp + 15;  // the close button
inline constexpr std::uint32_t kMsgStructReloadPattern = kWmApp + 16; // reload button, F5
inline constexpr std::uint32_t kMsgStructValueFormat = kWmApp + 17;   // wParam: choice 1..8
inline constexpr std::uint32_t kMsgStructRowSelected = kWmApp + 18;   // another row, or none
inline constexpr std::uint32_t kMsgStructGoToRow = kWmApp + 19;       // double-click, Enter
inline constexpr std::uint32_t kMsgStructApplyLibrary = kWmApp + 21;  // wParam: library index
inline constexpr std::uint32_t kMsgStructApplyOffer = kWmApp + 22;    // the offer's button
inline constexpr std::uint32_t kMsgStructAutoApply = kWmApp + 23;     // toggles the setting

// Posted to the Checksums and Hashes dialog by its worker whenever it has news.
inline constexpr std::uint32_t kMsgChecksumNews = kWmApp + 20;

// The compare window: its worker has news; the count may start again after an input.
inline constexpr std::uint32_t kMsgCompareNews = kWmApp + 30;
inline constexpr std::uint32_t kMsgCompareResume = kWmApp + 31;

// Posted to the main window on activation: look at the open file once the activation is done.
inline constexpr std::uint32_t kMsgCheckFileOnDisk = kWmApp + 24;

// Posted to the main window by the Find All worker whenever it has news.
inline constexpr std::uint32_t kMsgFindAllNews = kWmApp + 32;

// The data inspector asks its owner to edit a row (sent; wParam: the row; lParam: null to
// start editing, else the typed const std::u16string*; returns nonzero when done with it),
// and tells it that the byte-order switch was clicked (posted).
inline constexpr std::uint32_t kMsgInspectorEdit = kWmApp + 40;
inline constexpr std::uint32_t kMsgInspectorByteOrder = kWmApp + 41;

} // namespace orx
