// Saving: writes the edit records back into the document's own file.
#include "document/EditableDocument.h"

#include "platform/PathText.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace orx {
namespace {

constexpr std::uint64_t kCopyBlock = 1024 * 1024;
constexpr char16_t kNoFileOpen[] = u"No file is open.";
constexpr char16_t kChangedOnDisk[] =
    u"Another program changed the file after it was opened; nothing was written.";

void Report(const ProgressCallback& progress, std::uint64_t done, std::uint64_t total)
{
    if (progress) {
        progress(std::min(done, total), total);
    }
}

} // namespace

bool WriteAll(platform::FileSystem& fs, const platform::NativeFile& file, const std::uint8_t* data,
              std::uint64_t size)
{
    constexpr std::uint64_t kMaxPiece = std::numeric_limits<std::uint32_t>::max();
    while (size > 0) {
        const auto piece = static_cast<std::uint32_t>(std::min(size, kMaxPiece));
        std::uint32_t written = 0;
        if (!fs.Write(file, data, piece, written) || written != piece) {
            return false;
        }
        data += piece;
        size -= piece;
    }
    return true;
}

std::u16string FormatWin32Error(platform::FileSystem& fs, platform::ErrorCode code)
{
    if (code == 0) {
        return {};
    }
    if (std::optional<std::u16string> text = fs.ErrorText(code)) {
        while (!text->empty() &&
               (text->back() == u'\r' || text->back() == u'\n' || text->back() == u' ')) {
            text->pop_back();
        }
        return *text;
    }
    std::u16string result = u"Win32 error: ";
    for (char c : std::to_string(code)) {
        result.push_back(static_cast<char16_t>(c));
    }
    return result;
}

std::u16string FormatWin32Error(platform::ErrorCode code)
{
    return FormatWin32Error(platform::SystemFileSystem(), code);
}

void EditableDocument::FailWithSystemError()
{
    lastError_ = FormatWin32Error(*fs_, fs_->LastError());
}

bool EditableDocument::Save(const ProgressCallback& progress, SaveMode mode)
{
    lastError_.clear();
    refusedChange_ = FileChange::None;
    lastStrategy_ = SaveStrategy::Nothing;
    if (!IsOpen()) {
        lastError_ = kNoFileOpen;
        return false;
    }
    // Before anything is written: the edits are keyed by offsets in the file as it was opened,
    // and would land in whatever another program has put there since.
    const FileChange change = CheckFile();
    const bool lostIdentity = LostIdentity(change);
    if (mode == SaveMode::Checked && change != FileChange::None && (IsModified() || lostIdentity)) {
        refusedChange_ = change;
        lastError_ = kChangedOnDisk;
        return false;
    }
    const std::u16string path = Path();
    // A replaced or deleted file is written anew from the document as it reads now; the
    // specified algorithms stay as they were for every other case.
    const SaveStrategy strategy =
        mode == SaveMode::Anyway && lostIdentity ? SaveStrategy::ViaTempFile : ChooseSaveStrategy();
    bool saved = false;
    switch (strategy) {
    case SaveStrategy::Nothing: saved = true; break;
    case SaveStrategy::InPlace: saved = SaveInPlace(path, progress); break;
    case SaveStrategy::ViaTempFile: saved = SaveViaTempFile(path, progress, lostIdentity); break;
    }
    if (saved) {
        lastStrategy_ = strategy;
    }
    return saved;
}

bool EditableDocument::SaveInPlace(const std::u16string& path, const ProgressCallback& progress)
{
    const std::uint64_t total = std::max<std::uint64_t>(EditedSize(), 1);
    const std::uint64_t fileSize = file_.Size();
    const std::uint64_t deleted = edits_.DeletedBytes();
    platform::NativeFile target = fs_->OpenExistingForWrite(path);
    if (!target.IsOpen()) {
        FailWithSystemError();
        return false;
    }

    auto fail = [&] {
        const platform::ErrorCode code = fs_->LastError();
        target.Close();
        file_.Restamp(); // what this save wrote before it failed is no other program's change
        lastError_ = FormatWin32Error(*fs_, code);
        return false;
    };

    // One seek and one write per run of consecutive replaced offsets.
    const auto overwrites = overwrites_.Sorted();
    std::vector<std::uint8_t> run;
    for (auto it = overwrites.begin(); it != overwrites.end();) {
        const std::uint64_t start = it->first;
        run.clear();
        for (std::uint64_t next = start; it != overwrites.end() && it->first == next;
             ++it, ++next) {
            run.push_back(it->second);
        }
        if (!fs_->Seek(target, start) || !WriteAll(*fs_, target, run.data(), run.size())) {
            return fail();
        }
        Report(progress, start + run.size(), total);
    }
    if (const std::span<const std::uint8_t> appended = edits_.FindRun(fileSize);
        !appended.empty()) {
        if (!fs_->Seek(target, fileSize - deleted) ||
            !WriteAll(*fs_, target, appended.data(), appended.size())) {
            return fail();
        }
        Report(progress, total, total);
    }
    if (deleted > 0) {
        if (!fs_->Seek(target, EditedSize()) || !fs_->SetEnd(target)) {
            return fail();
        }
        Report(progress, total, total);
    }
    if (!fs_->Flush(target)) {
        return fail();
    }
    target.Close();
    ClearRecords();
    file_.Close();
    return file_.Open(path);
}

