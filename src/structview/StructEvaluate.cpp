#include "structview/StructEvaluate.h"

#include "structview/PatternExpression.h"
#include "structview/StructRows.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orx {
namespace {

constexpr std::array<std::u16string_view, 14> kSignedKeys = {
    u"char",        u"signed char", u"int8_t",           u"short",   u"signed short",
    u"int16_t",     u"int",         u"signed int",       u"int32_t", u"long",
    u"signed long", u"long long",   u"signed long long", u"int64_t"};

std::u16string Quoted(std::u16string_view name)
{
    // Appended, not joined with operator+: GCC 12 at -O3 warns falsely (-Wrestrict) on that.
    std::u16string quoted;
    quoted.reserve(name.size() + 2);
    quoted += u'\'';
    quoted += name;
    quoted += u'\'';
    return quoted;
}

// How a member went: whether the struct holding it can go on, and how far it reached.
struct Step {
    bool ok = true;
    std::uint64_t size = 0;
    bool cut = false; // something in it stopped at the end of the data
};

class Evaluator final : public ExpressionScope {
public:
    Evaluator(const StructPatternFile& file, std::span<const std::uint8_t> bytes,
              const EvaluateOptions& options, EvaluationMemory& memory)
        : file_(file), bytes_(bytes), options_(options), tree_(memory.tree),
          lastChild_(memory.lastChild)
    {
        // Growing by copies costs more than the evaluation; pages reserved but not used
        // are never touched. Memory far beyond what this evaluation can use goes back.
        const std::size_t expected = std::min(kMaxValueNodes, bytes.size() / 4 + 64);
        if (tree_.nodes.capacity() > 4 * expected) {
            tree_.nodes = {};
            lastChild_ = {};
        }
        tree_.nodes.clear();
        tree_.errors.clear();
        tree_.workLimitReached = false;
        tree_.nodes.reserve(expected);
        lastChild_.reserve(expected);
        lastChild_.assign(1, ValueNode::kNone);
    }

    void Run()
    {
        const ResolvedStruct* entry = FindStruct(file_, file_.entryName);
        if (!entry) {
            return;
        }
        bool big = options_.bigEndian;
        if (!options_.sessionEndian && file_.endian != PatternEndian::Inherit) {
            big = file_.endian == PatternEndian::Big;
        }
        const std::uint32_t root = NewNode(ValueNodeKind::Entry, nullptr, 0, big);
        tree_.nodes[root].structType = entry;
        const Step step = EvaluateStruct(*entry, 0, root, 0, big);
        tree_.nodes[root].size = step.size;
    }

    ExpressionValue Lookup(const std::vector<std::u16string>& path) const override
    {
        std::uint32_t found = ValueNode::kNone;
        for (std::size_t frame = frames_.size(); frame-- > 0 && found == ValueNode::kNone;) {
            found = Child(frames_[frame], path[0]);
        }
        for (std::size_t i = 1; i < path.size() && found != ValueNode::kNone; ++i) {
            found = Child(found, path[i]);
        }
        auto name = [&path] { return Quoted(JoinPath(path)); }; // only for messages
        if (found == ValueNode::kNone && NamesDataSize(path)) {
            if (options_.moreData) {
                return {0, u"The end of the data lies past the read window."};
            }
            return {bytes_.size(), {}};
        }
        if (found == ValueNode::kNone) {
            return {0, u"No member " + name() + u" was read before this one."};
        }
        const ValueNode& node = tree_.nodes[found];
        const ResolvedMember& member = *node.member;
        if (member.kind != MemberKind::Integer || member.structIndex != ResolvedMember::kNoIndex ||
            !member.structName.empty() || member.count != 1 || member.SizedByData() ||
            member.flexible || member.elementSize == 0 || member.elementSize > 8) {
            return {0, u"Member " + name() + u" is not a single integer."};
        }
        if (node.status != ValueStatus::Ok) {
            return {0, u"Member " + name() + u" could not be read: it ends past the data."};
        }
        std::uint64_t value = 0;
        const auto size = static_cast<std::size_t>(member.elementSize);
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t at =
                static_cast<std::size_t>(node.offset) + (node.bigEndian ? i : size - 1 - i);
            value = value << 8 | bytes_[at];
        }
        bool isSigned = false;
        for (std::u16string_view key : kSignedKeys) {
            isSigned = isSigned || member.typeKey == key;
        }
        if (isSigned && member.enumIndex == ResolvedMember::kNoIndex &&
            (value >> (8 * size - 1) & 1) != 0) {
            return {0, u"Member " + name() + u" is negative."};
        }
        return {value, {}};
    }

private:
    // The member child of `parent` called `name`, or kNone.
    std::uint32_t Child(std::uint32_t parent, const std::u16string& name) const
    {
        for (std::uint32_t child = tree_.nodes[parent].firstChild; child != ValueNode::kNone;
             child = tree_.nodes[child].nextSibling) {
            const ValueNode& node = tree_.nodes[child];
            if (node.kind == ValueNodeKind::Member && node.member->name == name) {
                return child;
            }
        }
        return ValueNode::kNone;
    }

