#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "structview/PatternTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::cli {
namespace {

using test::Outcome;

Outcome RunStructCommand(Args args)
{
    return test::RunCommand(RunStruct, std::move(args));
}

class StructCommand : public ::testing::Test {
protected:
    // Runs with the source tree's string files, as the shipped layout has them beside the
    // executable.
    Outcome RunWith(Args args)
    {
        args.push_back(u"--resource-dir");
        args.push_back(test::SourceDirectory());
        return RunStructCommand(std::move(args));
    }

    std::u16string Pattern(std::string_view text, std::u16string_view name = u"p.orpat")
    {
        return dir_.Write(name, text);
    }
    std::u16string Data(const std::vector<std::uint8_t>& bytes)
    {
        return dir_.Write(u"data.bin", bytes);
    }

    orx::test::TempDir dir_;
};

constexpr std::string_view kHeaderPattern =
    "@member_align 0\n"
    "struct Header { char magic[4]; uint16_t count; uint32_t size; };";

// The shipped PNG pattern over a PNG of three chunks: anchored at 0 and big-endian without
// any option; --endian replaces the file-wide order; --json prints the same tree.
TEST_F(StructCommand, ReadsAWholePngWithTheShippedPattern)
{
    const std::u16string pattern = test::SourceDirectory() + u"/patterns/png.orpat";
    orx::test::ByteWriter png;
    png.U8(0x89).Text("PNG\r\n\x1A\n").Be32(13).Text("IHDR").Be32(640).Be32(480);
    png.U8(8).U8(2).U8(0).U8(0).U8(0).Be32(0x35D1DCE4);
    png.Be32(1).Text("IDAT").U8(7).Be32(5).Be32(0).Text("IEND").Be32(0xAE426082);
    const std::u16string data = Data(png.Bytes());

    const Outcome rows = RunWith({pattern, data, u"--base", u"dec"});
    EXPECT_EQ(rows.code, kExitOk);
    for (const std::string_view row :
         {"0x10\t640\t4\t  width\n", "0x19\tRgb (2)\t1\t  colorType\n",
          "0x8\t3 elements\t50\tchunks : Chunk[]\n", "0x2E\t0\t4\t    length\n"}) {
        EXPECT_NE(rows.out.find(row), std::string::npos) << row << rows.out;
    }
    const Outcome little = RunWith({pattern, data, u"--base", u"dec", u"--endian", u"little"});
    EXPECT_NE(little.out.find("0x10\t2147614720\t4\t  width\n"), std::string::npos) << little.out;

    const Outcome json = RunWith({pattern, data, u"--json", u"--base", u"dec"});
    EXPECT_EQ(json.code, kExitOk);
    EXPECT_TRUE(json.out.starts_with("{\"name\": \"Png\", \"type\": \"Png\", \"offset\": 0, "
                                     "\"size\": 58, \"value\": \"\", \"children\": [\n"))
        << json.out;
    EXPECT_NE(json.out.find("{\"name\": \"width\", \"type\": \"uint32_t\", \"offset\": 16, "
                            "\"size\": 4, \"value\": \"640\"}"),
              std::string::npos);
    EXPECT_NE(json.out.find("{\"name\": \"data\", \"type\": \"uint8_t[length]\", \"offset\": 41, "
                            "\"size\": 1, \"value\": \"07\"}"),
              std::string::npos);
}

TEST_F(StructCommand, PrintsOneTabSeparatedLinePerRow)
{
    const std::u16string pattern = Pattern(kHeaderPattern);
    const std::u16string data =
        Data(orx::test::ByteWriter().Zeros(4).Text("ABCD").Le16(0x0102).Le32(300).Bytes());
    // clang-format off
    struct Case { Args options; std::string out; };
    // clang-format on
    const Case cases[] = {
        {{}, "0x0\t00 00 00 00\t4\tmagic\n0x4\t0x4241\t2\tcount\n0x6\t0x01024443\t4\tsize\n"},
        {{u"--offset", u"4"},
         "0x4\t41 42 43 44\t4\tmagic\n0x8\t0x0102\t2\tcount\n0xA\t0x0000012C\t4\tsize\n"},
        {{u"--offset", u"0x4", u"--bytes", u"ascii", u"--base", u"dec"},
         "0x4\t\"ABCD\"\t4\tmagic\n0x8\t258\t2\tcount\n0xA\t300\t4\tsize\n"},
        {{u"--endian", u"big", u"--offset", u"4", u"--base", u"hex", u"--endian", u"big"},
         "0x4\t41 42 43 44\t4\tmagic\n0x8\t0x0201\t2\tcount\n0xA\t0x2C010000\t4\tsize\n"},
        // Past the end of the file: the English text of the string files.
        {{u"--offset", u"9"},
         "0x9\t01 2C 01 00\t4\tmagic\n0xD\tN/A\t2\tcount\n0xF\tN/A\t4\tsize\n"},
    };
    for (const Case& c : cases) {
        Args args = {pattern, data};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome outcome = RunWith(args);
        EXPECT_EQ(outcome.code, kExitOk);
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, "");
    }
}

TEST_F(StructCommand, InfoPrintsTheEntryAndDirectivesOnePerLine)
{
    const Outcome outcome = RunStructCommand(
        {Pattern("@sizeof_long 4 struct Header { long x; };"), dir_.Path(u"unused"), u"--info"});
    EXPECT_EQ(outcome.code, kExitOk);
    EXPECT_EQ(outcome.out,
              "entry = Header (implicit)\nsizeof_short = 2\nsizeof_int = 4\nsizeof_long = 4\n"
              "sizeof_long_long = 8\nsizeof_float = 4\nsizeof_double = 8\npointer_size = 8\n"
              "member_align = 8\n");
}

TEST_F(StructCommand, LoadErrorsAreReportedAsTheStructViewShowsThem)
{
    const std::u16string data = Data({0});
    // clang-format off
    struct Case { std::u16string pattern; std::string err; };
    // clang-format on
    const Case cases[] = {
        {Pattern("struct A {\n  int a b c;\n  long;\n};"),
         "Line 3, Col 3: Type specifier was not found.\r\n  long;\r\n  ^\n"},
        {Pattern("struct A { int a; }; struct B { int b; };", u"two.orpat"),
         "@entry is required when multiple structs are defined.\n"},
        {dir_.Path(u"missing.orpat"), "Failed to open definition file.\n"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunStructCommand({c.pattern, data});
        EXPECT_EQ(outcome.code, kExitRefused);
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_EQ(outcome.out, "");
    }
}

TEST_F(StructCommand, RejectsBadArgumentsAndMissingFiles)
{
    const std::u16string pattern = Pattern(kHeaderPattern);
    const std::u16string data = Data({0});
    const Args usage[] = {
        {},
        {pattern},
        {pattern, data, data},
        {pattern, data, u"--endian", u"middle"},
        {pattern, data, u"--base", u"oct"},
        {pattern, data, u"--bytes", u"text"},
        {pattern, data, u"--offset", u"xyz"},
        {pattern, data, u"--offset"},
        {pattern, data, u"--colour", u"red"},
    };
    for (const Args& args : usage) {
        const Outcome outcome = RunStructCommand(args);
        EXPECT_EQ(outcome.code, kExitUsage) << args.size();
        EXPECT_NE(outcome.err.find("usage: orlin-cli struct"), std::string::npos);
    }
    const Outcome missing = RunStructCommand({pattern, dir_.Path(u"missing.bin")});
    EXPECT_EQ(missing.code, kExitNoInput);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
}

} // namespace
} // namespace orx::cli
