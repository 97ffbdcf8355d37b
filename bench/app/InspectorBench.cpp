// Caret moves with the data inspector shown and hidden, in-process under Wine: 1,000 moves
// sent as key presses, each handled before the next, timed until the inspector shows the
// final caret's values (median of several rounds). Then 10,000 moves with the inspector
// shown, and the process's private bytes compared once the worker is idle. Fails when the
// shown/hidden ratio exceeds 1.5, the final values are wrong, or private bytes grew by more
// than 1 MiB.
//
// Usage: orx_inspector_bench.exe   (from the source tree: it reads resources/strings)
#include "inspector/InspectorValues.h"
#include "win/app/AppHarness.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace orx::test {
namespace {

constexpr int kMoves = 1000;
constexpr int kMemoryMoves = 10000;
constexpr int kRounds = 3;
constexpr double kLimit = 1.5;
constexpr double kMemoryLimit = 1024.0 * 1024.0;

std::string Settings(bool inspectorVisible)
{
    return std::string("{\r\n  \"appVersion\": \"v1.03\",\r\n  \"language\": \"English\",\r\n"
                       "  \"analysis\": {\r\n    \"dataInspector\": {\r\n      \"visible\": ") +
           (inspectorVisible ? "true" : "false") + "\r\n    }\r\n  }\r\n}\r\n";
}

double Milliseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    return static_cast<double>(counters.PrivateUsage);
}

// Each byte holds its offset's low byte, so the values tell where the caret is.
std::vector<std::uint8_t> Ramp()
{
    std::vector<std::uint8_t> bytes(1 << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    return bytes;
}

bool ShowsCaret(AppHarness& app)
{
    const auto& values = app.App().Inspector().Table().Values();
    const auto caret = static_cast<std::uint8_t>(app.Model().CaretOffset());
    return values.size() == kInspectorRowCount && values[1] == FormatHexDec(caret, 2);
}

// Right-arrow presses, then waits for the values of the final caret when the inspector is
// shown. Returns the time taken, or a negative number when the values never came.
double Moves(AppHarness& app, int count, bool inspectorVisible)
{
    const double start = Milliseconds();
    for (int i = 0; i < count; ++i) {
        app.Key(VK_RIGHT);
    }
    if (inspectorVisible) {
        const double deadline = Milliseconds() + 10000.0;
        while (!ShowsCaret(app)) {
            if (Milliseconds() > deadline) {
                return -1.0;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            app.Pump();
        }
    }
    return Milliseconds() - start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Run()
{
    std::vector<double> shown;
    std::vector<double> hidden;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool visible : {true, false}) {
            AppHarness app(Settings(visible));
            if (!app.Start(app.Dir().Write(u"moves.bin", Ramp()))) {
                std::fprintf(stderr, "the main window could not be created\n");
                return 1;
            }
            SetFocus(app.View());
            if ((app.App().Inspector().Window() != nullptr) != visible) {
                std::fprintf(stderr, "the inspector's visibility is not what was asked\n");
                return 1;
            }
            (void)Moves(app, 50, visible); // warm-up: fonts, render targets
            const double time = Moves(app, kMoves, visible);
            if (time < 0) {
                std::fprintf(stderr, "the inspector never showed the final caret's values\n");
                return 1;
            }
            (visible ? shown : hidden).push_back(time);
        }
    }
    const double ratio = Median(shown) / Median(hidden);
    std::printf("%d caret moves: inspector shown %.0f ms, hidden %.0f ms (median of %d), "
                "ratio %.2f (limit %.1f)\n",
                kMoves, Median(shown), Median(hidden), kRounds, ratio, kLimit);

    AppHarness app(Settings(true));
    if (!app.Start(app.Dir().Write(u"memory.bin", Ramp()))) {
        return 1;
    }
    SetFocus(app.View());
    (void)Moves(app, kMoves, true);
    app.PumpFor(500);
    const double before = PrivateBytes();
    if (Moves(app, kMemoryMoves, true) < 0) {
        std::fprintf(stderr, "the inspector never showed the final caret's values\n");
        return 1;
    }
    app.PumpFor(500);
    const double growth = PrivateBytes() - before;
    std::printf("%d caret moves: private bytes %+.0f KiB once idle (limit 1024 KiB)\n",
                kMemoryMoves, growth / 1024.0);
    return ratio <= kLimit && growth <= kMemoryLimit ? 0 : 1;
}

} // namespace
} // namespace orx::test

int wmain()
{
    // Each figure as soon as it is known: the run is long under Wine.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    return orx::test::Run();
}