    // The node bound, or the caller gave up on this evaluation (asked every 1024 calls).
    bool Full() const
    {
        if (!stopped_ && options_.stopRequested && ++fullChecks_ % 1024 == 0) {
            stopped_ = options_.stopRequested();
        }
        return stopped_ || tree_.nodes.size() >= kMaxValueNodes;
    }

    std::uint32_t NewNode(ValueNodeKind kind, const ResolvedMember* member, std::uint64_t offset,
                          bool big)
    {
        ValueNode node;
        node.kind = kind;
        node.member = member;
        node.offset = offset;
        node.bigEndian = big;
        tree_.nodes.push_back(node);
        return static_cast<std::uint32_t>(tree_.nodes.size() - 1);
    }

    // Appends a node as the last child of `parent`.
    std::uint32_t AddChild(std::uint32_t parent, ValueNodeKind kind, const ResolvedMember* member,
                           std::uint64_t offset, bool big)
    {
        const std::uint32_t index = NewNode(kind, member, offset, big);
        std::uint32_t& last = lastChild_[parent];
        if (last == ValueNode::kNone) {
            tree_.nodes[parent].firstChild = index;
        } else {
            tree_.nodes[last].nextSibling = index;
        }
        last = index;
        lastChild_.resize(tree_.nodes.size(), ValueNode::kNone);
        return index;
    }

    Step Fail(std::uint32_t node, std::u16string message)
    {
        tree_.nodes[node].status = ValueStatus::Error;
        tree_.nodes[node].error = static_cast<std::uint32_t>(tree_.errors.size());
        tree_.errors.push_back(std::move(message));
        return Step{false, 0};
    }

    std::uint64_t Available(std::uint64_t offset) const
    {
        return offset < bytes_.size() ? bytes_.size() - offset : 0;
    }

    Step EvaluateStruct(const ResolvedStruct& type, std::uint64_t base, std::uint32_t node,
                        std::size_t depth, bool big)
    {
        if (type.endian != PatternEndian::Inherit) {
            big = type.endian == PatternEndian::Big;
        }
        frames_.push_back(node);
        const Step step = type.dynamic ? DynamicMembers(type, base, node, depth, big)
                                       : FixedMembers(type, base, node, depth, big);
        frames_.pop_back();
        return step;
    }

    // A struct laid out once and for all: every member where the layout put it.
    Step FixedMembers(const ResolvedStruct& type, std::uint64_t base, std::uint32_t node,
                      std::size_t depth, bool big)
    {
        bool cut = false;
        for (const ResolvedMember& member : type.members) {
            if (Full()) {
                tree_.workLimitReached = true;
                return Step{false, 0};
            }
            const std::uint64_t offset = base + member.offset;
            if (member.isPadding) {
                const std::uint32_t padding =
                    AddChild(node, ValueNodeKind::Padding, &member, offset, big);
                tree_.nodes[padding].size = member.totalSize;
                if (member.totalSize > Available(offset)) {
                    tree_.nodes[padding].status = ValueStatus::Unavailable;
                }
                continue;
            }
            const Step step = EvaluateMember(member, offset, node, depth, big);
            if (!step.ok) {
                return step;
            }
            cut = cut || step.cut;
        }
        return Step{true, type.size, cut};
    }

