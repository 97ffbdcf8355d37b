#pragma once

#include "document/EditIndex.h"
#include "document/FileChange.h"
#include "document/FileViewModel.h"
#include "document/OverwriteMap.h"
#include "document/ReadPlan.h"
#include "document/ReadOnlyDocument.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orx {

// The editing operations the views call. Offsets are edited offsets (positions in the
// document as the user sees it now).
class IEditableDocument : public IReadOnlyDocument {
public:
    [[nodiscard]] virtual bool OverwriteByte(std::uint64_t offset, std::uint8_t value) = 0;
    [[nodiscard]] virtual bool InsertByte(std::uint64_t offset, std::uint8_t value) = 0;
    [[nodiscard]] virtual bool DeleteByte(std::uint64_t offset) = 0;
    [[nodiscard]] virtual bool IsModified() const = 0;
    [[nodiscard]] virtual std::uint64_t EditedSize() const = 0;
    // Deletes [offset, offset + count) with the result of deleting those bytes one by one
    // from the high end down, in time and memory proportional to the records it touches.
    [[nodiscard]] virtual bool DeleteRange(std::uint64_t offset, std::uint64_t count) = 0;
};

// Where an edited offset falls: inside an insertion run (key = run key) or on a file byte
// (key = its file offset).
struct EditLocation {
    bool inInsertion = false;
    std::uint64_t key = 0;
    std::uint64_t index = 0;
    bool valid = false;
};

// Told of every insertion and deletion as it happens, in edited offsets, so that what sits on
// the document's bytes (bookmarked regions) can follow them.
class IEditListener {
public:
    virtual void Inserted(std::uint64_t offset, std::uint64_t count) = 0;
    virtual void Deleted(std::uint64_t offset, std::uint64_t count) = 0;

protected:
    ~IEditListener() = default;
};

enum class SaveStrategy { Nothing, InPlace, ViaTempFile };

// What Save does when the file on disk is no longer as it was opened (see CheckFile).
enum class SaveMode {
    // Writes nothing and says why through RefusedChange(); the caller asks the user.
    Checked,
    // Saves all the same. A file that was only written to gets the usual save; a file that was
    // replaced or deleted gets the whole document written anew at the path, through a temporary
    // file beside it.
    Anyway,
};

// The one document of the application: the file as opened plus the edit records, keyed by
// file offset so that nothing shifts when bytes come and go elsewhere. The file on disk is
// untouched until Save.
class EditableDocument final : public IEditableDocument {
public:
    explicit EditableDocument(platform::FileSystem& fs = platform::SystemFileSystem());
    ~EditableDocument() override;
    EditableDocument(const EditableDocument&) = delete;
    EditableDocument& operator=(const EditableDocument&) = delete;

    // Discards all edits and opens `path` (the application's open path: Close, then Open).
    [[nodiscard]] bool Open(const std::u16string& path);
    void Close();
    [[nodiscard]] FileViewModel& File() { return file_; }
    [[nodiscard]] const FileViewModel& File() const { return file_; }

    [[nodiscard]] bool IsOpen() const override { return file_.IsOpen(); }
    [[nodiscard]] std::uint64_t Size() const override { return EditedSize(); }
    [[nodiscard]] std::u16string Path() const override { return file_.Path(); }
    [[nodiscard]] ReadResult Read(std::uint64_t offset, std::uint64_t count) const override;
    std::uint64_t ReadInto(std::uint64_t offset, std::uint8_t* out,
                           std::uint64_t count) const override;

    // The same bytes as ReadInto, to be read on another thread while editing goes on (see
    // ReadPlan). UI thread, like every other call.
    [[nodiscard]] ReadPlan PlanRead(std::uint64_t offset, std::uint64_t count) const;

    [[nodiscard]] bool OverwriteByte(std::uint64_t offset, std::uint8_t value) override;
    [[nodiscard]] bool InsertByte(std::uint64_t offset, std::uint8_t value) override;
    [[nodiscard]] bool DeleteByte(std::uint64_t offset) override;
    [[nodiscard]] bool DeleteRange(std::uint64_t offset, std::uint64_t count) override;
    [[nodiscard]] bool IsModified() const override;
    [[nodiscard]] std::uint64_t EditedSize() const override;

