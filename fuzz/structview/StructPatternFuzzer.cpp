// Loads arbitrary bytes as a pattern file and lays the result over arbitrary bytes.
// Input: pattern bytes, optionally followed by "\n#DATA\n" and the document bytes; without
// the marker the input itself serves as the document too.

#include "structview/PatternText.h"
#include "structview/StructRows.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::string_view kMarker = "\n#DATA\n";
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find(kMarker);
    const std::string_view pattern = input.substr(0, split);
    const std::string_view document =
        split == std::string_view::npos ? input : input.substr(split + kMarker.size());

    std::u16string text;
    std::u16string error;
    if (!orx::DecodePatternBytes(pattern, text, error)) {
        return 0;
    }
    auto file = std::make_shared<orx::StructPatternFile>();
    if (!orx::LoadStructPatternText(text, *file, error)) {
        if (error.empty()) {
            std::abort(); // every failure must explain itself
        }
        return 0;
    }
    const orx::ResolvedStruct* entry = orx::FindStruct(*file, file->entryName);
    if (!entry) {
        std::abort(); // a successful load always has its entry struct
    }
    (void)orx::EndsInFlexibleArray(*file, *entry);
    (void)orx::FormatStructInfo(*file);

    orx::StructRowsInput rows;
    rows.baseOffset = static_cast<std::uint64_t>(size) * 0x9E3779B97F4A7C15ull; // offsets may wrap
    rows.bytes.assign(document.begin(), document.end());
    rows.file = file;
    rows.options = orx::StructValueOptions{static_cast<std::uint32_t>(size & 1),
                                           static_cast<std::uint32_t>(size >> 1 & 1),
                                           static_cast<std::uint32_t>(size >> 2 & 1)};
    if (orx::BuildStructRows(rows).size() > orx::kMaxStructRows + 1) {
        std::abort();
    }
    return 0;
}
