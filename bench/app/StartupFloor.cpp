// The floor of the start-up benchmark: the least a Win32 program built as orlin.exe is
// (same compiler, runtime and flags) does to show rows of text under Wine. It opens a window
// as large as the editor's, in the colours of the editor's dark-blue theme, and draws 32 rows
// of hex text with GDI. bench/app/startup.sh launches it beside orlin.exe and times both.
#include <windows.h>

#include <cwchar>

namespace {

constexpr COLORREF kBackground = RGB(13, 27, 42);
constexpr COLORREF kText = RGB(230, 237, 243);

void PaintRows(HWND window)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             FIXED_PITCH | FF_MODERN, L"DejaVu Sans Mono");
    const HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    for (int row = 0; row < 32; ++row) {
        wchar_t line[96];
        int length = std::swprintf(line, 96, L"%08X: ", row * 16);
        for (int i = 0; i < 16; ++i) {
            length += std::swprintf(line + length, 96 - length, L"%02X ", (row * 16 + i) & 0xFF);
        }
        TextOutW(dc, 8, 8 + row * 21, line, length);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: PaintRows(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"Orlin.StartupFloor";
    RegisterClassW(&windowClass);
    RECT frame{0, 0, 980, 760};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    CreateWindowExW(0, windowClass.lpszClassName, L"Startup floor",
                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                    nullptr);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
