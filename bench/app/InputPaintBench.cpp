// Times what one input costs the hex view, in-process: from a posted WM_KEYDOWN or WM_CHAR
// to the end of all painting it causes (the message queue drained and nothing left to
// paint), beside a full repaint of the same view in the same run. Counts the WM_PAINTs of
// each input and splits one full paint into its steps.
//
// Usage: orx_input_paint_bench.exe WORK_DIRECTORY [RUNS]
#include "document/EditableDocument.h"
#include "hexview/win/HexPainter.h"
#include "hexview/win/HexView.h"
#include "platform/win32/WinString.h"
#include "ui/win/FontResolver.h"
#include "ui/win/GlyphRunText.h"

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;

constexpr std::uint64_t kFileSize = 1 << 20;
constexpr int kWarmUp = 5;

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

double Median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Counts and times the view's WM_PAINTs by standing in front of its window procedure.
struct PaintMeter {
    static inline WNDPROC original = nullptr;
    static inline int paints = 0;
    static inline double paintMs = 0.0;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != WM_PAINT) {
            return CallWindowProcW(original, window, message, wParam, lParam);
        }
        const double start = Milliseconds();
        const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
        paintMs += Milliseconds() - start;
        ++paints;
        return result;
    }

    static void Install(HWND view)
    {
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
};

// Dispatches until the queue is empty; PeekMessage hands out WM_PAINT last, so an empty
// queue also means nothing is left to paint.
void Drain()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

struct Scenario {
    const char* name;
    std::function<void()> prepare; // puts the view where the input has its usual effect
    std::function<void()> input;   // posts the input
    std::vector<double> totals;    // post to idle
    std::vector<double> paints;    // inside WM_PAINT
    int paintCount = 0;
};

// One input of one scenario, timed. The scenarios take turns, so that a load on the
// machine that comes and goes weighs on all of them alike.
void RunOnce(Scenario& scenario, bool counted)
{
    scenario.prepare();
    Drain();
    PaintMeter::paints = 0;
    PaintMeter::paintMs = 0.0;
    const double start = Milliseconds();
    scenario.input();
    Drain();
    const double elapsed = Milliseconds() - start;
    if (counted) {
        scenario.totals.push_back(elapsed);
        scenario.paints.push_back(PaintMeter::paintMs);
        scenario.paintCount += PaintMeter::paints;
    }
}

// One full paint done step by step as the view does it, each step timed on its own.
void PrintFullPaintSteps(orx::HexView& view, int runs)
{
    ComPtr<ID2D1Factory> d2d;
    ComPtr<IDWriteFactory> dwrite;
    D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, d2d.GetAddressOf());
    DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                        reinterpret_cast<IUnknown**>(dwrite.GetAddressOf()));
    const orx::HexViewModel& model = view.Model();
    const orx::FontSpec font = model.Font();
    ComPtr<IDWriteTextFormat> format = orx::win::CreateResolvedTextFormat(
        *dwrite.Get(), {orx::win::ToW(font.family), font.sizeDips, font.bold, font.italic});
    const auto grid = orx::win::GridFont::Create(*dwrite.Get(), *format.Get());
    const auto properties = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT,
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
    RECT client{};
    GetClientRect(view.Window(), &client);
    HDC dc = GetDC(view.Window());

    struct Step {
        const char* name;
        std::vector<double> times;
    };
    Step create{"create the DC render target", {}}, bind{"bind it to the window DC", {}},
        brushes{"create the brushes", {}}, build{"build the paint list (read, decode, place)", {}},
        fills{"clear, selection and caret", {}}, grids{"offset and hex digits (glyph runs)", {}},
        texts{"text column (glyph runs and layouts)", {}}, present{"EndDraw (present)", {}};
    for (int run = 0; run < kWarmUp + runs; ++run) {
        double t = Milliseconds();
        ComPtr<ID2D1DCRenderTarget> target;
        d2d->CreateDCRenderTarget(&properties, &target);
        const double tCreate = Milliseconds() - t;
        t = Milliseconds();
        target->BindDC(dc, &client);
        const double tBind = Milliseconds() - t;
        t = Milliseconds();
        ComPtr<ID2D1SolidColorBrush> brush[5];
        for (auto& b : brush) {
            target->CreateSolidColorBrush(D2D1::ColorF(0.5f, 0.5f, 0.5f), &b);
        }
        const double tBrushes = Milliseconds() - t;
        t = Milliseconds();
        const orx::PaintModel frame = model.BuildPaintModel();
        const double tBuild = Milliseconds() - t;

        // The same frame in growing parts: each part's cost is the difference.
        orx::PaintModel onlyFills = frame;
        orx::PaintModel withGrid = frame;
        for (auto& row : onlyFills.rows) {
            row.offsetCells.clear();
            row.hexCells.clear();
            row.textCells.clear();
        }
        for (auto& row : withGrid.rows) {
            row.textCells.clear();
        }
        const auto draw = [&](const orx::PaintModel& part) {
            target->BeginDraw();
            const double start = Milliseconds();
            (void)orx::win::DrawPaintModel(*target.Get(), *dwrite.Get(), *format.Get(), grid.get(),
                                           part);
            const double drawn = Milliseconds() - start;
            const double end = Milliseconds();
            target->EndDraw();
            return std::make_pair(drawn, Milliseconds() - end);
        };
        const auto [fillMs, presentMs] = draw(onlyFills);
        const double gridMs = draw(withGrid).first;
        const double allMs = draw(frame).first;
        if (run >= kWarmUp) {
            create.times.push_back(tCreate);
            bind.times.push_back(tBind);
            brushes.times.push_back(tBrushes);
            build.times.push_back(tBuild);
            fills.times.push_back(fillMs);
            grids.times.push_back(gridMs - fillMs);
            texts.times.push_back(allMs - gridMs);
            present.times.push_back(presentMs);
        }
    }
    ReleaseDC(view.Window(), dc);
    std::printf("where one full paint goes (medians of %d):\n", runs);
    for (const Step* step : {&create, &bind, &brushes, &build, &fills, &grids, &texts, &present}) {
        std::printf("  %-44s %8.2f ms\n", step->name, Median(step->times));
    }
}

