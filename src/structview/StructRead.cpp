#include "structview/StructRead.h"

#include "structview/StructRows.h"

#include <algorithm>

namespace orx {
namespace {

// End of a member within the entry struct when the read stops at `limit`; 0 when the
// member cannot be shown whole below the limit.
std::uint64_t EndWithin(const ResolvedMember& member, std::uint64_t base, std::uint64_t limit)
{
    const std::uint64_t offset = base + member.offset;
    if (offset > limit) {
        return 0;
    }
    if (member.flexible) {
        return offset + std::min(kFlexibleTailRead, limit - offset);
    }
    return member.totalSize <= limit - offset ? offset + member.totalSize : 0;
}

} // namespace

std::uint64_t StructBytesToRead(const StructPatternFile& file, std::uint64_t limit)
{
    const ResolvedStruct* entry = FindStruct(file, file.entryName);
    if (!entry) {
        return 0;
    }
    if (entry->dynamic) {
        return limit;
    }
    const std::uint64_t tail = EndsInFlexibleArray(file, *entry) ? kFlexibleTailRead : 0;
    if (entry->size <= limit && tail <= limit - entry->size) {
        return entry->size + tail;
    }
    // The rows show the entry's members and one level of the structs they hold.
    std::uint64_t end = 0;
    for (const ResolvedMember& member : entry->members) {
        end = std::max(end, EndWithin(member, 0, limit));
        const ResolvedStruct* nested =
            IsExpandedStruct(member) ? FindStruct(file, member.structName) : nullptr;
        if (nested) {
            for (const ResolvedMember& inner : nested->members) {
                end = std::max(end, EndWithin(inner, member.offset, limit));
            }
        }
    }
    return end;
}

StructPlacement InitialPlacement(const StructPatternFile& file)
{
    return StructPlacement{file.hasAnchor, file.hasAnchor ? file.anchor : 0};
}

StructPlacement TogglePlacement(const StructPlacement& placement, std::uint64_t caret)
{
    return placement.stay ? StructPlacement{} : StructPlacement{true, caret};
}

std::uint64_t StructBaseOffset(const StructPlacement& placement, std::uint64_t caret)
{
    return placement.stay ? placement.offset : caret;
}

std::u16string PlacementCaption(std::u16string_view fileName, const StructPlacement& placement,
                                std::u16string_view at)
{
    std::u16string caption(fileName);
    if (placement.stay) {
        caption += u" ";
        caption += at;
        caption += u' ';
        caption += StructOffsetText(placement.offset);
    }
    return caption;
}

std::vector<std::uint8_t> ReadStructBytes(const IReadOnlyDocument& document, std::uint64_t offset,
                                          const StructPatternFile& file)
{
    if (!document.IsOpen()) {
        return {};
    }
    const std::uint64_t count = StructBytesToRead(file);
    if (count == 0) {
        return {};
    }
    return document.Read(offset, count).bytes;
}

std::vector<StructViewRow> BuildStructRows(const StructRowsJob& job, StructWorkerMemory& memory)
{
    const std::uint64_t size = job.plan.Size();
    constexpr std::uint64_t kKeptAnyway = 1u << 20;
    if (memory.bytes.capacity() > kKeptAnyway && size < memory.bytes.capacity() / 4) {
        memory.bytes = {};
    }
    StructRowsInput input = job.input;
    input.bytes = std::move(memory.bytes);
    input.bytes.resize(static_cast<std::size_t>(size));
    input.bytes.resize(static_cast<std::size_t>(job.plan.ReadInto(input.bytes.data())));
    std::vector<StructViewRow> rows = BuildStructRows(input, memory.evaluation);
    memory.bytes = std::move(input.bytes);
    return rows;
}

} // namespace orx
