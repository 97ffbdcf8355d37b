#include "structview/StructRows.h"

#include "platform/Utf.h"
#include "structview/StructRead.h"
#include "structview/StructValueFormat.h"
#include "text/HexFormat.h"

#include <algorithm>
#include <array>

namespace orx {
namespace {

constexpr std::array<std::u16string_view, 5> kCharTypeKeys = {
    u"char", u"signed char", u"unsigned char", u"int8_t", u"uint8_t"};

std::u16string Decimal(std::uint64_t value)
{
    return platform::Widen(std::to_string(value));
}

std::u16string SizeText(const ResolvedMember& member)
{
    return member.flexible ? Decimal(member.elementSize) + u"+" : Decimal(member.totalSize);
}

std::u16string ArrayValue(const ResolvedMember& member, ByteSpan bytes,
                          const StructValueOptions& options)
{
    bool charType = false;
    for (std::u16string_view key : kCharTypeKeys) {
        charType = charType || member.typeKey == key;
    }
    return options.byteArrayFormat == 1 && charType ? FormatCharArray(bytes)
                                                    : FormatByteArray(bytes);
}

} // namespace

bool IsExpandedStruct(const ResolvedMember& member)
{
    return !member.structName.empty() && member.kind == MemberKind::Struct && member.count == 1;
}

std::u16string FormatMemberValue(const ResolvedMember& member, std::uint64_t offset,
                                 const StructRowsInput& input)
{
    const std::uint64_t available = input.bytes.size();
    if (offset > available) {
        return input.unavailableText.empty() ? u"-" : input.unavailableText;
    }
    const std::uint64_t length = member.flexible ? available - offset : member.totalSize;
    if (length > available - offset) {
        return input.unavailableText.empty() ? u"-" : input.unavailableText;
    }
    const ByteSpan bytes =
        ByteSpan(input.bytes)
            .subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    const StructValueOptions& options = input.options;
    if (member.isPadding) {
        return HexDump(bytes);
    }
    if (member.flexible || member.count >= 2 || member.kind == MemberKind::Struct) {
        return ArrayValue(member, bytes, options);
    }
    switch (member.kind) {
    case MemberKind::Float: return FormatFloat(bytes, options.endian, options.numericBase);
    case MemberKind::Double: return FormatDouble(bytes, options.endian, options.numericBase);
    default: return FormatInteger(bytes, options.endian, options.numericBase);
    }
}

ValueTree EvaluateRowsInput(const StructRowsInput& input)
{
    EvaluationMemory memory;
    (void)EvaluateRowsInput(input, memory);
    return std::move(memory.tree);
}

const ValueTree& EvaluateRowsInput(const StructRowsInput& input, EvaluationMemory& memory)
{
    if (!input.file) {
        memory.tree = {};
        return memory.tree;
    }
    EvaluateOptions options;
    options.bigEndian = input.options.endian == 1;
    options.sessionEndian = input.sessionEndian;
    options.moreData = input.bytes.size() >= kMaxStructRead;
    options.stopRequested = input.stopRequested;
    return EvaluatePattern(*input.file, input.bytes, options, memory);
}

std::u16string NodeName(const ValueNode& node)
{
    switch (node.kind) {
    case ValueNodeKind::Entry: return node.structType ? node.structType->name : u"";
    case ValueNodeKind::Padding: return u"<padding>";
    case ValueNodeKind::Element: {
        // Appended: GCC 12 at -O3 warns falsely (-Wrestrict) on a short literal + string.
        std::u16string name(1, u'[');
        name += Decimal(node.count);
        name += u']';
        return name;
    }
    case ValueNodeKind::Member: break;
    }
    if (node.structType) {
        const bool array = node.member->SizedByData() || node.member->count != 1;
        return node.member->name + u" : " + node.structType->name + (array ? u"[]" : u"");
    }
    return node.member->name;
}

std::u16string NodeType(const ValueNode& node)
{
    switch (node.kind) {
    case ValueNodeKind::Entry:
    case ValueNodeKind::Element: return node.structType ? node.structType->name : u"";
    case ValueNodeKind::Padding: return u"padding";
    case ValueNodeKind::Member: break;
    }
    const ResolvedMember& member = *node.member;
    const std::u16string type = member.isPointer ? member.typeName + u"*" : member.typeName;
    if (member.repeat) {
        return type + u"[...]";
    }
    if (member.countExpression) {
        return type + u"[" + member.countExpression->text + u"]";
    }
    if (member.flexible) {
        return type + u"[]";
    }
    return member.count == 1 ? type : type + u"[" + Decimal(member.count) + u"]";
}

std::u16string NodeSize(const ValueNode& node)
{
    if (node.kind == ValueNodeKind::Member && !node.member->SizedByData() && !node.structType) {
        return SizeText(*node.member);
    }
    if (node.kind == ValueNodeKind::Padding && node.member) {
        return SizeText(*node.member);
    }
    return Decimal(node.size);
}

std::u16string NodeValue(const ValueTree& tree, const ValueNode& node, const StructRowsInput& input)
{
    if (node.status == ValueStatus::Error) {
        return input.errorText + u": " + tree.errors[node.error];
    }
    if (node.status == ValueStatus::Unavailable) {
        return input.unavailableText.empty() ? u"-" : input.unavailableText;
    }
    const bool isCut = node.status == ValueStatus::Cut;
    const std::u16string cut = isCut ? u" (" + input.cutText + u")" : std::u16string();
    // A struct: its members have the values.
    if (node.kind == ValueNodeKind::Entry || node.kind == ValueNodeKind::Element ||
        (node.structType && node.firstChild != ValueNode::kNone && node.count == 1 &&
         !node.member->SizedByData())) {
        return isCut ? input.cutText : std::u16string();
    }
    if (node.structType && (node.member->SizedByData() || node.member->count != 1)) {
        std::u16string text = Decimal(node.count) + u" " + input.elementsText;
        if (node.moreFollow) {
            text += u", " + input.moreText;
        }
        return text + cut;
    }
    // A value cut to nothing may start past the data; and no value is ever read outside it.
    const std::uint64_t available = input.bytes.size();
    if (node.offset > available || node.size > available - node.offset) {
        return input.unavailableText.empty() ? u"-" : input.unavailableText;
    }
    const ByteSpan bytes =
        ByteSpan(input.bytes)
            .subspan(static_cast<std::size_t>(node.offset), static_cast<std::size_t>(node.size));
    if (node.kind == ValueNodeKind::Padding) {
        return HexDump(bytes);
    }
    const ResolvedMember& member = *node.member;
    const StructValueOptions& options = input.options;
    const std::uint32_t endian = node.bigEndian ? 1 : 0;
    if (member.flexible || member.count >= 2 || member.SizedByData() ||
        member.kind == MemberKind::Struct) {
        return ArrayValue(member, bytes, options) + cut;
    }
    switch (member.kind) {
    case MemberKind::Float: return FormatFloat(bytes, endian, options.numericBase);
    case MemberKind::Double: return FormatDouble(bytes, endian, options.numericBase);
    default: break;
    }
    std::u16string number = FormatInteger(bytes, endian, options.numericBase);
    if (member.enumIndex < input.file->enums.size() && bytes.size() <= 8) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            value = value << 8 | bytes[endian == 1 ? i : bytes.size() - 1 - i];
        }
        for (const auto& [name, known] : input.file->enums[member.enumIndex].values) {
            if (known == value) {
                return name + u" (" + number + u")";
            }
        }
    }
    return number;
}

