#pragma once

#include "app/CompareReport.h"
#include "app/CompareSchedule.h"
#include "localization/StringLookup.h"
#include "app/win/WindowJob.h"
#include "compare/CompareEngine.h"
#include "compare/DifferenceMarks.h"
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "ui/WindowMessages.h"
#include "ui/win/BaseWindow.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace orx {

// "Orlin.CompareWindow": the document being edited (left) beside another file (right, read
// only), byte k against byte k. It is a top-level window owned by the main window, not a
// pane of it, so that it can be as wide as two rows of hex and be moved to another screen.
// Both panes scroll together and show the differing bytes in the theme's colour. F6 and
// Shift+F6 (here or in the main window) look for the next or previous difference from the
// caret on a worker, with progress in the status line and Escape to stop; a count of all
// differences runs in the background whenever nothing else does.
//
// The worker reads the edited document while the main window stays usable, so every input
// that could change that document (keys, menus, dropped files, a reload) stops the worker
// before it is dispatched; the count starts again once the input has been handled. What
// runs when is CompareSchedule's to decide; the window carries it out and shows it.
class CompareWindow final : public win::BaseWindow<CompareWindow> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.CompareWindow";
    static constexpr UINT kResumeRetryMilliseconds = 200;

    // `busy`: whether the main window is saving or searching (the worker waits for it).
    CompareWindow(EditableDocument& document, HexView& mainView, StringLookup text,
                  std::function<bool()> busy);
    ~CompareWindow();
    CompareWindow(const CompareWindow&) = delete;
    CompareWindow& operator=(const CompareWindow&) = delete;

    // Compares the document with the file at `path`, creating or reusing the window; false
    // when that file cannot be opened. A new window goes where it covers none of `group`
    // (the owner and its docked side windows), moving the owner if that makes room.
    [[nodiscard]] bool Open(HWND owner, HINSTANCE instance, const std::u16string& path,
                            const WindowGroup& group);
    void Close();
    [[nodiscard]] bool IsOpen() const { return window_ != nullptr; }

    // F6 (forward) or Shift+F6 from the caret of the compare window when it is active,
    // otherwise from the main view's caret.
    void Step(bool forward);
    void SetTheme(Theme theme);
    // Called for every message before it is dispatched: F6, Shift+F6 and Escape in this
    // window; stops the worker before input elsewhere. True: the message is handled.
    [[nodiscard]] bool PreTranslate(const MSG& message);

    // For the tests.
    [[nodiscard]] HexView& LeftPane() { return *left_; }
    [[nodiscard]] HexView& RightPane() { return *right_; }
    [[nodiscard]] const std::u16string& StatusLine() const { return status_; }
    // A job runs or its result has not been taken in yet.
    [[nodiscard]] bool Working() const { return schedule_.Busy() || job_.Running(); }
    [[nodiscard]] const std::optional<std::uint64_t>& Total() const { return schedule_.Total(); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    [[nodiscard]] bool Create(HWND owner, HINSTANCE instance, const WindowGroup& group);
    void Layout();
    void Paint();
    // Stops the worker and waits (at most one block); the schedule resumes once the message
    // queue gets here again.
    void Pause(bool edit);
    void Resume();
    void Start(const CompareTask& task);
    void OnNews();
    void ShowFound(const Difference& difference);
    // One pane scrolled: the other follows.
    void FollowScroll();
    void Refresh();
    [[nodiscard]] RECT StatusRect() const;

    EditableDocument& document_;
    HexView& mainView_;
    StringLookup text_;
    std::function<bool()> busy_;
    EditableDocument other_;
    DifferenceMarks marks_{document_, other_};
    // Made with the window: a pane's window and its device resources go together.
    std::unique_ptr<HexView> left_;
    std::unique_ptr<HexView> right_;
    CompareSchedule schedule_{marks_};
    std::pair<std::uint64_t, std::uint64_t> synced_; // the panes' top rows, last looked at
    std::u16string status_;
    HFONT font_ = nullptr; // the dialogs' message font: not owned
    Theme theme_ = Theme::Light;
    // Last: its thread stops before the documents and marks go.
    WindowJob<CompareResult> job_{kMsgCompareNews};
};

} // namespace orx
