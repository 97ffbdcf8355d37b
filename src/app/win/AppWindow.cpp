#include "app/win/AppWindow.h"

#include "app/AppFlow.h"
#include "app/CommandIds.h"
#include "app/Placement.h"
#include "app/win/ScreenRects.h"
#include "ui/WindowMessages.h"
#include "platform/win32/WinString.h"
#include "settings/SettingsFile.h"
#include "ui/win/Dpi.h"
#include "ui/win/StartupClock.h"
#include "ui/win/ThemeColors.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace orx {
namespace {

constexpr int kInitialClientWidth = 980;
constexpr int kInitialClientHeight = 760;

ScreenRect WorkAreaUnderCursor()
{
    std::optional<ScreenRect> monitorArea;
    POINT cursor{};
    if (GetCursorPos(&cursor)) {
        if (HMONITOR monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST)) {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (GetMonitorInfoW(monitor, &info)) {
                monitorArea = ToScreenRect(info.rcWork);
            }
        }
    }
    RECT primary{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
    return ChooseWorkArea(monitorArea, ToScreenRect(primary));
}

bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    const auto icon = LoadIconW(instance, MAKEINTRESOURCEW(AppWindow::kIconResource));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = AppWindow::kClassName;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

AppWindow::AppWindow(AppEnvironment environment)
    : environment_(std::move(environment)),
      findAll_({.document = &document_,
                .view = &hexView_,
                .text = [this](std::string_view key) { return Text(key); },
                .stateChanged =
                    [this] {
                        RebuildMenu();
                        RefreshStatus();
                    },
                .countChanged = [this] { RefreshStatus(); },
                .layoutChanged = [this] { LayoutChildren(); },
                .flash = [this](std::string_view key) { FlashMessage(key); }})
{
    win::MarkStartup(&startup_.trace, "entry");
}

AppWindow::~AppWindow()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool AppWindow::Create(HINSTANCE instance, std::optional<std::u16string> startupPath)
{
    instance_ = instance;
    startupPath_ = std::move(startupPath);
    environment_ = CompleteEnvironment(std::move(environment_));
    strings_.SetBaseDirectory(environment_.baseDirectory);
    settingsPath_ = environment_.settingsPath;
    LoadSettings(settings_, settingsPath_, strings_);
    win::MarkStartup(&startup_.trace, "settings and strings");
    // Both workers run before any window exists, and outlive every window.
    StartWorkers();

    HexView::RegisterWindowClass(instance);
    if (!RegisterMainWindowClass(instance, &AppWindow::WindowProc)) {
        return false;
    }

    win::MarkStartup(&startup_.trace, "window classes");

    const ScreenRect frame = InitialFrame();
    CreateWindowExW(0, kClassName, L"Orlin", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                    frame.left, frame.top, frame.Width(), frame.Height(), nullptr, nullptr,
                    instance, this);
    if (window_ == nullptr) {
        return false;
    }
    win::MarkStartup(&startup_.trace, "main window");
    // Opened once the window is up, so that an open error shows over the visible window.
    if (startupPath_) {
        const std::u16string path = std::move(*startupPath_);
        startupPath_.reset();
        (void)OpenFile(path); // a failure has shown its box; the window stays up with no file
        win::MarkStartup(&startup_.trace, "file opened");
    }
    // The rows first: the view paints before anything else is done.
    UpdateWindow(hexView_.Window());
    SetTimer(window_, kStartupTimerId, kStartupFallbackMilliseconds, nullptr);

    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'F', static_cast<WORD>(cmd::kFind)},
        {FVIRTKEY | FCONTROL, 'G', static_cast<WORD>(cmd::kGoTo)},
        {FVIRTKEY | FCONTROL, 'R', static_cast<WORD>(cmd::kToggleReadOnly)},
        {FVIRTKEY, VK_F3, static_cast<WORD>(cmd::kFindNextAgain)},
        {FVIRTKEY | FSHIFT, VK_F3, static_cast<WORD>(cmd::kFindPreviousAgain)},
        {FVIRTKEY, VK_F6, static_cast<WORD>(cmd::kNextDifference)},
        {FVIRTKEY | FSHIFT, VK_F6, static_cast<WORD>(cmd::kPreviousDifference)},
    };
    accelerators_.Reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
    return static_cast<bool>(accelerators_);
}

bool AppWindow::TranslateAccelerators(MSG& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && findAll_.Running()) {
        findAll_.Stop();
        return true;
    }
    return accelerators_ && window_ != nullptr &&
           TranslateAcceleratorW(window_, accelerators_.Get(), &message) != 0;
}

