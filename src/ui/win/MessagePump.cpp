#include "ui/win/MessagePump.h"

#include <windows.h>

namespace orx::win {

void PumpPendingMessages()
{
    // Timers and paints are made anew whenever the queue is looked at; on a slow machine a
    // timer can come due again before the paint it caused is finished, and "until the queue
    // is empty" would never end. Posted messages and input come first, so a short budget
    // still dispatches everything the user did; the long operation pumps again soon.
    constexpr ULONGLONG kBudgetMs = 100;
    const ULONGLONG deadline = GetTickCount64() + kBudgetMs;
    MSG message{};
    while (GetTickCount64() < deadline && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace orx::win