    // A struct whose members move with the data: offsets and padding worked out as read.
    Step DynamicMembers(const ResolvedStruct& type, std::uint64_t base, std::uint32_t node,
                        std::size_t depth, bool big)
    {
        std::uint64_t cursor = base;
        bool cut = false;
        for (const ResolvedMember& member : type.members) {
            if (member.isPadding) {
                continue;
            }
            if (Full()) {
                tree_.workLimitReached = true;
                return Step{false, 0};
            }
            if (member.placement) {
                const ExpressionValue at = Evaluate(*member.placement, *this);
                if (!at.error.empty() || at.value > bytes_.size()) {
                    const std::uint32_t failed =
                        AddChild(node, ValueNodeKind::Member, &member, cursor, big);
                    return Fail(failed,
                                at.error.empty()
                                    ? u"Placement is outside the data: " + member.placement->text
                                    : at.error + u" [" + member.placement->text + u"]");
                }
                const Step step = EvaluateMember(member, at.value, node, depth, big);
                if (!step.ok) {
                    return step;
                }
                cut = cut || step.cut;
                continue;
            }
            cursor = Align(node, base, cursor, member.alignment, big);
            const Step step = EvaluateMember(member, cursor, node, depth, big);
            if (!step.ok) {
                return step;
            }
            cut = cut || step.cut;
            if (step.size > UINT64_MAX - cursor) {
                return Fail(static_cast<std::uint32_t>(tree_.nodes.size() - 1),
                            u"Member offset does not fit in 64 bits: " + member.name);
            }
            cursor += step.size;
        }
        if (file_.member_align != 0) {
            cursor = Align(node, base, cursor, type.alignment, big);
        }
        return Step{true, cursor - base, cut};
    }

    // Pads from `cursor` to the next multiple of `alignment` from `base` with a padding
    // child of `node`; returns the padded cursor.
    std::uint64_t Align(std::uint32_t node, std::uint64_t base, std::uint64_t cursor,
                        std::uint64_t alignment, bool big)
    {
        const std::uint64_t relative = cursor - base;
        if (alignment == 0 || relative % alignment == 0) {
            return cursor;
        }
        const std::uint64_t length = alignment - relative % alignment;
        const std::uint32_t padding = AddChild(node, ValueNodeKind::Padding, nullptr, cursor, big);
        tree_.nodes[padding].size = length;
        if (length > Available(cursor)) {
            tree_.nodes[padding].status = ValueStatus::Unavailable;
        }
        return cursor + length;
    }

    Step EvaluateMember(const ResolvedMember& member, std::uint64_t offset, std::uint32_t parent,
                        std::size_t depth, bool big)
    {
        if (member.endian != PatternEndian::Inherit) {
            big = member.endian == PatternEndian::Big;
        }
        const std::uint32_t node = AddChild(parent, ValueNodeKind::Member, &member, offset, big);
        std::uint64_t count = member.count;
        if (member.countExpression) {
            const ExpressionValue value = Evaluate(*member.countExpression, *this);
            if (!value.error.empty()) {
                return Fail(node, value.error + u" [" + member.countExpression->text + u"]");
            }
            count = value.value;
        }
        const ResolvedStruct* type = MemberStruct(file_, member);
        const bool oldExpansion = depth == 0 && IsExpandedStruct(member);
        const bool expand = type && !member.flexible && !member.isPointer &&
                            (oldExpansion || (file_.extended && depth < kMaxValueDepth));
        if (type && type->dynamic && !expand) {
            return Fail(node, u"Structs are nested too deeply: " + member.name);
        }
        if (!expand) {
            return Bytes(member, node, count);
        }
        tree_.nodes[node].structType = type;
        const bool single = !member.repeat && !member.countExpression && member.count == 1;
        if (single) {
            const Step step = EvaluateStruct(*type, offset, node, depth + 1, big);
            tree_.nodes[node].size = step.ok ? step.size : 0;
            tree_.nodes[node].count = 1;
            if (step.cut) {
                tree_.nodes[node].status = ValueStatus::Cut;
            }
            return step;
        }
        return Elements(member, *type, node, count, depth, big);
    }

    // A member shown as one value: a number, or the bytes of an array.
    Step Bytes(const ResolvedMember& member, std::uint32_t node, std::uint64_t count)
    {
        ValueNode& value = tree_.nodes[node];
        const std::uint64_t available = Available(value.offset);
        if (member.flexible) {
            value.size = available;
            value.status =
                value.offset > bytes_.size() ? ValueStatus::Unavailable : ValueStatus::Ok;
            return Step{true, 0};
        }
        if (member.repeat) {
            count = member.elementSize == 0 ? 0 : available / member.elementSize;
        }
        if (member.elementSize != 0 && count > UINT64_MAX / member.elementSize) {
            return Fail(node, u"Array size does not fit in 64 bits: " + member.name);
        }
        const std::uint64_t size = count * member.elementSize;
        value.count = count;
        value.size = size;
        if (size <= available && value.offset <= bytes_.size()) {
            return Step{true, size};
        }
        if (!member.SizedByData()) {
            value.status = ValueStatus::Unavailable;
            return Step{true, size};
        }
        // A size from the data that runs past it: what there is, marked as cut.
        value.status = ValueStatus::Cut;
        value.size = available;
        value.count = member.elementSize == 0 ? 0 : available / member.elementSize;
        return Step{true, available, true};
    }