ScreenRect AppWindow::InitialFrame() const
{
    RECT frame{0, 0, kInitialClientWidth, kInitialClientHeight};
    AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0, GetDpiForSystem());
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const ScreenRect area = WorkAreaUnderCursor();
    const ScreenPoint origin = CenterIn(area, width, height);
    const ScreenRect centred{origin.x, origin.y, origin.x + width, origin.y + height};
    const int minimum = win::ScaleForDpi(kMinimumFitWidth, GetDpiForSystem());
    return FitWindowGroup(area, centred, StructViewSpan(), InspectorSpan(), minimum).main;
}

void AppWindow::FinishStartup()
{
    if (std::exchange(startup_.finished, true) || window_ == nullptr) {
        return;
    }
    KillTimer(window_, kStartupTimerId);
    win::MarkStartup(&startup_.trace, "rows on screen");
    CreateStatusBar();
    if (std::exchange(startup_.menuOwed, false)) {
        RebuildMenu();
    }
    if (std::exchange(startup_.settingsOwed, false)) {
        StampAndSaveSettings();
    }
    if (settings_.inspectorVisible) {
        SetInspectorVisible(true);
    }
    if (settings_.structViewVisible) {
        SetStructViewVisible(true);
    }
    win::MarkStartup(&startup_.trace, "side windows");
    win::WriteStartupTraceIfAsked(startup_.trace);
}

LRESULT AppWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        fileOnDisk_.Attach({window_, &document_, &hexView_, environment_.messageBox,
                            [this](std::string_view key) { return Text(key); },
                            [this] {
                                UpdateTitle();
                                RefreshStatus();
                                RequestSideWindowUpdates();
                            }});
        SetWorkerTargets();
        CreateChildren();
        DragAcceptFiles(window_, TRUE);
        return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_SIZE: OnSize(wParam); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_MOVE: PositionSideWindows(); return 0;
    case WM_ENABLE: UpdatePatternCommands(); return 0; // a modal dialog came or went
    case WM_ACTIVATE:
        fileOnDisk_.OnActivate(wParam);
        break; // the default handling gives the focus back
    case WM_SETFOCUS:
        if (hexView_.Window() != nullptr) {
            SetFocus(hexView_.Window());
            return 0;
        }
        break;
    case WM_CLOSE:
        if (!busy_ && ConfirmSaveChanges()) {
            DestroyWindow(window_);
        }
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item != nullptr && item->hwndItem == statusBar_ && statusBar_ != nullptr) {
            DrawStatusBar(*item);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_TIMER:
        if (wParam == kStartupTimerId) {
            FinishStartup();
            return 0;
        }
        if (wParam == kFlashTimerId) {
            KillTimer(window_, kFlashTimerId);
            flashActive_ = false;
            flashText_.clear();
            RefreshStatus();
            return 0;
        }
        if (fileOnDisk_.OnTimer(wParam, busy_)) {
            return 0;
        }
        break;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DPICHANGED: OnDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam)); return 0;
    case kMsgViewPainted: FinishStartup(); return 0;
    case WM_ERASEBKGND: {
        // The theme's background, never the system's white, wherever no child covers yet.
        RECT client{};
        GetClientRect(window_, &client);
        win::FillSolid(reinterpret_cast<HDC>(wParam), client,
                       win::ToColorRef(HexViewPalette(settings_.theme).background));
        return 1;
    }
    case kMsgViewChanged:
        findAll_.OnDocumentChanged();
        UpdateTitle();
        RefreshStatus();
        RequestSideWindowUpdates();
        return 0;
    case kMsgStructViewClosed: SetStructViewVisible(false); return 0;
    case kMsgStructOpenPattern: OpenPatternDialog(); return 0;
    case kMsgStructResult: OnStructResult(lParam); return 0;
    case kMsgStructClosePattern: ClosePattern(); return 0;
    case kMsgStructReloadPattern: ReloadPattern(); return 0;
    case kMsgStructValueFormat: ChooseStructValueFormat(wParam); return 0;
    case kMsgEditBlocked:
        FlashMessage(findAll_.Running() ? "status.find_all_edits_wait" : "status.readonly_blocked");
        return 0;
    case kMsgFindAllNews: findAll_.OnNews(); return 0;
    case kMsgZoomChanged: RefreshStatus(); return 0;
    case kMsgCopyRefused: FlashMessage("status.copy_too_large"); return 0;
    case kMsgInspectorResult: OnInspectorResult(lParam); return 0;
    case kMsgInspectorClosed: SetInspectorVisible(false); return 0;
    case kMsgCheckFileOnDisk: fileOnDisk_.Check(busy_ || findAll_.Running()); return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

