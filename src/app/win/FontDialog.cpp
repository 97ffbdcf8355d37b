#include "app/win/FontDialog.h"

#include "app/FontChoice.h"
#include "platform/win32/WinString.h"
#include "ui/win/Dpi.h"

#include <string>

namespace orx::win {
namespace {

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD,
                           LPARAM collector)
{
    // The TMPF_FIXED_PITCH bit means the opposite of its name: set for variable pitch.
    reinterpret_cast<FontFamilyList*>(collector)->Add(
        FromW(font->lfFaceName), (metrics->tmPitchAndFamily & TMPF_FIXED_PITCH) != 0);
    return 1;
}

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

} // namespace

std::vector<std::u16string> InstalledMonospaceFamilies()
{
    FontFamilyList list;
    HDC screen = GetDC(nullptr);
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen, &query, CollectFamily, reinterpret_cast<LPARAM>(&list), 0);
    ReleaseDC(nullptr, screen);
    return list.Sorted();
}

std::optional<FontSelection> FontDialog::Run(const DialogHost& host, FontDialogTexts texts,
                                             std::vector<std::u16string> families,
                                             FontSelection current, float currentPoints)
{
    if (!RegisterWindowClass(host.instance)) {
        return std::nullopt;
    }
    FontDialog dialog;
    dialog.texts_ = std::move(texts);
    dialog.families_ = std::move(families);
    dialog.current_ = std::move(current);
    dialog.currentPoints_ = currentPoints;
    if (CreateDialogWindow(host, kClassName, dialog.texts_.title, kStyle, kExStyle, 620, 320,
                           &dialog) == nullptr) {
        return std::nullopt;
    }
    RunModalLoop(host, dialog.window_, dialog.done_);
    if (!dialog.accepted_) {
        return std::nullopt;
    }
    return dialog.result_;
}

LRESULT FontDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_GETMINMAXINFO: {
        const UINT dpi = WindowDpi(window_);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {ScaleForDpi(kFontDialogMinWidth, dpi),
                                ScaleForDpi(kFontDialogMinHeight, dpi)};
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            Accept();
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            done_ = true;
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: return WindowColourStatic(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
    case WM_DESTROY: done_ = true; return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

void FontDialog::OnCreate()
{
    // Placed by Layout(); the heights of the lists are their drop-down heights.
    CreateControl(window_, L"STATIC", texts_.family, 0, 0, {12, 16, 90, 24}, kFamilyLabel);
    HWND familyList =
        CreateControl(window_, L"COMBOBOX", {}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
                      {102, 12, 260, 240}, kFamilyList);
    CreateControl(window_, L"STATIC", texts_.size, 0, 0, {12, 50, 90, 24}, kSizeLabel);
    HWND sizeList =
        CreateControl(window_, L"COMBOBOX", {}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
                      {102, 46, 72, 220}, kSizeList);
    CreateControl(window_, L"BUTTON", texts_.bold, BS_AUTOCHECKBOX | WS_TABSTOP, 0,
                  {102, 84, 90, 24}, kBold);
    CreateControl(window_, L"BUTTON", texts_.italic, BS_AUTOCHECKBOX | WS_TABSTOP, 0,
                  {204, 84, 90, 24}, kItalic);
    CreateControl(window_, L"BUTTON", texts_.ok, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, {0, 0, 108, 26},
                  IDOK);
    CreateControl(window_, L"BUTTON", texts_.cancel, BS_PUSHBUTTON | WS_TABSTOP, 0, {0, 0, 108, 26},
                  IDCANCEL);

    for (const std::u16string& family : families_) {
        SendMessageW(familyList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(family)));
    }
    SendMessageW(familyList, CB_SETCURSEL, PreselectFamily(families_, current_.family), 0);
    for (int size : kFontDialogSizes) {
        const std::wstring text = std::to_wstring(size);
        SendMessageW(sizeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(sizeList, CB_SETCURSEL, PreselectSize(currentPoints_), 0);
    CheckDlgButton(window_, kBold, current_.bold ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window_, kItalic, current_.italic ? BST_CHECKED : BST_UNCHECKED);
    Layout();
    SetFocus(familyList);
}

void FontDialog::Layout()
{
    RECT client{};
    GetClientRect(window_, &client);
    const UINT dpi = WindowDpi(window_);
    const FontDialogLayout layout = LayoutFontDialog(MulDiv(client.right, kDefaultDpi, dpi),
                                                     MulDiv(client.bottom, kDefaultDpi, dpi));
    PlaceControl(window_, kFamilyList, {102, 12, layout.familyListWidth, 240});
    PlaceControl(window_, IDOK, {layout.okX, layout.buttonY, 108, 26});
    PlaceControl(window_, IDCANCEL, {layout.cancelX, layout.buttonY, 108, 26});
}

void FontDialog::Accept()
{
    const LRESULT family = SendDlgItemMessageW(window_, kFamilyList, CB_GETCURSEL, 0, 0);
    if (family < 0 || static_cast<std::size_t>(family) >= families_.size()) {
        return; // nothing chosen: the dialog stays
    }
    const LRESULT size = SendDlgItemMessageW(window_, kSizeList, CB_GETCURSEL, 0, 0);
    result_.family = families_[static_cast<std::size_t>(family)];
    result_.sizePoints = size >= 0 && static_cast<std::size_t>(size) < kFontDialogSizes.size()
                             ? kFontDialogSizes[static_cast<std::size_t>(size)]
                             : 0;
    result_.bold = IsDlgButtonChecked(window_, kBold) == BST_CHECKED;
    result_.italic = IsDlgButtonChecked(window_, kItalic) == BST_CHECKED;
    accepted_ = true;
    done_ = true;
}

} // namespace orx::win
