// Times caret moves in the running editor, in-process under Wine, with the struct view
// shown: without a pattern, with a pattern whose entry struct is a 4,000,000,000-byte
// array, and with one whose first member is 16,000,000 bytes (the most a request reads).
// Each move is a key press through the queue, handled until the queue is empty; after the
// last one the run waits for the view to show the final caret's rows. Prints the median
// time per move of each case and the ratios to the first, and fails when the huge array
// costs more than twice a move without a pattern.
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

constexpr int kMoves = 40;
constexpr int kRuns = 3;
constexpr double kLimit = 2.0;

double Milliseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
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

struct Case {
    const char* name;
    std::string pattern; // empty: no pattern loaded
    bool stays = false;  // anchored: its rows do not move with the caret
};

// Milliseconds per caret move, median of kRuns runs of kMoves moves.
double MeasureCase(const std::wstring& directory, const std::wstring& resources, const Case& test)
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
        return -1.0;
    }
    Pump();
    if (!test.pattern.empty()) {
        SendMessageW(app.Window(), orx::kMsgStructOpenPattern, 0, 0);
    }
    HWND view = app.View().Window();
    SetFocus(view);
    std::vector<double> perMove;
    for (int run = 0; run < kRuns; ++run) {
        const UINT key = run % 2 == 0 ? VK_RIGHT : VK_LEFT;
        const double start = Milliseconds();
        for (int i = 0; i < kMoves; ++i) {
            PostMessageW(view, WM_KEYDOWN, key, 1);
            Pump();
        }
        // The last result in, whatever the worker still had to do.
        const std::u16string last = run % 2 == 0 ? u"0x28" : u"0x0"; // kMoves is 0x28
        while (!test.pattern.empty() && !test.stays &&
               (app.StructView().Model().Rows().empty() ||
                app.StructView().Model().Rows()[0].offset != last)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            Pump();
        }
        perMove.push_back((Milliseconds() - start) / kMoves);
    }
    DestroyWindow(app.Window());
    Pump();
    std::sort(perMove.begin(), perMove.end());
    return perMove[perMove.size() / 2];
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
    std::vector<double> results;
    for (const Case& test : cases) {
        results.push_back(MeasureCase(directory, argv[2], test));
        if (results.back() < 0) {
            return 1;
        }
        std::printf("%-28s %8.3f ms per caret move (x%.2f)\n", test.name, results.back(),
                    results.back() / results.front());
    }
    const double ratio = results[1] / results[0];
    std::printf("huge array / no pattern: %.2f (limit %.1f)\n", ratio, kLimit);
    return ratio <= kLimit ? 0 : 1;
}
