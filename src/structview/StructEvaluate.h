#pragma once

#include "structview/StructPatternFile.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace orx {

// What one node of the value tree stands for.
enum class ValueNodeKind : std::uint8_t { Entry, Member, Element, Padding };

enum class ValueStatus : std::uint8_t {
    Ok,
    Unavailable, // a fixed member whose bytes are not all in the data
    Cut,         // a size from the data that reaches past its end: what there is
    Error,       // a count or placement that could not be worked out; nothing follows it
};

// One value of an evaluated pattern. Children are linked, first child and next sibling, so
// that a struct's members follow it however deep the evaluation went in between.
struct ValueNode {
    static constexpr std::uint32_t kNone = UINT32_MAX;

    ValueNodeKind kind = ValueNodeKind::Member;
    ValueStatus status = ValueStatus::Ok;
    bool bigEndian = false;
    bool moreFollow = false; // an array that stopped at the window's end or the work bound
    const ResolvedMember* member = nullptr;     // Member and static Padding nodes
    const ResolvedStruct* structType = nullptr; // nodes whose members are children
    std::uint64_t offset = 0;                   // from the start of the bytes
    std::uint64_t size = 0;                     // bytes covered, within the data when cut
    std::uint64_t count = 0;                    // elements of an array; the element index
    std::uint32_t firstChild = kNone;
    std::uint32_t nextSibling = kNone;
    std::uint32_t error = kNone; // index into ValueTree::errors
};

struct ValueTree {
    std::vector<ValueNode> nodes; // nodes[0] is the entry struct when there is one
    std::vector<std::u16string> errors;
    bool workLimitReached = false;
};

// Evaluation stops adding nodes here, so that any pattern over any data takes bounded time
// and memory; arrays cut short by it say that more elements follow.
inline constexpr std::size_t kMaxValueNodes = std::size_t{1} << 20;
// Structs nested deeper than this show as bytes.
inline constexpr std::size_t kMaxValueDepth = 32;

struct EvaluateOptions {
    bool bigEndian = false;     // the byte order where the pattern names none
    bool sessionEndian = false; // bigEndian also replaces the pattern's @endian
    bool moreData = false;      // the document goes on past the bytes
    // Asked now and then: true gives up (a newer request came), the tree ending where it was.
    std::function<bool()> stopRequested;
};

// What one evaluation leaves for the next on the same thread. A window's worth of nodes is
// tens of MiB, and touching fresh memory costs more than the evaluation itself.
struct EvaluationMemory {
    ValueTree tree;
    std::vector<std::uint32_t> lastChild;
};

// Lays the entry struct of `file` over `bytes` (the entry starts at bytes[0]), reading
// counts and placements from the data. Never reads outside `bytes`.
[[nodiscard]] ValueTree EvaluatePattern(const StructPatternFile& file,
                                        std::span<const std::uint8_t> bytes,
                                        const EvaluateOptions& options);
// The same in `memory`, whose tree is the result.
const ValueTree& EvaluatePattern(const StructPatternFile& file, std::span<const std::uint8_t> bytes,
                                 const EvaluateOptions& options, EvaluationMemory& memory);

// The struct a struct-typed member holds, or null.
[[nodiscard]] const ResolvedStruct* MemberStruct(const StructPatternFile& file,
                                                 const ResolvedMember& member);

} // namespace orx
