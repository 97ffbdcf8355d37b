#pragma once

#include "structview/PatternDirectives.h"
#include "structview/PatternExpression.h"
#include "structview/PatternLexer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace orx {

// The type part of a declaration as written.
struct TypeRef {
    std::u16string typeName; // type words joined by single spaces, without '*'
    std::u16string key;      // NormalizeName(typeName); every lookup uses it
    std::uint32_t pointerDepth = 0;
};

struct MemberDecl {
    std::u16string name;
    TypeRef type;
    std::uint64_t count = 1; // 0 for a flexible array
    bool flexible = false;   // declared with []
    bool repeat = false;     // declared with [...]: elements to the end of the data
    std::shared_ptr<const Expression> countExpression; // a count read from the data
    std::shared_ptr<const Expression> placement;       // "at expr": offset in the entry
    std::shared_ptr<const Expression> until; // [... until expr]: the last element makes it true
    PatternEndian endian = PatternEndian::Inherit;
    std::uint32_t line = 1;
    std::uint32_t column = 1;
};

struct StructDecl {
    std::u16string tag;
    std::u16string alias; // a second name written after the closing brace
    std::vector<MemberDecl> members;
    PatternEndian endian = PatternEndian::Inherit;
};

struct EnumDecl {
    std::u16string name;
    TypeRef underlying;
    std::vector<std::pair<std::u16string, std::uint64_t>> values;
    std::uint32_t line = 1;
    std::uint32_t column = 1;
};

// Everything a pattern file declares, before layout; the directive values are inherited.
struct ParseState : PatternDirectives {
    std::vector<Token> tokens;
    std::size_t position = 0;
    std::u16string source;

    bool hasEntry = false;
    std::u16string entryName;

    std::vector<StructDecl> structs; // in the order their declarations end
    std::unordered_map<std::u16string, TypeRef> typedefs;
    std::unordered_map<std::u16string, std::size_t> structIndexByName;
    std::vector<EnumDecl> enums;
    std::unordered_map<std::u16string, std::size_t> enumIndexByName;
    // Whether the file reads sizes or places from the data, repeats, or names byte orders
    // or enums: such files show every struct expanded, not only the entry's members.
    bool extended = false;

    std::u16string error;
};

// Resets `state`, tokenizes `text` and parses every top-level item. Stops at the first
// error, which is left in state.error. Types are not resolved here.
[[nodiscard]] bool ParsePattern(std::u16string_view text, ParseState& state);

} // namespace orx
