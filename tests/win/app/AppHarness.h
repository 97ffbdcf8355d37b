#pragma once

// Runs the real main window in-process: a temp settings file, the source tree's string
// files, message boxes answered from a script, new instances recorded instead of started.
// Tests drive it with the messages a user's input produces.
#include "app/win/AppWindow.h"
#include "ui/win/WinHandles.h"
#include "platform/Utf.h"
#include "platform/win32/WinString.h"
#include "support/SourceDirectory.h"
#include "support/TempDir.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orx::test {

struct ShownBox {
    std::u16string text;
    std::u16string caption;
    UINT type = 0;
    HWND owner = nullptr;
};

struct Launch {
    std::u16string application;
    std::u16string commandLine;
};

// English, a theme that differs from the default, so that what is applied is visible.
inline constexpr std::string_view kEnglishSettings =
    "{\r\n  \"appVersion\": \"v1.03\",\r\n  \"theme\": \"Black\",\r\n  \"language\": "
    "\"English\"\r\n}\r\n";

class AppHarness {
public:
    explicit AppHarness(std::string_view settingsText = kEnglishSettings)
        : app_(MakeEnvironment(settingsText))
    {}

    ~AppHarness()
    {
        if (app_.Window() != nullptr) {
            DestroyWindow(app_.Window());
        }
        // The destroyed window posted its quit message; it must not end the next test's pump.
        MSG message{};
        while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;

    [[nodiscard]] bool Start(std::optional<std::u16string> startupPath = std::nullopt)
    {
        const bool created = app_.Create(GetModuleHandleW(nullptr), std::move(startupPath));
        Pump();
        return created;
    }

    AppWindow& App() { return app_; }
    HWND Main() const { return app_.Window(); }
    HWND View() { return app_.View().Window(); }
    const HexViewModel& Model() { return app_.View().Model(); }
    TempDir& Dir() { return dir_; }
    const std::u16string& SettingsPath() const { return settingsPath_; }

    // Dispatches everything queued, accelerators included, as the message loop does. On a
    // loaded machine a timer can come due again before the paint it caused is done, so after
    // a while timers are left alone: only what was posted, sent, typed or is to be painted
    // is waited for.
    void Pump()
    {
        const ULONGLONG settle = GetTickCount64() + 250;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            if (app_.PreTranslate(message) || app_.TranslateAccelerators(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
            if (GetTickCount64() > settle && HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_SENDMESSAGE |
                                                                   QS_INPUT | QS_PAINT)) == 0) {
                return;
            }
        }
    }

    // Pumps until `done` holds; false after `milliseconds` (workers run on their own threads).
    template <typename Predicate>
    bool PumpUntil(Predicate done, DWORD milliseconds = 5000)
    {
        const ULONGLONG end = GetTickCount64() + milliseconds;
        while (!done()) {
            if (GetTickCount64() > end) {
                return false;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Pump();
        }
        return true;
    }

    // Keeps pumping for `milliseconds` (timers fire meanwhile).
    void PumpFor(DWORD milliseconds)
    {
        const ULONGLONG end = GetTickCount64() + milliseconds;
        while (GetTickCount64() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            Pump();
        }
    }

    // A key press as the keyboard delivers it: through the queue, so that accelerators
    // see it, with Ctrl held in the thread's keyboard state while it is handled.
    void Key(UINT virtualKey, bool ctrl = false)
    {
        SetCtrl(ctrl);
        PostMessageW(KeyboardTarget(), WM_KEYDOWN, virtualKey, 1);
        Pump();
        SetCtrl(false);
    }

    void Type(std::u16string_view characters)
    {
        for (char16_t character : characters) {
            PostMessageW(KeyboardTarget(), WM_CHAR, character, 1);
        }
        Pump();
    }

    void Command(UINT id)
    {
        SendMessageW(Main(), WM_COMMAND, id, 0);
        Pump();
    }

    // Client-pixel centre of a byte's hex cell (or text cell); the byte must be on screen.
    POINT CellCenter(std::uint64_t offset, bool textColumn = false)
    {
        const auto center = Model().CellCenterPixels(offset, textColumn);
        return center ? POINT{center->first, center->second} : POINT{-1, -1};
    }

    void MouseDown(POINT point) { SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, point); }
    void MouseMove(POINT point) { SendMouse(WM_MOUSEMOVE, MK_LBUTTON, point); }
    void MouseUp(POINT point) { SendMouse(WM_LBUTTONUP, 0, point); }

    void Wheel(int distance, bool ctrl)
    {
        SendMessageW(View(), WM_MOUSEWHEEL, MAKEWPARAM(ctrl ? MK_CONTROL : 0, distance),
                     MAKELPARAM(10, 10));
        Pump();
    }

