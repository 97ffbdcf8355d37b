#include "structview/StructLayout.h"

#include "structview/PatternText.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace orx {
namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();

std::u16string DisplayName(const StructDecl& decl)
{
    if (!decl.alias.empty()) {
        return decl.alias;
    }
    return decl.tag.empty() ? u"<anonymous>" : decl.tag;
}

ResolvedMember Padding(std::uint64_t offset, std::uint64_t length)
{
    ResolvedMember padding;
    padding.name = u"<padding>";
    padding.typeName = u"padding";
    padding.typeKey = u"padding";
    padding.offset = offset;
    padding.elementSize = 1;
    padding.totalSize = length;
    padding.count = length;
    padding.isPadding = true;
    return padding;
}

enum class VisitState { NotVisited, InProgress, Done };

// Lays out structs with an explicit stack instead of recursion: a pattern may nest
// thousands of structs, and loading runs on the UI thread's small stack.
class StructLayouter {
public:
    StructLayouter(const ParseState& state, std::u16string& error)
        : state_(state), error_(error), chains_(state),
          visit_(state.structs.size(), VisitState::NotVisited), resolved_(state.structs.size())
    {}

    bool ResolveAll()
    {
        for (std::size_t i = 0; i < state_.structs.size(); ++i) {
            if (!Resolve(i)) {
                return false;
            }
        }
        return true;
    }

    std::vector<ResolvedStruct> TakeStructs() { return std::move(resolved_); }

private:
    struct Frame {
        std::size_t index = 0;
        std::size_t next = 0;
        std::uint64_t offset = 0;
        std::uint64_t maxAlign = 1;
        bool dynamic = false;
    };

    bool Fail(const MemberDecl& member, std::u16string_view message)
    {
        error_ = FormatParseError(state_.source, member.line, member.column, message);
        return false;
    }

    bool FailRecursive()
    {
        error_ = u"Direct recursive struct embedding is not allowed.";
        return false;
    }

    // Pushes a frame for a struct that is not laid out yet; fails on a struct that is
    // being laid out, which can only mean it contains itself by value.
    bool Enter(std::size_t index)
    {
        if (visit_[index] == VisitState::InProgress) {
            return FailRecursive();
        }
        visit_[index] = VisitState::InProgress;
        resolved_[index].name = DisplayName(state_.structs[index]);
        stack_.push_back(Frame{index});
        return true;
    }

    // The index of a struct the member holds by value and that still needs laying out.
    std::optional<std::size_t> PendingDependency(const MemberDecl& member)
    {
        const TypeTarget target = chains_.Follow(member.type);
        if (target.kind != TypeTarget::Kind::Named || BuiltinTypeSize(state_, target.named.key)) {
            return std::nullopt;
        }
        const auto found = state_.structIndexByName.find(target.named.key);
        if (found == state_.structIndexByName.end() || visit_[found->second] == VisitState::Done) {
            return std::nullopt;
        }
        return found->second;
    }

    std::optional<ResolvedStructInfo> LaidOut(std::size_t index)
    {
        if (visit_[index] != VisitState::Done) {
            FailRecursive();
            return std::nullopt;
        }
        return ResolvedStructInfo{resolved_[index].size, resolved_[index].alignment,
                                  resolved_[index].dynamic};
    }

