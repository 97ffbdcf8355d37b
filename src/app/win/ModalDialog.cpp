#include "app/win/ModalDialog.h"

#include "app/Placement.h"
#include "app/win/ScreenRects.h"
#include "platform/win32/WinString.h"
#include "ui/win/Dpi.h"
#include "ui/win/WinHandles.h"

#include <commctrl.h>

#include <vector>

namespace orx::win {
namespace {

constexpr UINT_PTR kFocusKeeperId = 1;
constexpr const wchar_t* kSavedFocusProperty = L"Orlin.DialogFocus";

// What the system's dialog manager does for its dialogs and our popup dialogs need too:
// the control that had the focus when the dialog lost activation gets it back when the
// dialog is activated again (Alt+Tab back, a click on the caption), instead of the dialog
// window itself, where typing goes nowhere.
LRESULT CALLBACK KeepFocusProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            SetPropW(dialog, kSavedFocusProperty, IsChild(dialog, focus) ? focus : nullptr);
        } else if (auto* saved = static_cast<HWND>(GetPropW(dialog, kSavedFocusProperty));
                   saved != nullptr && IsChild(dialog, saved) && IsWindowEnabled(saved)) {
            SetFocus(saved);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemovePropW(dialog, kSavedFocusProperty);
        RemoveWindowSubclass(dialog, &KeepFocusProc, kFocusKeeperId);
        break;
    default: break;
    }
    return DefSubclassProc(dialog, message, wParam, lParam);
}

ScreenPoint CenterOnOwner(HWND owner, int width, int height)
{
    RECT frame{};
    if (owner == nullptr || !GetWindowRect(owner, &frame)) {
        return {CW_USEDEFAULT, CW_USEDEFAULT};
    }
    return CenterIn(ToScreenRect(frame), width, height);
}

} // namespace

HWND CreateDialogWindow(const DialogHost& host, const wchar_t* className,
                        const std::u16string& title, DWORD style, DWORD exStyle, int clientWidth,
                        int clientHeight, void* creationParameter)
{
    const UINT dpi = WindowDpi(host.owner);
    RECT frame{0, 0, ScaleForDpi(clientWidth, dpi), ScaleForDpi(clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const ScreenPoint origin = CenterOnOwner(host.owner, width, height);
    HWND dialog = CreateWindowExW(exStyle, className, W(title), style, origin.x, origin.y, width,
                                  height, host.owner, nullptr, host.instance, creationParameter);
    if (dialog != nullptr) {
        SetWindowSubclass(dialog, &KeepFocusProc, kFocusKeeperId, 0);
    }
    return dialog;
}

HWND CreateControl(HWND dialog, const wchar_t* className, const std::u16string& text, DWORD style,
                   DWORD exStyle, RECT bounds, int id)
{
    const UINT dpi = WindowDpi(dialog);
    HWND control = CreateWindowExW(
        exStyle, className, W(text), WS_CHILD | WS_VISIBLE | style, ScaleForDpi(bounds.left, dpi),
        ScaleForDpi(bounds.top, dpi), ScaleForDpi(bounds.right, dpi),
        ScaleForDpi(bounds.bottom, dpi), dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (control != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    }
    return control;
}

LRESULT WindowColourStatic(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void PlaceControl(HWND dialog, int id, RECT bounds)
{
    const UINT dpi = WindowDpi(dialog);
    if (HWND control = GetDlgItem(dialog, id)) {
        MoveWindow(control, ScaleForDpi(bounds.left, dpi), ScaleForDpi(bounds.top, dpi),
                   ScaleForDpi(bounds.right, dpi), ScaleForDpi(bounds.bottom, dpi), TRUE);
    }
}

HFONT MessageFont()
{
    // Lives as long as the process: every dialog that opens uses it again.
    static const FontHandle font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            return FontHandle();
        }
        return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
    }();
    return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void RunModalLoop(const DialogHost& host, HWND dialog, const bool& done,
                  const std::function<void()>& afterMessage)
{
    if (host.owner != nullptr) {
        EnableWindow(host.owner, FALSE);
    }
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    MSG message{};
    while (!done && IsWindow(dialog)) {
        if (host.idle && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            host.idle(dialog);
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The main loop must end too: a quit swallowed here would leave the process
            // running with no way to stop it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
            (message.lParam & (1L << 30)) != 0) {
            // A held Escape repeats; only a fresh press closes the dialog, so that the
            // Escape that stopped a search, still held, does not close its dialog too.
            continue;
        }
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (afterMessage) {
            afterMessage();
        }
    }
    if (host.owner != nullptr) {
        // Enabled before the dialog goes, so that activation returns to the owner and not
        // to some other application's window.
        EnableWindow(host.owner, TRUE);
    }
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    if (host.owner != nullptr) {
        SetActiveWindow(host.owner);
        SetForegroundWindow(host.owner);
        SetFocus(host.owner);
    }
}

std::u16string WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return FromW(buffer.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

} // namespace orx::win
