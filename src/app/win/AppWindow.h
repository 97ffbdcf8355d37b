#pragma once

#include "app/Placement.h"
#include "app/ProgressThrottle.h"
#include "app/win/AppEnvironment.h"
#include "app/win/CompareWindow.h"
#include "app/win/FileOnDiskWatch.h"
#include "app/win/FindAllSession.h"
#include "app/win/StartupState.h"
#include "app/win/WindowWorker.h"
#include "ui/WindowMessages.h"
#include "document/EditableDocument.h"
#include "ui/win/BaseWindow.h"
#include "hexview/win/HexView.h"
#include "inspector/InspectorRequest.h"
#include "inspector/win/DataInspectorWindow.h"
#include "ui/win/WinHandles.h"
#include "localization/StringTable.h"
#include "settings/AppSettings.h"
#include "structview/StructRows.h"
#include "structview/win/StructViewWindow.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orx {

struct Command;
enum class SearchDirection : std::uint32_t;
namespace win {
class SearchDialog;
}

// The application controller: owns the strings, the settings, the one document and the
// hex view, and runs the main window "Orlin.MainWindow" with its menu and status bar.
// Decisions come from the portable models; this class carries them out with Win32.
// Exactly one exists, on the entry point's stack; the window holds its address.
class AppWindow final : public win::BaseWindow<AppWindow> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.MainWindow";
    static constexpr int kIconResource = 101;
    static constexpr UINT_PTR kFlashTimerId = 1;
    static constexpr UINT kFlashMilliseconds = 900;
    // The least width of the main window when the editor fits its windows to a small
    // screen, at 96 DPI; the view scrolls sideways below the width of its columns.
    static constexpr int kMinimumFitWidth = 400;
    // Finishes the start-up when the view cannot paint its first rows.
    static constexpr UINT_PTR kStartupTimerId = 4; // 2 and 3 are FileOnDiskWatch's
    static constexpr UINT kStartupFallbackMilliseconds = 3000;

    explicit AppWindow(AppEnvironment environment = {});
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;
    AppWindow(AppWindow&&) = delete;
    AppWindow& operator=(AppWindow&&) = delete;

    // Loads settings and strings, registers the classes, creates the main window centred on
    // the work area (opening `startupPath` once it is up) and the accelerator table.
    [[nodiscard]] bool Create(HINSTANCE instance, std::optional<std::u16string> startupPath);

    // The accelerators of the main window, for the message loop.
    // Escape stops a running Find All wherever the keyboard focus is.
    [[nodiscard]] bool TranslateAccelerators(MSG& message);
    // What the compare window does with a message before it is dispatched (see there).
    [[nodiscard]] bool PreTranslate(const MSG& message) { return compare_.PreTranslate(message); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    [[nodiscard]] bool OpenFile(const std::u16string& path);
    [[nodiscard]] bool SaveFile();
    [[nodiscard]] bool ConfirmSaveChanges();
    [[nodiscard]] bool OpenInNewInstance(const std::u16string& path);
    // Dispatches queued messages of the thread without accelerators (long operations run
    // on the UI thread and keep the windows alive with this).
    static void PumpPendingMessages();

    // Read access for the tests.
    [[nodiscard]] HexView& View() { return hexView_; }
    [[nodiscard]] const EditableDocument& Document() const { return document_; }
    [[nodiscard]] const std::u16string& StatusText() const { return statusText_; }
    [[nodiscard]] bool FlashActive() const { return flashActive_; }
    [[nodiscard]] bool Busy() const { return busy_; }
    [[nodiscard]] const StructViewWindow& StructView() const { return structView_; }
    [[nodiscard]] const DataInspectorWindow& Inspector() const { return inspector_; }
    [[nodiscard]] const StartupTrace& Startup() const { return startup_.trace; }
    [[nodiscard]] const FindAllSession& FindAll() const { return findAll_; }
    [[nodiscard]] CompareWindow& Compare() { return compare_; }

private:
    void CreateChildren();
    void CreateStatusBar();
    // Where the main window goes at start-up: centred, then fitted with the side windows
    // that are on into the work area, so that it does not move when they appear.
    [[nodiscard]] ScreenRect InitialFrame() const;
    // The first rows are on screen (or the view could not paint): what they did not need
    // comes now, the side windows first.
    void FinishStartup();
    void LayoutChildren();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    void RunCommand(const Command& command);
    void OnDropFiles(HDROP drop);
    void OnDpiChanged(WPARAM wParam, const RECT& suggested);
    void OnDestroy();
    void CloseFile();
    void ChooseAndOpenFile();
    void ToggleReadOnly();
    void SetEncoding(TextEncoding encoding);
    void SetTheme(Theme theme);
    void SetLanguage(UiLanguage language);
    // The data inspector's or the struct view's visibility flag.
    void SetSideWindowVisible(bool AppSettings::*flag, bool visible);

    // The struct view (AppStructView.cpp).
    void SetStructViewVisible(bool visible);
    void EnsureStructViewWindow();
    void RefreshStructViewTexts();
    void RefreshStructView();
    // True when the view is on, has its window and a pattern; without a pattern it shows
    // the empty message instead.
    [[nodiscard]] bool StructViewReadyForRows();
    void RequestStructViewUpdate();
    [[nodiscard]] StructViewTexts StructTexts();
    // A request for the rows at the caret, with the bytes read there.
    [[nodiscard]] StructRowsInput StructRequest();
    void OnStructResult(LPARAM lParam);
    [[nodiscard]] bool LoadPatternIntoView(const std::u16string& path);
    void OpenPatternDialog();
    void ClosePattern();
    void ReloadPattern();
    void ChooseStructValueFormat(WPARAM choice);
    // Loading, reloading and closing a pattern wait while a dialog, a save or a search runs.
    [[nodiscard]] bool PatternCommandsAllowed() const;
    void UpdatePatternCommands();
    // The docked side windows and their workers (AppSideWindows.cpp).
    void StartWorkers();
    void SetWorkerTargets();
    void SetInspectorVisible(bool visible);
    void EnsureInspectorWindow();
    // Docking follows the main window; placing fits the group into the work area too.
    void PositionSideWindows();
    void PlaceWindowGroup();
    void DockSideWindowGroup(bool fit);
    [[nodiscard]] SideWindowSpan StructViewSpan() const;
    [[nodiscard]] SideWindowSpan InspectorSpan() const;
    [[nodiscard]] WindowGroup DockedWindowGroup() const;
    // The maximised frame leaves room for the side windows that are on.
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    void OnSize(WPARAM kind);
    void RequestSideWindowUpdates();
    void RequestInspectorUpdate();
    void OnInspectorResult(LPARAM lParam);
    void ApplySideWindowTheme();
    void RefreshSideWindowTexts();
    void StopSideWindows();
    void UpdateSaveProgress(std::uint64_t done, std::uint64_t total);
    void StampAndSaveSettings();
    // Saving and searching: menus greyed, the hex view disabled, closing refused. Leaving it
    // hands the keyboard back to the view.
    void SetBusy(bool busy);
    // The throttled percentage of a save or a search in the status bar, shown at once.
    void ShowProgress(ProgressThrottle& throttle, std::u16string& text, std::string_view key,
                      std::uint64_t done, std::uint64_t total);

    // Find, Go to, Font, About and Checksums (AppSearch.cpp, AppDialogs.cpp).
    void FindNext();
    // `dialog` is null for F3 / Shift+F3, which repeat the last query.
    void RunSearch(const SearchDialogResult& request, SearchDirection direction,
                   win::SearchDialog* dialog, TextEncoding encoding);
    void RepeatSearch(SearchDirection direction);
    [[nodiscard]] bool StartFindAll(const SearchDialogResult& request, TextEncoding encoding,
                                    HWND dialog);
    [[nodiscard]] std::optional<SearchPattern> AcceptQuery(const SearchDialogResult& request,
                                                           TextEncoding encoding, HWND owner);
    void UpdateSearchProgress(std::uint64_t done, std::uint64_t total);
    void GoTo();
    void ShowFontDialog();
    void ShowAboutDialog();
    // The checksums of the selection, or of the whole document without one (ChecksumDialog).
    void ShowChecksumDialog();
    [[nodiscard]] win::DialogHost Host() const;

    void RebuildMenu();
    void RefreshStatus();
    void UpdateTitle();
    void SetStatusBarTheme();
    void DrawStatusBar(const DRAWITEMSTRUCT& item) const;
    void FlashMessage(std::string_view key);
    void ShowError(const std::u16string& text);
    [[nodiscard]] std::u16string Text(std::string_view key);

    AppEnvironment environment_;
    HINSTANCE instance_ = nullptr;
    HWND statusBar_ = nullptr;
    win::AcceleratorHandle accelerators_;
    win::MenuHandle menuBar_;
    std::u16string statusText_;
    bool flashActive_ = false;
    bool minimized_ = false; // restoring places the windows again
    StartupState startup_;
    std::u16string flashText_;
    FileOnDiskWatch fileOnDisk_; // what other programs do to the open file
    bool saving_ = false;
    bool busy_ = false;
    std::u16string saveProgressText_;
    ProgressThrottle saveThrottle_;
    bool searching_ = false;
    std::u16string searchProgressText_;
    ProgressThrottle searchThrottle_;
    StringTable strings_;
    AppSettings settings_;
    EditableDocument document_;
    HexView hexView_;
    std::optional<std::u16string> startupPath_;
    std::u16string settingsPath_;
    DataInspectorWindow inspector_;
    StructViewWindow structView_;
    // The loaded pattern, shared with the requests the worker has not finished.
    std::shared_ptr<const StructPatternFile> patternFile_;
    std::u16string patternPath_;     // last loaded or tried: reload takes it again
    std::u16string patternFileName_; // its last component
    std::u16string patternError_;    // why it did not load; empty when it did
    // Before the workers below, after the document and the view it reads and marks.
    FindAllSession findAll_;
    CompareWindow compare_{document_, hexView_, [this](std::string_view key) { return Text(key); },
                           [this] { return busy_; }};
    // Last, so that they stop before anything else goes; they hold nothing of this class.
    WindowWorker<InspectorRequest, InspectorValues> inspectorWorker_{kMsgInspectorResult};
    WindowWorker<StructRowsInput, std::vector<StructViewRow>> structWorker_{kMsgStructResult};
};

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop(AppWindow& app);

} // namespace orx
