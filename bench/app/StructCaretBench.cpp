// Times caret moves in the running editor, in-process under Wine, with the struct view
// shown: without a pattern, with a pattern whose entry struct is a 4,000,000,000-byte
// array, with one whose first member is 16,000,000 bytes (the most a request reads), and
// with records repeated to the end of the 16 MiB window (about 184,000 of them) following
// the caret and anchored at 0. Each move is a key press through the queue, handled until the
// queue is empty; after the last one the run waits for the view to show the final caret's
// rows. The cases take turns, round after round, so that a slow moment of the machine
// falls on all of them alike.
//
// For each case it prints the medians of three measures per move: the time until the final
// rows show, the time the window thread spent on the processor (what a stalled window
// would show), and, once, the time from the last move to its rows. It fails when a case
// costs the window thread more than 1.5 times a move without a pattern, or when the huge
// array takes more than twice the time per move.
//
// Usage: orx_struct_caret_bench.exe WORK_DIRECTORY SOURCE_DIRECTORY (which holds resources/)
#include "app/win/AppWindow.h"
#include "platform/win32/WinString.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kMoves = 60;
constexpr int kRounds = 5;
constexpr double kThreadLimit = 1.5;
constexpr double kHugeLimit = 2.0;

double Milliseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Processor time of the calling thread, user and kernel.
double ThreadMilliseconds()
{
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME time) {
        return static_cast<double>(static_cast<std::uint64_t>(time.dwHighDateTime) << 32 |
                                   time.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << bytes;
}

void Pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Case {
    const char* name;
    std::string pattern; // empty: no pattern loaded
    bool stays = false;  // anchored: its rows do not move with the caret
};

struct Measures {
    std::vector<double> wall;   // ms per move, until the final rows show
    std::vector<double> thread; // ms of the window thread's processor time per move
    std::vector<double> settle; // ms from the last move to its rows
};

// kMoves moves to the right from offset 0, in a new window.
bool MeasureRound(const std::wstring& directory, const std::wstring& resources, const Case& test,
                  Measures& into)
{
    const std::wstring settings = directory + L"\\orlin.settings.json";
    WriteFile(settings, "{\"language\": \"English\", \"analysis\": {\"dataInspector\": "
                        "{\"visible\": false}, \"structView\": {\"visible\": true}}}");
    const std::wstring pattern = directory + L"\\case.orpat";
    WriteFile(pattern, test.pattern);

    orx::AppEnvironment environment;
    environment.baseDirectory = orx::win::FromW(resources);
    environment.settingsPath = orx::win::FromW(settings);
    environment.choosePattern = [&](HWND, const std::u16string&, const std::u16string&) {
        return std::optional<std::u16string>(orx::win::FromW(pattern));
    };
    orx::AppWindow app(std::move(environment));
    if (!app.Create(GetModuleHandleW(nullptr), orx::win::FromW(directory + L"\\data.bin"))) {
        std::fprintf(stderr, "the editor did not start\n");
        return false;
    }
    Pump();
    if (!test.pattern.empty()) {
        SendMessageW(app.Window(), orx::kMsgStructOpenPattern, 0, 0);
    }
    HWND view = app.View().Window();
    SetFocus(view);
    const auto showsFinalRows = [&] {
        if (test.pattern.empty() || test.stays) {
            return true;
        }
        const auto& rows = app.StructView().Model().Rows();
        const std::uint64_t caret = app.View().Model().CaretOffset();
        return !rows.empty() && rows[0].located && rows[0].first == caret;
    };
    while (!showsFinalRows()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        Pump();
    }
    const double start = Milliseconds();
    const double threadStart = ThreadMilliseconds();
    for (int i = 0; i < kMoves; ++i) {
        PostMessageW(view, WM_KEYDOWN, VK_RIGHT, 1);
        Pump();
    }
    const double moved = Milliseconds();
    while (!showsFinalRows()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        Pump();
    }
    const double end = Milliseconds();
    into.wall.push_back((end - start) / kMoves);
    into.thread.push_back((ThreadMilliseconds() - threadStart) / kMoves);
    into.settle.push_back(end - moved);
    DestroyWindow(app.Window());
    Pump();
    return true;
}

} // namespace

constexpr const char* kRecords = "@entry File\n"
                                 "struct Record { uint8_t length; uint8_t data[length]; };\n"
                                 "struct File { Record records[...]; };\n";

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: orx_struct_caret_bench.exe WORK_DIRECTORY SOURCE_DIRECTORY\n");
        return 64;
    }
    const std::wstring directory = argv[1];
    WriteFile(directory + L"\\data.bin", std::string(20u << 20, '\x5A'));
    const Case cases[] = {
        {"no pattern", ""},
        {"char data[4000000000]", "struct Huge { char data[4000000000]; };"},
        {"uint8_t a[16000000] + more", "struct Big { uint8_t a[16000000]; uint32_t after; };"},
        // 0x5A-byte records to the end of the 16 MiB window: about 184,000 elements.
        {"records[...] at the caret", kRecords},
        {"records[...] @anchor 0", std::string("@anchor 0\n") + kRecords, true},
    };
    constexpr std::size_t kCases = std::size(cases);
    std::vector<Measures> measures(kCases);
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t c = 0; c < kCases; ++c) {
            if (!MeasureRound(directory, argv[2], cases[c], measures[c])) {
                return 1;
            }
        }
    }
    const double wallBase = Median(measures[0].wall);
    const double threadBase = Median(measures[0].thread);
    std::printf("%-28s %10s %7s %12s %7s %14s\n", "case", "ms/move", "ratio", "thread ms", "ratio",
                "last rows ms");
    bool ok = true;
    for (std::size_t c = 0; c < kCases; ++c) {
        const double wall = Median(measures[c].wall);
        const double thread = Median(measures[c].thread);
        std::printf("%-28s %10.2f %7.2f %12.2f %7.2f %14.1f\n", cases[c].name, wall,
                    wall / wallBase, thread, thread / threadBase, Median(measures[c].settle));
        ok = ok && thread / threadBase <= kThreadLimit;
    }
    const double huge = Median(measures[1].wall) / wallBase;
    ok = ok && huge <= kHugeLimit;
    std::printf("window thread limit %.1fx; huge array %.2fx of a move without a pattern (limit "
                "%.1fx): %s\n",
                kThreadLimit, huge, kHugeLimit, ok ? "pass" : "FAIL");
    return ok ? 0 : 1;
}
