#pragma once

// What the window tests share: the message loop, a window's text, and a parent window that
// records the private messages its child sends or posts to it.
#include "platform/win32/WinString.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace orx::test {

// Dispatches everything queued.
inline void Pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Keeps dispatching for `milliseconds`; timers fire meanwhile.
inline void PumpFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
}

inline std::u16string WindowText(HWND window)
{
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return win::FromW(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
}

class ParentWindow {
public:
    explicit ParentWindow(RECT place = {0, 0, 900, 600},
                          DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ParentWindow::Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"Orlin.Test.Parent";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"parent", style, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
        received.clear();
    }
    ~ParentWindow() { DestroyWindow(window); }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    static int Count(UINT message)
    {
        return static_cast<int>(std::count_if(received.begin(), received.end(),
                                              [&](const auto& m) { return m.first == message; }));
    }

    HWND window = nullptr;
    // (message, wParam) of every private message, in the order they arrived.
    static inline std::vector<std::pair<UINT, WPARAM>> received;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message >= WM_APP && message < WM_APP + 100) {
            received.emplace_back(message, wParam);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

} // namespace orx::test
