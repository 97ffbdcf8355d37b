#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::cli {
namespace {

using test::RunCommand;

class DumpCommand : public ::testing::Test {
protected:
    std::u16string Data(std::string_view bytes) { return dir_.Write(u"data.bin", bytes); }
    orx::test::TempDir dir_;
};

TEST_F(DumpCommand, PrintsRowsAsTheHexViewDrawsThem)
{
    // 0..15: "Hello, " U+3042 " world"; 16..: " e" U+0301 " " 00 01, then "AB".
    const std::u16string file = Data(std::string_view("Hello, \xE3\x81\x82 world e\xCC\x81 \x00\x01"
                                                      "AB",
                                                      25));
    // clang-format off
    struct Case { Args options; std::string out; };
    // clang-format on
    const Case cases[] = {
        {{},
         "00000000: 48 65 6C 6C 6F 2C 20 E3 81 82 20 77 6F 72 6C 64  Hello, ... world\n"
         "00000010: 20 65 CC 81 20 00 01 41 42   e.. ..AB\n"},
        {{u"--encoding", u"UTF-8"},
         "00000000: 48 65 6C 6C 6F 2C 20 E3 81 82 20 77 6F 72 6C 64  Hello, \xE3\x81\x82 world\n"
         "00000010: 20 65 CC 81 20 00 01 41 42   e\xCC\x81 ..AB\n"},
        {{u"--offset", u"0x18", u"--encoding", u"utf8", u"--cells"},
         "00000010: 20 65 CC 81 20 00 01 41 42   \te\xCC\x81\t\t\t \t.\t.\tA\tB\n"},
        {{u"--rows", u"1", u"--offset", u"5"},
         "00000000: 48 65 6C 6C 6F 2C 20 E3 81 82 20 77 6F 72 6C 64  Hello, ... world\n"},
        {{u"--rows", u"0"}, ""},
        {{u"--offset", u"19"},
         "00000010: 20 65 CC 81 20 00 01 41 42   e.. ..AB\n"}, // the end offset
        {{u"--offset", u"10", u"--rows", u"1000"},
         "00000010: 20 65 CC 81 20 00 01 41 42   e.. ..AB\n"},
    };
    for (const Case& c : cases) {
        Args args = {file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const test::Outcome outcome = RunCommand(RunDump, args);
        EXPECT_EQ(outcome.code, kExitOk) << outcome.err;
        EXPECT_EQ(outcome.out, c.out);
    }
}

TEST_F(DumpCommand, ShowsSixteenDigitOffsetsFromFourGib)
{
    // Reading needs no data there: a sparse file of 4 GiB + 1 byte.
    const std::u16string file = Data("x");
    std::filesystem::resize_file(orx::test::ToPath(file), (std::uint64_t{1} << 32) + 1);
    const test::Outcome outcome = RunCommand(RunDump, {file, u"--offset", u"100000000"});
    EXPECT_EQ(outcome.code, kExitOk);
    EXPECT_EQ(outcome.out, "0000000100000000: 00  .\n");
}

TEST_F(DumpCommand, RefusesBadArgumentsAndMissingFiles)
{
    const std::u16string file = Data("abc");
    const std::pair<Args, int> cases[] = {
        {{}, kExitUsage},
        {{file, u"--encoding", u"latin1"}, kExitUsage},
        {{file, u"--rows", u"-1"}, kExitUsage},
        {{file, u"--offset", u"xyz"}, kExitUsage},
        {{file, u"--offset"}, kExitUsage},
        {{file, file}, kExitUsage},
        {{file, u"--bogus", u"1"}, kExitUsage},
        {{file, u"--offset", u"4"}, kExitRefused},
        {{dir_.Path(u"missing.bin")}, kExitNoInput},
    };
    for (const auto& [args, code] : cases) {
        const test::Outcome outcome = RunCommand(RunDump, args);
        EXPECT_EQ(outcome.code, code) << ::testing::PrintToString(args);
        EXPECT_FALSE(outcome.err.empty());
        EXPECT_EQ(outcome.out, "");
    }
}

} // namespace
} // namespace orx::cli