    [[nodiscard]] EditLocation Locate(std::uint64_t offset) const;
    // Counts the changes of the bytes the document reads (edits, close, open, reload), so
    // that what was computed from them can tell whether it still holds.
    [[nodiscard]] std::uint64_t Revision() const { return revision_; }

    // Writes the edits into the file (in place when they only replace bytes, cut the tail
    // or append; otherwise through a temporary file that replaces it) and re-opens it.
    // False leaves the edits pending and LastError() set. Before anything is written the file
    // is checked (CheckFile): when it changed, SaveMode::Checked refuses with RefusedChange()
    // set, unless nothing would be written into the same file anyway (no edits).
    [[nodiscard]] bool Save(const ProgressCallback& progress = {},
                            SaveMode mode = SaveMode::Checked);
    [[nodiscard]] SaveStrategy ChooseSaveStrategy() const;
    [[nodiscard]] const std::u16string& LastError() const { return lastError_; }
    // Why the last Save wrote nothing although it could have: FileChange::None otherwise.
    [[nodiscard]] FileChange RefusedChange() const { return refusedChange_; }
    // How the last successful Save wrote (Nothing when it had nothing to write).
    [[nodiscard]] SaveStrategy LastSaveStrategy() const { return lastStrategy_; }

    // What became of the file on disk since it was opened (or last saved or reloaded).
    [[nodiscard]] FileChange CheckFile() const { return file_.CheckChange(); }
    // Discards the edits and reads the file at Path() anew. False (the path cannot be opened)
    // keeps the file that was open and the edits, as they were.
    [[nodiscard]] bool Reload();

    // The one listener told of insertions and deletions (none: nobody); not owned.
    void SetEditListener(IEditListener* listener) { listener_ = listener; }

    // Record counts, for tests and diagnostics.
    [[nodiscard]] std::uint64_t InsertionRunCount() const { return edits_.RunCount(); }
    [[nodiscard]] std::uint64_t DeletionRangeCount() const { return edits_.RangeCount(); }
    [[nodiscard]] std::uint64_t OverwriteCount() const { return overwrites_.Size(); }
    // The first broken invariant of the edit records, or nothing (see EditIndex::Verify).
    [[nodiscard]] std::optional<std::string> VerifyRecords() const { return edits_.Verify(); }

private:
    [[nodiscard]] bool SaveInPlace(const std::u16string& path, const ProgressCallback& progress);
    // `keepReadHandle`: the path no longer names the file the document reads, so the handle
    // stays open through the rename and the document stays whole if the rename fails.
    [[nodiscard]] bool SaveViaTempFile(const std::u16string& path, const ProgressCallback& progress,
                                       bool keepReadHandle = false);
    // Walks the pieces of edited range [offset, offset + count), clipped to the size:
    // onRun(inserted bytes, position in the result) and onFile(file offset, count, position),
    // which returns how many of those bytes it delivered. Returns the bytes walked.
    template <typename OnRun, typename OnFile>
    std::uint64_t WalkPieces(std::uint64_t offset, std::uint64_t count, OnRun&& onRun,
                             OnFile&& onFile) const;
    // Reads file bytes [fileOffset, fileOffset + count) with overwrites applied.
    std::uint64_t ReadFileBytes(std::uint64_t fileOffset, std::uint8_t* out,
                                std::uint64_t count) const;
    void ClearRecords();
    void FailWithSystemError();

    platform::FileSystem* fs_;
    FileViewModel file_;
    EditIndex edits_;
    OverwriteMap overwrites_;
    std::u16string lastError_;
    FileChange refusedChange_ = FileChange::None;
    SaveStrategy lastStrategy_ = SaveStrategy::Nothing;
    std::uint64_t revision_ = 0;
    IEditListener* listener_ = nullptr;
};

// Writes the whole buffer, in pieces of at most 4 GiB - 1 bytes.
[[nodiscard]] bool WriteAll(platform::FileSystem& fs, const platform::NativeFile& file,
                            const std::uint8_t* data, std::uint64_t size);

// The system's text for an error code without trailing line breaks, or "Win32 error: N".
std::u16string FormatWin32Error(platform::FileSystem& fs, platform::ErrorCode code);
std::u16string FormatWin32Error(platform::ErrorCode code);

} // namespace orx