void AppWindow::CreateChildren()
{
    RebuildMenu();
    hexView_.SetStartupTrace(&startup_.trace);
    hexView_.Create(window_, instance_);
    findAll_.SetWindow(window_);
    hexView_.SetDocument(&document_, &document_);
    HexViewModel& view = hexView_.Model();
    hexView_.Apply(view.SetEncoding(settings_.encoding));
    hexView_.Apply(view.SetTheme(settings_.theme));
    hexView_.Apply(view.SetFont(settings_.fontFamily, settings_.fontSize, settings_.fontBold,
                                settings_.fontItalic));
    // The status bar and the side windows come once the first rows are on screen
    // (FinishStartup).
    LayoutChildren();
    UpdateTitle();
    RefreshStatus();
}

void AppWindow::CreateStatusBar()
{
    // The common controls are loaded here, at their first use (see src/CMakeLists.txt).
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_LINK_CLASS;
    InitCommonControlsEx(&controls);
    statusBar_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                        0, 0, window_, nullptr, instance_, nullptr);
    if (statusBar_ != nullptr) {
        int rightEdges[] = {-1}; // one part over the whole width
        SendMessageW(statusBar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(rightEdges));
    }
    SetStatusBarTheme();
    LayoutChildren();
    RefreshStatus();
}

void AppWindow::LayoutChildren()
{
    if (window_ == nullptr || hexView_.Window() == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    int statusHeight = 0;
    if (statusBar_ != nullptr) {
        SendMessageW(statusBar_, WM_SIZE, 0, 0); // it docks itself to the bottom
        RECT status{};
        GetWindowRect(statusBar_, &status);
        statusHeight = status.bottom - status.top;
    }
    const int bottom = std::max(0, static_cast<int>(client.bottom) - statusHeight);
    const int panelHeight = findAll_.Place(client.right, bottom);
    MoveWindow(hexView_.Window(), 0, 0, client.right, bottom - panelHeight, TRUE);
    PositionSideWindows();
}

void AppWindow::OnDpiChanged(WPARAM wParam, const RECT& suggested)
{
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    hexView_.Model().SetDpi(HIWORD(wParam));
    hexView_.Apply(hexView_.Model().Relayout());
    LayoutChildren();
    RefreshStatus();
}

void AppWindow::OnDropFiles(HDROP drop)
{
    if (busy_ || findAll_.Running()) {
        // A save or a search is reading the open document: nothing may replace it now.
        DragFinish(drop);
        return;
    }
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    DropRouter router(document_.IsOpen());
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::vector<wchar_t> buffer(length + 1, L'\0');
        DragQueryFileW(drop, i, buffer.data(), length + 1);
        const std::u16string path = win::FromW(buffer.data());
        if (router.OpenHere()) {
            router.ReportOpened(OpenFile(path));
        } else {
            (void)OpenInNewInstance(path); // a failure has shown its box
        }
    }
    DragFinish(drop);
}

void AppWindow::OnDestroy()
{
    compare_.Close();
    StopSideWindows();
    KillTimer(window_, kFlashTimerId);
    KillTimer(window_, kStartupTimerId);
    // Closed before the first rows were on screen: what waited for them is written now.
    startup_.finished = true;
    if (std::exchange(startup_.settingsOwed, false)) {
        StampAndSaveSettings();
    }
    fileOnDisk_.Stop();
    // The window would destroy its menu bar with itself; the handle owner does it instead.
    SetMenu(window_, nullptr);
    menuBar_.Reset();
    accelerators_.Reset();
    PostQuitMessage(0);
}

void AppWindow::PumpPendingMessages()
{
    // Timers and paints are made anew whenever the queue is looked at; on a slow machine a
    // timer can come due again before the paint it caused is finished, and "until the queue
    // is empty" would never end. Posted messages and input come first, so a short budget
    // still dispatches everything the user did; the long operation pumps again soon.
    constexpr ULONGLONG kBudgetMs = 100;
    const ULONGLONG deadline = GetTickCount64() + kBudgetMs;
    MSG message{};
    while (GetTickCount64() < deadline && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void AppWindow::StampAndSaveSettings()
{
    if (!startup_.finished) {
        startup_.settingsOwed = true; // written once the first rows are on screen
        return;
    }
    settings_.appVersion = std::u16string(kAppVersion);
    (void)SaveSettings(settings_, settingsPath_); // failures to write the settings are silent
}

std::u16string AppWindow::Text(std::string_view key)
{
    return strings_.Lookup(key);
}

int RunMessageLoop(AppWindow& app)
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return -1;
        }
        if (app.PreTranslate(message) || app.TranslateAccelerators(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace orx
