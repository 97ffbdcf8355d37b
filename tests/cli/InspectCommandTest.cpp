#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::cli {
namespace {

using test::RunCommand;

TEST(InspectCommand, PrintsTheElevenRowsWithTheEnglishUnavailableText)
{
    orx::test::TempDir dir;
    const std::u16string file =
        dir.Write(u"data.bin", std::string_view("\x00\x00\xE2\x82\xAC\x01", 6));
    const std::pair<std::u16string, std::string> cases[] = {
        {u"2", "binary\t0b1110_0010\n"
               "uint8_dec\t0xE2 / 226\n"
               "uint16_le\t0x82E2 / 33506\n"
               "uint16_be\t0xE282 / 57986\n"
               "uint32_le\t0x01AC82E2 / 28082914\n"
               "uint32_be\t0xE282AC01 / 3800214529\n"
               "uint64_le\tN/A\n"
               "uint64_be\tN/A\n"
               "utf8\t\xE2\x82\xAC (U+20AC)\n"
               "utf16le\tN/A\n"
               "utf16be\tN/A\n"},
        {u"0x6", "binary\tN/A\nuint8_dec\tN/A\nuint16_le\tN/A\nuint16_be\tN/A\nuint32_le\tN/"
                 "A\nuint32_be\tN/A\n"
                 "uint64_le\tN/A\nuint64_be\tN/A\nutf8\tN/A\nutf16le\tN/A\nutf16be\tN/A\n"},
    };
    for (const auto& [offset, out] : cases) {
        const test::Outcome outcome =
            RunCommand(RunInspect, {file, offset, u"--resource-dir", test::SourceDirectory()});
        EXPECT_EQ(outcome.code, kExitOk) << outcome.err;
        EXPECT_EQ(outcome.out, out);
    }
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
