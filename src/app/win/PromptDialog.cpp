#include "app/win/PromptDialog.h"

namespace orx::win {

std::optional<std::u16string> PromptDialog::Run(const DialogHost& host, const std::u16string& title,
                                                const std::u16string& prompt,
                                                const std::u16string& initialText)
{
    if (!RegisterWindowClass(host.instance)) {
        return std::nullopt;
    }
    PromptDialog dialog;
    dialog.prompt_ = prompt;
    dialog.text_ = initialText;
    // A client area of 360 × 128 (not a window of 360 × 132, whose frame would cut off the
    // buttons at the bottom) keeps the buttons 12 pixels clear of the bottom edge.
    if (CreateDialogWindow(host, kClassName, title, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                           WS_EX_DLGMODALFRAME, 360, 128, &dialog) == nullptr) {
        return std::nullopt;
    }
    RunModalLoop(host, dialog.window_, dialog.done_);
    if (!dialog.accepted_) {
        return std::nullopt;
    }
    return dialog.text_;
}

LRESULT PromptDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        CreateControl(window_, L"STATIC", prompt_, 0, 0, {12, 12, 336, 20}, kPromptId);
        HWND edit = CreateControl(window_, L"EDIT", text_, ES_AUTOHSCROLL | WS_TABSTOP,
                                  WS_EX_CLIENTEDGE, {12, 38, 336, 24}, kEditId);
        CreateControl(window_, L"BUTTON", u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
                      {164, 90, 88, 26}, IDOK);
        CreateControl(window_, L"BUTTON", u"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0,
                      {260, 90, 88, 26}, IDCANCEL);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            text_ = WindowText(GetDlgItem(window_, kEditId));
            accepted_ = true;
            done_ = true;
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            done_ = true;
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: return WindowColourStatic(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE: done_ = true; return 0;
    case WM_DESTROY: done_ = true; return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

} // namespace orx::win
