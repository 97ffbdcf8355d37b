// Searches a large file for an absent pattern, as opened and with 10,000 insertions and
// 10,000 deletions scattered over it (edits are never saved). The file is named by the
// environment variable ORX_BENCH_FILE; bench/search/compare-grep.sh makes a 1 GiB one
// without the byte 0x01, which every pattern here starts with.
#include "document/EditableDocument.h"
#include "platform/Utf.h"
#include "search/SearchEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kEdits = 10000;

// Opened once for all benchmarks; editing a gigabyte's index 20,000 times is not what is
// measured.
struct Documents {
    Documents()
    {
        const char* path = std::getenv("ORX_BENCH_FILE");
        if (path == nullptr || !plain.Open(orx::platform::Widen(path)) ||
            !edited.Open(orx::platform::Widen(path))) {
            return;
        }
        std::mt19937_64 random(42);
        for (int i = 0; i < kEdits; ++i) {
            const auto value = static_cast<std::uint8_t>(2 + random() % 254); // never 0x01
            if (!edited.InsertByte(random() % edited.Size(), value) ||
                !edited.DeleteByte(random() % edited.Size())) {
                return;
            }
        }
        open = true;
    }

    orx::EditableDocument plain;
    orx::EditableDocument edited;
    bool open = false;
};

Documents& OpenDocuments()
{
    static Documents documents;
    return documents;
}

std::vector<std::uint8_t> AbsentPattern(std::size_t size)
{
    std::vector<std::uint8_t> pattern = {0x01, 0xC3, 0xA9, 0x7E, 0x11, 0x22, 0x33, 0x44,
                                         0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC};
    pattern.resize(size);
    return pattern;
}

// Arguments: edited (0 or 1), pattern size, backward (0 or 1).
void SearchAbsentPattern(benchmark::State& state)
{
    Documents& documents = OpenDocuments();
    if (!documents.open) {
        state.SkipWithError("set ORX_BENCH_FILE to a readable file");
        return;
    }
    const orx::EditableDocument& document =
        state.range(0) != 0 ? documents.edited : documents.plain;
    const std::vector<std::uint8_t> pattern =
        AbsentPattern(static_cast<std::size_t>(state.range(1)));
    const bool backward = state.range(2) != 0;
    for (auto _ : state) {
        const orx::SearchOutcome outcome =
            backward ? orx::SearchBackward(&document, pattern, document.Size(), {}, {})
                     : orx::SearchForward(&document, pattern, 0, {}, {});
        if (outcome.status != orx::SearchStatus::NotFound) {
            state.SkipWithError("the pattern occurs in the file");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.Size()));
}

double Minimum(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

} // namespace

BENCHMARK(SearchAbsentPattern)
    ->ArgNames({"edited", "size", "backward"})
    ->ArgsProduct({{0, 1}, {16}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min", Minimum)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
