#include "app/win/AppEnvironment.h"

#include "platform/win32/WinString.h"
#include "settings/SettingsLocation.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <array>

namespace orx {
namespace {

int SystemMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                     UINT type)
{
    return MessageBoxW(owner, win::W(text), win::W(caption), type);
}

// The system's open or save dialog: the chosen path, or nothing when cancelled.
std::optional<std::u16string> RunFileDialog(OPENFILENAMEW dialog, const std::u16string& title,
                                            const std::u16string& initialName, bool save)
{
    std::array<wchar_t, MAX_PATH> path{};
    std::copy_n(win::W(initialName), std::min(initialName.size(), path.size() - 1), path.data());
    dialog.lStructSize = sizeof(dialog);
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = win::W(title);
    dialog.Flags |= OFN_EXPLORER | OFN_PATHMUSTEXIST;
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) {
        return std::nullopt;
    }
    return win::FromW(path.data());
}

std::optional<std::u16string> SystemChooseFile(HWND owner, const std::u16string& title)
{
    OPENFILENAMEW dialog{};
    dialog.hwndOwner = owner;
    dialog.Flags = OFN_FILEMUSTEXIST;
    return RunFileDialog(dialog, title, {}, false);
}

std::optional<std::u16string> SystemChooseSaveFile(HWND owner, const std::u16string& title,
                                                   const std::u16string& suggestedName)
{
    OPENFILENAMEW dialog{};
    dialog.hwndOwner = owner;
    dialog.Flags = OFN_OVERWRITEPROMPT;
    return RunFileDialog(dialog, title, suggestedName, true);
}

std::optional<std::u16string> SystemChoosePattern(HWND owner, const std::u16string& title,
                                                  const std::u16string& initialDirectory)
{
    // Pairs of description and pattern, ended by an empty pair.
    static constexpr wchar_t kFilter[] = L"Orlin Struct Pattern (*.orpat)\0*.orpat\0"
                                         L"All Files (*.*)\0*.*\0";
    OPENFILENAMEW dialog{};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrInitialDir = win::W(initialDirectory);
    dialog.Flags = OFN_FILEMUSTEXIST;
    return RunFileDialog(dialog, title, {}, false);
}

bool SystemLaunch(const std::u16string& application, const std::u16string& commandLine)
{
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring writable = win::ToW(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(win::W(application), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void SystemOpenLink(const std::u16string& address)
{
    ShellExecuteW(nullptr, L"open", win::W(address), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

AppEnvironment CompleteEnvironment(AppEnvironment environment)
{
    if (environment.baseDirectory.empty()) {
        environment.baseDirectory = ExecutableDirectory();
    }
    if (environment.settingsPath.empty()) {
        environment.settingsPath = ComputeSettingsPath();
    }
    if (!environment.messageBox) {
        environment.messageBox = SystemMessageBox;
    }
    if (!environment.chooseFile) {
        environment.chooseFile = SystemChooseFile;
    }
    if (!environment.chooseSaveFile) {
        environment.chooseSaveFile = SystemChooseSaveFile;
    }
    if (!environment.choosePattern) {
        environment.choosePattern = SystemChoosePattern;
    }
    if (!environment.launch) {
        environment.launch = SystemLaunch;
    }
    if (!environment.openLink) {
        environment.openLink = SystemOpenLink;
    }
    return environment;
}

} // namespace orx