    bool Resolve(std::size_t root)
    {
        if (visit_[root] == VisitState::Done) {
            return true;
        }
        const StructResolver laidOut = [this](std::size_t index) { return LaidOut(index); };
        if (!Enter(root)) {
            return false;
        }
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            const StructDecl& decl = state_.structs[frame.index];
            ResolvedStruct& out = resolved_[frame.index];
            if (frame.next == decl.members.size()) {
                if (!Finish(frame, out)) {
                    return false;
                }
                stack_.pop_back();
                continue;
            }
            const MemberDecl& member = decl.members[frame.next];
            if (member.flexible && frame.next + 1 != decl.members.size()) {
                return Fail(member, u"Flexible array member must be the last member.");
            }
            if (const std::optional<std::size_t> dependency = PendingDependency(member)) {
                if (!Enter(*dependency)) {
                    return false;
                }
                continue; // `frame` is stale now; this member is taken up again later
            }
            const std::optional<ResolvedType> type =
                ResolveType(chains_, state_, member.type, laidOut, error_);
            if (!type || !CheckPaths(member) || !Place(frame, member, *type, out)) {
                return false;
            }
            ++frame.next;
        }
        return true;
    }

    // Every member an expression names must be declared somewhere; which one a path reaches
    // depends on where the struct is used, so the evaluation checks the rest.
    bool CheckPaths(const MemberDecl& member)
    {
        if (memberNames_.empty()) {
            for (const StructDecl& decl : state_.structs) {
                for (const MemberDecl& declared : decl.members) {
                    memberNames_.insert(declared.name);
                }
            }
        }
        for (const Expression* expression :
             {member.countExpression.get(), member.placement.get(), member.until.get()}) {
            if (!expression) {
                continue;
            }
            for (const ExpressionNode& node : expression->nodes) {
                if (node.kind == ExpressionNode::Kind::Path &&
                    !memberNames_.contains(node.path[0]) && !NamesDataSize(node.path)) {
                    error_ = FormatParseError(state_.source, node.line, node.column,
                                              u"Unknown member in expression: " + node.path[0]);
                    return false;
                }
            }
        }
        return true;
    }

    bool Place(Frame& frame, const MemberDecl& member, const ResolvedType& type,
               ResolvedStruct& out)
    {
        const std::uint64_t align =
            state_.member_align == 0 ? 1 : std::min(state_.member_align, type.alignment);
        frame.maxAlign = std::max(frame.maxAlign, align);
        const bool sizeFromData = member.repeat || member.countExpression || type.dynamic;
        frame.dynamic = frame.dynamic || sizeFromData || member.placement;
        if (!member.placement && frame.offset % align != 0) {
            const std::uint64_t length = align - frame.offset % align;
            if (frame.offset > kMaxU64 - length) {
                return Fail(member, u"Member offset does not fit in 64 bits: " + member.name);
            }
            out.members.push_back(Padding(frame.offset, length));
            frame.offset += length;
        }
        if (member.until && type.kind != MemberKind::Struct) {
            return Fail(member, u"Only an array of structs can repeat until: " + member.name);
        }
        ResolvedMember placed;
        placed.name = member.name;
        placed.typeName = member.type.typeName;
        placed.typeKey = member.type.key;
        placed.structName = type.structName;
        placed.kind = type.kind;
        placed.offset = frame.offset;
        placed.elementSize = type.size;
        placed.count = member.flexible ? 0 : member.count;
        placed.flexible = member.flexible;
        placed.isPointer = member.type.pointerDepth > 0;
        placed.repeat = member.repeat;
        placed.countExpression = member.countExpression;
        placed.placement = member.placement;
        placed.until = member.until;
        placed.endian = member.endian;
        placed.alignment = align;
        placed.structIndex = type.structIndex;
        placed.enumIndex = type.enumIndex;
        placed.line = member.line;
        placed.column = member.column;
        if (member.repeat || member.countExpression) {
            placed.count = 0; // known once the data is read
        }
        if (placed.elementSize != 0 && placed.count > kMaxU64 / placed.elementSize) {
            return Fail(member, u"Array size does not fit in 64 bits: " + member.name);
        }
        placed.totalSize = placed.count * placed.elementSize;
        // Elements without a size could repeat forever; a struct sized by the data is checked
        // when it is read.
        const bool sized =
            sizeFromData ? placed.elementSize != 0 || type.dynamic : placed.totalSize != 0;
        if (!sized && !placed.isPointer && !placed.flexible) {
            return Fail(member, u"Unsupported zero-sized member type: " + member.name);
        }
        if (frame.offset > kMaxU64 - placed.totalSize) {
            return Fail(member, u"Member offset does not fit in 64 bits: " + member.name);
        }
        if (!member.placement) {
            frame.offset += placed.totalSize;
        }
        out.members.push_back(std::move(placed));
        return true;
    }

    bool Finish(const Frame& frame, ResolvedStruct& out)
    {
        std::uint64_t size = frame.offset;
        if (state_.member_align != 0 && size % frame.maxAlign != 0) {
            const std::uint64_t length = frame.maxAlign - size % frame.maxAlign;
            if (size > kMaxU64 - length) {
                error_ = u"Struct size does not fit in 64 bits: " + out.name;
                return false;
            }
            out.members.push_back(Padding(size, length));
            size += length;
        }
        out.size = size;
        out.alignment = frame.maxAlign;
        out.dynamic = frame.dynamic;
        out.endian = state_.structs[frame.index].endian;
        visit_[frame.index] = VisitState::Done;
        return true;
    }

    const ParseState& state_;
    std::u16string& error_;
    TypedefChains chains_;
    std::vector<VisitState> visit_;
    std::vector<ResolvedStruct> resolved_;
    std::vector<Frame> stack_;
    std::unordered_set<std::u16string> memberNames_;
};

} // namespace

