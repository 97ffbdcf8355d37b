#include "app/win/InspectorController.h"

#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "inspector/InspectorTable.h"
#include "settings/AppSettings.h"
#include "inspector/ValueCodec.h"
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
        window_.SetBigEndian(context_.settings.inspectorBigEndian);
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
    request.bigEndian = context_.settings.inspectorBigEndian;
    request.leb128Format = context_.Text("inspector.data.value.leb128");
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

std::optional<std::string_view> InspectorController::EditRefusal(std::size_t row) const
{
    const HexViewModel& view = context_.view.Model();
    const auto typed = InspectorRowValueType(row, context_.settings.inspectorBigEndian);
    if (!typed) {
        return "status.inspector_not_editable";
    }
    if (view.Mode() == EditMode::Insert) {
        return "status.inspector_insert_mode";
    }
    if (view.CaretOffset() + ValueSize(typed->type) > context_.document.Size()) {
        return "status.inspector_past_end";
    }
    return std::nullopt;
}

LRESULT InspectorController::OnEdit(std::size_t row, const std::u16string* text)
{
    HexViewModel& view = context_.view.Model();
    if (!context_.document.IsOpen() || row >= kInspectorRowCount) {
        return 1;
    }
    if (!view.CanEdit()) {
        // The main window says why: read-only, or Find All reading the file.
        SendMessageW(context_.window, kMsgEditBlocked, 0, 0);
        return 1;
    }
    if (const auto refusal = EditRefusal(row)) {
        context_.events.Flash(*refusal);
        return 1;
    }
    const auto typed = InspectorRowValueType(row, context_.settings.inspectorBigEndian);
    if (text == nullptr) {
        // The value as shown; the hex-and-decimal rows offer their decimal part.
        std::u16string shown = window_.Table().Values().size() > row ? window_.Table().Values()[row]
                                                                     : std::u16string();
        if (const std::size_t slash = shown.find(u" / "); slash != std::u16string::npos) {
            shown.erase(0, slash + 3);
        }
        window_.OpenEditor(row, shown == InspectorUnavailableText(context_.strings) ? u"" : shown);
        return 1;
    }
    const EncodedValue encoded = EncodeValue(typed->type, *text, typed->bigEndian);
    if (encoded.error != ValueError::None) {
        context_.environment.messageBox(
            window_.Window(),
            DescribeValueError(encoded.error, typed->type, *text, context_.Lookup()),
            context_.Text("inspector.data.title"), MB_ICONERROR | MB_OK);
        return 0;
    }
    const std::uint64_t caret = view.CaretOffset();
    // Every byte lies inside the document (EditRefusal checked), so none is refused.
    for (std::size_t i = 0; i < encoded.bytes.size(); ++i) {
        (void)context_.document.OverwriteByte(caret + i, encoded.bytes[i]);
    }
    context_.view.Apply(view.RepaintAll());
    // As after typing in the view: the title, the status bar and the side windows follow.
    PostMessageW(context_.window, kMsgViewChanged, 0, 0);
    return 1;
}

void InspectorController::ToggleByteOrder()
{
    context_.settings.inspectorBigEndian = !context_.settings.inspectorBigEndian;
    context_.events.SettingsChanged();
    window_.SetBigEndian(context_.settings.inspectorBigEndian);
    RequestUpdate();
}

void InspectorController::RefreshTexts()
{
    window_.SetTexts(LoadInspectorTexts(context_.strings));
}

} // namespace orx
