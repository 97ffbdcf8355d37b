// The docked side windows of the main window and the workers that compute what they show.
#include "app/win/AppWindow.h"

#include "app/Placement.h"
#include "app/win/ScreenRects.h"
#include "inspector/InspectorTable.h"
#include "ui/win/Dpi.h"
#include "ui/win/StartupClock.h"

#include <optional>

namespace orx {
namespace {

// The work area and the whole area of the monitor the window is on (or nearest to).
std::optional<MONITORINFO> MonitorOf(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        return std::nullopt;
    }
    return info;
}

} // namespace

void AppWindow::StartWorkers()
{
    inspectorWorker_.Start(&ComputeInspectorRequest);
    structWorker_.Start(&BuildStructRows);
}

void AppWindow::SetWorkerTargets()
{
    inspectorWorker_.SetTarget(window_);
    structWorker_.SetTarget(window_);
}

// Shutdown order: each window goes before its worker, so nothing shows a result of a
// worker that is ending; stopping a worker frees the results it left in the queue.
void AppWindow::StopSideWindows()
{
    inspector_.Destroy();
    inspectorWorker_.Stop();
    structView_.Destroy();
    structWorker_.Stop();
}

void AppWindow::SetInspectorVisible(bool visible)
{
    SetSideWindowVisible(&AppSettings::inspectorVisible, visible);
    if (!visible) {
        inspector_.Destroy();
        return;
    }
    EnsureInspectorWindow();
    inspector_.SetTexts(LoadInspectorTexts(strings_));
    PlaceWindowGroup();
    RequestInspectorUpdate();
}

void AppWindow::EnsureInspectorWindow()
{
    if (window_ == nullptr || inspector_.Window() != nullptr || !startup_.finished) {
        return;
    }
    if (inspector_.Create(window_, instance_, LoadInspectorTexts(strings_), settings_.theme)) {
        win::MarkStartup(&startup_.trace, "inspector created");
        PositionSideWindows();
    }
}

SideWindowSpan AppWindow::StructViewSpan() const
{
    // A side window that is on takes its room before it is made (at start-up it comes after
    // the first rows), so that the main window does not move when it appears. A maximised
    // struct view is the user's to place: the others do not make room for it.
    HWND view = structView_.Window();
    const bool docked = settings_.structViewVisible && (view == nullptr || !IsZoomed(view));
    return {docked, structView_.Width(), StructViewModel::kMinimumTrackWidth};
}

SideWindowSpan AppWindow::InspectorSpan() const
{
    return {settings_.inspectorVisible, inspector_.Width(), inspector_.MinimumWidth()};
}

// The main window and the side windows as they are docked now.
WindowGroup AppWindow::DockedWindowGroup() const
{
    RECT frame{};
    GetWindowRect(window_, &frame);
    return DockSideWindows(ToScreenRect(frame), StructViewSpan(), InspectorSpan());
}

void AppWindow::PositionSideWindows()
{
    DockSideWindowGroup(false);
}

void AppWindow::PlaceWindowGroup()
{
    DockSideWindowGroup(true);
}

// The one place that docks both side windows. Following the main window (`fit` false) is
// what a drag or a resize by the user asks for, wherever it leads; when the editor places
// the windows itself (`fit`), all of them go inside the work area. A maximised main window
// already left room for the side windows (OnGetMinMaxInfo), so they dock as it allowed.
void AppWindow::DockSideWindowGroup(bool fit)
{
    if (window_ == nullptr) {
        return;
    }
    RECT frame{};
    if (IsIconic(window_) || !GetWindowRect(window_, &frame)) {
        // Hidden with the minimised main window.
        inspector_.Dock({}, false);
        structView_.Dock({}, false);
        return;
    }
    const ScreenRect main = ToScreenRect(frame);
    const SideWindowSpan left = StructViewSpan();
    const SideWindowSpan right = InspectorSpan();
    const auto monitor = (fit || IsZoomed(window_)) ? MonitorOf(window_) : std::nullopt;
    const int minimum = win::ScaleForDpi(kMinimumFitWidth, win::WindowDpi(window_));
    WindowGroup group = DockSideWindows(main, left, right);
    if (monitor && IsZoomed(window_)) {
        group = MaximizedWindowGroup(ToScreenRect(monitor->rcWork), left, right, minimum);
    } else if (monitor) {
        group = FitWindowGroup(ToScreenRect(monitor->rcWork), main, left, right, minimum);
    }
    // The side windows first, so that the main window's move below docks them at the
    // widths they have now.
    if (left.on) {
        structView_.Dock(ToRect(group.left), true);
    }
    if (right.on) {
        inspector_.Dock(ToRect(group.right), true);
    }
    if (group.main != main) {
        SetWindowPos(window_, nullptr, group.main.left, group.main.top, group.main.Width(),
                     group.main.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void AppWindow::OnGetMinMaxInfo(MINMAXINFO& info) const
{
    const auto monitor = MonitorOf(window_);
    if (!monitor) {
        return;
    }
    const int minimum = win::ScaleForDpi(kMinimumFitWidth, win::WindowDpi(window_));
    const ScreenRect main = MaximizedWindowGroup(ToScreenRect(monitor->rcWork), StructViewSpan(),
                                                 InspectorSpan(), minimum)
                                .main;
    // Relative to the monitor, as the system takes the maximised position.
    info.ptMaxPosition = {main.left - monitor->rcMonitor.left, main.top - monitor->rcMonitor.top};
    info.ptMaxSize = {main.Width(), main.Height()};
}

void AppWindow::OnSize(WPARAM kind)
{
    LayoutChildren(); // docks the side windows too
    const bool restored = minimized_ && kind != SIZE_MINIMIZED;
    minimized_ = kind == SIZE_MINIMIZED;
    if (restored) {
        PlaceWindowGroup();
    }
}

void AppWindow::RequestSideWindowUpdates()
{
    RequestInspectorUpdate();
    RequestStructViewUpdate();
}

void AppWindow::RequestInspectorUpdate()
{
    if (!settings_.inspectorVisible) {
        return;
    }
    EnsureInspectorWindow();
    if (inspector_.Window() == nullptr) {
        return;
    }
    InspectorRequest request;
    request.unavailableText = InspectorUnavailableText(strings_);
    if (document_.IsOpen()) {
        request.bytes = document_.Read(hexView_.Model().CaretOffset(), kInspectorReadBytes).bytes;
    }
    inspectorWorker_.Submit(std::move(request));
}

void AppWindow::OnInspectorResult(LPARAM lParam)
{
    const auto result = decltype(inspectorWorker_)::Receive(lParam);
    if (result == nullptr || !inspectorWorker_.IsCurrent(result->number) ||
        !settings_.inspectorVisible) {
        return; // stale, or the inspector was switched off meanwhile
    }
    EnsureInspectorWindow();
    if (inspector_.Window() == nullptr) {
        return;
    }
    inspector_.SetValues({result->value.begin(), result->value.end()});
    PositionSideWindows();
}

void AppWindow::ApplySideWindowTheme()
{
    inspector_.SetTheme(settings_.theme);
    structView_.SetTheme(settings_.theme);
}

void AppWindow::RefreshSideWindowTexts()
{
    inspector_.SetTexts(LoadInspectorTexts(strings_));
    RefreshStructViewTexts();
    RefreshStructView();
    // The values carry the language's text for rows that cannot be computed.
    RequestSideWindowUpdates();
}

} // namespace orx
