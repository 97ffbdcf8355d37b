#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::cli {
namespace {

using test::RunCommand;

TEST(CompareCommand, ListsRunsWithCmpExitCodes)
{
    orx::test::TempDir dir;
    const std::u16string base = dir.Write(u"base.bin", std::string_view("0123456789abcdef"));
    const std::u16string copy = dir.Write(u"copy.bin", std::string_view("0123456789abcdef"));
    const std::u16string edited = dir.Write(u"edited.bin", std::string_view("X12345678__________"));
    const std::u16string empty = dir.Write(u"empty.bin", std::string_view(""));
    // clang-format off
    struct Case { Args args; int code; std::string out; };
    const Case cases[] = {
        {{base, copy}, 0, "identical: 16 bytes\n"},
        {{empty, empty, u"--json"}, 0, R"({"left": ")"},
        {{base, edited}, 1,
         "0x0 1 30 58\n0x9 10 39616263646566 5f5f5f5f5f5f5f5f...\n"
         "differences: 2, bytes: 11, sizes: 16 and 19\n"},
        {{edited, base, u"--max", u"1"}, 1, "0x0 1 58 30\ndifferences: at least 1 (--max), sizes: 19 and 16\n"},
        {{empty, base, u"--count"}, 1, "differences: 1, bytes: 16, sizes: 0 and 16\n"},
        {{base, edited, u"--json", u"--count"}, 1, R"("leftSize": 16, "rightSize": 19, "count": 2, "bytes": 11, "complete": true})"},
        {{base, edited, u"--json"}, 1,
         R"("differences": [{"offset": 0, "length": 1, "left": "30", "right": "58"}, )"
         R"({"offset": 9, "length": 10, "left": "39616263646566", "right": "5f5f5f5f5f5f5f5f"}], "count": 2)"},
        {{base}, 2, ""},
        {{base, copy, u"--max", u"x"}, 2, ""},
        {{base, copy, u"--max", u"1", u"--count"}, 2, ""},
        {{base, edited, u"--max", u"0"}, 2, ""},
        {{base, edited, u"--max", u"0", u"--json"}, 2, ""},
        {{base, edited, u"--max", u"1", u"--json"}, 1, R"(, "count": 1, "bytes": 1, "complete": false})"},
        {{base, dir.Path(u"missing.bin")}, 2, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        const test::Outcome outcome = RunCommand(RunCompare, c.args);
        SCOPED_TRACE(::testing::PrintToString(c.args) + outcome.err);
        EXPECT_EQ(outcome.code, c.code);
        if (c.out.starts_with("0x") || c.out.starts_with("diff") || c.out.starts_with("ident")) {
            EXPECT_EQ(outcome.out, c.out);
        } else {
            EXPECT_NE(outcome.out.find(c.out), std::string::npos) << outcome.out;
        }
        EXPECT_EQ(outcome.err.empty(), c.code != 2);
    }
}

} // namespace
} // namespace orx::cli