std::optional<std::uint64_t> BuiltinTypeSize(const ParseState& state, std::u16string_view key)
{
    struct Builtin {
        std::u16string_view key;
        std::uint64_t fixed; // used when `directive` is null
        const std::uint64_t PatternDirectives::*directive;
    };
    static constexpr Builtin kBuiltins[] = {
        {u"char", 1, nullptr},
        {u"signed char", 1, nullptr},
        {u"unsigned char", 1, nullptr},
        {u"int8_t", 1, nullptr},
        {u"uint8_t", 1, nullptr},
        {u"short", 0, &PatternDirectives::sizeof_short},
        {u"signed short", 0, &PatternDirectives::sizeof_short},
        {u"unsigned short", 0, &PatternDirectives::sizeof_short},
        {u"int16_t", 2, nullptr},
        {u"uint16_t", 2, nullptr},
        {u"int", 0, &PatternDirectives::sizeof_int},
        {u"signed int", 0, &PatternDirectives::sizeof_int},
        {u"unsigned int", 0, &PatternDirectives::sizeof_int},
        {u"int32_t", 4, nullptr},
        {u"uint32_t", 4, nullptr},
        {u"long", 0, &PatternDirectives::sizeof_long},
        {u"signed long", 0, &PatternDirectives::sizeof_long},
        {u"unsigned long", 0, &PatternDirectives::sizeof_long},
        {u"long long", 0, &PatternDirectives::sizeof_long_long},
        {u"signed long long", 0, &PatternDirectives::sizeof_long_long},
        {u"unsigned long long", 0, &PatternDirectives::sizeof_long_long},
        {u"int64_t", 8, nullptr},
        {u"uint64_t", 8, nullptr},
        {u"float", 0, &PatternDirectives::sizeof_float},
        {u"double", 0, &PatternDirectives::sizeof_double},
        {u"void", 0, nullptr},
    };
    for (const Builtin& builtin : kBuiltins) {
        if (builtin.key == key) {
            return builtin.directive ? state.*builtin.directive : builtin.fixed;
        }
    }
    return std::nullopt;
}

bool TypedefChains::IsTypedef(const std::u16string& key) const
{
    return !BuiltinTypeSize(state_, key) && state_.typedefs.contains(key);
}

