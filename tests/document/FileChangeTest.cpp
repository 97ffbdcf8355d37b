// The check of the open file against what was remembered at open, and the save that refuses
// to write over another program's change.
#include "document/EditableDocument.h"
#include "document/FileChange.h"
#include "platform/Utf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

#if !defined(_WIN32)
std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// On the POSIX file system, with the document holding the file open, another program:
// each row does one thing to the file, and says what the check then finds and what the file
// holds afterwards.
struct DiskCase {
    const char* name;
    std::function<void(test::TempDir&, const std::u16string&)> act;
    FileChange expected;
    std::string left; // what the other program left at the path ("" when nothing is there)
    // After 'X' at offset 2, saved anyway: into a changed file in place, over a replaced or
    // deleted one the document anew.
    std::string overwritten;
};

const std::string kOriginal = "0123456789";

std::vector<DiskCase> DiskCases()
{
    namespace fs = std::filesystem;
    const auto renameOver = [](test::TempDir& dir, auto& path) {
        fs::rename(test::ToPath(dir.Write(u"other.tmp", "new file")), test::ToPath(path));
    };
    const auto deleteAndWrite = [](test::TempDir& dir, auto& path) {
        fs::remove(test::ToPath(path));
        dir.Write(u"f.bin", kOriginal);
    };
    // clang-format off
    return {
        {"untouched", [](auto&, auto&) {}, FileChange::None, kOriginal, "01X3456789"},
        {"rewritten, same size", [](auto& dir, auto&) { dir.Write(u"f.bin", "abcdefghij"); }, FileChange::Changed, "abcdefghij", "abXdefghij"},
        {"grown", [](auto&, auto& path) { std::ofstream(test::ToPath(path), std::ios::app | std::ios::binary) << "AB"; },
         FileChange::Changed, kOriginal + "AB", "01X3456789AB"},
        {"shortened", [](auto&, auto& path) { fs::resize_file(test::ToPath(path), 4); }, FileChange::Shortened, "0123", "01X3"},
        {"replaced by rename", renameOver, FileChange::Replaced, "new file", "01X3456789"},
        {"deleted", [](auto&, auto& path) { fs::remove(test::ToPath(path)); }, FileChange::Deleted, "", "01X3456789"},
        {"deleted and written anew", deleteAndWrite, FileChange::Replaced, kOriginal, "01X3456789"},
        {"touched with the same bytes", [](auto&, auto& path) { fs::last_write_time(test::ToPath(path), fs::file_time_type::clock::now()); },
         FileChange::Changed, kOriginal, "01X3456789"},
    };
    // clang-format on
}

std::string LeftAt(const std::u16string& path)
{
    return std::filesystem::exists(test::ToPath(path)) ? Text(test::ReadAll(path)) : "";
}

// The file, made an hour old (so that a write in the clock tick of the open still shows as a
// change), open in a document.
struct OpenOldFile {
    OpenOldFile() : path(dir.Write(u"f.bin", kOriginal))
    {
        std::filesystem::last_write_time(test::ToPath(path),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::hours(1));
        EXPECT_TRUE(document.Open(path));
    }
    test::TempDir dir;
    std::u16string path;
    EditableDocument document;
};

// Each change, with each save path: the check tells it through the handle and the path, and
// a checked save writes nothing (nothing at all is refused without edits into the same file),
// leaving the other program's bytes as they were. Saving anyway into a file that was only
// written to keeps the usual save (the in-place one stands for it here); over a replacement
// or a deletion the document is written anew, whichever save its edits would take.
TEST(FileChange, ThePathDecidesTheFileTheHandleWhatBecameOfIt)
{
    using platform::FileStamp;
    const FileStamp opened{1, 7, 100, 5000};
    const FileStamp other{1, 8, 100, 5000};
    const std::optional<FileStamp> none;
    // clang-format off
    struct Case { std::optional<FileStamp> handle; PathStamp path; FileChange expected; };
    const Case cases[] = {
        {opened, {opened}, FileChange::None},
        {opened, {none, true}, FileChange::Deleted},
        {opened, {other}, FileChange::Replaced},
        {FileStamp{1, 7, 100, 5000, true}, {opened}, FileChange::Deleted},
        {none, {none}, FileChange::None},
        {FileStamp{1, 7, 99, 5000}, {opened}, FileChange::Shortened},
        {FileStamp{1, 7, 100, 5001}, {opened}, FileChange::Changed},
        {none, {FileStamp{1, 7, 101, 5000}}, FileChange::Changed},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyFileChange(opened, c.handle, c.path), c.expected)
            << static_cast<int>(c.expected);
    }
}

