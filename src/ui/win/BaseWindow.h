#pragma once

// A window procedure that forwards to a C++ object: the object travels in the creation
// parameter, is bound to the window at WM_NCCREATE through GWLP_USERDATA, and is unbound
// at WM_NCDESTROY so that no message can reach it after the window is gone.
#include <windows.h>

namespace orx::win {

// What a window class of the editor may differ in; every class has the arrow cursor.
struct WindowClassOptions {
    UINT style = 0;           // e.g. CS_DBLCLKS
    bool windowColour = true; // erase with the system's window colour; false: paints it all
    HICON icon = nullptr;     // the large and the small icon
};

// Registers a window class; one registered before (by another window of the class) counts as
// registered.
inline bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                                const WindowClassOptions& options = {})
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = options.style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = options.icon;
    windowClass.hIconSm = options.icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        options.windowColour ? reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1) : nullptr;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Derived provides `LRESULT HandleMessage(UINT, WPARAM, LPARAM)` (public, or befriend
// BaseWindow<Derived>) and creates its window with `this` as the creation parameter.
template <typename Derived>
class BaseWindow {
public:
    [[nodiscard]] HWND Window() const { return window_; }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            auto* self = static_cast<Derived*>(create->lpCreateParams);
            if (self != nullptr) {
                static_cast<BaseWindow*>(self)->window_ = window;
                SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            }
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self == nullptr) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            static_cast<BaseWindow*>(self)->window_ = nullptr;
        }
        return result;
    }

    // Registers Derived::kClassName for this window procedure.
    static bool RegisterWindowClass(HINSTANCE instance, const WindowClassOptions& options = {})
    {
        return win::RegisterWindowClass(instance, Derived::kClassName, &BaseWindow::WindowProc,
                                        options);
    }

protected:
    BaseWindow() = default;
    ~BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    [[nodiscard]] LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

} // namespace orx::win
