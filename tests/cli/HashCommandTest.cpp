#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "platform/Utf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::cli {
namespace {

using test::RunCommand;

class HashCommand : public ::testing::Test {
protected:
    test::Outcome Hash(Args options)
    {
        Args args = {file_};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {u"--resource-dir", test::SourceDirectory()});
        return RunCommand(RunHash, args);
    }

    orx::test::TempDir dir_;
    // "xabcx": the range 1+3 is "abc".
    std::u16string file_ = dir_.Write(u"data.bin", std::string_view("xabcx"));
    std::string name_ = platform::Narrow(file_);
};

TEST_F(HashCommand, WithoutAlgorithmsPrintsAllSixAsNameAndValueLines)
{
    const test::Outcome outcome = Hash({u"--offset", u"1", u"--length", u"3"});
    EXPECT_EQ(outcome.code, kExitOk) << outcome.err;
    EXPECT_EQ(outcome.out,
              "CRC-32  352441c2\n"
              "Adler-32  024d0127\n"
              "MD5  900150983cd24fb0d6963f7d28e17f72\n"
              "SHA-1  a9993e364706816aba3e25717850c26c9cd0d89d\n"
              "SHA-256  ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n"
              "SHA-512  ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a27"
              "4fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f\n");
}

TEST_F(HashCommand, OneAlgorithmPrintsValueAndFileAsTheSumToolsDo)
{
    // clang-format off
    const std::pair<Args, std::string> cases[] = {
        {{u"--algorithm", u"sha256", u"--offset", u"0x1", u"--length", u"3"},
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  "},
        {{u"--algorithm", u"MD5", u"--algorithm", u"md5", u"--offset", u"5"},
         "d41d8cd98f00b204e9800998ecf8427e  "},
        {{u"--algorithm", u"crc-32", u"--length", u"1"}, "8cdc1683  "},
        {{u"--algorithm", u"Adler_32", u"--length", u"0"}, "00000001  "},
    };
    // clang-format on
    for (const auto& [options, value] : cases) {
        const test::Outcome outcome = Hash(options);
        EXPECT_EQ(outcome.code, kExitOk) << outcome.err;
        EXPECT_EQ(outcome.out, value + name_ + "\n") << ::testing::PrintToString(options);
    }
    const test::Outcome two =
        Hash({u"--algorithm", u"sha1", u"--algorithm", u"adler32", u"--offset", u"1"});
    EXPECT_EQ(two.out, "SHA-1  d84809b186a0d5ae1b9c1c29e43ae6d097fad592\nAdler-32  03ec019f\n");
}

TEST_F(HashCommand, JsonCarriesTheFileTheRangeAndTheValuesByKey)
{
    const test::Outcome outcome = Hash({u"--json", u"--offset", u"1", u"--length", u"3",
                                        u"--algorithm", u"crc32", u"--algorithm", u"sha1"});
    EXPECT_EQ(outcome.code, kExitOk) << outcome.err;
    std::string file = name_;
    for (std::size_t at = file.find('\\'); at != std::string::npos; at = file.find('\\', at + 2)) {
        file.insert(at, 1, '\\');
    }
    EXPECT_EQ(outcome.out, "{\"file\": \"" + file +
                               "\", \"offset\": 1, \"length\": 3, \"values\": {\"crc32\": "
                               "\"352441c2\", \"sha1\": "
                               "\"a9993e364706816aba3e25717850c26c9cd0d89d\"}}\n");
}

TEST_F(HashCommand, RefusesWhatItCannotDo)
{
    // clang-format off
    struct Case { Args options; int code; std::string err; };
    const Case cases[] = {
        {{u"--algorithm", u"sha384"}, kExitUsage, "usage: orlin-cli hash"},
        {{u"--algorithm", u"md5 "}, kExitUsage, "usage: orlin-cli hash"},
        {{u"--algorithm"}, kExitUsage, "usage: orlin-cli hash"},
        {{u"--offset", u"g"}, kExitUsage, "usage: orlin-cli hash"},
        {{u"--length", u"0x3"}, kExitUsage, "usage: orlin-cli hash"},
        {{u"--json", u"--json"}, kExitUsage, "usage: orlin-cli hash"},
        {{u"extra"}, kExitUsage, "usage: orlin-cli hash"},
        {{u"--offset", u"6"}, kExitRefused, "the range lies past the end of the file (5 bytes)"},
        {{u"--offset", u"2", u"--length", u"4"}, kExitRefused, "past the end"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const test::Outcome outcome = Hash(c.options);
        EXPECT_EQ(outcome.code, c.code) << ::testing::PrintToString(c.options);
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    const test::Outcome missing =
        RunCommand(RunHash, {dir_.Path(u"missing.bin"), u"--algorithm", u"md5"});
    EXPECT_EQ(missing.code, kExitNoInput);
    EXPECT_NE(missing.err.find("cannot open: "), std::string::npos);
}

} // namespace
} // namespace orx::cli
