#pragma once

#include "app/AppChanges.h"
#include "app/win/AppContext.h"
#include "app/win/AppEnvironment.h"
#include "app/win/BookmarksController.h"
#include "app/win/BusyTask.h"
#include "app/win/CompareWindow.h"
#include "app/win/DialogCommands.h"
#include "app/win/FileCommands.h"
#include "app/win/InspectorController.h"
#include "app/win/SearchController.h"
#include "app/win/SideWindowGroup.h"
#include "app/win/StartupState.h"
#include "app/win/StatusBar.h"
#include "app/win/StructViewController.h"
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "localization/StringTable.h"
#include "settings/AppSettings.h"
#include "ui/win/BaseWindow.h"
#include "ui/win/WinHandles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace orx {

struct Command;

// The application's wiring point: owns the strings, the settings, the one document and its
// hex view, runs the main window "Orlin.MainWindow" with its menu, and connects the
// controllers, each of which owns one concern (files, search, dialogs, the side windows,
// the status bar, the busy state). Controllers mark what they changed (AppEvents); once per
// dispatched message this class brings the title, the status bar, the menu and the side
// windows up to date. Exactly one exists, on the entry point's stack.
class AppWindow final : public win::BaseWindow<AppWindow>, private AppEvents {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.MainWindow";
    static constexpr int kIconResource = 101;
    // Finishes the start-up (kTimerStartupFinish) when the view cannot paint its first rows.
    static constexpr UINT kStartupFallbackMilliseconds = 3000;

    explicit AppWindow(AppEnvironment environment = {});
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    // Loads settings and strings, registers the classes, creates the main window centred on
    // the work area (opening `startupPath` once it is up) and the accelerator table.
    [[nodiscard]] bool Create(HINSTANCE instance, std::optional<std::u16string> startupPath);
    // The accelerators of the main window, for the message loop. Escape stops a running
    // Find All wherever the keyboard focus is.
    [[nodiscard]] bool TranslateAccelerators(MSG& message);
    // What the compare window does with a message before it is dispatched (see there).
    [[nodiscard]] bool PreTranslate(const MSG& message) { return compare_.PreTranslate(message); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Read access for the tests.
    [[nodiscard]] HexView& View() { return hexView_; }
    [[nodiscard]] const EditableDocument& Document() const { return document_; }
    [[nodiscard]] const std::u16string& StatusText() const { return statusBar_.Text(); }
    [[nodiscard]] bool FlashActive() const { return statusBar_.FlashActive(); }
    [[nodiscard]] bool Busy() const override { return busy_.Active(); }
    [[nodiscard]] const StructViewWindow& StructView() const { return structView_.Window(); }
    [[nodiscard]] const DataInspectorWindow& Inspector() const { return inspector_.Window(); }
    [[nodiscard]] const StartupTrace& Startup() const { return startup_.trace; }
    [[nodiscard]] const FindAllSession& FindAll() const { return search_.FindAll(); }
    [[nodiscard]] CompareWindow& Compare() { return compare_; }
    [[nodiscard]] const BookmarksController& Bookmarks() const { return bookmarks_; }

private:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    // The first rows are on screen (or the view could not paint): what they did not need
    // comes now, the side windows first.
    void FinishStartup();
    void LayoutChildren();
    void RunCommand(const Command& command);
    void ApplyViewSetting(const Command& command);
    // Edit > Copy As: the selection in `format` on the clipboard.
    void CopySelectionAs(CopyFormat format);
    void OnDestroy();

    // The change notification: what changed since the last flush is brought up to date on
    // every surface that shows it.
    void Flush();
    void RebuildMenu();
    void RefreshStatus();
    void UpdateTitle();

    // AppEvents.
    void Changed(Change what) override;
    void RefreshNow() override;
    void Flash(std::string_view key) override;
    void ShowError(const std::u16string& text) override;
    void SettingsChanged() override;
    void LayoutChanged() override { LayoutChildren(); }
    [[nodiscard]] bool DocumentInUse() const override;

    AppEnvironment environment_;
    StartupState startup_;
    StringTable strings_;
    AppSettings settings_;
    EditableDocument document_;
    HexView hexView_;
    AppContext context_{.environment = environment_,
                        .strings = strings_,
                        .settings = settings_,
                        .document = document_,
                        .view = hexView_,
                        .startup = startup_,
                        .events = *this};
    std::optional<std::u16string> startupPath_;
    win::AcceleratorHandle accelerators_;
    win::MenuHandle menuBar_;
    PendingChanges changes_;
    StatusBar statusBar_;
    BusyIndicator busy_{context_};
    FileCommands files_{context_, busy_};
    DialogCommands dialogs_{context_};
    // Before the workers below, after the document and the view it reads and marks.
    SearchController search_{context_, busy_};
    BookmarksController bookmarks_{context_};
    CompareWindow compare_{document_, hexView_, context_.Lookup(), [this] { return Busy(); }};
    SideWindowGroup sideWindows_{structView_, inspector_, startup_};
    // Last, so that their workers stop before anything else goes.
    InspectorController inspector_{context_, sideWindows_};
    StructViewController structView_{context_, sideWindows_};
};

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop(AppWindow& app);

} // namespace orx
