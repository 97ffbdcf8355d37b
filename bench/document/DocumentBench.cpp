// Composed reads and edit throughput on a 1 GiB file.
//   orx_document_bench [--file PATH] [benchmark flags]
// The file (default: orlin-bench-1g.bin in the system temp folder) is created once with
// pseudo-random contents and reused, so repeated runs read it from the page cache.
#include "document/EditableDocument.h"
#include "platform/Utf.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

constexpr std::uint64_t kFileSize = std::uint64_t{1} << 30;
constexpr std::uint64_t kReadSize = 4096;

void EnsureFile(const std::filesystem::path& file)
{
    std::error_code error;
    if (std::filesystem::file_size(file, error) == kFileSize && !error) {
        return;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::mt19937_64 rng(1);
    std::vector<std::uint64_t> block(1 << 17);
    for (std::uint64_t written = 0; written < kFileSize; written += block.size() * 8) {
        for (auto& word : block)
            word = rng();
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(block.size() * 8));
    }
}

// 100,000 inserted bytes and 100,000 deleted bytes at random places.
void ScatterEdits(orx::EditableDocument& document, std::mt19937_64& rng, int insertions,
                  int deletions)
{
    for (int i = 0; i < insertions; ++i) {
        if (!document.InsertByte(rng() % document.Size(), static_cast<std::uint8_t>(rng())))
            std::abort();
    }
    for (int i = 0; i < deletions; ++i) {
        if (!document.DeleteByte(rng() % document.Size()))
            std::abort();
    }
}

void ReadAtRandomOffsets(benchmark::State& state, const orx::EditableDocument& document)
{
    std::mt19937_64 rng(7);
    for (auto _ : state) {
        const orx::ReadResult r = document.Read(rng() % (document.Size() - kReadSize), kReadSize);
        if (r.bytes.size() != kReadSize)
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(r.bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kReadSize));
}

void BM_Read4KiB_Unedited(benchmark::State& state, const std::u16string& file)
{
    orx::EditableDocument document;
    if (!document.Open(file))
        return state.SkipWithError("cannot open the bench file");
    ReadAtRandomOffsets(state, document);
}

void BM_Read4KiB_100kInsertions100kDeletions(benchmark::State& state, const std::u16string& file)
{
    orx::EditableDocument document;
    if (!document.Open(file))
        return state.SkipWithError("cannot open the bench file");
    std::mt19937_64 rng(3);
    ScatterEdits(document, rng, 100000, 100000);
    ReadAtRandomOffsets(state, document);
}

// One iteration applies a million random single-byte edits: a third each of overwrites,
// insertions and deletions.
void BM_Apply1MRandomEdits(benchmark::State& state, const std::u16string& file)
{
    for (auto _ : state) {
        orx::EditableDocument document;
        if (!document.Open(file))
            return state.SkipWithError("cannot open the bench file");
        std::mt19937_64 rng(5);
        for (int i = 0; i < 1000000; ++i) {
            const std::uint64_t offset = rng() % document.Size();
            const auto value = static_cast<std::uint8_t>(rng());
            bool ok = false;
            switch (i % 3) {
            case 0: ok = document.OverwriteByte(offset, value); break;
            case 1: ok = document.InsertByte(offset, value); break;
            default: ok = document.DeleteByte(offset); break;
            }
            if (!ok)
                return state.SkipWithError("edit refused");
        }
        benchmark::DoNotOptimize(document.Size());
    }
}

// The floor under the edit benchmark: its overwrites must each read the file's byte to
// decide whether they cancel, so a third of a million single-byte system reads is the
// part no index can save.
void BM_ReadSingleBytesAsOverwritesDo(benchmark::State& state, const std::u16string& file)
{
    for (auto _ : state) {
        orx::FileViewModel view;
        if (!view.Open(file))
            return state.SkipWithError("cannot open the bench file");
        std::mt19937_64 rng(5);
        std::uint64_t sum = 0;
        for (int i = 0; i < 333334; ++i) {
            std::uint8_t byte = 0;
            if (view.ReadInto(rng() % view.Size(), &byte, 1) != 1)
                return state.SkipWithError("short read");
            sum += byte;
        }
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path file = std::filesystem::temp_directory_path() / "orlin-bench-1g.bin";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--file") == 0) {
            file = argv[i + 1];
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    }
    EnsureFile(file);
    const std::u16string path = file.u16string();
    benchmark::RegisterBenchmark("Read4KiB/unedited", BM_Read4KiB_Unedited, path)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Read4KiB/100k_insertions_100k_deletions",
                                 BM_Read4KiB_100kInsertions100kDeletions, path)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Apply1MRandomEdits", BM_Apply1MRandomEdits, path)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Read333kSingleBytes", BM_ReadSingleBytesAsOverwritesDo, path)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
