#pragma once

#include "structview/PatternDirectives.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// How a member's value is rendered.
enum class MemberKind : std::uint32_t { Integer = 0, Float = 1, Double = 2, Struct = 3 };

// One member of a laid-out struct; padding that the layout inserted is a member too.
struct ResolvedMember {
    std::u16string name;       // "<padding>" for padding
    std::u16string typeName;   // as written; "padding" for padding
    std::u16string typeKey;    // normalized; "padding" for padding
    std::u16string structName; // display name of a struct-typed member's struct
    MemberKind kind = MemberKind::Integer;
    std::uint64_t offset = 0;      // from the start of the struct
    std::uint64_t elementSize = 0; // 1 for padding
    std::uint64_t totalSize = 0;   // count * elementSize; 0 for a flexible array
    std::uint64_t count = 0;       // declared count; 0 when flexible; the length for padding
    bool flexible = false;
    bool isPadding = false;
    bool isPointer = false;
};

struct ResolvedStruct {
    std::u16string name; // alias, else tag, else "<anonymous>"
    std::vector<ResolvedMember> members;
    std::uint64_t size = 0;
    std::uint64_t alignment = 1;
};

// A loaded and laid-out pattern file. Immutable once loaded; shared by pointer between
// the UI thread and the struct view's worker. The directive values are those the file set.
struct StructPatternFile : PatternDirectives {
    std::u16string entryName;
    bool entryImplicit = false; // chosen because the file defines exactly one struct
    std::vector<ResolvedStruct> structs;
};

// The first struct whose display name is `name`, or null.
[[nodiscard]] const ResolvedStruct* FindStruct(const StructPatternFile& file,
                                               std::u16string_view name);

// Loads a pattern file: reads, parses, lays out and picks the entry struct. On failure the
// message is left in `error` (as the struct view shows it after its prefix) and `file` is
// not touched.
[[nodiscard]] bool LoadStructPatternFile(const std::u16string& path, StructPatternFile& file,
                                         std::u16string& error);
// The same for an already decoded text.
[[nodiscard]] bool LoadStructPatternText(std::u16string_view text, StructPatternFile& file,
                                         std::u16string& error);

} // namespace orx
