#pragma once

// What the application's modal windows (search, prompt, font, About) share: their class
// registration, their size and place over the owner, their controls and the modal loop.
#include <windows.h>

#include <functional>
#include <string>

namespace orx::win {

// Called by a modal loop whenever its queue is empty, with the dialog's window. The
// in-process tests act as the user here; the application passes nothing.
using ModalIdleFunction = std::function<void(HWND dialog)>;

// Where a dialog opens: its owner (disabled while it runs) and the module it belongs to.
struct DialogHost {
    HWND owner = nullptr;
    HINSTANCE instance = nullptr;
    ModalIdleFunction idle;
};

// Creates the popup window of a dialog: `clientWidth` × `clientHeight` (pixels at 96 DPI,
// scaled to the owner's DPI) adjusted for the frame, centred on the owner's window.
// `creationParameter` reaches WM_NCCREATE. Null when the window cannot be created. When
// activated again, the dialog gives the focus back to the control that had it.
HWND CreateDialogWindow(const DialogHost& host, const wchar_t* className,
                        const std::u16string& title, DWORD style, DWORD exStyle, int clientWidth,
                        int clientHeight, void* creationParameter);

// A child control at 96-DPI coordinates scaled to the dialog's DPI, visible, in the message
// font (the controls' default font has no Japanese glyphs under every system).
HWND CreateControl(HWND dialog, const wchar_t* className, const std::u16string& text, DWORD style,
                   DWORD exStyle, RECT bounds, int id);

// Moves a control to 96-DPI coordinates scaled to the dialog's DPI.
void PlaceControl(HWND dialog, int id, RECT bounds);

// The system's message font, made once per process; the stock GUI font when it cannot be.
[[nodiscard]] HFONT MessageFont();

// Shows the dialog with its owner disabled and dispatches messages (Tab, Enter and Escape
// through the dialog manager) until `done` is set, the window is gone or the quit message
// arrives; the quit message is posted again for the main loop. Repeats of a held Escape are
// dropped: only a fresh press closes. `afterMessage` runs after
// each message. Destroys the dialog if it is still there, then enables the owner and gives
// it activation and the focus.
void RunModalLoop(const DialogHost& host, HWND dialog, const bool& done,
                  const std::function<void()>& afterMessage = {});

// WM_CTLCOLORSTATIC of a dialog with the window-colour background: labels on that colour.
[[nodiscard]] LRESULT WindowColourStatic(HDC dc);

// The text of a window, whole.
[[nodiscard]] std::u16string WindowText(HWND window);

} // namespace orx::win
