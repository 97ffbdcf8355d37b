#include "structview/PatternLexer.h"

#include "platform/Utf.h"
#include "structview/PatternText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using platform::Narrow;

// "I:name@1:3 N:4@1:8 P:;@1:9 E@2:1": kind, text and position of every token.
std::string Describe(const std::vector<Token>& tokens)
{
    std::string out;
    for (const Token& token : tokens) {
        if (!out.empty()) {
            out += ' ';
        }
        out += "INPE"[static_cast<int>(token.kind)];
        if (token.kind != TokenKind::End) {
            out += ':' + Narrow(token.text);
        }
        out += '@' + std::to_string(token.line) + ':' + std::to_string(token.column);
    }
    return out;
}

TEST(Tokenize, SplitsTokensAndCountsLinesAndColumns)
{
    // clang-format off
    struct Case { std::u16string text; std::string tokens; };
    const Case cases[] = {
        {u"", "E@1:1"},
        {u"struct A{int x[4];}",
         "I:struct@1:1 I:A@1:8 P:{@1:9 I:int@1:10 I:x@1:14 P:[@1:15 N:4@1:16 P:]@1:17 "
         "P:;@1:18 P:}@1:19 E@1:20"},
        {u"a\r\n b", "I:a@1:1 I:b@2:2 E@2:3"},
        {u"\ta\r", "I:a@1:2 E@1:3"},
        // Numbers are decimal or 0x hexadecimal; a suffix becomes a separate identifier.
        {u"0x10 4x 0xg", "N:0x10@1:1 N:4@1:6 I:x@1:7 N:0@1:9 I:xg@1:10 E@1:12"},
        {u"a.b<<(1)>>...", "I:a@1:1 P:.@1:2 I:b@1:3 P:<<@1:4 P:(@1:6 N:1@1:7 P:)@1:8 P:>>@1:9 "
                           "P:...@1:11 E@1:14"},
        {u"_a1 b_2", "I:_a1@1:1 I:b_2@1:5 E@1:8"},
        {u"@*,", "P:@@1:1 P:*@1:2 P:,@1:3 E@1:4"},
        {u"a // c\r\nb", "I:a@1:1 I:b@2:1 E@2:2"},
        {u"a /* x\n yz */ b", "I:a@1:1 I:b@2:8 E@2:9"},
        {u"/**/a", "I:a@1:5 E@1:6"},
        {u"// only", "E@1:8"},
        // Columns count UTF-16 units, so a character outside the BMP takes two.
        {u"\U0001F600 a", "I:\U0001F600@1:1 I:a@1:4 E@1:5"},
        {u"\u540D\u524D x", "I:\u540D\u524D@1:1 I:x@1:4 E@1:5"},
        {u"a\u3000b", "I:a@1:1 I:b@1:3 E@1:4"},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::u16string error;
        const std::vector<Token> tokens = Tokenize(c.text, error);
        EXPECT_EQ(Describe(tokens), c.tokens) << Narrow(c.text);
        EXPECT_EQ(error, u"") << Narrow(c.text);
    }
}

TEST(Tokenize, RejectsStrayCharactersAndOpenComments)
{
    // clang-format off
    struct Case { std::u16string text; std::u16string error; };
    const Case cases[] = {
        {u"a <", u"Line 1, Col 3: Unexpected character in definition file.\r\na <\r\n  ^"},
        {u"x\n  #y", u"Line 2, Col 3: Unexpected character in definition file.\r\n  #y\r\n  ^"},
        {u"int a ? 1;",
         u"Line 1, Col 7: Unexpected character in definition file.\r\nint a ? 1;\r\n      ^"},
        {u"a /* open", u"Unterminated block comment."},
        {u"a\n/*", u"Unterminated block comment."},
        {u"/*/", u"Unterminated block comment."},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::u16string error;
        EXPECT_TRUE(Tokenize(c.text, error).empty()) << Narrow(c.text);
        EXPECT_EQ(error, c.error) << Narrow(c.text);
    }
}

TEST(FormatParseError, QuotesTheLineWithACaretWhenTheLineHasText)
{
    // clang-format off
    struct Case { std::u16string source; std::uint32_t line; std::uint32_t column; std::u16string expected; };
    // clang-format on
    const Case cases[] = {
        {u"one\r\ntwo\nthree four\n", 3, 5, u"Line 3, Col 5: M\r\nthree four\r\n    ^"},
        {u"abc", 1, 1, u"Line 1, Col 1: M\r\nabc\r\n^"},
        {u"abc", 1, 0, u"Line 1, Col 0: M\r\nabc\r\n^"},
        {u"", 1, 1, u"Line 1, Col 1: M"},
        {u"a\n\nb", 2, 1, u"Line 2, Col 1: M"},
        {u"a\nb", 3, 1, u"Line 3, Col 1: M"},
        {u"a\rb\n", 1, 2, u"Line 1, Col 2: M\r\na\r\n ^"},
    };
    for (const Case& c : cases) {
        const std::u16string text = FormatParseError(c.source, c.line, c.column, u"M");
        EXPECT_EQ(text, c.expected) << Narrow(c.source) << " line " << c.line;
    }
}

TEST(NormalizeName, TrimsLowerCasesAndCollapsesWhiteSpace)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"  Unsigned   INT ", u"unsigned int"},
        {u"\r\nstruct\tHeader\n", u"struct header"},
        {u"   ", u""},
        // Only the four ASCII blanks are trimmed; other white space collapses to a space.
        {u"\u3000x", u" x"},
        // Lower-casing is ASCII only, as the C runtime does outside a set locale.
        {u"\u00C9T\u00C9", u"\u00C9t\u00C9"},
    };
    for (const auto& [name, key] : cases) {
        EXPECT_EQ(NormalizeName(name), key) << Narrow(name);
    }
}

TEST(DecodePatternBytes, AcceptsUtf8WithOrWithoutMarkAndRejectsTheRest)
{
    // clang-format off
    struct Case { std::string bytes; bool ok; std::u16string text; };
    const Case cases[] = {
        {"", true, u""},
        {"\xEF\xBB\xBF", true, u""},
        {"\xEF\xBB\xBF" "ab", true, u"ab"},
        {"\xC3\xA9", true, u"\u00E9"},
        {"\xC3\x28", false, u""},
        {"\xEF\xBB\xBF\xC3\x28", false, u""},
        {"\xEF\xBB", false, u""},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::u16string text = u"stale";
        std::u16string error;
        EXPECT_EQ(DecodePatternBytes(c.bytes, text, error), c.ok) << c.bytes;
        if (c.ok) {
            EXPECT_EQ(text, c.text);
        } else {
            EXPECT_EQ(error, u"Definition file must be UTF-8.");
        }
    }
}

TEST(ReadPatternText, RefusesFilesBeyondTheSizeLimit)
{
    test::TempDir dir;
    const std::u16string path = dir.Write(u"big.orpat", std::string(kMaxPatternFileBytes + 1, ' '));
    std::u16string text;
    std::u16string error;
    EXPECT_FALSE(ReadPatternText(path, text, error));
    EXPECT_EQ(error, u"Definition file is too large.");
}

} // namespace
} // namespace orx
