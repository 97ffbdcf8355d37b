#include "structview/StructRows.h"

#include "platform/Utf.h"
#include "structview/StructValueFormat.h"
#include "text/HexFormat.h"

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

std::vector<StructViewRow> BuildStructRows(const StructRowsInput& input)
{
    std::vector<StructViewRow> rows;
    if (!input.file) {
        return rows;
    }
    const StructPatternFile& file = *input.file;
    const ResolvedStruct* entry = FindStruct(file, file.entryName);
    if (!entry) {
        return rows;
    }
    bool full = false;
    auto add = [&](std::u16string name, std::uint64_t offset, std::u16string value,
                   std::u16string size) {
        if (rows.size() == kMaxStructRows) {
            full = true;
            return;
        }
        rows.push_back(StructViewRow{std::move(name), StructOffsetText(input.baseOffset + offset),
                                     std::move(value), std::move(size)});
    };
    for (const ResolvedMember& member : entry->members) {
        if (full) {
            break;
        }
        if (!IsExpandedStruct(member)) {
            add(member.name, member.offset, FormatMemberValue(member, member.offset, input),
                SizeText(member));
            continue;
        }
        add(member.name + u" : " + member.structName, member.offset, {}, SizeText(member));
        const ResolvedStruct* nested = FindStruct(file, member.structName);
        if (!nested) {
            continue;
        }
        for (const ResolvedMember& inner : nested->members) {
            if (full) {
                break;
            }
            const std::uint64_t offset = member.offset + inner.offset;
            add(u"  " + inner.name, offset, FormatMemberValue(inner, offset, input),
                SizeText(inner));
        }
    }
    if (full) {
        rows.push_back(StructViewRow{u"...", u"...", u"...", u"..."});
    }
    return rows;
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
