#include "cli/CommandTestSupport.h"
#include "platform/Utf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::cli {
namespace {

struct PatchCase {
    const char* name;
    std::string file;
    Args ops;
    int code;
    std::string out;
    std::string result; // the file afterwards
    std::string err = "";
};

TEST(PatchCommand, AppliesEditsInOrderAndSaves)
{
    const PatchCase cases[] = {
        {"overwrite", "abcdef", {u"--overwrite", u"1=5859"}, 0, "saved in place\n", "aXYdef"},
        {"overwrite with 0x offset",
         "abcdef",
         {u"--overwrite", u"0X4=7a"},
         0,
         "saved in place\n",
         "abcdzf"},
        {"insert keeps byte order",
         "abcdef",
         {u"--insert", u"2=585960"},
         0,
         "saved via temporary file\n",
         "abXY`cdef"},
        {"delete with count",
         "abcdef",
         {u"--delete", u"1:3"},
         0,
         "saved via temporary file\n",
         "aef"},
        {"delete one by default", "abcdef", {u"--delete", u"5"}, 0, "saved in place\n", "abcde"},
        {"cut the tail and append",
         "abcdef",
         {u"--delete", u"4:2", u"--insert", u"4=5A"},
         0,
         "saved in place\n",
         "abcdZ"},
        {"edits apply in order",
         "abcdef",
         {u"--insert", u"0=41", u"--overwrite", u"0=42"},
         0,
         "saved via temporary file\n",
         "Babcdef"},
        {"restoring a byte leaves nothing to save",
         "abc",
         {u"--overwrite", u"1=62"},
         0,
         "nothing to save\n",
         "abc"},
        {"append to an empty file",
         "",
         {u"--insert", u"0=0001"},
         0,
         "saved in place\n",
         std::string("\0\1", 2)},
        {"offset 10 is hexadecimal",
         std::string(20, '.'),
         {u"--overwrite", u"10=21"},
         0,
         "saved in place\n",
         std::string(16, '.') + "!" + std::string(3, '.')},
        {"refused overwrite past the end",
         "abc",
         {u"--overwrite", u"1=41", u"--overwrite", u"3=41"},
         2,
         "",
         "abc",
         "refused: --overwrite 3=41\n"},
        {"refused overwrite running off the end",
         "abc",
         {u"--overwrite", u"2=4142"},
         2,
         "",
         "abc",
         "refused: --overwrite 2=4142\n"},
        {"refused delete past the end",
         "abc",
         {u"--delete", u"1:3"},
         2,
         "",
         "abc",
         "refused: --delete 1:3\n"},
        {"refused insert past the end",
         "abc",
         {u"--insert", u"4=41"},
         2,
         "",
         "abc",
         "refused: --insert 4=41\n"},
    };
    for (const PatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        orx::test::TempDir dir;
        const std::u16string path = dir.Write(u"f.bin", c.file);
        Args args{path};
        args.insert(args.end(), c.ops.begin(), c.ops.end());
        const test::Outcome outcome = test::RunCommand(RunPatch, args);
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, c.err);
        const auto bytes = orx::test::ReadAll(path);
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
