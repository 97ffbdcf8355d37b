#pragma once

#include "structview/StructEvaluate.h"
#include "structview/StructPatternFile.h"
#include "structview/StructValueOptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orx {

// What the struct view lays over the document: the bytes at the caret and how to show them.
struct StructRowsInput {
    std::uint64_t baseOffset = 0;    // document offset of the entry struct
    std::vector<std::uint8_t> bytes; // read from baseOffset; may be short or empty
    std::shared_ptr<const StructPatternFile> file;
    std::u16string unavailableText; // for values whose bytes are not all present
    StructValueOptions options;
    bool sessionEndian = false; // options.endian replaces the pattern's own @endian too
    // Texts of the rows the language's newer constructs make (the string table's
    // structview.row.* entries).
    std::u16string cutText = u"cut at the end of the data";
    std::u16string elementsText = u"elements";
    std::u16string moreText = u"more follow";
    std::u16string errorText = u"Error";
    // Asked now and then while evaluating: true gives up (a newer request came).
    std::function<bool()> stopRequested = nullptr;
};

struct StructViewRow {
    std::u16string name;
    std::u16string offset;
    std::u16string value;
    std::u16string size;
    // The bytes the row stands for, as document offsets; not located: the "..." row.
    bool located = false;
    std::uint64_t first = 0;
    std::uint64_t length = 0;
    friend bool operator==(const StructViewRow&, const StructViewRow&) = default;
};

// The row of the innermost member whose bytes hold `offset` (the shortest, the deepest when
// lengths tie), or -1.
[[nodiscard]] int RowHoldingOffset(const std::vector<StructViewRow>& rows, std::uint64_t offset);

// Rows never exceed this many, plus one final row of "..." when members were left out.
inline constexpr std::size_t kMaxStructRows = 256;

// One row per member of the entry struct (padding included), with the members of each
// struct-typed member one level deeper.
[[nodiscard]] std::vector<StructViewRow> BuildStructRows(const StructRowsInput& input);
// The same, evaluated in the memory of the evaluations before it.
[[nodiscard]] std::vector<StructViewRow> BuildStructRows(const StructRowsInput& input,
                                                         EvaluationMemory& memory);

// The value tree the rows show: the entry struct evaluated over input.bytes.
[[nodiscard]] ValueTree EvaluateRowsInput(const StructRowsInput& input);
const ValueTree& EvaluateRowsInput(const StructRowsInput& input, EvaluationMemory& memory);

// What a node's row shows, without indentation.
[[nodiscard]] std::u16string NodeName(const ValueNode& node);
[[nodiscard]] std::u16string NodeType(const ValueNode& node);
[[nodiscard]] std::u16string NodeValue(const ValueTree& tree, const ValueNode& node,
                                       const StructRowsInput& input);
[[nodiscard]] std::u16string NodeSize(const ValueNode& node);

// Whether a member is a single struct whose members get rows of their own, one level deeper.
[[nodiscard]] bool IsExpandedStruct(const ResolvedMember& member);

// An offset as the table shows it: "0x" and upper-case hex digits without leading zeros.
[[nodiscard]] std::u16string StructOffsetText(std::uint64_t offset);

// The value text of member `member` placed at `offset` from the start of input.bytes.
[[nodiscard]] std::u16string FormatMemberValue(const ResolvedMember& member, std::uint64_t offset,
                                               const StructRowsInput& input);

// "entry = Name" and the eight directive values, then @endian and @anchor when the file
// sets them, one per line, joined by CR LF.
[[nodiscard]] std::u16string FormatStructInfo(const StructPatternFile& file);

// True when the struct's last member is a flexible array, directly or through a
// struct-typed last member; the view then reads extra bytes for it.
[[nodiscard]] bool EndsInFlexibleArray(const StructPatternFile& file, const ResolvedStruct& entry);

} // namespace orx
