// The docked side windows of the main window and the workers that compute what they show.
#include "app/win/AppWindow.h"

#include "app/Placement.h"
#include "inspector/InspectorTable.h"

#include <optional>

namespace orx {
namespace {

enum class DockSide { Left, Right };

// Where a side window `width` pixels wide goes beside `main`; nothing while `main` is
// minimised (the side windows are hidden with it).
std::optional<RECT> SideWindowFrame(HWND main, DockSide side, int width)
{
    RECT frame{};
    if (IsIconic(main) || !GetWindowRect(main, &frame)) {
        return std::nullopt;
    }
    const ScreenRect mainRect{frame.left, frame.top, frame.right, frame.bottom};
    const ScreenRect docked =
        side == DockSide::Right ? DockRightOf(mainRect, width) : DockLeftOf(mainRect, width);
    return RECT{docked.left, docked.top, docked.right, docked.bottom};
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
    PositionInspector();
    RequestInspectorUpdate();
}

void AppWindow::EnsureInspectorWindow()
{
    if (window_ == nullptr || inspector_.Window() != nullptr) {
        return;
    }
    if (inspector_.Create(window_, instance_, LoadInspectorTexts(strings_), settings_.theme)) {
        PositionInspector();
    }
}

void AppWindow::PositionSideWindows()
{
    PositionInspector();
    PositionStructView();
}

void AppWindow::PositionInspector()
{
    if (window_ == nullptr || inspector_.Window() == nullptr) {
        return;
    }
    const auto frame = SideWindowFrame(window_, DockSide::Right, inspector_.Width());
    inspector_.Dock(frame.value_or(RECT{}), frame.has_value());
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
    PositionInspector();
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
