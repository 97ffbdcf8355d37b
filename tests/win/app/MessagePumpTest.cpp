#include "app/win/AppWindow.h"
#include "ui/win/MessagePump.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orx {
namespace {

// A blinking caret on a slow machine: each tick invalidates, and the repaint takes longer
// than the timer's period, so a tick is always due again when the paint is done.
LRESULT CALLBACK SlowTimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        BeginPaint(window, &paint);
        Sleep(3 * USER_TIMER_MINIMUM);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(MessagePump, ReturnsWhileATimerKeepsComingDue)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SlowTimerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Orlin.Test.SlowTimer";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    SetTimer(window, 1, USER_TIMER_MINIMUM, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);

    const ULONGLONG start = GetTickCount64();
    win::PumpPendingMessages();
    const ULONGLONG elapsed = GetTickCount64() - start;

    KillTimer(window, 1);
    DestroyWindow(window);
    EXPECT_LT(elapsed, 5000u) << "the pump must give control back to the long operation";
    MSG left{};
    EXPECT_FALSE(PeekMessageW(&left, window, WM_NULL, WM_NULL, PM_NOREMOVE))
        << "what was posted is dispatched";
}

} // namespace
} // namespace orx
