// Times full repaints of the hex view window in-process: a 4 KiB file against a 100 GiB
// sparse file, plain and with 10,000 scattered insertions. Painting reads only the visible
// rows, so the three must cost about the same. Prints the medians and the ratios and
// fails when a ratio exceeds 1.5. A fourth case marks two hits in every row of the small
// file (as Find All does), which may cost at most 1.2x the plain repaint.
//
// Usage: orx_repaint_bench.exe WORK_DIRECTORY
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "platform/win32/WinString.h"

#include <windows.h>

#include <winioctl.h>

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kSmallSize = 4096;
constexpr std::uint64_t kHugeSize = 100ull << 30;
constexpr int kInsertions = 10000;
constexpr int kWarmUp = 3;
constexpr int kRuns = 15;
constexpr double kLimit = 1.5;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

double Milliseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A file of `size` zero bytes that takes no disk space.
bool CreateSparseFile(const std::wstring& path, std::uint64_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return sized;
}

// Two 4-byte hits in every row, the second across the row's end.
struct HitsInEveryRow final : orx::IByteMarks {
    void MarksIn(std::uint64_t first, std::uint64_t end,
                 std::vector<orx::MarkedRange>& out) const override
    {
        for (std::uint64_t row = first / 16 * 16; row < end; row += 16) {
            out.push_back({row + 2, 4, orx::MarkKind::Hit});
            out.push_back({row + 14, 4, orx::MarkKind::Hit});
        }
    }
};

struct Scenario {
    const char* name;
    std::wstring path;
    int insertions;
    bool hits = false;
    double limit = kLimit;
};

// Median time of one full repaint of a view showing the middle of the document.
double MedianRepaint(const Scenario& scenario, HWND parent)
{
    orx::EditableDocument document;
    if (!document.Open(orx::win::FromW(scenario.path))) {
        std::fprintf(stderr, "cannot open %ls\n", scenario.path.c_str());
        return -1.0;
    }
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < scenario.insertions; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const std::uint64_t offset =
            (document.Size() / scenario.insertions) * i + (seed >> 40) % 4096;
        if (!document.InsertByte(std::min(offset, document.Size()),
                                 static_cast<std::uint8_t>(seed >> 56))) {
            std::fprintf(stderr, "insertion %d failed\n", i);
            return -1.0;
        }
    }
    orx::HexView view;
    if (!view.Create(parent, GetModuleHandleW(nullptr))) {
        return -1.0;
    }
    RECT client{};
    GetClientRect(parent, &client);
    MoveWindow(view.Window(), 0, 0, client.right, client.bottom, TRUE);
    view.SetDocument(&document, &document);
    view.Apply(view.Model().SetTopRow(view.Model().TotalRows() / 2));
    const HitsInEveryRow hits;
    if (scenario.hits) {
        view.Model().AddMarks(&hits);
    }

    std::vector<double> times;
    for (int run = 0; run < kWarmUp + kRuns; ++run) {
        const double start = Milliseconds();
        RedrawWindow(view.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const double elapsed = Milliseconds() - start;
        if (run >= kWarmUp) {
            times.push_back(elapsed);
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orx_repaint_bench WORK_DIRECTORY\n");
        return 64;
    }
    const std::wstring directory = argv[1];
    const std::wstring small = directory + L"\\small.bin";
    const std::wstring huge = directory + L"\\huge.bin";
    if (!CreateSparseFile(small, kSmallSize) || !CreateSparseFile(huge, kHugeSize)) {
        std::fprintf(stderr, "cannot create the test files in %ls\n", directory.c_str());
        return 1;
    }

    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Orlin.Bench.Parent";
    RegisterClassW(&windowClass);
    orx::HexView::RegisterWindowClass(GetModuleHandleW(nullptr));
    HWND parent = CreateWindowExW(0, L"Orlin.Bench.Parent", L"repaint", WS_POPUP | WS_VISIBLE, 0, 0,
                                  980, 720, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);

    const Scenario scenarios[] = {
        {"4 KiB file", small, 0},
        {"100 GiB sparse file", huge, 0},
        {"100 GiB sparse file, 10,000 insertions", huge, kInsertions},
        {"4 KiB file, two hits in every row", small, 0, true, 1.2},
    };
    // A first round warms up the text and graphics stacks; only the second one counts.
    double medians[std::size(scenarios)] = {};
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < std::size(scenarios); ++i) {
            medians[i] = MedianRepaint(scenarios[i], parent);
            if (medians[i] < 0.0) {
                return 1;
            }
        }
    }
    double baseline = 0.0;
    bool withinLimit = true;
    std::printf("full repaint of a 980 x 720 view, median of %d:\n", kRuns);
    for (std::size_t i = 0; i < std::size(scenarios); ++i) {
        const Scenario& scenario = scenarios[i];
        const double median = medians[i];
        if (baseline == 0.0) {
            baseline = median;
            std::printf("  %-40s %8.2f ms\n", scenario.name, median);
            continue;
        }
        const double ratio = median / baseline;
        withinLimit = withinLimit && ratio <= scenario.limit;
        std::printf("  %-40s %8.2f ms  %.2fx (limit %.1fx)\n", scenario.name, median, ratio,
                    scenario.limit);
    }
    DestroyWindow(parent);
    DeleteFileW(small.c_str());
    DeleteFileW(huge.c_str());
    std::printf(withinLimit ? "within the limits\n" : "SLOWER than a limit\n");
    return withinLimit ? 0 : 1;
}
