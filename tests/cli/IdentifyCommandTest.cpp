#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "platform/Utf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orx::cli {
namespace {

// identify and struct --auto over a folder of two patterns: exit codes, order, offsets.
TEST(IdentifyCommand, MatchesBestFirstWithCmpLikeExitCodes)
{
    const orx::test::TempDir dir;
    const std::u16string patterns = dir.Path(u"patterns");
    std::filesystem::create_directory(orx::test::ToPath(patterns));
    dir.Write(u"patterns/ab.orpat", "@title \"AB\"\n@signature 0 41 42\nstruct S { char t[2]; };");
    dir.Write(u"patterns/end.orpat",
              "@title \"End\"\n@signature end-2 59 5A\nstruct E { char t[2]; };");
    const std::u16string both = dir.Write(u"both.bin", "AB..YZ");
    const std::u16string none = dir.Write(u"none.bin", "..");
    // clang-format off
    struct Case { Args args; int code; std::string out; };
    const Case cases[] = {
        {{both, u"--patterns", patterns}, 0, "0x0\tAB\tab.orpat\n0x4\tEnd\tend.orpat\n"},
        {{none, u"--patterns", patterns}, 1, ""},
        {{none, u"--json", u"--patterns", patterns}, 1, "[]\n"},
        {{both, none, u"--patterns", patterns}, 0,
         platform::Narrow(both) + "\t0x0\tAB\tab.orpat\n" + platform::Narrow(both) + "\t0x4\tEnd\tend.orpat\n"},
        {{dir.Path(u"missing"), u"--patterns", patterns}, 66, ""},
        {{u"--patterns", patterns}, 64, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        const test::Outcome outcome = test::RunCommand(RunIdentify, c.args);
        EXPECT_EQ(outcome.code, c.code) << platform::Narrow(c.args[0]);
        EXPECT_EQ(outcome.out, c.out) << platform::Narrow(c.args[0]);
    }
    const test::Outcome automatic = test::RunCommand(
        RunStruct, {u"--auto", both, u"--patterns", patterns, u"--bytes", u"ascii"});
    EXPECT_EQ(automatic.out, "0x0\t\"AB\"\t2\tt\n");
    EXPECT_EQ(test::RunCommand(RunStruct, {u"--auto", none, u"--patterns", patterns}).code, 1);
}

} // namespace
} // namespace orx::cli