TypeTarget TypedefChains::Follow(const TypeRef& type)
{
    if (type.pointerDepth > 0) {
        return TypeTarget{TypeTarget::Kind::Pointer, {}};
    }
    if (!IsTypedef(type.key)) {
        return TypeTarget{TypeTarget::Kind::Named, type};
    }
    std::vector<std::u16string> path;
    std::unordered_set<std::u16string> onPath;
    TypeRef current = type;
    TypeTarget result;
    for (;;) {
        if (const auto known = memo_.find(current.key); known != memo_.end()) {
            result = known->second;
            break;
        }
        if (!onPath.insert(current.key).second) {
            result = TypeTarget{TypeTarget::Kind::Cycle, current};
            break;
        }
        path.push_back(current.key);
        const TypeRef& next = state_.typedefs.at(current.key);
        if (next.pointerDepth > 0) {
            result = TypeTarget{TypeTarget::Kind::Pointer, {}};
            break;
        }
        if (!IsTypedef(next.key)) {
            result = TypeTarget{TypeTarget::Kind::Named, next};
            break;
        }
        current = next;
    }
    for (std::u16string& step : path) {
        memo_.emplace(std::move(step), result);
    }
    return result;
}

std::optional<ResolvedType> ResolveType(TypedefChains& chains, const ParseState& state,
                                        const TypeRef& type, const StructResolver& resolveStruct,
                                        std::u16string& error)
{
    const TypeTarget target = chains.Follow(type);
    if (target.kind == TypeTarget::Kind::Pointer) {
        return ResolvedType{state.pointer_size, state.pointer_size, MemberKind::Integer, {}};
    }
    if (target.kind == TypeTarget::Kind::Cycle) {
        error = u"Typedef chain leads back to itself: " + target.named.typeName;
        return std::nullopt;
    }
    const TypeRef& named = target.named;
    if (const std::optional<std::uint64_t> size = BuiltinTypeSize(state, named.key)) {
        const MemberKind kind = named.key == u"float"    ? MemberKind::Float
                                : named.key == u"double" ? MemberKind::Double
                                                         : MemberKind::Integer;
        return ResolvedType{*size, std::max<std::uint64_t>(*size, 1), kind, {}};
    }
    if (const auto found = state.structIndexByName.find(named.key);
        found != state.structIndexByName.end()) {
        const std::optional<ResolvedStructInfo> info = resolveStruct(found->second);
        if (!info) {
            return std::nullopt;
        }
        const StructDecl& decl = state.structs[found->second];
        return ResolvedType{info->size,         std::max<std::uint64_t>(info->alignment, 1),
                            MemberKind::Struct, decl.alias.empty() ? decl.tag : decl.alias,
                            found->second,      ResolvedMember::kNoIndex,
                            info->dynamic};
    }
    if (const auto found = state.enumIndexByName.find(named.key);
        found != state.enumIndexByName.end()) {
        const EnumDecl& decl = state.enums[found->second];
        const TypeTarget underlying = chains.Follow(decl.underlying);
        const std::optional<std::uint64_t> size = underlying.kind == TypeTarget::Kind::Named
                                                      ? BuiltinTypeSize(state, underlying.named.key)
                                                      : std::nullopt;
        if (!size || *size == 0 || *size > 8 || underlying.named.key == u"float" ||
            underlying.named.key == u"double") {
            error = FormatParseError(state.source, decl.line, decl.column,
                                     u"Enum type must be an integer type: " + decl.name);
            return std::nullopt;
        }
        return ResolvedType{*size,        *size, MemberKind::Integer, {}, ResolvedMember::kNoIndex,
                            found->second};
    }
    error = u"Unknown type: " + named.typeName;
    return std::nullopt;
}

std::optional<ResolvedType> ResolveType(const ParseState& state, const TypeRef& type,
                                        const StructResolver& resolveStruct, std::u16string& error)
{
    TypedefChains chains(state);
    return ResolveType(chains, state, type, resolveStruct, error);
}

bool ResolveStructs(const ParseState& state, StructPatternFile& file, std::u16string& error)
{
    StructLayouter layouter(state, error);
    if (!layouter.ResolveAll()) {
        return false;
    }
    static_cast<PatternDirectives&>(file) = state;
    file.structs = layouter.TakeStructs();
    file.enums.clear();
    for (const EnumDecl& decl : state.enums) {
        file.enums.push_back(ResolvedEnum{decl.name, decl.values});
    }
    file.extended = state.extended;
    return true;
}

} // namespace orx