bool EditableDocument::SaveViaTempFile(const std::u16string& path, const ProgressCallback& progress,
                                       bool keepReadHandle)
{
    const std::uint64_t total = std::max<std::uint64_t>(EditedSize(), 1);
    std::u16string directory = platform::DirectoryOfPath(path);
    if (directory.empty()) {
        directory = fs_->CurrentDirectory();
    }
    std::u16string tempPath;
    if (!fs_->CreateTempFile(directory, u"ORL", tempPath)) {
        FailWithSystemError();
        return false;
    }
    platform::NativeFile temp = fs_->CreateForWrite(tempPath);
    if (!temp.IsOpen()) {
        FailWithSystemError();
        fs_->Delete(tempPath);
        return false;
    }

    auto fail = [&] {
        const platform::ErrorCode code = fs_->LastError();
        temp.Close();
        fs_->Delete(tempPath);
        lastError_ = FormatWin32Error(*fs_, code);
        return false;
    };

    // Walk the file offsets with the records in step: runs keyed k go out in front of file
    // byte k, deleted ranges are skipped, replaced bytes are written as gathered runs and
    // everything else is copied in blocks.
    const std::uint64_t fileSize = file_.Size();
    std::vector<std::uint8_t> block;
    std::uint64_t pos = 0;
    std::uint64_t written = 0;
    auto element = edits_.First();
    const auto overwrites = overwrites_.Sorted();
    auto overwrite = overwrites.begin();
    for (;;) {
        while (element && element->isRun && element->key == pos) {
            if (!WriteAll(*fs_, temp, element->run.data(), element->run.size())) {
                return fail();
            }
            written += element->run.size();
            Report(progress, written, total);
            element = edits_.Next(*element);
        }
        if (pos >= fileSize) {
            if (!fs_->Flush(temp)) {
                return fail();
            }
            break;
        }
        if (element && !element->isRun && element->key == pos) {
            pos = element->end;
            element = edits_.Next(*element);
            continue;
        }
        const std::uint64_t stretchEnd = element ? std::min(element->key, fileSize) : fileSize;
        while (overwrite != overwrites.end() && overwrite->first < pos) {
            ++overwrite;
        }
        if (overwrite != overwrites.end() && overwrite->first == pos) {
            block.clear();
            while (overwrite != overwrites.end() && overwrite->first == pos && pos < stretchEnd) {
                block.push_back(overwrite->second);
                ++overwrite;
                ++pos;
            }
            if (!WriteAll(*fs_, temp, block.data(), block.size())) {
                return fail();
            }
            written += block.size();
            Report(progress, written, total);
            continue;
        }
        const std::uint64_t plainEnd =
            overwrite != overwrites.end() ? std::min(stretchEnd, overwrite->first) : stretchEnd;
        if (plainEnd <= pos) {
            // The walk has passed a record it should have stopped at. Fail the save, leaving
            // the file as it was, rather than loop here with the editor busy for good.
            fs_->SetLastError(0);
            return fail();
        }
        block.resize(static_cast<std::size_t>(std::min(kCopyBlock, plainEnd - pos)));
        while (pos < plainEnd) {
            const std::uint64_t want = std::min(kCopyBlock, plainEnd - pos);
            // A short read sets no error of its own; do not report a stale one.
            fs_->SetLastError(0);
            if (file_.ReadInto(pos, block.data(), want) != want ||
                !WriteAll(*fs_, temp, block.data(), want)) {
                return fail();
            }
            written += want;
            pos += want;
            Report(progress, written, total);
        }
    }

    temp.Close();
    if (keepReadHandle) {
        // The path names another file or none: the read handle is not in the rename's way,
        // and a failed rename leaves the document as it was.
        if (!fs_->MoveReplace(tempPath, path)) {
            FailWithSystemError();
            fs_->Delete(tempPath);
            return false;
        }
        ClearRecords();
        file_.Close();
        return file_.Open(path);
    }
    file_.Close(); // the read handle must go before the rename
    if (!fs_->MoveReplace(tempPath, path)) {
        FailWithSystemError();
        fs_->Delete(tempPath);
        (void)file_.Open(path);
        return false;
    }
    ClearRecords();
    return file_.Open(path);
}

} // namespace orx
