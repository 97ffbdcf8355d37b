#pragma once

#include "app/win/AppContext.h"
#include "app/win/SideWindowGroup.h"
#include "app/win/WindowWorker.h"
#include "inspector/InspectorRequest.h"
#include "inspector/win/DataInspectorWindow.h"
#include "ui/WindowMessages.h"

#include <optional>
#include <string>
#include <string_view>

namespace orx {

// The data inspector beside the main window: its window, shown while the setting is on, and
// the worker that computes the values at the caret.
class InspectorController final : public SideWindow {
public:
    InspectorController(AppContext& context, SideWindowGroup& group)
        : context_(context), group_(group)
    {}

    // Before any window exists; results go to the main window once it is there.
    void StartWorker();
    void SetTarget(HWND window) { worker_.SetTarget(window); }
    // The menu command and the close box.
    void SetVisible(bool visible);
    // kMsgInspectorResult.
    void OnResult(LPARAM lParam);
    // kMsgInspectorEdit: opens the row's edit box, or writes the typed value at the caret.
    // Nonzero when the window is done with the text (written, or editing refused).
    [[nodiscard]] LRESULT OnEdit(std::size_t row, const std::u16string* text);
    // kMsgInspectorByteOrder: the switch flips the byte order of the rows that follow it.
    void ToggleByteOrder();
    [[nodiscard]] const DataInspectorWindow& Window() const { return window_; }

    [[nodiscard]] SideWindowSpan Span() const override;
    void Dock(const RECT& frame, bool visible) override { window_.Dock(frame, visible); }
    void ShowIfOn() override;
    void RequestUpdate() override;
    void SetTheme(Theme theme) override { window_.SetTheme(theme); }
    void RefreshTexts() override;
    void UpdateCommands() override {}
    void Stop() override;

private:
    void EnsureWindow();
    // Why a value cannot be written at the caret now (a status text key), or nothing.
    [[nodiscard]] std::optional<std::string_view> EditRefusal(std::size_t row) const;

    AppContext& context_;
    SideWindowGroup& group_;
    DataInspectorWindow window_;
    // Last, so that it stops before the window goes; it holds nothing of this class.
    WindowWorker<InspectorRequest, InspectorValues> worker_{kMsgInspectorResult};
};

} // namespace orx
