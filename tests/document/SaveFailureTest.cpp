#include "document/EditableDocument.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kOriginal = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};

struct FaultCase {
    const char* name;
    std::function<void(test::FaultyFileSystem&)> inject;
    std::function<void(EditableDocument&)> edit; // decides the strategy
    Bytes expected;                              // the edited document
    bool fileUntouched;                          // a temp-file save never touches the original
};

void InsertAt2(EditableDocument& d)
{
    ASSERT_TRUE(d.InsertByte(2, 'X'));
}
void OverwriteAt2And7(EditableDocument& d)
{
    ASSERT_TRUE(d.OverwriteByte(2, 'X') && d.OverwriteByte(7, 'Y'));
}
void CutAndAppend(EditableDocument& d)
{
    ASSERT_TRUE(d.DeleteRange(8, 2) && d.InsertByte(8, 'Z'));
}

const Bytes kInserted = {'0', '1', 'X', '2', '3', '4', '5', '6', '7', '8', '9'};
const Bytes kOverwritten = {'0', '1', 'X', '3', '4', '5', '6', 'Y', '8', '9'};
const Bytes kCutAppended = {'0', '1', '2', '3', '4', '5', '6', '7', 'Z'};

// Every handled failure leaves the edits pending, the original file intact (when saving
// through a temporary file), no temporary file behind, and the system's reason in
// LastError; saving again once the fault is gone writes the edits.
TEST(SaveFailure, EveryHandledFailureKeepsEditsAndLeavesNoTemporaryFile)
{
    // clang-format off
    const FaultCase cases[] = {
        {"temp name", [](auto& fs) { fs.failTempFile = true; }, InsertAt2, kInserted, true},
        {"temp create", [](auto& fs) { fs.failCreate = true; }, InsertAt2, kInserted, true},
        {"first write", [](auto& fs) { fs.failWriteNumber = 1; }, InsertAt2, kInserted, true},
        {"later write", [](auto& fs) { fs.failWriteNumber = 3; }, InsertAt2, kInserted, true},
        {"flush of temp", [](auto& fs) { fs.failFlush = true; }, InsertAt2, kInserted, true},
        {"rename", [](auto& fs) { fs.failMove = true; }, InsertAt2, kInserted, true},
        {"open for writing", [](auto& fs) { fs.failOpenForWrite = true; }, OverwriteAt2And7, kOverwritten, true},
        {"in-place write", [](auto& fs) { fs.failWriteNumber = 2; }, OverwriteAt2And7, kOverwritten, false},
        {"in-place flush", [](auto& fs) { fs.failFlush = true; }, OverwriteAt2And7, kOverwritten, false},
        {"append write", [](auto& fs) { fs.failWriteNumber = 1; }, CutAndAppend, kCutAppended, false},
        {"tail cut", [](auto& fs) { fs.failSetEnd = true; }, CutAndAppend, kCutAppended, false},
    };
    // clang-format on
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::u16string path = dir.Write(u"file.bin", kOriginal);
        test::FaultyFileSystem fs;
        EditableDocument document(fs);
        ASSERT_TRUE(document.Open(path));
        c.edit(document);
        c.inject(fs);

        ASSERT_FALSE(document.Save());
        EXPECT_EQ(document.LastError(), FormatWin32Error(fs.code));
        EXPECT_FALSE(document.LastError().empty());
        EXPECT_TRUE(document.IsOpen());
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(document.Read(0, 100).bytes, c.expected);
        EXPECT_EQ(dir.List(), std::vector<std::u16string>{u"file.bin"});
        if (c.fileUntouched) {
            EXPECT_EQ(test::ReadAll(path), kOriginal);
        }

        fs.Heal();
        ASSERT_TRUE(document.Save());
        EXPECT_EQ(test::ReadAll(path), c.expected);
        EXPECT_FALSE(document.IsModified());
    }
}

// A read that comes back short while copying is no system error: the save fails without
// a stale reason from an earlier call.
TEST(SaveFailure, ShortReadWhileCopyingFailsWithoutAStaleReason)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"file.bin", kOriginal);
    test::FaultyFileSystem fs;
    EditableDocument document(fs);
    ASSERT_TRUE(document.Open(path));
    InsertAt2(document);
    fs.shortReadNumber = 1;
    fs.SetLastError(fs.code);
    EXPECT_FALSE(document.Save());
    EXPECT_TRUE(document.LastError().empty());
    EXPECT_EQ(test::ReadAll(path), kOriginal);
    EXPECT_EQ(dir.List(), std::vector<std::u16string>{u"file.bin"});
    EXPECT_TRUE(document.IsModified());
}

TEST(SaveFailure, SavingWithoutAnOpenFileReportsIt)
{
    EditableDocument document;
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(document.LastError(), u"No file is open.");
}

} // namespace
} // namespace orx
