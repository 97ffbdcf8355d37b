#include "document/EditableDocument.h"

#include <algorithm>
#include <limits>

namespace orx {

EditableDocument::EditableDocument(platform::FileSystem& fs) : fs_(&fs), file_(fs)
{}

EditableDocument::~EditableDocument() = default;

bool EditableDocument::Open(const std::u16string& path)
{
    Close();
    return file_.Open(path);
}

void EditableDocument::Close()
{
    ++revision_;
    ClearRecords();
    lastError_.clear();
    refusedChange_ = FileChange::None;
    file_.Close();
}

bool EditableDocument::Reload()
{
    if (!file_.Reopen()) {
        return false;
    }
    ++revision_;
    ClearRecords();
    lastError_.clear();
    refusedChange_ = FileChange::None;
    return true;
}

void EditableDocument::ClearRecords()
{
    edits_.Clear();
    overwrites_.Clear();
}

bool EditableDocument::IsModified() const
{
    return !edits_.Empty() || !overwrites_.Empty();
}

std::uint64_t EditableDocument::EditedSize() const
{
    return file_.Size() - edits_.DeletedBytes() + edits_.InsertedBytes();
}

EditLocation EditableDocument::Locate(std::uint64_t offset) const
{
    EditLocation location;
    if (offset >= EditedSize()) {
        return location;
    }
    const EditIndex::Position position = edits_.Locate(offset, file_.Size());
    location.inInsertion = position.inRun;
    location.key = position.key;
    location.index = position.index;
    location.valid = true;
    return location;
}

std::uint64_t EditableDocument::ReadFileBytes(std::uint64_t fileOffset, std::uint8_t* out,
                                              std::uint64_t count) const
{
    const std::uint64_t got = file_.ReadInto(fileOffset, out, count);
    overwrites_.ForEachIn(
        fileOffset, fileOffset + got,
        [&](std::uint64_t offset, std::uint8_t value) { out[offset - fileOffset] = value; });
    return got;
}

ReadResult EditableDocument::Read(std::uint64_t offset, std::uint64_t count) const
{
    ReadResult result;
    result.offset = offset;
    const std::uint64_t size = EditedSize();
    if (!IsOpen() || offset >= size || count == 0) {
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(std::min(count, size - offset)));
    result.bytes.resize(
        static_cast<std::size_t>(ReadInto(offset, result.bytes.data(), result.bytes.size())));
    return result;
}

template <typename OnRun, typename OnFile>
std::uint64_t EditableDocument::WalkPieces(std::uint64_t offset, std::uint64_t count, OnRun&& onRun,
                                           OnFile&& onFile) const
{
    const std::uint64_t size = EditedSize();
    if (!IsOpen() || offset >= size || count == 0) {
        return 0;
    }
    const std::uint64_t n = std::min(count, size - offset);
    if (edits_.Empty()) {
        return onFile(offset, n, 0);
    }

    // One descent per run or unbroken stretch of file bytes, and one file read per stretch.
    std::uint64_t done = 0;
    while (done < n) {
        const EditIndex::Position at = edits_.Locate(offset + done, file_.Size());
        if (at.inRun) {
            const std::span<const std::uint8_t> run = edits_.RunAt(at);
            const std::uint64_t take = std::min(n - done, at.runLength - at.index);
            onRun(run.subspan(static_cast<std::size_t>(at.index), static_cast<std::size_t>(take)),
                  done);
            done += take;
            continue;
        }
        const std::uint64_t take = std::min(n - done, at.segmentEnd - at.key);
        const std::uint64_t got = onFile(at.key, take, done);
        done += got;
        if (got < take) {
            break; // an unreadable file byte ends the result here
        }
    }
    return done;
}

std::uint64_t EditableDocument::ReadInto(std::uint64_t offset, std::uint8_t* out,
                                         std::uint64_t count) const
{
    return WalkPieces(
        offset, count,
        [&](std::span<const std::uint8_t> run, std::uint64_t at) {
            std::copy(run.begin(), run.end(), out + at);
        },
        [&](std::uint64_t fileOffset, std::uint64_t take, std::uint64_t at) {
            return ReadFileBytes(fileOffset, out + at, take);
        });
}

ReadPlan EditableDocument::PlanRead(std::uint64_t offset, std::uint64_t count) const
{
    ReadPlan plan(file_.ReadGate());
    (void)WalkPieces(
        offset, count,
        [&](std::span<const std::uint8_t> run, std::uint64_t) { plan.AddBytes(run); },
        [&](std::uint64_t fileOffset, std::uint64_t take, std::uint64_t at) {
            plan.AddFileBytes(fileOffset, take);
            overwrites_.ForEachIn(fileOffset, fileOffset + take,
                                  [&](std::uint64_t key, std::uint8_t value) {
                                      plan.AddOverwrite(at + (key - fileOffset), value);
                                  });
            return take;
        });
    return plan;
}

bool EditableDocument::OverwriteByte(std::uint64_t offset, std::uint8_t value)
{
    if (!IsOpen() || offset >= EditedSize()) {
        return false;
    }
    const EditIndex::Position at = edits_.Locate(offset, file_.Size());
    if (at.inRun) {
        edits_.RunAt(at)[static_cast<std::size_t>(at.index)] = value;
        ++revision_;
        return true;
    }
    std::uint8_t current = 0;
    if (file_.ReadInto(at.key, &current, 1) != 1) {
        return false;
    }
    ++revision_;
    if (current != value) {
        overwrites_.Set(at.key, value);
    } else {
        overwrites_.Erase(at.key);
    }
    return true;
}

bool EditableDocument::InsertByte(std::uint64_t offset, std::uint8_t value)
{
    const std::uint64_t size = EditedSize();
    if (!IsOpen() || offset > size) {
        return false;
    }
    constexpr std::uint64_t kAppend = std::numeric_limits<std::uint64_t>::max();
    ++revision_;
    if (offset == size) {
        edits_.InsertIntoRun(file_.Size(), kAppend, value);
    } else {
        edits_.InsertAt(edits_.Locate(offset, file_.Size()), value);
    }
    if (listener_ != nullptr) {
        listener_->Inserted(offset, 1);
    }
    return true;
}

bool EditableDocument::DeleteByte(std::uint64_t offset)
{
    return DeleteRange(offset, 1);
}

bool EditableDocument::DeleteRange(std::uint64_t offset, std::uint64_t count)
{
    const std::uint64_t size = EditedSize();
    if (!IsOpen() || offset > size || count > size - offset) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    ++revision_;
    // Deleting byte by byte from the high end down removes exactly the bytes now in the
    // range, so remove them piece by piece from the low end: the pieces behind shift down.
    std::uint64_t remaining = count;
    while (remaining > 0) {
        const EditIndex::Position at = edits_.Locate(offset, file_.Size());
        if (at.inRun) {
            remaining -= edits_.EraseFromRun(at.key, at.index, remaining);
            continue;
        }
        const std::uint64_t take = std::min(remaining, at.segmentEnd - at.key);
        overwrites_.EraseRange(at.key, at.key + take);
        edits_.DeleteFileBytes(at, take);
        remaining -= take;
    }
    if (listener_ != nullptr) {
        listener_->Deleted(offset, count);
    }
    return true;
}

SaveStrategy EditableDocument::ChooseSaveStrategy() const
{
    if (!IsModified()) {
        return SaveStrategy::Nothing;
    }
    const std::uint64_t fileSize = file_.Size();
    bool pureAppend = edits_.RunCount() == 0;
    bool tailCut = edits_.RangeCount() == 0;
    if (edits_.RunCount() <= 1 && edits_.RangeCount() <= 1) {
        for (auto element = edits_.First(); element; element = edits_.Next(*element)) {
            if (element->isRun) {
                pureAppend = element->key == fileSize;
            } else {
                tailCut = element->end == fileSize;
            }
        }
    }
    return pureAppend && tailCut ? SaveStrategy::InPlace : SaveStrategy::ViaTempFile;
}

} // namespace orx
