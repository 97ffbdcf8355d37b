#include "app/win/PromptDialog.h"

#include "platform/win32/WinString.h"

namespace orx::win {

namespace {

// The height the list adds below the text box, at 96 DPI.
constexpr int kChoiceHeight = 56;

} // namespace

std::optional<std::u16string> PromptDialog::Run(const DialogHost& host, const std::u16string& title,
                                                const std::u16string& prompt,
                                                const std::u16string& initialText)
{
    PromptChoice none;
    const std::optional<PromptAnswer> answer = Run(host, title, prompt, initialText, none);
    return answer ? std::optional(answer->text) : std::nullopt;
}

std::optional<PromptAnswer> PromptDialog::Run(const DialogHost& host, const std::u16string& title,
                                              const std::u16string& prompt,
                                              const std::u16string& initialText,
                                              const PromptChoice& choice)
{
    if (!RegisterWindowClass(host.instance)) {
        return std::nullopt;
    }
    PromptDialog dialog;
    dialog.prompt_ = prompt;
    dialog.text_ = initialText;
    if (!choice.items.empty()) {
        dialog.choice_ = choice;
    }
    // A client area of 360 × 128 (not a window of 360 × 132, whose frame would cut off the
    // buttons at the bottom) keeps the buttons 12 pixels clear of the bottom edge.
    const int height = 128 + (dialog.choice_ ? kChoiceHeight : 0);
    if (CreateDialogWindow(host, kClassName, title, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                           WS_EX_DLGMODALFRAME, 360, height, &dialog) == nullptr) {
        return std::nullopt;
    }
    RunModalLoop(host, dialog.window_, dialog.done_);
    if (!dialog.accepted_) {
        return std::nullopt;
    }
    return PromptAnswer{dialog.text_, dialog.choice_ ? dialog.choice_->selected : 0};
}

LRESULT PromptDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        CreateControl(window_, L"STATIC", prompt_, 0, 0, {12, 12, 336, 20}, kPromptId);
        HWND edit = CreateControl(window_, L"EDIT", text_, ES_AUTOHSCROLL | WS_TABSTOP,
                                  WS_EX_CLIENTEDGE, {12, 38, 336, 24}, kEditId);
        const int below = choice_ ? kChoiceHeight : 0;
        if (choice_) {
            CreateControl(window_, L"STATIC", choice_->label, 0, 0, {12, 72, 100, 20},
                          kChoiceLabelId);
            HWND list =
                CreateControl(window_, L"COMBOBOX", {}, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL,
                              0, {116, 68, 232, 200}, kChoiceId);
            for (const std::u16string& item : choice_->items) {
                SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
            }
            SendMessageW(list, CB_SETCURSEL, choice_->selected, 0);
        }
        CreateControl(window_, L"BUTTON", u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
                      {164, 90 + below, 88, 26}, IDOK);
        CreateControl(window_, L"BUTTON", u"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0,
                      {260, 90 + below, 88, 26}, IDCANCEL);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            text_ = WindowText(GetDlgItem(window_, kEditId));
            if (choice_) {
                const LRESULT chosen = SendDlgItemMessageW(window_, kChoiceId, CB_GETCURSEL, 0, 0);
                choice_->selected = chosen >= 0 ? static_cast<std::size_t>(chosen) : 0;
            }
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
