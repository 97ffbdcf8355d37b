// Evaluates a pattern that repeats a chunk (length, data of that length, checksum) to the
// end of a full 16 MiB read window holding 100,000 chunks, as the struct view's worker does
// for every caret move of an anchored pattern. Reports the value tree's nodes and the rows
// shown per second; the view shows only the first rows, but every chunk must be read to
// place anything after them.
#include "structview/StructRead.h"
#include "structview/StructRows.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr std::size_t kChunks = 100000;

std::shared_ptr<const orx::StructPatternFile> ChunkPattern()
{
    auto file = std::make_shared<orx::StructPatternFile>();
    std::u16string error;
    const bool loaded = orx::LoadStructPatternText(
        u"@endian big @member_align 0\n"
        u"struct Chunk { uint32_t length; char type[4]; uint8_t data[length]; uint32_t crc; };\n"
        u"struct File { Chunk chunks[...]; };\n@entry File\n",
        *file, error);
    return loaded ? file : nullptr;
}

// kChunks chunks filling the window, each 12 bytes of framing and its data.
std::vector<std::uint8_t> ChunkBytes()
{
    std::vector<std::uint8_t> bytes(orx::kMaxStructRead, 0);
    const std::size_t dataLength = orx::kMaxStructRead / kChunks - 12;
    for (std::size_t at = 0; at + 12 + dataLength <= bytes.size(); at += 12 + dataLength) {
        bytes[at + 2] = static_cast<std::uint8_t>(dataLength >> 8);
        bytes[at + 3] = static_cast<std::uint8_t>(dataLength);
    }
    return bytes;
}

// Each evaluation in fresh memory (a command-line run), or in the memory the last one left
// (the struct view's worker).
void EvaluateChunks(benchmark::State& state, bool keptMemory)
{
    orx::StructRowsInput input;
    input.file = ChunkPattern();
    input.bytes = ChunkBytes();
    if (!input.file) {
        state.SkipWithError("pattern did not load");
        return;
    }
    const std::size_t nodesPerRun = orx::EvaluateRowsInput(input).nodes.size();
    std::size_t nodes = 0;
    std::size_t rows = 0;
    orx::EvaluationMemory memory;
    for (auto _ : state) {
        const std::vector<orx::StructViewRow> shown =
            keptMemory ? orx::BuildStructRows(input, memory) : orx::BuildStructRows(input);
        nodes += nodesPerRun;
        rows += shown.size();
        benchmark::DoNotOptimize(shown.data());
    }
    state.counters["values/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(EvaluateChunks, fresh_memory, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EvaluateChunks, kept_memory, true)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
