#pragma once

#include "document/ReadOnlyDocument.h"
#include "document/ReadPlan.h"
#include "structview/StructPatternFile.h"
#include "structview/StructRows.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// The most the view reads at the caret for one request. A pattern may declare members far
// larger than memory (`char data[4000000000];`); reading them whole at every caret move
// would stall the editor, so members that end past this limit show as unavailable.
inline constexpr std::uint64_t kMaxStructRead = 16u << 20;
// Bytes read beyond a struct that ends in a flexible array, for that array to show.
inline constexpr std::uint64_t kFlexibleTailRead = 256;

// How many bytes from the entry struct's start the rows need: the struct, plus the
// flexible tail, at most `limit`; the whole `limit` when sizes or places come from the data. When
// the struct is larger than the limit, only as far as the last member that ends within it: members
// cut short show as unavailable either way.
[[nodiscard]] std::uint64_t StructBytesToRead(const StructPatternFile& file,
                                              std::uint64_t limit = kMaxStructRead);

// Where the entry struct lies: at the caret, or staying at one offset while the caret moves.
struct StructPlacement {
    bool stay = false;
    std::uint64_t offset = 0; // when staying
    friend bool operator==(const StructPlacement&, const StructPlacement&) = default;
};

// A pattern with @anchor stays at its offset; any other follows the caret.
[[nodiscard]] StructPlacement InitialPlacement(const StructPatternFile& file);
// Following turns into staying where the caret is now; staying turns into following.
[[nodiscard]] StructPlacement TogglePlacement(const StructPlacement& placement,
                                              std::uint64_t caret);
// The document offset of the entry struct.
[[nodiscard]] std::uint64_t StructBaseOffset(const StructPlacement& placement, std::uint64_t caret);
// The string table's word between the file name and the offset of a staying pattern.
inline constexpr std::string_view kPlacementAtKey = "structview.placement.at";
// The name the view's header gives the pattern: "png.orpat at 0x0" while it stays, where
// `at` is the text of kPlacementAtKey.
[[nodiscard]] std::u16string PlacementCaption(std::u16string_view fileName,
                                              const StructPlacement& placement,
                                              std::u16string_view at);

// The entry struct's bytes at `offset` of an open document (fewer at its end); none when
// the document is closed or the file has no entry struct.
[[nodiscard]] std::vector<std::uint8_t> ReadStructBytes(const IReadOnlyDocument& document,
                                                        std::uint64_t offset,
                                                        const StructPatternFile& file);

// Rows whose bytes the worker reads: up to 16 MiB at every caret move would stall the window
// if it read them itself.
struct StructRowsJob {
    StructRowsInput input; // its bytes come from the plan
    ReadPlan plan;
};

// What a worker keeps from one job for the next: the bytes and the value tree of a 16 MiB
// window are tens of MiB, whose first touch costs more than reading and evaluating them.
struct StructWorkerMemory {
    std::vector<std::uint8_t> bytes;
    EvaluationMemory evaluation;
};

// The rows of `job` over the bytes its plan reads. Memory much larger than a job needs is
// given back.
[[nodiscard]] std::vector<StructViewRow> BuildStructRows(const StructRowsJob& job,
                                                         StructWorkerMemory& memory);

} // namespace orx
