#include "app/win/AboutDialog.h"

namespace orx::win {
namespace {

constexpr COLORREF kLinkColour = 0xCC6600;

} // namespace

void AboutDialog::Run(const DialogHost& host, AboutTexts texts,
                      std::function<void(const std::u16string&)> openLink)
{
    if (!RegisterWindowClass(host.instance)) {
        return;
    }
    AboutDialog dialog;
    dialog.texts_ = std::move(texts);
    dialog.openLink_ = std::move(openLink);
    if (CreateDialogWindow(
            host, kClassName, dialog.texts_.title, WS_POPUP | WS_CAPTION | WS_SYSMENU,
            WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, 520, 460, &dialog) == nullptr) {
        return;
    }
    RunModalLoop(host, dialog.window_, dialog.done_);
}

LRESULT AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == GetDlgItem(window_, kLink)) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const LRESULT brush = WindowColourStatic(dc);
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(window_, kLink)) {
            SetTextColor(dc, kLinkColour);
        }
        return brush;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kLink && HIWORD(wParam) == STN_CLICKED) {
            if (openLink_) {
                openLink_(texts_.homepage);
            }
            return 0;
        }
        if (LOWORD(wParam) == kClose) {
            done_ = true;
            return 0;
        }
        // Escape arrives as IDCANCEL and, unlike the close box, leaves the box open.
        break;
    case WM_CLOSE:
    case WM_DESTROY: done_ = true; return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

void AboutDialog::OnCreate()
{
    CreateControl(window_, L"STATIC", texts_.name, 0, 0, {12, 12, 496, 22}, kName);
    CreateControl(window_, L"STATIC", texts_.version, 0, 0, {12, 38, 496, 22}, kVersion);
    CreateControl(window_, L"STATIC", texts_.credits, 0, 0, {12, 64, 496, 22}, kCredits);
    CreateControl(window_, L"STATIC", texts_.homepageLabel, 0, 0, {12, 94, 496, 22},
                  kHomepageLabel);
    HWND link = CreateControl(window_, L"STATIC", texts_.homepage, SS_NOTIFY | WS_TABSTOP, 0,
                              {12, 120, 496, 24}, kLink);
    LOGFONTW underlined{};
    if (GetObjectW(MessageFont(), sizeof(underlined), &underlined) != 0) {
        underlined.lfUnderline = TRUE;
        linkFont_.Reset(CreateFontIndirectW(&underlined));
        if (linkFont_) {
            SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
        }
    }
    CreateControl(window_, L"STATIC", texts_.licenseHeading, 0, 0, {12, 152, 496, 22},
                  kLicenseHeading);
    HWND license =
        CreateControl(window_, L"EDIT", texts_.license,
                      ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE, {12, 176, 496, 220}, kLicense);
    SendMessageW(license, EM_SETSEL, 0, 0);
    HWND close = CreateControl(window_, L"BUTTON", texts_.close, BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
                               {412, 406, 96, 28}, kClose);
    SetFocus(close);
}

} // namespace orx::win
