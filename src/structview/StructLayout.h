#pragma once

#include "structview/PatternParser.h"
#include "structview/StructPatternFile.h"

#include <functional>
#include <optional>
#include <unordered_map>

namespace orx {

struct ResolvedType {
    std::uint64_t size = 0;
    std::uint64_t alignment = 1;
    MemberKind kind = MemberKind::Integer;
    std::u16string structName;
    std::size_t structIndex = ResolvedMember::kNoIndex;
    std::size_t enumIndex = ResolvedMember::kNoIndex;
    bool dynamic = false; // a struct whose size comes from the data
};

struct ResolvedStructInfo {
    std::uint64_t size = 0;
    std::uint64_t alignment = 1;
    bool dynamic = false;
};

// Lays out the struct with the given index (or returns the layout already made).
using StructResolver = std::function<std::optional<ResolvedStructInfo>(std::size_t index)>;

// Size of a built-in type under the file's directives; nothing for other names.
[[nodiscard]] std::optional<std::uint64_t> BuiltinTypeSize(const ParseState& state,
                                                           std::u16string_view key);

// Where a type reference leads once typedefs are followed.
struct TypeTarget {
    enum class Kind { Pointer, Named, Cycle };
    Kind kind = Kind::Named;
    TypeRef named; // Named: a built-in, struct or unknown name; Cycle: the name met twice
};

// Follows typedef chains, each typedef at most once per load, so long chains used by
// many members stay linear.
class TypedefChains {
public:
    explicit TypedefChains(const ParseState& state) : state_(state) {}
    [[nodiscard]] TypeTarget Follow(const TypeRef& type);

private:
    [[nodiscard]] bool IsTypedef(const std::u16string& key) const;

    const ParseState& state_;
    std::unordered_map<std::u16string, TypeTarget> memo_;
};

[[nodiscard]] std::optional<ResolvedType> ResolveType(TypedefChains& chains,
                                                      const ParseState& state, const TypeRef& type,
                                                      const StructResolver& resolveStruct,
                                                      std::u16string& error);
[[nodiscard]] std::optional<ResolvedType> ResolveType(const ParseState& state, const TypeRef& type,
                                                      const StructResolver& resolveStruct,
                                                      std::u16string& error);

// Lays out every struct of `state` into `file` (directive values and structs; the entry is
// left to the load).
[[nodiscard]] bool ResolveStructs(const ParseState& state, StructPatternFile& file,
                                  std::u16string& error);

} // namespace orx
