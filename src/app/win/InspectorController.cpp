#include "app/win/InspectorController.h"

#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "inspector/InspectorTable.h"
#include "settings/AppSettings.h"
#include "ui/win/StartupClock.h"

namespace orx {

void InspectorController::StartWorker()
{
    worker_.Start(&ComputeInspectorRequest);
}

void InspectorController::Stop()
{
    window_.Destroy();
    worker_.Stop();
}

void InspectorController::SetVisible(bool visible)
{
    StoreSideWindowVisible(context_, &AppSettings::inspectorVisible, visible);
    if (!visible) {
        window_.Destroy();
        return;
    }
    EnsureWindow();
    window_.SetTexts(LoadInspectorTexts(context_.strings));
    group_.Place();
    RequestUpdate();
}

void InspectorController::ShowIfOn()
{
    if (context_.settings.inspectorVisible) {
        SetVisible(true);
    }
}

void InspectorController::EnsureWindow()
{
    if (!group_.MayCreate() || window_.Window() != nullptr) {
        return;
    }
    if (window_.Create(context_.window, context_.instance, LoadInspectorTexts(context_.strings),
                       context_.settings.theme)) {
        win::MarkStartup(&context_.startup.trace, "inspector created");
        group_.Follow();
    }
}

SideWindowSpan InspectorController::Span() const
{
    return {context_.settings.inspectorVisible, window_.Width(), window_.MinimumWidth()};
}

void InspectorController::RequestUpdate()
{
    if (!context_.settings.inspectorVisible) {
        return;
    }
    EnsureWindow();
    if (window_.Window() == nullptr) {
        return;
    }
    InspectorRequest request;
    request.unavailableText = InspectorUnavailableText(context_.strings);
    if (context_.document.IsOpen()) {
        request.bytes =
            context_.document.Read(context_.view.Model().CaretOffset(), kInspectorReadBytes).bytes;
    }
    worker_.Submit(std::move(request));
}

void InspectorController::OnResult(LPARAM lParam)
{
    const auto result = decltype(worker_)::Receive(lParam);
    if (result == nullptr || !worker_.IsCurrent(result->number) ||
        !context_.settings.inspectorVisible) {
        return; // stale, or the inspector was switched off meanwhile
    }
    EnsureWindow();
    if (window_.Window() == nullptr) {
        return;
    }
    window_.SetValues({result->value.begin(), result->value.end()});
    group_.Follow();
}

void InspectorController::RefreshTexts()
{
    window_.SetTexts(LoadInspectorTexts(context_.strings));
}

} // namespace orx
