#include "app/win/AppWindow.h"

#include "app/CommandIds.h"
#include "app/Placement.h"
#include "app/win/ScreenRects.h"
#include "settings/SettingsFile.h"
#include "ui/TimerIds.h"
#include "ui/WindowMessages.h"
#include "ui/win/Dpi.h"
#include "ui/win/StartupClock.h"
#include "ui/win/ThemeColors.h"

#include <shellapi.h>

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

// Where the main window goes at start-up: centred in the work area under the cursor.
ScreenRect CentredFrame(ScreenRect area)
{
    RECT frame{0, 0, kInitialClientWidth, kInitialClientHeight};
    AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0, GetDpiForSystem());
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const ScreenPoint origin = CenterIn(area, width, height);
    return {origin.x, origin.y, origin.x + width, origin.y + height};
}

} // namespace

AppWindow::AppWindow(AppEnvironment environment) : environment_(std::move(environment))
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
    context_.instance = instance;
    startupPath_ = std::move(startupPath);
    environment_ = CompleteEnvironment(std::move(environment_));
    strings_.SetBaseDirectory(environment_.baseDirectory);
    LoadSettings(settings_, environment_.settingsPath, strings_);
    win::MarkStartup(&startup_.trace, "settings and strings");
    // Both workers run before any window exists, and outlive every window.
    inspector_.StartWorker();
    structView_.StartWorker();

    HexView::RegisterWindowClass(instance);
    const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    if (!RegisterWindowClass(instance, {.icon = icon})) {
        return false;
    }
    win::MarkStartup(&startup_.trace, "window classes");

    const ScreenRect area = WorkAreaUnderCursor();
    const ScreenRect frame = sideWindows_.InitialFrame(area, CentredFrame(area));
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
        (void)files_.Open(path); // a failure has shown its box; the window stays up with no file
        Flush();
        win::MarkStartup(&startup_.trace, "file opened");
    }
    // The rows first: the view paints before anything else is done.
    UpdateWindow(hexView_.Window());
    SetTimer(window_, kTimerStartupFinish, kStartupFallbackMilliseconds, nullptr);

    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'F', static_cast<WORD>(cmd::kFind)},
        {FVIRTKEY | FCONTROL, 'G', static_cast<WORD>(cmd::kGoTo)},
        {FVIRTKEY | FCONTROL, 'R', static_cast<WORD>(cmd::kToggleReadOnly)},
        {FVIRTKEY, VK_F3, static_cast<WORD>(cmd::kFindNextAgain)},
        {FVIRTKEY | FSHIFT, VK_F3, static_cast<WORD>(cmd::kFindPreviousAgain)},
        {FVIRTKEY, VK_F6, static_cast<WORD>(cmd::kNextDifference)},
        {FVIRTKEY | FSHIFT, VK_F6, static_cast<WORD>(cmd::kPreviousDifference)},
        {FVIRTKEY | FCONTROL, 'B', static_cast<WORD>(cmd::kAddRegion)},
        {FVIRTKEY, VK_F2, static_cast<WORD>(cmd::kNextRegion)},
        {FVIRTKEY | FSHIFT, VK_F2, static_cast<WORD>(cmd::kPreviousRegion)},
    };
    accelerators_.Reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
    return static_cast<bool>(accelerators_);
}

bool AppWindow::TranslateAccelerators(MSG& message)
{
    FindAllSession& findAll = search_.FindAll();
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && findAll.Running()) {
        findAll.Stop();
        Flush();
        return true;
    }
    return accelerators_ && window_ != nullptr &&
           TranslateAcceleratorW(window_, accelerators_.Get(), &message) != 0;
}

void AppWindow::FinishStartup()
{
    if (std::exchange(startup_.finished, true) || window_ == nullptr) {
        return;
    }
    KillTimer(window_, kTimerStartupFinish);
    win::MarkStartup(&startup_.trace, "rows on screen");
    statusBar_.Create(window_, context_.instance, settings_.theme);
    LayoutChildren();
    if (std::exchange(startup_.settingsOwed, false)) {
        SettingsChanged();
    }
    // Everything that waited for the first rows: the menu's last state, the status bar.
    Changed(Change::Commands | Change::Message);
    Flush();
    sideWindows_.ShowIfOn();
    win::MarkStartup(&startup_.trace, "side windows");
    win::WriteStartupTraceIfAsked(startup_.trace);
}

LRESULT AppWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Dispatch(message, wParam, lParam);
    // One flush per dispatched message: whatever the message changed shows now.
    if (window_ != nullptr && message != WM_DESTROY && message != WM_NCDESTROY) {
        Flush();
    }
    return result;
}

