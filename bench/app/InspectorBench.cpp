// Caret moves with the data inspector and the struct view (a shipped pattern loaded) shown
// and with both hidden, in-process under Wine: 1,000 moves sent as key presses, each
// handled before the next, timed until both windows have painted what the final caret
// shows (median of several rounds). Then 10,000 moves with both shown, and the process's private
// bytes compared once the workers are idle. Fails when the shown/hidden ratio exceeds 1.5, the
// final values are wrong, or private bytes grew by more than 1 MiB.
//
// Usage: orx_inspector_bench.exe [ratio|memory]   (one of the two measures, or both)
// Run from the source tree: it reads resources/strings.
#include "inspector/InspectorValues.h"
#include "structview/StructRows.h"
#include "structview/win/StructViewWindow.h"
#include "support/SourceDirectory.h"
#include "win/app/AppHarness.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <string>
#include <cstdio>
#include <vector>

namespace orx::test {
namespace {

constexpr int kMoves = 1000;
constexpr int kMemoryMoves = 10000;
constexpr int kRounds = 3;
constexpr double kLimit = 1.5;
constexpr double kMemoryLimit = 1024.0 * 1024.0;

std::string Settings(bool visible)
{
    const std::string shown = visible ? "true" : "false";
    return "{\"language\": \"English\", \"analysis\": {\"dataInspector\": {\"visible\": " + shown +
           "}, \"structView\": {\"visible\": " + shown + "}}}";
}

double Milliseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The private memory committed to the process. Windows reports it as PagefileUsage and
// again as PrivateUsage; Wine fills in only the first.
double PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PagefileUsage);
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
    const auto& inspector = app.App().Inspector();
    const auto& values = inspector.Table().Values();
    const auto caret = app.Model().CaretOffset();
    const auto& rows = app.App().StructView().Model().Rows();
    return values.size() == kInspectorRowCount &&
           values[1] == FormatHexDec(static_cast<std::uint8_t>(caret), 2) &&
           inspector.ShowsCurrentValues() && app.App().StructView().ShowsCurrentRows() &&
           !rows.empty() && rows[0].offset == StructOffsetText(caret);
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

// Loads a shipped pattern into the struct view when the windows are shown, and checks
// that they are shown or hidden as asked.
bool ShowBothOrNeither(AppHarness& app, bool visible)
{
    if (visible) {
        app.chosenPattern = SourceDirectory() + u"\\patterns\\bmp.orpat";
        SendMessageW(app.App().Window(), kMsgStructOpenPattern, 0, 0);
        app.Pump();
    }
    SetFocus(app.View());
    const bool inspector = app.App().Inspector().Window() != nullptr;
    const bool structView = app.App().StructView().Window() != nullptr;
    if (inspector != visible || structView != visible ||
        (visible && !app.App().StructView().Model().CloseEnabled())) {
        std::fprintf(stderr, "the side windows are not shown as asked\n");
        return false;
    }
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The shown/hidden ratio, or a negative number when a run failed.
double MeasureRatio()
{
    std::vector<double> shown;
    std::vector<double> hidden;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool visible : {true, false}) {
            AppHarness app(Settings(visible));
            if (!app.Start(app.Dir().Write(u"moves.bin", Ramp()))) {
                std::fprintf(stderr, "the main window could not be created\n");
                return -1.0;
            }
            if (!ShowBothOrNeither(app, visible)) {
                return -1.0;
            }
            (void)Moves(app, 50, visible); // warm-up: fonts, render targets
            const double time = Moves(app, kMoves, visible);
            if (time < 0) {
                std::fprintf(stderr, "the side windows never showed the final caret's values\n");
                return -1.0;
            }
            (visible ? shown : hidden).push_back(time);
        }
    }
    const double ratio = Median(shown) / Median(hidden);
    std::printf("%d caret moves: side windows shown %.0f ms, hidden %.0f ms (median of %d), "
                "ratio %.2f (limit %.1f)\n",
                kMoves, Median(shown), Median(hidden), kRounds, ratio, kLimit);
    return ratio;
}

// The growth of private memory over kMemoryMoves moves, or a negative number when the run
// failed.
double MeasureGrowth()
{
    AppHarness app(Settings(true));
    if (!app.Start(app.Dir().Write(u"memory.bin", Ramp())) || !ShowBothOrNeither(app, true)) {
        return -1.0;
    }
    (void)Moves(app, kMoves, true);
    app.PumpFor(500);
    const double before = PrivateBytes();
    const std::uint64_t start = app.Model().CaretOffset();
    const double time = Moves(app, kMemoryMoves, true);
    if (time < 0 || app.Model().CaretOffset() != start + kMemoryMoves) {
        std::fprintf(stderr, "the caret did not move, or the side windows never showed it\n");
        return -1.0;
    }
    app.PumpFor(500);
    const double growth = PrivateBytes() - before;
    std::printf("%d caret moves in %.0f ms: private bytes %+.0f KiB once idle (limit 1024 KiB)\n",
                kMemoryMoves, time, growth / 1024.0);
    return std::max(growth, 0.0);
}

} // namespace
} // namespace orx::test

int wmain(int argc, wchar_t** argv)
{
    // Each figure as soon as it is known: the run is long under Wine.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring only = argc > 1 ? argv[1] : L"";
    if (only == L"memory") {
        const double growth = orx::test::MeasureGrowth();
        return growth >= 0 && growth <= orx::test::kMemoryLimit ? 0 : 1;
    }
    const double ratio = orx::test::MeasureRatio();
    if (ratio < 0 || only == L"ratio") {
        return ratio >= 0 && ratio <= orx::test::kLimit ? 0 : 1;
    }
    const double growth = orx::test::MeasureGrowth();
    return ratio <= orx::test::kLimit && growth >= 0 && growth <= orx::test::kMemoryLimit ? 0 : 1;
}
