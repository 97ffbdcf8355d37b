// Caret moves with the data inspector and the struct view (a shipped pattern loaded) shown
// and with both hidden, in-process under Wine: 1,000 moves sent as key presses, each
// handled before the next, timed until both windows have painted what the final caret
// shows (median of several rounds). Then 10,000 moves with both shown, reading the process's
// private bytes once the workers are idle after every 1,000. Fails when the shown/hidden ratio
// exceeds 1.5, the final values are wrong, or private bytes grew by more than 1 MiB.
//
// Under Wine, Direct3D runs on the CPU and keeps its buffer memory as a pool in the process:
// each device grows it in 64 MiB chunks up to a high-water mark and never gives a chunk back.
// On Windows that memory is the graphics driver's. The memory measure therefore starts after
// a warm-up of as many moves as it measures, by which time the pool has stopped growing.
// Beside private bytes it prints the memory committed in the address space the program sees
// and what the program holds through operator new, which tell its own memory from what the
// host's graphics libraries hold.
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
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <cstdio>
#include <vector>

// Bytes the program holds through operator new, counted in a header before each block: the
// containers of the document, the models and the windows all allocate through it.
std::atomic<long long> g_liveBytes{0};

void* operator new(std::size_t size)
{
    auto* block = static_cast<std::max_align_t*>(std::malloc(size + sizeof(std::max_align_t)));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    g_liveBytes += static_cast<long long>(size);
    return block + 1;
}

void operator delete(void* pointer) noexcept
{
    if (pointer != nullptr) {
        auto* block = static_cast<std::max_align_t*>(pointer) - 1;
        g_liveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
        std::free(block);
    }
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete[](void* pointer) noexcept
{
    operator delete(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept
{
    operator delete(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept
{
    operator delete(pointer);
}

namespace orx::test {
namespace {

constexpr int kMoves = 1000;
constexpr int kMemoryMoves = 10000;
constexpr int kMemoryWarmUp = 10000;
constexpr int kMemoryStep = 1000;
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

// The private memory committed in the address space the program sees. Under Wine this
// leaves out what the host's graphics libraries hold, which Wine counts in PagefileUsage.
double CommittedPrivateBytes()
{
    double sum = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof(region)) == sizeof(region) && region.RegionSize > 0;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            sum += static_cast<double>(region.RegionSize);
        }
    }
    return sum;
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

// Private bytes move by a few MiB between idle moments under Wine, as its heaps take and
// release large blocks, while a leak rises steadily. So the memory is read once idle after
// every kMemoryStep moves, and the growth is the median of the last three readings less the
// median of the first three.
struct Readings {
    std::vector<double> pagefile;
    std::vector<double> committed;
    std::vector<double> heap;
};

double MedianGrowth(const std::vector<double>& readings)
{
    const auto first = std::vector<double>(readings.begin(), readings.begin() + 3);
    const auto last = std::vector<double>(readings.end() - 3, readings.end());
    return Median(last) - Median(first);
}

std::string KiB(const std::vector<double>& readings)
{
    std::string text;
    for (const double bytes : readings) {
        if (!text.empty()) {
            text += ' ';
        }
        text += std::to_string(std::lround(bytes / 1024.0));
    }
    return text;
}

// The growth of private memory over kMemoryMoves moves, or a negative number when the run
// failed.
double MeasureGrowth()
{
    AppHarness app(Settings(true));
    if (!app.Start(app.Dir().Write(u"memory.bin", Ramp())) || !ShowBothOrNeither(app, true)) {
        return -1.0;
    }
    const std::uint64_t start = app.Model().CaretOffset();
    double time = Moves(app, kMemoryWarmUp, true);
    Readings readings;
    for (int moved = 0; time >= 0; moved += kMemoryStep) {
        app.PumpFor(500);
        readings.pagefile.push_back(PrivateBytes());
        readings.committed.push_back(CommittedPrivateBytes());
        readings.heap.push_back(static_cast<double>(g_liveBytes.load()));
        if (moved == kMemoryMoves) {
            break;
        }
        time = Moves(app, kMemoryStep, true);
    }
    if (time < 0 || app.Model().CaretOffset() != start + kMemoryWarmUp + kMemoryMoves) {
        std::fprintf(stderr, "the caret did not move, or the side windows never showed it\n");
        return -1.0;
    }
    const double growth = MedianGrowth(readings.pagefile);
    std::printf("private bytes every %d moves after %d to warm up (KiB): %s\n", kMemoryStep,
                kMemoryWarmUp, KiB(readings.pagefile).c_str());
    std::printf("committed in the program's address space (KiB): %s\n",
                KiB(readings.committed).c_str());
    std::printf("held through operator new (KiB): %s\n", KiB(readings.heap).c_str());
    std::printf("%d caret moves: private bytes %+.0f KiB once idle (limit 1024 KiB), committed in "
                "the program's address space %+.0f KiB\n",
                kMemoryMoves, growth / 1024.0, MedianGrowth(readings.committed) / 1024.0);
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
