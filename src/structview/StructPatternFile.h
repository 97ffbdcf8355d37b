#pragma once

#include "structview/PatternDirectives.h"
#include "structview/PatternExpression.h"

#include <cstdint>
#include <memory>
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
    // What the language added; a member that uses none of it lays out as before.
    bool repeat = false; // elements to the end of the data
    std::shared_ptr<const Expression> countExpression;
    std::shared_ptr<const Expression> placement; // offset from the entry struct's start
    std::shared_ptr<const Expression> until;     // repetition ends after an element making it true
    PatternEndian endian = PatternEndian::Inherit;
    std::uint64_t alignment = 1;        // as the layout applied it
    std::size_t structIndex = kNoIndex; // into StructPatternFile::structs
    std::size_t enumIndex = kNoIndex;   // into StructPatternFile::enums
    std::uint32_t line = 1;             // of the declaration, for messages
    std::uint32_t column = 1;

    static constexpr std::size_t kNoIndex = static_cast<std::size_t>(-1);
    // Whether the offset or the size comes from the data rather than the layout.
    [[nodiscard]] bool Dynamic() const { return SizedByData() || placement; }
    [[nodiscard]] bool SizedByData() const { return repeat || countExpression != nullptr; }
};

struct ResolvedStruct {
    std::u16string name; // alias, else tag, else "<anonymous>"
    std::vector<ResolvedMember> members;
    std::uint64_t size = 0;
    std::uint64_t alignment = 1;
    // Members' offsets or sizes come from the data, directly or through a struct member.
    bool dynamic = false;
    PatternEndian endian = PatternEndian::Inherit;
};

struct ResolvedEnum {
    std::u16string name;
    std::vector<std::pair<std::u16string, std::uint64_t>> values;
};

// A loaded and laid-out pattern file. Immutable once loaded; shared by pointer between
// the UI thread and the struct view's worker. The directive values are those the file set.
struct StructPatternFile : PatternDirectives {
    std::u16string entryName;
    bool entryImplicit = false; // chosen because the file defines exactly one struct
    std::vector<ResolvedStruct> structs;
    std::vector<ResolvedEnum> enums;
    bool extended = false; // see ParseState::extended
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