    // A shell drop of `paths` on the main window.
    void Drop(const std::vector<std::u16string>& paths)
    {
        std::u16string list;
        for (const auto& path : paths) {
            list += path;
            list.push_back(u'\0');
        }
        list.push_back(u'\0');
        const std::size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(char16_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(),
                    list.size() * sizeof(char16_t));
        GlobalUnlock(memory);
        SendMessageW(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory),
                     0); // DragFinish frees it
        Pump();
    }

    std::u16string Title() const
    {
        wchar_t buffer[512] = {};
        GetWindowTextW(Main(), buffer, 512);
        return win::FromW(buffer);
    }

    const std::u16string& Status() { return app_.StatusText(); }

    // MF_CHECKED / MF_GRAYED of a command anywhere in the menu bar; nothing when absent.
    std::optional<UINT> MenuState(UINT id) const
    {
        const UINT state = GetMenuState(GetMenu(Main()), id, MF_BYCOMMAND);
        if (state == static_cast<UINT>(-1)) {
            return std::nullopt;
        }
        return state;
    }
    bool MenuChecked(UINT id) const { return MenuState(id).value_or(0) & MF_CHECKED; }
    bool MenuGrayed(UINT id) const { return MenuState(id).value_or(0) & MF_GRAYED; }

    std::u16string MenuLabel(UINT id) const
    {
        wchar_t buffer[512] = {};
        GetMenuStringW(GetMenu(Main()), id, buffer, 512, MF_BYCOMMAND);
        return win::FromW(buffer);
    }

    static std::optional<std::u16string> Clipboard()
    {
        win::ClipboardScope clipboard(nullptr);
        if (!clipboard.IsOpen()) {
            return std::nullopt;
        }
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (data == nullptr) {
            return std::nullopt;
        }
        const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
        std::u16string result = text != nullptr ? win::FromW(text) : std::u16string();
        GlobalUnlock(data);
        return result;
    }

    static void ClearClipboard()
    {
        win::ClipboardScope clipboard(nullptr);
        if (clipboard.IsOpen()) {
            EmptyClipboard();
        }
    }

    // A file of `size` bytes starting with "AB" that takes long to read: its holes read as
    // zeros without touching the disk.
    std::u16string SparseFile(std::uint64_t size)
    {
        const std::u16string path = dir_.Write(u"sparse.bin", std::string_view("AB"));
        HANDLE file = CreateFileW(win::ToW(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
        return path;
    }

    std::string SettingsFileText() const
    {
        const auto bytes = ReadAll(settingsPath_);
        return std::string(bytes.begin(), bytes.end());
    }

    // Message boxes: each answer is used once, in order; IDCANCEL once they run out.
    std::deque<int> answers;
    std::vector<ShownBox> boxes;
    std::optional<std::u16string> chosenFile;
    std::optional<std::u16string> chosenSaveFile;
    // The pattern the open-pattern dialog returns, and the folder each dialog started in.
    std::optional<std::u16string> chosenPattern;
    std::vector<std::u16string> patternDialogFolders;
    // Runs inside the open-pattern dialog, while it would be modal.
    std::function<void()> duringPatternDialog;
    std::vector<Launch> launches;
    bool launchSucceeds = true;
    // Runs inside each message box, while the box would be modal.
    std::function<void()> duringBox;
    std::vector<std::u16string> openedLinks;
    // What the user does in a dialog: each step runs once the dialog's queue is empty (the
    // previous step handled), with the dialog's window. Once they run out the dialog is
    // closed, so that a test cannot hang in it.
    std::deque<std::function<void(HWND dialog)>> dialogSteps;

private:
    AppEnvironment MakeEnvironment(std::string_view settingsText)
    {
        settingsPath_ = dir_.Write(u"orlin.settings.json", settingsText);
        AppEnvironment environment;
        environment.baseDirectory = SourceDirectory();
        environment.settingsPath = settingsPath_;
        environment.messageBox = [this](HWND owner, const std::u16string& text,
                                        const std::u16string& caption, UINT type) {
            boxes.push_back({text, caption, type, owner});
            if (duringBox) {
                duringBox();
            }
            if (answers.empty()) {
                return IDCANCEL;
            }
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        };
        environment.chooseFile = [this](HWND, const std::u16string&) { return chosenFile; };
        environment.chooseSaveFile = [this](HWND, const std::u16string&, const std::u16string&) {
            return chosenSaveFile;
        };
        environment.choosePattern = [this](HWND, const std::u16string&,
                                           const std::u16string& folder) {
            patternDialogFolders.push_back(folder);
            if (duringPatternDialog) {
                duringPatternDialog();
            }
            return chosenPattern;
        };
        environment.launch = [this](const std::u16string& application,
                                    const std::u16string& commandLine) {
            launches.push_back({application, commandLine});
            return launchSucceeds;
        };
        environment.openLink = [this](const std::u16string& link) { openedLinks.push_back(link); };
        environment.modalIdle = [this](HWND dialog) {
            if (dialogSteps.empty()) {
                PostMessageW(dialog, WM_CLOSE, 0, 0);
                return;
            }
            const auto step = std::move(dialogSteps.front());
            dialogSteps.pop_front();
            step(dialog);
            PostMessageW(dialog, WM_NULL, 0, 0); // the loop comes round for the next step
        };
        return environment;
    }

    // Where the keyboard sends keys: the focus window, or the main window when nothing has
    // the focus (which then ignores typed characters).
    HWND KeyboardTarget() const { return GetFocus() != nullptr ? GetFocus() : Main(); }

    void SendMouse(UINT message, WPARAM keys, POINT point)
    {
        SendMessageW(View(), message, keys, MAKELPARAM(point.x, point.y));
        Pump();
    }

    static void SetCtrl(bool down)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        keys[VK_LCONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    TempDir dir_;
    std::u16string settingsPath_;
    AppWindow app_;
};

} // namespace orx::test
