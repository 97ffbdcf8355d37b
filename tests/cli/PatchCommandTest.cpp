#include "cli/CommandTestSupport.h"
#include "platform/Utf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>

namespace orx::cli {
namespace {

// The edits are given as one line, split at the spaces; `out` is printed as a line.
struct PatchCase {
    std::string file;
    std::u16string ops;
    int code;
    std::string out;
    std::string result; // the file afterwards
    std::string err = "";
};

TEST(PatchCommand, AppliesEditsInOrderAndSaves)
{
    const std::string dots(20, '.');
    const PatchCase cases[] = {
        {"abcdef", u"--overwrite 1=5859", 0, "saved in place", "aXYdef"},
        {"abcdef", u"--overwrite 0X4=7a", 0, "saved in place", "abcdzf"},
        {"abcdef", u"--insert 2=585960", 0, "saved via temporary file", "abXY`cdef"},
        {"abcdef", u"--delete 1:3", 0, "saved via temporary file", "aef"},
        {"abcdef", u"--delete 5", 0, "saved in place", "abcde"},
        {"abc", u"--overwrite 1=62", 0, "nothing to save", "abc"},
        {"", u"--insert 0=0001", 0, "saved in place", std::string("\0\1", 2)},
        {dots, u"--overwrite 10=21", 0, "saved in place", dots.substr(4) + "!..."},
        {"abc", u"--overwrite 1=41 --overwrite 3=41", 2, "", "abc", "--overwrite 3=41"},
        {"abc", u"--overwrite 2=4142", 2, "", "abc", "--overwrite 2=4142"},
        {"abc", u"--delete 1:3", 2, "", "abc", "--delete 1:3"},
        {"abc", u"--insert 4=41", 2, "", "abc", "--insert 4=41"},
    };
    for (const PatchCase& c : cases) {
        SCOPED_TRACE(platform::Narrow(c.ops));
        orx::test::TempDir dir;
        Args args{dir.Write(u"f.bin", c.file)};
        for (std::size_t at = 0; at <= c.ops.size();) {
            const std::size_t space = std::min(c.ops.find(u' ', at), c.ops.size());
            args.push_back(c.ops.substr(at, space - at));
            at = space + 1;
        }
        const test::Outcome outcome = test::RunCommand(RunPatch, args);
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.out, c.out.empty() ? "" : c.out + "\n");
        EXPECT_EQ(outcome.err, c.err.empty() ? "" : "refused: " + c.err + "\n");
        const auto bytes = orx::test::ReadAll(args[0]);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.result);
        EXPECT_EQ(dir.List(), std::vector<std::u16string>{u"f.bin"});
    }
}

TEST(PatchCommand, UsageErrorsTouchNothing)
{
    const Args cases[] = {
        {},
        {u"FILE"},
        {u"FILE", u"--overwrite"},
        {u"FILE", u"--overwrite", u"1"},
        {u"FILE", u"--overwrite", u"1=4"},
        {u"FILE", u"--overwrite", u"1=zz"},
        {u"FILE", u"--overwrite", u"=41"},
        {u"FILE", u"--insert", u"g=41"},
        {u"FILE", u"--delete", u"1:"},
        {u"FILE", u"--delete", u"1:-2"},
        {u"FILE", u"--delete", u"1:0x2"},
        {u"FILE", u"--frobnicate", u"1"},
    };
    for (const Args& ops : cases) {
        orx::test::TempDir dir;
        const std::u16string path = dir.Write(u"f.bin", "abc");
        Args args = ops;
        if (!args.empty())
            args[0] = path;
        const test::Outcome outcome = test::RunCommand(RunPatch, args);
        EXPECT_EQ(outcome.code, kExitUsage) << (args.size() > 1 ? platform::Narrow(args[1]) : "");
        EXPECT_NE(outcome.err.find("usage: orlin-cli patch"), std::string::npos);
        const auto bytes = orx::test::ReadAll(path);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");
    }
}

// Another program changes the file after patch opened it and before it saves (the test hook
// runs between the two): patch writes nothing and exits with its own code, unless --force.
TEST(PatchCommand, AFileChangedBetweenOpenAndSaveIsLeftAsTheOtherProgramLeftIt)
{
    namespace fs = std::filesystem;
    using Change = std::function<void(orx::test::TempDir&, const std::u16string&)>;
    // clang-format off
    struct Case { const char* name; Change change; std::string left, sentence, forced, how = "in place"; };
    const Case cases[] = {
        {"rewritten, same size", [](auto& dir, auto&) { dir.Write(u"f.bin", "ABCDEF"); },
         "ABCDEF", "Another program has changed this file since Orlin read it.", "AXYDEF"},
        {"shortened", [](auto& dir, auto&) { dir.Write(u"f.bin", "abc"); },
         "abc", "Another program has shortened this file since Orlin read it.", "aXY"},
#if !defined(_WIN32) // Windows refuses to rename over a file that patch holds open
        {"replaced", [](auto& dir, auto& path) { fs::rename(orx::test::ToPath(dir.Write(u"n.tmp", "new")), orx::test::ToPath(path)); },
         "new", "Another program has replaced this file with a different one since Orlin read it.", "aXYdef", "via temporary file"},
#endif
        {"untouched", [](auto&, auto&) {}, "aXYdef", "", "aXYdef"},
    };
    // clang-format on
    for (const Case& c : cases) {
        for (const bool force : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (force ? ", --force" : ""));
            orx::test::TempDir dir;
            const std::u16string path = dir.Write(u"f.bin", "abcdef");
            // An hour back, so that a write in the same clock tick still shows.
            fs::last_write_time(orx::test::ToPath(path),
                                fs::file_time_type::clock::now() - std::chrono::hours(1));
            Args args{path, u"--overwrite", u"1=5859"};
            if (force) {
                args.push_back(u"--force");
            }
            std::ostringstream out;
            std::ostringstream err;
            const int code = RunPatch(Invocation{args, out, err}, [&] { c.change(dir, path); });
            const bool refused = !force && !c.sentence.empty();
            EXPECT_EQ(code, refused ? kExitChangedOnDisk : kExitOk);
            EXPECT_EQ(out.str(), refused ? "" : "saved " + c.how + "\n");
            EXPECT_EQ(err.str(), refused
                                     ? "not saved: " + c.sentence +
                                           "\nNothing was written. Give --force to save anyway.\n"
                                     : "");
            const auto bytes = orx::test::ReadAll(path);
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), refused ? c.left : c.forced);
            EXPECT_EQ(dir.List(), std::vector<std::u16string>{u"f.bin"});
        }
    }
}

TEST(PatchCommand, MissingFileIsReported)
{
    orx::test::TempDir dir;
    const test::Outcome outcome =
        test::RunCommand(RunPatch, {dir.Path(u"none.bin"), u"--delete", u"0"});
    EXPECT_EQ(outcome.code, kExitNoInput);
    EXPECT_NE(outcome.err.find("cannot open"), std::string::npos);
}

} // namespace
} // namespace orx::cli
