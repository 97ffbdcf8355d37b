#pragma once

#include "app/Placement.h"
#include "app/win/StartupState.h"
#include "ui/Theme.h"

#include <windows.h>

namespace orx {

// A window docked beside the main window (the struct view on the left, the data inspector
// on the right), as the group that docks them sees it.
class SideWindow {
public:
    // Whether it takes room beside the main window, its width and its least width.
    [[nodiscard]] virtual SideWindowSpan Span() const = 0;
    virtual void Dock(const RECT& frame, bool visible) = 0;
    // Creates its window when it is on (once the first rows are on screen).
    virtual void ShowIfOn() = 0;
    // What it shows at the caret is computed anew.
    virtual void RequestUpdate() = 0;
    virtual void SetTheme(Theme theme) = 0;
    virtual void RefreshTexts() = 0;
    // The main window was enabled or disabled, or became busy or idle.
    virtual void UpdateCommands() = 0;
    // The window goes, then its worker; nothing shows a result of a worker that is ending.
    virtual void Stop() = 0;

protected:
    ~SideWindow() = default;
};

// The two side windows docked beside the main window: following it when the user moves or
// resizes it, fitted into the work area when the editor places them, leaving room for them
// when the main window is maximised, hidden with it when it is minimised; and what concerns
// both of them (theme, texts, updates) handed to each.
class SideWindowGroup {
public:
    // The least width of the main window when the editor fits its windows to a small
    // screen, at 96 DPI; the view scrolls sideways below the width of its columns.
    static constexpr int kMinimumFitWidth = 400;

    SideWindowGroup(SideWindow& left, SideWindow& right, const StartupState& startup)
        : left_(left), right_(right), startup_(startup)
    {}
    void SetMainWindow(HWND window) { main_ = window; }
    // Side windows are made once the main window's first rows are on screen.
    [[nodiscard]] bool MayCreate() const { return main_ != nullptr && startup_.finished; }

    // Where the main window goes at start-up: `centred`, fitted with the side windows that
    // are on into the work area, so that it does not move when they appear.
    [[nodiscard]] ScreenRect InitialFrame(const ScreenRect& workArea,
                                          const ScreenRect& centred) const;
    // Docking follows the main window; placing fits the group into the work area too.
    void Follow() { Dock(false); }
    void Place() { Dock(true); }
    // The main window and the side windows as they are docked now.
    [[nodiscard]] WindowGroup Docked() const;
    // WM_GETMINMAXINFO: the maximised frame leaves room for the side windows that are on.
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    // WM_SIZE after the children are laid out: restoring places the windows again.
    void OnSize(WPARAM kind);

    void ShowIfOn();
    void RequestUpdates();
    void SetTheme(Theme theme);
    void RefreshTexts();
    void UpdateCommands();
    void Stop();

private:
    void Dock(bool fit);

    SideWindow& left_;
    SideWindow& right_;
    const StartupState& startup_;
    HWND main_ = nullptr;
    bool minimized_ = false;
};

} // namespace orx

namespace orx {

struct AppContext;
struct AppSettings;

// Stores a side window's visibility (the menu's check mark follows); the caller creates or
// destroys the window. Showing a side window that is already on (at start-up) changes
// nothing.
void StoreSideWindowVisible(AppContext& context, bool AppSettings::*flag, bool visible);

} // namespace orx
