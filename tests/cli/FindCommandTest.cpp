#include "cli/Commands.h"

#include "cli/CommandTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx::cli {
namespace {

using test::RunCommand;

class FindCommand : public ::testing::Test {
protected:
    test::Outcome Find(Args options)
    {
        Args args = {file_};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {u"--resource-dir", test::SourceDirectory()});
        return RunCommand(RunFind, args);
    }

    orx::test::TempDir dir_;
    // "AAAA", then "abc" in UTF-16 LE at 4, then U+3042 in Shift_JIS at 10 and in UTF-8 at 12;
    // the encodings themselves are the search query's tests.
    std::u16string file_ =
        dir_.Write(u"data.bin", std::string_view("AAAAa\0b\0c\0\x82\xA0\xE3\x81\x82", 15));
};

TEST_F(FindCommand, PrintsTheOffsetOfTheNearestMatch)
{
    const std::pair<Args, std::string> cases[] = {
        {{u"--hex", u"41 41"}, "0x0\n"},
        {{u"--hex", u" 41\t41 ", u"--from", u"2"}, "0x2\n"},
        {{u"--hex", u"41 41", u"--from", u"3"}, "not found\n"},
        {{u"--hex", u"4141", u"--backward"}, "0x2\n"},
        {{u"--text", u"\u3042", u"--encoding", u"utf8", u"--backward", u"--from", u"0xFF"},
         "0xC\n"},
        {{u"--hex", u"4? 41", u"--from", u"1"}, "0x1\n"},
        {{u"--text", u"aBC", u"--encoding", u"utf16le", u"--ignore-case"}, "0x4\n"},
        {{u"--text", u"aBC", u"--encoding", u"utf16le"}, "not found\n"},
        {{u"--value", u"i8=97"}, "0x4\n"},
        {{u"--value", u"u16=0x6200", u"--endian", u"big"}, "0x6\n"},
        {{u"--value", u"u16=0x6200"}, "0x5\n"},
    };
    for (const auto& [options, out] : cases) {
        const test::Outcome outcome = Find(options);
        EXPECT_EQ(outcome.out, out) << ::testing::PrintToString(options);
        EXPECT_EQ(outcome.code, out == "not found\n" ? kExitNotFound : kExitOk) << outcome.err;
    }
}

TEST_F(FindCommand, ListsCountsOrDescribesEveryMatch)
{
    const std::pair<Args, std::string> cases[] = {
        {{u"--hex", u"41 41", u"--all"}, "0x0\n0x1\n0x2\n"},
        {{u"--hex", u"41 41", u"--all", u"--max", u"2"}, "0x0\n0x1\n"},
        {{u"--hex", u"?? 00", u"--count"}, "3\n"},
        {{u"--text", u"B", u"--encoding", u"utf16le", u"--ignore-case", u"--json"},
         "[\n  {\"offset\": 6, \"bytes\": \"6200\"}\n]\n"},
        {{u"--hex", u"41 ?1", u"--json", u"--max", u"1"},
         "[\n  {\"offset\": 0, \"bytes\": \"4141\"}\n]\n"},
        {{u"--hex", u"42", u"--all"}, ""},
        {{u"--hex", u"42", u"--json"}, "[]\n"},
        {{u"--hex", u"41", u"--all", u"--json", u"--max", u"1"},
         "[\n  {\"offset\": 0, \"bytes\": \"41\"}\n]\n"},
        {{u"--hex", u"41", u"--count", u"--json"}, "{\"count\": 4}\n"},
        {{u"--hex", u"42", u"--count", u"--json"}, "{\"count\": 0}\n"},
        {{u"--value", u"u16=16705", u"--count"}, "3\n"}, // the same as --hex "41 41"
        {{u"--value", u"u16=0x6200", u"--endian", u"either", u"--all"}, "0x5\n0x6\n"},
    };
    for (const auto& [options, out] : cases) {
        const test::Outcome outcome = Find(options);
        EXPECT_EQ(outcome.out, out) << ::testing::PrintToString(options);
        const bool none = out.empty() || out == "[]\n" || out.find(" 0}") != std::string::npos;
        EXPECT_EQ(outcome.code, none ? kExitNotFound : kExitOk) << outcome.err;
    }
}

TEST_F(FindCommand, InvalidQueriesPrintTheEnglishErrorText)
{
    const std::pair<Args, std::string> cases[] = {
        {{u"--hex", u"DEA"},
         "The search text is not valid hex. Enter pairs of hexadecimal digits, such as 4D 5A 90 "
         "00.\n"},
        {{u"--text", u"caf\u00E9"},
         "The search text cannot be represented in the current encoding.\n"},
        {{u"--text", u""}, "Enter the text or the hex bytes to search for.\n"},
        {{u"--hex", u" "}, "Enter the text or the hex bytes to search for.\n"},
        {{u"--hex", std::u16string(8194, u'0')},
         "The search pattern must be between 1 and 4,096 bytes long.\n"},
        {{u"--value", u"i8=300"}, "300 does not fit Int8 (-128 to 127).\n"},
    };
    for (const auto& [options, err] : cases) {
        const test::Outcome outcome = Find(options);
        EXPECT_EQ(outcome.code, 2);
        EXPECT_EQ(outcome.err, err);
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_EQ(Find({u"--hex", std::u16string(8192, u'0')}).out, "not found\n");
}

TEST_F(FindCommand, RefusesBadArguments)
{
    // As grep: 2 for any trouble.
    const Args cases[] = {
        {},
        {u"--hex", u"41", u"--text", u"A"},
        {u"--hex", u"41", u"--encoding", u"utf8"},
        {u"--hex", u"41", u"--ignore-case"},
        {u"--text", u"A", u"--encoding", u"klingon"},
        {u"--text", u"A", u"--from", u"zz"},
        {u"--text"},
        {u"--text", u"A", u"extra"},
        {u"--text", u"A", u"--all", u"--count"},
        {u"--text", u"A", u"--json", u"--backward"},
        {u"--text", u"A", u"--all", u"--from", u"1"},
        {u"--text", u"A", u"--max", u"1"},
        {u"--text", u"A", u"--count", u"--max", u"0x10"},
        {u"--text", u"A", u"--count", u"--max", u"0"},
        {u"--text", u"A", u"--all", u"--count", u"--json"},
        {u"--value", u"x8=1"},
        {u"--value", u"u8"},
        {u"--value", u"guid=0"},
        {u"--value", u"u8=1", u"--endian", u"middle"},
        {u"--value", u"u8=1", u"--encoding", u"utf8"},
        {u"--hex", u"41", u"--endian", u"big"},
    };
    for (const Args& options : cases) {
        EXPECT_EQ(Find(options).code, 2) << ::testing::PrintToString(options);
    }
    EXPECT_EQ(RunCommand(RunFind, {dir_.Path(u"missing.bin"), u"--hex", u"41"}).code, 2);
}

} // namespace
} // namespace orx::cli
