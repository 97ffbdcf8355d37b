#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace orx::cli {
namespace {

using test::RunCommand;

TEST(InspectCommand, PrintsEveryRowWithTheEnglishUnavailableTextInTheChosenOrder)
{
    orx::test::TempDir dir;
    const std::u16string file =
        dir.Write(u"data.bin", std::string_view("\x00\x00\xE2\x82\xAC\x01", 6));
    const std::string first = "binary\t0b1110_0010\n"
                              "uint8_dec\t0xE2 / 226\n"
                              "uint16_le\t0x82E2 / 33506\n"
                              "uint16_be\t0xE282 / 57986\n"
                              "uint32_le\t0x01AC82E2 / 28082914\n"
                              "uint32_be\t0xE282AC01 / 3800214529\n"
                              "uint64_le\tN/A\n"
                              "uint64_be\tN/A\n"
                              "utf8\t\xE2\x82\xAC (U+20AC)\n"
                              "utf16le\tN/A\n"
                              "utf16be\tN/A\n";
    const std::string leb = "uleb128\t2818402 (length 4)\nsleb128\t2818402 (length 4)\n";
    // clang-format off
    struct Case { std::u16string offset; std::vector<std::u16string> order; std::string out; };
    const Case cases[] = {
        {u"2", {}, first + "int8\t-30\nint16\t-32030\nint32\t28082914\nint64\tN/A\nfloat16\t-4.3988228e-05\n"
            "float32\t6.337063e-38\nfloat64\tN/A\nunix32\t1970-11-22 00:48:34 UTC\nunix64\tN/A\nfiletime\tN/A\n"
            "dos_datetime\tN/A\nguid\tN/A\n" + leb},
        {u"2", {u"--endian", u"big"}, first + "int8\t-30\nint16\t-7550\nint32\t-494752767\nint64\tN/A\n"
            "float16\t-833\nfloat32\t-1.2052355e+21\nfloat64\tN/A\nunix32\t1954-04-28 16:40:33 UTC\nunix64\tN/A\n"
            "filetime\tN/A\ndos_datetime\t2093-04-02 21:32:02\nguid\tN/A\n" + leb},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<std::u16string> args = {file, c.offset, u"--resource-dir",
                                            test::SourceDirectory()};
        args.insert(args.end(), c.order.begin(), c.order.end());
        const test::Outcome outcome = RunCommand(RunInspect, args);
        EXPECT_EQ(outcome.code, kExitOk) << outcome.err;
        EXPECT_EQ(outcome.out, c.out);
    }
    // At the end of the file every row is unavailable.
    std::istringstream past(RunCommand(RunInspect, {file, u"0x6"}).out);
    std::size_t rows = 0;
    for (std::string line; std::getline(past, line); ++rows) {
        EXPECT_TRUE(line.ends_with("\tN/A")) << line;
    }
    EXPECT_EQ(rows, 25u);
    EXPECT_EQ(RunCommand(RunInspect, {file, u"2", u"--endian", u"middle"}).code, kExitUsage);
}

TEST(InspectCommand, RefusesBadArguments)
{
    orx::test::TempDir dir;
    const std::u16string file = dir.Write(u"data.bin", "abc");
    const std::pair<Args, int> cases[] = {
        {{file}, kExitUsage},
        {{file, u"g"}, kExitUsage},
        {{file, u"0", u"1"}, kExitUsage},
        {{file, u"0", u"--bogus"}, kExitUsage},
        {{dir.Path(u"missing.bin"), u"0"}, kExitNoInput},
    };
    for (const auto& [args, code] : cases) {
        const test::Outcome outcome = RunCommand(RunInspect, args);
        EXPECT_EQ(outcome.code, code) << ::testing::PrintToString(args);
        EXPECT_EQ(outcome.out, "");
    }
}

} // namespace
} // namespace orx::cli
