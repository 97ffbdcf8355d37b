#pragma once

// What the main window asks of the world outside its own windows: modal boxes, the open
// dialog and new processes. The application uses the system's; the in-process tests
// answer them without a human and without starting processes.
#include "app/win/ModalDialog.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace orx {

// MessageBoxW: returns IDYES, IDNO, IDCANCEL, IDOK...
using MessageBoxFunction = std::function<int(HWND owner, const std::u16string& text,
                                             const std::u16string& caption, UINT type)>;
// The open-file dialog: the chosen path, or nothing when cancelled.
using ChooseFileFunction =
    std::function<std::optional<std::u16string>(HWND owner, const std::u16string& title)>;
// The save dialog: the path to write, or nothing when cancelled. `suggestedName` starts in
// the name box.
using ChooseSaveFileFunction = std::function<std::optional<std::u16string>(
    HWND owner, const std::u16string& title, const std::u16string& suggestedName)>;
// The open dialog for struct patterns (.orpat first, then all files), starting in
// `initialDirectory`: the chosen path, or nothing when cancelled.
using ChoosePatternFunction = std::function<std::optional<std::u16string>(
    HWND owner, const std::u16string& title, const std::u16string& initialDirectory)>;
// Starts `application` with `commandLine`; false when the process could not be created.
using LaunchFunction =
    std::function<bool(const std::u16string& application, const std::u16string& commandLine)>;
// Opens an address with the shell's "open" verb; failures are not reported.
using OpenLinkFunction = std::function<void(const std::u16string& address)>;

struct AppEnvironment {
    // Holds resources/strings; empty: the executable's directory.
    std::u16string baseDirectory;
    // Full path of the settings file; empty: computed as the application does.
    std::u16string settingsPath;
    MessageBoxFunction messageBox;
    ChooseFileFunction chooseFile;
    ChooseSaveFileFunction chooseSaveFile;
    ChoosePatternFunction choosePattern;
    LaunchFunction launch;
    OpenLinkFunction openLink;
    // Runs while a dialog of the application waits for input; the application has none.
    win::ModalIdleFunction modalIdle;
};

// The environment with every empty member filled by the system's implementation.
[[nodiscard]] AppEnvironment CompleteEnvironment(AppEnvironment environment);

} // namespace orx