    // An array of structs, each element a node of its own: `count` of them, or for [...]
    // as many as the data holds.
    Step Elements(const ResolvedMember& member, const ResolvedStruct& type, std::uint32_t node,
                  std::uint64_t count, std::size_t depth, bool big)
    {
        const std::uint64_t start = tree_.nodes[node].offset;
        std::uint64_t cursor = start;
        std::uint64_t read = 0;
        bool ok = true;
        for (; member.repeat || read < count; ++read) {
            if (cursor >= bytes_.size()) {
                if (member.repeat) {
                    tree_.nodes[node].moreFollow = options_.moreData;
                } else {
                    tree_.nodes[node].status = ValueStatus::Cut;
                }
                break;
            }
            if (Full()) {
                tree_.workLimitReached = true;
                tree_.nodes[node].moreFollow = true;
                break;
            }
            const std::uint32_t element =
                AddChild(node, ValueNodeKind::Element, nullptr, cursor, big);
            tree_.nodes[element].structType = &type;
            tree_.nodes[element].count = read;
            const Step step = EvaluateStruct(type, cursor, element, depth + 1, big);
            tree_.nodes[element].size = step.size;
            if (!step.ok) {
                ok = false;
                ++read;
                break;
            }
            if (step.size == 0) {
                Fail(element, u"An element of " + Quoted(member.name) + u" has no size.");
                ok = false;
                ++read;
                break;
            }
            if (step.cut || step.size > Available(cursor)) {
                tree_.nodes[element].status = ValueStatus::Cut;
                tree_.nodes[node].status = ValueStatus::Cut;
                cursor = bytes_.size();
                ++read;
                if (member.repeat) {
                    tree_.nodes[node].moreFollow = options_.moreData;
                }
                break;
            }
            cursor += step.size;
            if (member.until && Ends(*member.until, element)) {
                ok = tree_.nodes[element].status != ValueStatus::Error;
                ++read;
                break;
            }
        }
        if (tree_.workLimitReached) {
            tree_.nodes[node].moreFollow = true;
        }
        tree_.nodes[node].count = read;
        tree_.nodes[node].size = cursor - start;
        return Step{ok, cursor - start, tree_.nodes[node].status == ValueStatus::Cut};
    }

    // Whether `element` is the last of a repetition: its members make `until` true. An
    // expression that cannot be worked out ends it too, with the error on the element.
    bool Ends(const Expression& until, std::uint32_t element)
    {
        frames_.push_back(element);
        const ExpressionValue value = Evaluate(until, *this);
        frames_.pop_back();
        if (!value.error.empty()) {
            Fail(element, value.error + u" [" + until.text + u"]");
            return true;
        }
        return value.value != 0;
    }

    const StructPatternFile& file_;
    std::span<const std::uint8_t> bytes_;
    EvaluateOptions options_;
    ValueTree& tree_;
    std::vector<std::uint32_t>& lastChild_;
    std::vector<std::uint32_t> frames_; // the structs being read, innermost last
    mutable bool stopped_ = false;
    mutable std::uint32_t fullChecks_ = 0;
};

} // namespace

const ResolvedStruct* MemberStruct(const StructPatternFile& file, const ResolvedMember& member)
{
    if (member.structIndex < file.structs.size()) {
        return &file.structs[member.structIndex];
    }
    return member.structName.empty() ? nullptr : FindStruct(file, member.structName);
}

ValueTree EvaluatePattern(const StructPatternFile& file, std::span<const std::uint8_t> bytes,
                          const EvaluateOptions& options)
{
    EvaluationMemory memory;
    Evaluator(file, bytes, options, memory).Run();
    return std::move(memory.tree);
}

const ValueTree& EvaluatePattern(const StructPatternFile& file, std::span<const std::uint8_t> bytes,
                                 const EvaluateOptions& options, EvaluationMemory& memory)
{
    Evaluator(file, bytes, options, memory).Run();
    return memory.tree;
}

} // namespace orx