bool WriteSample(const std::wstring& path)
{
    std::vector<std::uint8_t> bytes(kFileSize);
    std::uint32_t seed = 12345;
    for (auto& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        // Mostly printable text, like the files people read in a hex editor.
        const std::uint8_t value = static_cast<std::uint8_t>(seed >> 24);
        byte = (value & 0x80) != 0 ? static_cast<std::uint8_t>(0x20 + value % 0x5F) : value;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: orx_input_paint_bench WORK_DIRECTORY [RUNS]\n");
        return 64;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 120;
    const std::wstring path = std::wstring(argv[1]) + L"\\input.bin";
    if (!WriteSample(path)) {
        std::fprintf(stderr, "cannot write %ls\n", path.c_str());
        return 1;
    }

    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Orlin.Bench.Parent";
    RegisterClassW(&windowClass);
    orx::HexView::RegisterWindowClass(GetModuleHandleW(nullptr));
    HWND parent = CreateWindowExW(0, L"Orlin.Bench.Parent", L"input", WS_POPUP | WS_VISIBLE, 0, 0,
                                  980, 720, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);

    orx::EditableDocument document;
    if (!document.Open(orx::win::FromW(path))) {
        std::fprintf(stderr, "cannot open %ls\n", path.c_str());
        return 1;
    }
    {
        orx::HexView view;
        if (!view.Create(parent, GetModuleHandleW(nullptr))) {
            return 1;
        }
        MoveWindow(view.Window(), 0, 0, 980, 720, TRUE);
        view.SetDocument(&document, &document);
        orx::HexViewModel& model = view.Model();
        view.Apply(model.ToggleEditingEnabled());
        SetForegroundWindow(parent);
        SetFocus(view.Window());
        Drain();
        PaintMeter::Install(view.Window());
        HWND window = view.Window();
        const std::uint64_t visible = model.VisibleRows();
        const std::uint64_t middle = 0x8000;
        // Keeps the caret inside the view, away from its edges, without scrolling it.
        const auto keepInside = [&] {
            const std::uint64_t row = model.CaretOffset() / 16;
            if (model.TopRow() != middle / 16 || row + 2 >= model.TopRow() + visible) {
                view.Apply(model.SetTopRow(middle / 16));
                view.Apply(model.SetCaret(middle + 16 * 3));
            }
        };
        const auto post = [&](UINT message, WPARAM wParam) {
            return [=] { PostMessageW(window, message, wParam, 0); };
        };

        const auto reset = [&] {
            if (model.TopRow() > 40000) {
                view.Apply(model.SetTopRow(0));
                view.Apply(model.SetCaret(0));
            }
        };
        std::vector<Scenario> scenarios;
        scenarios.push_back(
            {"full repaint",
             [] {},
             [&] { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); },
             {},
             {},
             0});
        scenarios.push_back(
            {"caret step (Right)", keepInside, post(WM_KEYDOWN, VK_RIGHT), {}, {}, 0});
        scenarios.push_back(
            {"typed hex digit (Overwrite)", keepInside, post(WM_CHAR, L'7'), {}, {}, 0});
        scenarios.push_back({"Page Down", reset, post(WM_KEYDOWN, VK_NEXT), {}, {}, 0});
        scenarios.push_back({"one-row scroll (Down at the bottom row)",
                             [&] {
                                 reset();
                                 const std::uint64_t bottom = model.TopRow() + visible - 1;
                                 if (model.CaretOffset() / 16 != bottom) {
                                     view.Apply(model.SetCaret(bottom * 16));
                                 }
                             },
                             post(WM_KEYDOWN, VK_DOWN),
                             {},
                             {},
                             0});
        scenarios.push_back({"wheel notch (three rows)",
                             reset,
                             post(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA)),
                             {},
                             {},
                             0});
        for (int run = 0; run < kWarmUp + runs; ++run) {
            for (Scenario& scenario : scenarios) {
                RunOnce(scenario, run >= kWarmUp);
            }
        }

        const double full = Median(scenarios.front().paints);
        std::printf("hex view 980 x 720, %llu rows visible, medians of %d inputs:\n",
                    static_cast<unsigned long long>(visible), runs);
        std::printf("  %-40s %10s %10s %8s %8s\n", "input", "total ms", "paint ms", "x full",
                    "paints");
        for (const Scenario& r : scenarios) {
            const double paint = Median(r.paints);
            std::printf("  %-40s %10.2f %10.2f %8.2f %8.2f\n", r.name, Median(r.totals), paint,
                        full > 0.0 ? paint / full : 0.0, static_cast<double>(r.paintCount) / runs);
        }
        std::fflush(stdout);
        PrintFullPaintSteps(view, runs / 4 + 1);
    }
    DestroyWindow(parent);
    document.Close();
    DeleteFileW(path.c_str());
    return 0;
}
