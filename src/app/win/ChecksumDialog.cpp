#include "app/win/ChecksumDialog.h"

#include "checksum/ChecksumNames.h"
#include "platform/Utf.h"
#include "platform/win32/WinString.h"
#include "ui/win/ClipboardText.h"

#include <commctrl.h>

#include <string>

namespace orx::win {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The layout at 96 DPI: labels on the left, texts and values right of them.
constexpr int kClientWidth = 600;
constexpr int kLeft = 12;
constexpr int kLabelWidth = 84;
constexpr int kTextLeft = kLeft + kLabelWidth + 8;
constexpr int kTextWidth = kClientWidth - kTextLeft - 12;
constexpr int kRowsTop = 132;
constexpr int kRowHeight = 24;
constexpr int kRowGap = 6;
// SHA-512's 128 digits take two lines of the value box.
constexpr int kLongRowHeight = 40;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 26;

int ValueHeight(DigestAlgorithm algorithm)
{
    return algorithm == DigestAlgorithm::Sha512 ? kLongRowHeight : kRowHeight;
}

int RowsBottom()
{
    int y = kRowsTop;
    for (const DigestAlgorithm algorithm : platform::kAllDigestAlgorithms) {
        y += ValueHeight(algorithm) + kRowGap;
    }
    return y;
}

// A fixed-pitch font of the message font's height, so that the digits line up.
HFONT CreateValueFont()
{
    LOGFONTW font{};
    if (GetObjectW(MessageFont(), sizeof(font), &font) == 0) {
        return nullptr;
    }
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcscpy_s(font.lfFaceName, L"Consolas");
    return CreateFontIndirectW(&font);
}

} // namespace

ChecksumDialog::ChecksumDialog(const StringLookup& lookup, const IReadOnlyDocument& document,
                               ChecksumRange range, bool selection)
    : lookup_(lookup), document_(document), state_(range, selection, document.Size())
{}

