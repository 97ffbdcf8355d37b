#include "app/win/SideWindowGroup.h"

#include "app/win/ScreenRects.h"
#include "ui/win/Dpi.h"

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

ScreenRect SideWindowGroup::InitialFrame(const ScreenRect& workArea,
                                         const ScreenRect& centred) const
{
    const int minimum = win::ScaleForDpi(kMinimumFitWidth, GetDpiForSystem());
    return FitWindowGroup(workArea, centred, left_.Span(), right_.Span(), minimum).main;
}

// The one place that docks both side windows. Following the main window (`fit` false) is
// what a drag or a resize by the user asks for, wherever it leads; when the editor places
// the windows itself (`fit`), all of them go inside the work area. A maximised main window
// already left room for the side windows (OnGetMinMaxInfo), so they dock as it allowed.
void SideWindowGroup::Dock(bool fit)
{
    if (main_ == nullptr) {
        return;
    }
    RECT frame{};
    if (IsIconic(main_) || !GetWindowRect(main_, &frame)) {
        // Hidden with the minimised main window.
        left_.Dock({}, false);
        right_.Dock({}, false);
        return;
    }
    const ScreenRect main = ToScreenRect(frame);
    const SideWindowSpan left = left_.Span();
    const SideWindowSpan right = right_.Span();
    const auto monitor = (fit || IsZoomed(main_)) ? MonitorOf(main_) : std::nullopt;
    const int minimum = win::ScaleForDpi(kMinimumFitWidth, win::WindowDpi(main_));
    WindowGroup group = DockSideWindows(main, left, right);
    if (monitor && IsZoomed(main_)) {
        group = MaximizedWindowGroup(ToScreenRect(monitor->rcWork), left, right, minimum);
    } else if (monitor) {
        group = FitWindowGroup(ToScreenRect(monitor->rcWork), main, left, right, minimum);
    }
    // The side windows first, so that the main window's move below docks them at the
    // widths they have now.
    if (left.on) {
        left_.Dock(ToRect(group.left), true);
    }
    if (right.on) {
        right_.Dock(ToRect(group.right), true);
    }
    if (group.main != main) {
        SetWindowPos(main_, nullptr, group.main.left, group.main.top, group.main.Width(),
                     group.main.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

WindowGroup SideWindowGroup::Docked() const
{
    RECT frame{};
    GetWindowRect(main_, &frame);
    return DockSideWindows(ToScreenRect(frame), left_.Span(), right_.Span());
}

void SideWindowGroup::OnGetMinMaxInfo(MINMAXINFO& info) const
{
    const auto monitor = MonitorOf(main_);
    if (!monitor) {
        return;
    }
    const int minimum = win::ScaleForDpi(kMinimumFitWidth, win::WindowDpi(main_));
    const ScreenRect main =
        MaximizedWindowGroup(ToScreenRect(monitor->rcWork), left_.Span(), right_.Span(), minimum)
            .main;
    // Relative to the monitor, as the system takes the maximised position.
    info.ptMaxPosition = {main.left - monitor->rcMonitor.left, main.top - monitor->rcMonitor.top};
    info.ptMaxSize = {main.Width(), main.Height()};
}

void SideWindowGroup::OnSize(WPARAM kind)
{
    const bool restored = minimized_ && kind != SIZE_MINIMIZED;
    minimized_ = kind == SIZE_MINIMIZED;
    if (restored) {
        Place();
    }
}

void SideWindowGroup::ShowIfOn()
{
    right_.ShowIfOn(); // the inspector first, as it always came
    left_.ShowIfOn();
}

void SideWindowGroup::RequestUpdates()
{
    right_.RequestUpdate();
    left_.RequestUpdate();
}

void SideWindowGroup::SetTheme(Theme theme)
{
    right_.SetTheme(theme);
    left_.SetTheme(theme);
}

void SideWindowGroup::RefreshTexts()
{
    right_.RefreshTexts();
    left_.RefreshTexts();
}

void SideWindowGroup::UpdateCommands()
{
    right_.UpdateCommands();
    left_.UpdateCommands();
}

// Shutdown order: each window goes before its worker (see SideWindow::Stop).
void SideWindowGroup::Stop()
{
    right_.Stop();
    left_.Stop();
}

} // namespace orx

#include "app/win/AppContext.h"
#include "settings/AppSettings.h"

namespace orx {

void StoreSideWindowVisible(AppContext& context, bool AppSettings::*flag, bool visible)
{
    if (context.settings.*flag == visible) {
        return;
    }
    context.settings.*flag = visible;
    context.events.SettingsChanged();
    context.events.Changed(Change::Commands);
}

} // namespace orx
