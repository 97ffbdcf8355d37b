#pragma once

#include "app/AppChanges.h"
#include "app/win/AppEnvironment.h"
#include "app/win/ModalDialog.h"
#include "localization/StringLookup.h"
#include "app/win/StartupState.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace orx {

class EditableDocument;
class HexView;
class StringTable;
struct AppSettings;

// What the controllers of the main window tell it. They never refresh a surface
// themselves: they mark what changed, and the main window brings the title, the status
// bar, the menu and the side windows up to date once the message they ran for is done.
class AppEvents {
public:
    virtual void Changed(Change what) = 0;
    // Brings everything up to date now and paints the status bar: a long job on the UI
    // thread shows its progress this way.
    virtual void RefreshNow() = 0;
    // A short text in the status bar, with a beep.
    virtual void Flash(std::string_view key) = 0;
    virtual void ShowError(const std::u16string& text) = 0;
    // The settings changed: they are written (once the first rows are on screen).
    virtual void SettingsChanged() = 0;
    // A panel under the view came or went.
    virtual void LayoutChanged() = 0;
    // Saving or searching: the view is disabled and the commands greyed until it ends.
    [[nodiscard]] virtual bool Busy() const = 0;
    // Busy, or Find All reading the document beside the window: nothing may replace it.
    [[nodiscard]] virtual bool DocumentInUse() const = 0;

protected:
    ~AppEvents() = default;
};

// What every controller of the main window shares: the main window, the one document and
// its view, the strings, the settings and the world outside (dialogs, processes).
struct AppContext {
    HWND window = nullptr; // set once the main window exists
    HINSTANCE instance = nullptr;
    AppEnvironment& environment;
    StringTable& strings;
    AppSettings& settings;
    EditableDocument& document;
    HexView& view;
    StartupState& startup;
    AppEvents& events;

    [[nodiscard]] std::u16string Text(std::string_view key) const;
    [[nodiscard]] win::DialogHost Host() const { return {window, instance, environment.modalIdle}; }
    [[nodiscard]] StringLookup Lookup() const
    {
        return [this](std::string_view key) { return Text(key); };
    }
};

} // namespace orx