std::vector<StructViewRow> BuildStructRows(const StructRowsInput& input)
{
    EvaluationMemory memory;
    return BuildStructRows(input, memory);
}

std::vector<StructViewRow> BuildStructRows(const StructRowsInput& input, EvaluationMemory& memory)
{
    std::vector<StructViewRow> rows;
    const ValueTree& tree = EvaluateRowsInput(input, memory);
    if (tree.nodes.empty()) {
        return rows;
    }
    // Depth-first over the tree from the entry's members, the deepest last on the stack.
    std::vector<std::pair<std::uint32_t, std::size_t>> stack;
    auto pushChildren = [&](std::uint32_t parent, std::size_t depth) {
        const std::size_t first = stack.size();
        for (std::uint32_t child = tree.nodes[parent].firstChild; child != ValueNode::kNone;
             child = tree.nodes[child].nextSibling) {
            stack.emplace_back(child, depth);
        }
        std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
    };
    pushChildren(0, 0);
    while (!stack.empty()) {
        if (rows.size() == kMaxStructRows) {
            rows.push_back(StructViewRow{u"...", u"...", u"...", u"..."});
            break;
        }
        const auto [index, depth] = stack.back();
        stack.pop_back();
        const ValueNode& node = tree.nodes[index];
        rows.push_back(StructViewRow{std::u16string(2 * depth, u' ') + NodeName(node),
                                     StructOffsetText(input.baseOffset + node.offset),
                                     NodeValue(tree, node, input), NodeSize(node), true,
                                     input.baseOffset + node.offset, node.size});
        pushChildren(index, depth + 1);
    }
    return rows;
}

int RowHoldingOffset(const std::vector<StructViewRow>& rows, std::uint64_t offset)
{
    int best = -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const StructViewRow& row = rows[i];
        // Written so that a row ending at 2^64 cannot wrap.
        if (!row.located || offset < row.first || offset - row.first >= row.length) {
            continue;
        }
        if (best < 0 || row.length <= rows[static_cast<std::size_t>(best)].length) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::u16string FormatStructInfo(const StructPatternFile& file)
{
    std::u16string text = u"entry = " + file.entryName;
    if (file.entryImplicit) {
        text += u" (implicit)";
    }
    const std::pair<std::u16string_view, std::uint64_t> values[] = {
        {u"sizeof_short", file.sizeof_short}, {u"sizeof_int", file.sizeof_int},
        {u"sizeof_long", file.sizeof_long},   {u"sizeof_long_long", file.sizeof_long_long},
        {u"sizeof_float", file.sizeof_float}, {u"sizeof_double", file.sizeof_double},
        {u"pointer_size", file.pointer_size}, {u"member_align", file.member_align},
    };
    for (const auto& [name, value] : values) {
        text += u"\r\n";
        text += name;
        text += u" = ";
        text += Decimal(value);
    }
    if (file.endian != PatternEndian::Inherit) {
        text += file.endian == PatternEndian::Big ? u"\r\nendian = big" : u"\r\nendian = little";
    }
    if (file.hasAnchor) {
        text += u"\r\nanchor = " + StructOffsetText(file.anchor);
    }
    return text;
}

bool EndsInFlexibleArray(const StructPatternFile& file, const ResolvedStruct& entry)
{
    const ResolvedStruct* current = &entry;
    // Loaded files cannot nest a struct in itself, but a hand-made one could; the bound
    // keeps the walk finite either way.
    for (std::size_t steps = 0; current && steps <= file.structs.size(); ++steps) {
        if (current->members.empty()) {
            return false;
        }
        const ResolvedMember& last = current->members.back();
        if (last.flexible) {
            return true;
        }
        if (!IsExpandedStruct(last)) {
            return false;
        }
        current = FindStruct(file, last.structName);
    }
    return false;
}

std::u16string StructOffsetText(std::uint64_t offset)
{
    std::u16string text = u"0x";
    AppendUpperHex(text, offset);
    return text;
}

} // namespace orx
