#pragma once

#include "app/win/AppContext.h"
#include "app/win/SideWindowGroup.h"
#include "app/win/WindowWorker.h"
#include "hexview/ByteMarks.h"
#include "structview/PatternLibrary.h"
#include "structview/PatternOffer.h"
#include "structview/StructRead.h"
#include "structview/StructRows.h"
#include "structview/win/StructViewWindow.h"
#include "ui/WindowMessages.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orx {

// The struct view beside the main window: its window, the worker that lays the pattern over
// the bytes at the caret, the loaded pattern (file, path, name, error) and the pattern
// commands its window sends.
class StructViewController final : public SideWindow {
public:
    StructViewController(AppContext& context, SideWindowGroup& group)
        : context_(context), group_(group)
    {}

    // Before any window exists; results go to the main window once it is there.
    void StartWorker();
    void SetTarget(HWND window) { worker_.SetTarget(window); }
    // The menu command and the close box.
    void SetVisible(bool visible);
    // The messages of the struct view (kMsgStruct*): true when `message` was one of them.
    [[nodiscard]] bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Loads `path` and shows its rows; a failure shows in the view.
    [[nodiscard]] bool LoadPattern(const std::u16string& path);
    [[nodiscard]] const StructViewWindow& Window() const { return window_; }

    [[nodiscard]] SideWindowSpan Span() const override;
    void Dock(const RECT& frame, bool visible) override { window_.Dock(frame, visible); }
    void ShowIfOn() override;
    void RequestUpdate() override;
    void SetTheme(Theme theme) override { window_.SetTheme(theme); }
    void RefreshTexts() override;
    // Loading, reloading and closing a pattern wait while a dialog, a save or a search runs.
    void UpdateCommands() override { window_.SetCommandsEnabled(CommandsAllowed()); }
    void Stop() override;

private:
    void EnsureWindow();
    void ApplyTexts();
    void RefreshRows();
    // True when the view is on, has its window and a pattern; without a pattern it shows
    // the empty message instead.
    [[nodiscard]] bool ReadyForRows();
    [[nodiscard]] StructViewTexts Texts() const;
    // The pattern's name in the view's header: "png.orpat at 0x0" while it stays.
    [[nodiscard]] std::u16string Caption() const;
    // A request for the rows at the caret, without their bytes.
    [[nodiscard]] StructRowsInput Request() const;
    // The document's revision and the file's generation: what a worker's read depended on.
    [[nodiscard]] std::pair<std::uint64_t, std::uint64_t> DocumentState() const;
    void OnResult(LPARAM lParam);
    void OpenPatternDialog();
    void ClosePattern();
    void ReloadPattern();
    // The value format menu's choices 3 and 4 are the byte orders.
    static constexpr WPARAM kEndianLittleChoice = 3;
    static constexpr WPARAM kEndianBigChoice = 4;
    void ChooseValueFormat(WPARAM choice);
    // Follow the caret, or stay where the caret is now.
    void ChoosePlacement(bool stay);
    // The selected row's bytes marked in the hex view, or no mark.
    void MarkSelectedRow();
    void GoToSelectedRow();
    // While the pattern stays, the row of the member under a moved caret is selected.
    void FollowCaretInRows(bool rowsChanged);
    void ClearFieldMark();
    // The one place the mark joins or leaves the hex view's marks.
    void SetFieldMark(std::optional<MarkedRange> range);
    // The library's matches for the open file, once per file: the offer, the Open button's
    // menu and, when the setting says so, the best match applied.
    void MatchOpenFile();
    // Loads library pattern `index`; a match's offset keeps it there.
    void ApplyLibraryPattern(std::size_t index, std::optional<std::uint64_t> offset);
    void ToggleAutoApply();
    // The offer's texts and the Open button's menu, in the current language.
    void ShowOffer();
    // The rows at the caret, their bytes read on the worker.
    void Submit();
    [[nodiscard]] bool CommandsAllowed() const;

    AppContext& context_;
    SideWindowGroup& group_;
    StructViewWindow window_;
    // The loaded pattern, shared with the requests the worker has not finished.
    std::shared_ptr<const StructPatternFile> file_;
    std::u16string path_;       // last loaded or tried: reload takes it again
    std::u16string fileName_;   // its last component
    std::u16string error_;      // why it did not load; empty when it did
    bool endianChosen_ = false; // the value column's byte order replaces the pattern's
    StructPlacement placement_; // at the caret, or staying where the pattern's @anchor says
    // What the rows of a staying pattern were last asked for: the entry's offset and the
    // document's revision. Caret moves ask nothing new of it.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> stayingRequest_;
    // The document's state when the newest request was planned.
    std::pair<std::uint64_t, std::uint64_t> submittedState_;
    // Requests that read more than this wait kLargeReadSettle for a newer one.
    static constexpr std::uint64_t kReadAtOnce = 64u << 10;
    static constexpr std::chrono::milliseconds kLargeReadSettle{40};
    // Where the caret was when the rows last looked at it.
    std::optional<std::uint64_t> caretSeen_;
    SingleMark fieldMark_;                  // in the hex view's marks only while it marks something
    std::optional<PatternLibrary> library_; // scanned when first needed
    std::u16string matchedPath_;            // the file the offer is for
    std::vector<PatternMatch> matches_;
    PatternOffer offer_;
    bool appliedByMatch_ = false; // the pattern came from the offer: a new file may replace it
    // Last, so that it stops before the members above go; it holds nothing of this class.
    WindowWorker<StructRowsJob, std::vector<StructViewRow>> worker_{kMsgStructResult};
};

} // namespace orx
