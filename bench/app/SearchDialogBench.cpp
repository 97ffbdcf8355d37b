// Times the editor's own search as a user runs it: the Find dialog of a real main window,
// RunSearch with its progress display and message pumping, driven in-process under Wine.
//  scan:   a forward search for an absent 16-byte pattern over FILE (1 GiB, made by the
//          script), from Next to the not-found answer.
//  cancel: the delay from an Escape key press (injected with SendInput, as a keyboard would)
//          to the search having stopped, on a 100 GiB sparse file: the median of 10.
//  findall: Find All of "4D 5A" over FILE from the dialog's button: when the first hit is
//          in the list, and when all of them are, while the window keeps pumping.
//
// Usage: orx_search_dialog_bench.exe (scan|cancel|findall) FILE WORK_DIRECTORY SOURCE_DIRECTORY
#include "app/CommandIds.h"
#include "app/win/AppWindow.h"
#include "ui/win/MessagePump.h"
#include "platform/win32/WinString.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kAbsentPattern[] = L"01 C3 A9 7E 11 22 33 44 55 66 77 88 99 AA BB CC";
constexpr wchar_t kFindAllPattern[] = L"4D 5A";
constexpr int kCancelRuns = 10;
constexpr UINT kEscapeAfterMs = 300;

double Milliseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool CreateSparseFile(const std::wstring& path, std::uint64_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return sized;
}

// What the dialog is asked to do, one search per idle turn of its loop.
struct Driver {
    int searchesLeft = 0;
    bool cancelling = false;
    bool findAll = false;
    bool searching = false;
    double started = 0.0; // Enter (throughput) or Escape (cancel) sent
    std::vector<double> times;
    int boxes = 0;
};
Driver g_driver;

void PressEscape()
{
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    g_driver.started = Milliseconds();
    SendInput(2, keys, sizeof(INPUT));
}

void CALLBACK EscapeTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    PressEscape();
}

void OnDialogIdle(HWND dialog)
{
    Driver& d = g_driver;
    if (d.searching) {
        d.times.push_back(Milliseconds() - d.started);
        d.searching = false;
    }
    if (d.searchesLeft == 0) {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        return;
    }
    --d.searchesLeft;
    if (d.findAll) { // the dialog hands the query over and closes
        SetDlgItemTextW(dialog, 3104, kFindAllPattern);
        d.started = Milliseconds();
        PostMessageW(dialog, WM_COMMAND, 3107, 0);
        return;
    }
    SetDlgItemTextW(dialog, 3104, kAbsentPattern);
    d.searching = true;
    d.started = Milliseconds();
    SetForegroundWindow(dialog);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0); // Next, as Enter gives it
    if (d.cancelling) {
        SetTimer(nullptr, 0, kEscapeAfterMs, EscapeTimer);
    }
}

std::vector<double> RunSearches(orx::AppWindow& app, int count, bool cancel)
{
    g_driver = Driver{};
    g_driver.searchesLeft = count;
    g_driver.cancelling = cancel;
    SendMessageW(app.Window(), WM_COMMAND, orx::cmd::kFind, 0);
    return g_driver.times;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1.0 : values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool cancel = argc == 5 && std::wstring(argv[1]) == L"cancel";
    const bool findAll = argc == 5 && std::wstring(argv[1]) == L"findall";
    if (argc != 5 || (!cancel && !findAll && std::wstring(argv[1]) != L"scan")) {
        std::fprintf(stderr, "usage: orx_search_dialog_bench (scan|cancel|findall) FILE "
                             "WORK_DIRECTORY SOURCE_DIRECTORY\n");
        return 64;
    }
    const std::wstring work = argv[3];
    const std::wstring sparse = work + L"\\sparse-100GiB.bin";
    if (cancel && !CreateSparseFile(sparse, 100ull << 30)) {
        std::fprintf(stderr, "cannot create %ls\n", sparse.c_str());
        return 1;
    }
    const std::wstring file = cancel ? sparse : std::wstring(argv[2]);
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    orx::AppEnvironment environment;
    environment.baseDirectory = orx::win::FromW(argv[4]);
    environment.settingsPath = orx::win::FromW((work + L"\\orlin.settings.json").c_str());
    environment.messageBox = [](HWND, const std::u16string&, const std::u16string&, UINT) {
        ++g_driver.boxes;
        return IDOK;
    };
    environment.modalIdle = OnDialogIdle;
    orx::AppWindow app(std::move(environment));
    if (!app.Create(GetModuleHandleW(nullptr), orx::win::FromW(file.c_str())) ||
        !app.Document().IsOpen()) {
        std::fprintf(stderr, "cannot open %ls\n", file.c_str());
        return 1;
    }

    // A user searches in a window that is on the screen already: its first paint (slow under
    // Wine, which sets up Direct2D then) must not fall into the timed search.
    RedrawWindow(app.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double settled = Milliseconds() + 1000.0;
    while (Milliseconds() < settled) {
        orx::win::PumpPendingMessages();
        Sleep(10);
    }
    if (findAll) {
        g_driver = Driver{};
        g_driver.searchesLeft = 1;
        g_driver.findAll = true;
        SendMessageW(app.Window(), WM_COMMAND, orx::cmd::kFind, 0);
        double firstHit = -1.0;
        while (app.FindAll().Running()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            orx::win::PumpPendingMessages();
            if (firstHit < 0.0 && app.FindAll().Hits().Count() > 0) {
                firstHit = Milliseconds() - g_driver.started;
            }
        }
        const double all = Milliseconds() - g_driver.started;
        std::printf("find all, first hit listed: %.1f ms\n", firstHit);
        std::printf("find all, %llu hits listed: %.1f ms\n",
                    static_cast<unsigned long long>(app.FindAll().Hits().Count()), all);
        return 0;
    }
    if (!cancel) {
        const std::vector<double> scans = RunSearches(app, 1, false);
        if (g_driver.boxes != 1 || scans.size() != 1) {
            std::fprintf(stderr, "the search did not end with its not-found answer\n");
            return 1;
        }
        std::printf("dialog search, 1 GiB, absent 16-byte pattern: %.1f ms\n", scans.front());
        return 0;
    }
    const std::vector<double> latencies = RunSearches(app, kCancelRuns, true);
    if (g_driver.boxes != 0 || latencies.size() != kCancelRuns) {
        std::fprintf(stderr, "a search was not cancelled (%d answers)\n", g_driver.boxes);
        return 1;
    }
    std::printf("cancel latency, 100 GiB sparse file: median of %zu %.1f ms (min %.1f, max %.1f)\n",
                latencies.size(), Median(latencies),
                *std::min_element(latencies.begin(), latencies.end()),
                *std::max_element(latencies.begin(), latencies.end()));
    return 0;
}