TEST(FileChangeOnDisk, ACheckedSaveWritesNothingOverAChangeAndSavingAnywayWrites)
{
    // clang-format off
    struct Edit { const char* name; std::function<bool(EditableDocument&)> apply; SaveStrategy strategy; std::string document; };
    const Edit edits[] = {
        {"overwrite", [](auto& d) { return d.OverwriteByte(2, 'X'); }, SaveStrategy::InPlace, "01X3456789"},
        {"insert", [](auto& d) { return d.InsertByte(2, 'X'); }, SaveStrategy::ViaTempFile, "01X23456789"},
        {"cut the tail", [](auto& d) { return d.DeleteRange(8, 2); }, SaveStrategy::InPlace, "01234567"},
        {"no edit", [](auto&) { return true; }, SaveStrategy::Nothing, kOriginal},
    };
    // clang-format on
    for (const Edit& edit : edits) {
        for (const DiskCase& c : DiskCases()) {
            SCOPED_TRACE(std::string(edit.name) + ", " + c.name);
            OpenOldFile f;
            ASSERT_TRUE(edit.apply(f.document));
            ASSERT_EQ(f.document.ChooseSaveStrategy(), edit.strategy);
            c.act(f.dir, f.path);
            EXPECT_EQ(f.document.CheckFile(), c.expected);
            const std::vector<std::u16string> listing = f.dir.List();

            const bool saved = f.document.Save();
            if (c.expected == FileChange::None) {
                EXPECT_TRUE(saved);
                EXPECT_EQ(LeftAt(f.path), edit.document);
                continue;
            }
            const bool anew = LostIdentity(c.expected);
            const bool refuses = edit.strategy != SaveStrategy::Nothing || anew;
            EXPECT_EQ(saved, !refuses);
            EXPECT_EQ(f.document.RefusedChange(), refuses ? c.expected : FileChange::None);
            EXPECT_EQ(LeftAt(f.path), c.left);
            EXPECT_EQ(f.dir.List(), listing) << "no temporary file left behind";
            EXPECT_EQ(f.document.IsModified(), edit.strategy != SaveStrategy::Nothing);

            if (!anew && &edit != &edits[0]) {
                continue;
            }
            ASSERT_TRUE(f.document.Save({}, SaveMode::Anyway))
                << platform::Narrow(f.document.LastError());
            EXPECT_EQ(f.document.LastSaveStrategy(),
                      anew ? SaveStrategy::ViaTempFile : SaveStrategy::InPlace);
            EXPECT_EQ(LeftAt(f.path), anew ? edit.document : c.overwritten);
            EXPECT_EQ(f.dir.List(), std::vector<std::u16string>{u"f.bin"});
            EXPECT_EQ(f.document.CheckFile(), FileChange::None) << "the saved file is the one open";
            EXPECT_EQ(Text(f.document.Read(0, 100).bytes), LeftAt(f.path));
        }
    }
}

// A reload reads the file at the path anew and drops the edits; with nothing at the path it
// keeps everything as it was.
TEST(FileChangeOnDisk, AReloadReadsTheNewBytesOrKeepsEverything)
{
    OpenOldFile f;
    ASSERT_TRUE(f.document.InsertByte(0, 'X'));
    const std::uint64_t generation = f.document.File().Generation();
    std::filesystem::rename(test::ToPath(f.path), test::ToPath(f.dir.Path(u"moved.bin")));
    EXPECT_FALSE(f.document.Reload());
    EXPECT_EQ(Text(f.document.Read(0, 100).bytes), "X" + kOriginal);
    EXPECT_EQ(f.document.File().Generation(), generation);

    f.dir.Write(u"f.bin", "written anew");
    ASSERT_TRUE(f.document.Reload());
    EXPECT_FALSE(f.document.IsModified());
    EXPECT_EQ(Text(f.document.Read(0, 100).bytes), "written anew");
    EXPECT_EQ(f.document.CheckFile(), FileChange::None);
    EXPECT_GT(f.document.File().Generation(), generation);
}
#endif

} // namespace
} // namespace orx