void ChecksumDialog::Run(const DialogHost& host, const StringLookup& lookup,
                         const IReadOnlyDocument& document, ChecksumRange range, bool selection)
{
    if (!RegisterWindowClass(host.instance)) {
        return;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    ChecksumDialog dialog(lookup, document, range, selection);
    const int height = RowsBottom() + kButtonHeight + 12;
    if (CreateDialogWindow(host, kClassName, lookup("dialog.checksum.title"), kStyle, kExStyle,
                           kClientWidth, height, &dialog) == nullptr) {
        return;
    }
    RunModalLoop(host, dialog.window_, dialog.done_);
    dialog.job_.Stop(); // also when the loop ended on a quit message
}

LRESULT ChecksumDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case kMsgChecksumNews: OnNews(); return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kCopyAll: CopyAll(); return 0;
        case kClose: OnCancelOrClose(); return 0;
        case IDOK: // Enter closes a finished dialog and leaves a running one alone
            if (!state_.Running()) {
                done_ = true;
            }
            return 0;
        default: break;
        }
        break;
    case WM_CTLCOLORSTATIC: return WindowColourStatic(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE: OnCancelOrClose(); return 0;
    case WM_DESTROY:
        job_.Stop(); // no notification may outlive the window
        done_ = true;
        return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

void ChecksumDialog::OnCreate()
{
    CreateControl(window_, L"STATIC", lookup_("dialog.checksum.range"), 0, 0,
                  {kLeft, 12, kLabelWidth, 20}, kRangeLabel);
    CreateControl(window_, L"STATIC", state_.RangeText(lookup_), SS_NOPREFIX, 0,
                  {kTextLeft, 12, kTextWidth, 20}, kRangeText);
    CreateControl(window_, L"STATIC", lookup_("dialog.checksum.length"), 0, 0,
                  {kLeft, 36, kLabelWidth, 20}, kLengthLabel);
    CreateControl(window_, L"STATIC", state_.LengthText(lookup_), SS_NOPREFIX, 0,
                  {kTextLeft, 36, kTextWidth, 20}, kLengthText);
    HWND progress = CreateControl(window_, PROGRESS_CLASSW, {}, 0, 0,
                                  {kLeft, 66, kClientWidth - 2 * kLeft, 16}, kProgress);
    SendMessageW(progress, PBM_SETRANGE32, 0, 100);
    CreateControl(window_, L"STATIC", {}, SS_NOPREFIX, 0, {kLeft, 90, kClientWidth - 2 * kLeft, 34},
                  kStatus);

    valueFont_.Reset(CreateValueFont());
    int y = kRowsTop;
    for (std::size_t i = 0; i < std::size(platform::kAllDigestAlgorithms); ++i) {
        const DigestAlgorithm algorithm = platform::kAllDigestAlgorithms[i];
        const int id = static_cast<int>(i);
        CreateControl(window_, L"STATIC", platform::Widen(ChecksumName(algorithm)), SS_NOPREFIX, 0,
                      {kLeft, y + 4, kLabelWidth, 20}, kNameFirst + id);
        HWND value = CreateControl(
            window_, L"EDIT", {}, ES_MULTILINE | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE,
            {kTextLeft, y, kTextWidth, ValueHeight(algorithm)}, kValueFirst + id);
        if (valueFont_) {
            SendMessageW(value, WM_SETFONT, reinterpret_cast<WPARAM>(valueFont_.Get()), FALSE);
        }
        y += ValueHeight(algorithm) + kRowGap;
    }
    const int buttonsTop = RowsBottom();
    CreateControl(
        window_, L"BUTTON", lookup_("dialog.checksum.copy_all"), BS_PUSHBUTTON | WS_TABSTOP, 0,
        {kClientWidth - 12 - 2 * kButtonWidth - 8, buttonsTop, kButtonWidth, kButtonHeight},
        kCopyAll);
    HWND close = CreateControl(
        window_, L"BUTTON", lookup_(state_.ButtonKey()), BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
        {kClientWidth - 12 - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight}, kClose);
    SetFocus(close);
    Refresh();

    job_.SetTarget(window_);
    const IReadOnlyDocument* document = &document_;
    const ChecksumRange range = state_.Range();
    job_.Start([document, range](WindowJob<ChecksumOutcome>::Runner::Context& context) {
        return ComputeChecksums(
            *document, range, platform::kAllDigestAlgorithms, context.StopToken(),
            [&context](std::uint64_t done, std::uint64_t total) { context.Progress(done, total); });
    });
}

void ChecksumDialog::OnNews()
{
    WindowJob<ChecksumOutcome>::News news = job_.Collect();
    if (news.progress) {
        state_.Progress(news.progress->done, news.progress->total);
    }
    if (news.result) {
        state_.Finish(std::move(*news.result));
    }
    Refresh();
}

void ChecksumDialog::OnCancelOrClose()
{
    if (state_.Running()) {
        state_.RequestStop();
        job_.RequestStop(); // the outcome comes as news, and shows as stopped
        return;
    }
    done_ = true;
}

void ChecksumDialog::CopyAll()
{
    if (state_.CanCopy()) {
        (void)CopyTextToClipboard(window_, state_.CopyAllText());
    }
}

void ChecksumDialog::Refresh()
{
    if (window_ == nullptr) {
        return;
    }
    SendDlgItemMessageW(window_, kProgress, PBM_SETPOS, static_cast<WPARAM>(state_.Percent()), 0);
    SetDlgItemTextW(window_, kStatus, W(state_.StatusText(lookup_)));
    for (std::size_t i = 0; i < std::size(platform::kAllDigestAlgorithms); ++i) {
        const int id = kValueFirst + static_cast<int>(i);
        const std::u16string value = state_.ValueText(platform::kAllDigestAlgorithms[i]);
        if (WindowText(GetDlgItem(window_, id)) != value) {
            SetDlgItemTextW(window_, id, W(value));
        }
    }
    EnableWindow(GetDlgItem(window_, kCopyAll), state_.CanCopy() ? TRUE : FALSE);
    SetDlgItemTextW(window_, kClose, W(lookup_(state_.ButtonKey())));
}

} // namespace orx::win