LRESULT AppWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_SIZE:
        LayoutChildren(); // docks the side windows too
        sideWindows_.OnSize(wParam);
        return 0;
    case WM_GETMINMAXINFO:
        sideWindows_.OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_MOVE: sideWindows_.Follow(); return 0;
    case WM_ENABLE: sideWindows_.UpdateCommands(); return 0; // a modal dialog came or went
    case WM_ACTIVATE:
        files_.OnDisk().OnActivate(wParam);
        break; // the default handling gives the focus back
    case WM_SETFOCUS:
        if (hexView_.Window() != nullptr) {
            SetFocus(hexView_.Window());
            return 0;
        }
        break;
    case WM_CLOSE:
        if (!Busy() && files_.ConfirmSaveChanges()) {
            DestroyWindow(window_);
        }
        return 0;
    case WM_DRAWITEM:
        if (lParam != 0 && statusBar_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_COMMAND: {
        const Command command = DecodeCommand(LOWORD(wParam), settings_.recentFiles.size());
        if (command.kind == CommandKind::Unknown) {
            break;
        }
        if (CommandAllowed(command, Busy(), search_.FindAll().Running())) {
            RunCommand(command);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimerStartupFinish) {
            FinishStartup();
            return 0;
        }
        if (statusBar_.OnTimer(window_, wParam)) {
            Changed(Change::Message);
            return 0;
        }
        if (files_.OnDisk().OnTimer(wParam, Busy())) {
            return 0;
        }
        break;
    case WM_DROPFILES: files_.OnDrop(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        hexView_.Model().SetDpi(HIWORD(wParam));
        hexView_.Apply(hexView_.Model().Relayout());
        LayoutChildren();
        Changed(Change::Mode);
        return 0;
    }
    case kMsgViewPainted: FinishStartup(); return 0;
    case kMsgFlushChanges: changes_.RequestServed(); return 0; // the flush follows
    case WM_ERASEBKGND: {
        // The theme's background, never the system's white, wherever no child covers yet.
        RECT client{};
        GetClientRect(window_, &client);
        win::FillSolid(reinterpret_cast<HDC>(wParam), client,
                       win::ToColorRef(HexViewPalette(settings_.theme).background));
        return 1;
    }
    case kMsgViewChanged:
        search_.FindAll().OnDocumentChanged();
        Changed(Change::Bytes | Change::Caret);
        return 0;
    case kMsgEditBlocked:
        Flash(search_.FindAll().Running() ? "status.find_all_edits_wait"
                                          : "status.readonly_blocked");
        return 0;
    case kMsgFindAllNews: search_.FindAll().OnNews(); return 0;
    case kMsgZoomChanged: Changed(Change::Mode); return 0;
    case kMsgCopyRefused: Flash("status.copy_too_large"); return 0;
    case kMsgInspectorResult: inspector_.OnResult(lParam); return 0;
    case kMsgInspectorClosed: inspector_.SetVisible(false); return 0;
    case kMsgInspectorEdit:
        return inspector_.OnEdit(wParam, reinterpret_cast<const std::u16string*>(lParam));
    case kMsgInspectorByteOrder: inspector_.ToggleByteOrder(); return 0;
    case kMsgCheckFileOnDisk: files_.OnDisk().Check(DocumentInUse()); return 0;
    default:
        if (structView_.HandleMessage(message, wParam, lParam)) {
            return 0;
        }
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

void AppWindow::OnCreate()
{
    context_.window = window_;
    files_.Attach();
    inspector_.SetTarget(window_);
    structView_.SetTarget(window_);
    sideWindows_.SetMainWindow(window_);
    RebuildMenu(); // the bar is there from the start; its updates wait for the first rows
    hexView_.SetStartupTrace(&startup_.trace);
    hexView_.Create(window_, context_.instance);
    search_.SetWindow(window_);
    hexView_.SetDocument(&document_, &document_);
    bookmarks_.Attach();
    HexViewModel& view = hexView_.Model();
    hexView_.Apply(view.SetEncoding(settings_.encoding));
    hexView_.Apply(view.SetTheme(settings_.theme));
    hexView_.Apply(view.SetFont(settings_.fontFamily, settings_.fontSize, settings_.fontBold,
                                settings_.fontItalic));
    // The status bar and the side windows come once the first rows are on screen
    // (FinishStartup).
    LayoutChildren();
    Changed(Change::File);
    DragAcceptFiles(window_, TRUE);
}

void AppWindow::LayoutChildren()
{
    if (window_ == nullptr || hexView_.Window() == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    const int bottom = std::max(0, static_cast<int>(client.bottom) - statusBar_.Dock());
    // The panels stack up from the status bar: Find All's lowest, the bookmarks' above it.
    int top = bottom - search_.FindAll().Place(client.right, bottom);
    top -= bookmarks_.Place(client.right, top);
    MoveWindow(hexView_.Window(), 0, 0, client.right, top, TRUE);
    sideWindows_.Follow();
}

void AppWindow::OnDestroy()
{
    compare_.Close();
    sideWindows_.Stop();
    statusBar_.Destroy(window_);
    KillTimer(window_, kTimerStartupFinish);
    // Closed before the first rows were on screen: what waited for them is written now.
    startup_.finished = true;
    if (std::exchange(startup_.settingsOwed, false)) {
        SettingsChanged();
    }
    files_.OnDisk().Stop();
    // The window would destroy its menu bar with itself; the handle owner does it instead.
    SetMenu(window_, nullptr);
    menuBar_.Reset();
    accelerators_.Reset();
    PostQuitMessage(0);
}

void AppWindow::SettingsChanged()
{
    if (!startup_.finished) {
        startup_.settingsOwed = true; // written once the first rows are on screen
        return;
    }
    settings_.appVersion = std::u16string(kAppVersion);
    (void)SaveSettings(settings_, environment_.settingsPath); // failures to write are silent
}

bool AppWindow::DocumentInUse() const
{
    return Busy() || search_.FindAll().Running();
}

std::u16string AppContext::Text(std::string_view key) const
{
    return strings.Lookup(key);
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
