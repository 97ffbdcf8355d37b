#include "search/SearchQuery.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TrimQuery, DropsOnlyOuterBlanks)
{
    // Plain blanks around a query are the pattern builder's cases.
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"\t\r\na b\n", u"a b"},
        {u"", u""},
        {u"\u3000x\u3000", u"\u3000x\u3000"},
        {u"\vx\f", u"\vx\f"},
    };
    for (const auto& [text, trimmed] : cases) {
        EXPECT_EQ(TrimQuery(text), trimmed) << ::testing::PrintToString(text);
    }
}

// Blanks around the pairs, an odd digit count and a blank query are the pattern builder's.
TEST(ParseHexQuery, ReadsPairsAndIgnoresWhiteSpaceAnywhere)
{
    const std::pair<std::u16string, std::optional<Bytes>> cases[] = {
        {u"DEADBEEF", Bytes{0xDE, 0xAD, 0xBE, 0xEF}},
        {u"d e\na\rd\v0\f1", Bytes{0xDE, 0xAD, 0x01}},
        {u"00\u3000ff\u00A0Aa", Bytes{0x00, 0xFF, 0xAA}},
        {u"0xDE", std::nullopt},
        {u"GG", std::nullopt},
        {u"", std::nullopt},
        {u"\uFF10\uFF11", std::nullopt}, // full-width digits are not hexadecimal digits
        {u"1-2", std::nullopt},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(ParseHexQuery(text), bytes) << ::testing::PrintToString(text);
    }
}

TEST(ParseWildcardHexQuery, QuestionMarksMaskNibbles)
{
    // clang-format off
    struct Case { std::u16string text; std::optional<Bytes> bytes; Bytes mask; };
    const Case cases[] = {
        {u"4D 5A ?? 00", Bytes{0x4D, 0x5A, 0x00, 0x00}, {0xFF, 0xFF, 0x00, 0xFF}},
        {u"a??F", Bytes{0xA0, 0x0F}, {0xF0, 0x0F}},
        {u"DEAD", Bytes{0xDE, 0xAD}, {}}, // no wildcard: no mask
        {u"??", Bytes{0x00}, {0x00}},
        {u"?", std::nullopt, {}},
        {u"4?5", std::nullopt, {}},
        {u"*A", std::nullopt, {}},
        {u"\uFF1F\uFF1F", std::nullopt, {}}, // a full-width question mark is not one
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::optional<MaskedBytes> parsed = ParseWildcardHexQuery(c.text);
        ASSERT_EQ(parsed.has_value(), c.bytes.has_value()) << ::testing::PrintToString(c.text);
        if (parsed) {
            EXPECT_EQ(parsed->bytes, *c.bytes) << ::testing::PrintToString(c.text);
            EXPECT_EQ(parsed->mask, c.mask) << ::testing::PrintToString(c.text);
        }
    }
}

// A cleared bit must separate exactly the character and its other case; a byte that is only
// part of a character (a trail byte, the low byte of a UTF-16 unit above U+00FF) never folds.
TEST(CaseFoldMask, FoldsOnlyWholeCharactersWhoseCasesDifferInOneBit)
{
    // clang-format off
    struct Case { std::u16string text; TextEncoding encoding; Bytes mask; };
    const Case cases[] = {
        {u"aZ1", TextEncoding::Ascii, {0xDF, 0xDF, 0xFF}},
        {u"12", TextEncoding::Ascii, {}},
        {u"A\u0141", TextEncoding::Utf16Le, {0xDF, 0xFF, 0xFF, 0xFF}},
        {u"\u0141", TextEncoding::Utf16Be, {}},
        {u"\u00E9\u00D7", TextEncoding::Utf8, {0xFF, 0xDF, 0xFF, 0xFF}}, // no other case of x
        {u"\u0395\u0420\u0410", TextEncoding::Utf16Be, {0xFF, 0xDF, 0xFF, 0xFF, 0xFF, 0xDF}},
        {u"\u0420", TextEncoding::Utf8, {}}, // D0 A0 against D1 80
        {u"\u30A2a", TextEncoding::ShiftJis, {0xFF, 0xFF, 0xDF}}, // 83 41 61
        {u"\u03B1", TextEncoding::ShiftJis, {0xFF, 0xDF}},
        {u"\U0001F600A", TextEncoding::Utf16Le, {0xFF, 0xFF, 0xFF, 0xFF, 0xDF, 0xFF}},
        {u"\u00DF\u00FF", TextEncoding::Utf16Le, {}},
        {u"\u00C0\u00FE", TextEncoding::Utf16Le, {0xDF, 0xFF, 0xDF, 0xFF}}, // both range ends
        {u"\u03A9\u03C9", TextEncoding::Windows949, {0xFF, 0xDF, 0xFF, 0xDF}}, // A5 D8, A5 F8
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(CaseFoldMask(c.text, c.encoding), c.mask)
            << ::testing::PrintToString(c.text) << " in " << static_cast<int>(c.encoding);
    }
}

TEST(EncodeTextQuery, ProducesTheBytesOfEachEncoding)
{
    // One character per code page shows which one is used; the pages are tested on their own.
    // clang-format off
    struct Case { std::u16string text; std::uint32_t encoding; std::optional<Bytes> bytes; };
    // clang-format on
    const Case cases[] = {
        {u"abc", 0, Bytes{'a', 'b', 'c'}},
        {u"\u007F", 0, Bytes{0x7F}},
        {u"caf\u00E9", 0, std::nullopt},
        {u"\u00E9", 1, Bytes{0xC3, 0xA9}},
        {u"\U0001F600", 1, Bytes{0xF0, 0x9F, 0x98, 0x80}},
        {std::u16string(1, char16_t(0xD800)), 1, Bytes{0xEF, 0xBF, 0xBD}},
        {u"A", 2, Bytes{0x41, 0x00}},
        {u"A\u3042", 3, Bytes{0x00, 0x41, 0x30, 0x42}},
        {u"\u3042", 4, Bytes{0x82, 0xA0}},
        {u"\uAC02", 5, Bytes{0x81, 0x41}},
        {u"\uAC02", 6, std::nullopt},
        {u"abc", 7, std::nullopt},
        {u"", 1, std::nullopt},
        {u"", 2, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeTextQuery(c.text, static_cast<TextEncoding>(c.encoding)), c.bytes)
            << ::testing::PrintToString(c.text) << " in " << c.encoding;
    }
}

TEST(BuildSearchPattern, TrimsConvertsAndReportsTheReason)
{
    // clang-format off
    struct Case { std::uint32_t kind; std::u16string query; TextEncoding encoding; Bytes bytes;
        std::string errorKey; bool ignoreCase = false; Bytes mask = {}; };
    // clang-format on
    const std::vector<Case> cases = {
        {0, u"  de ad\tBE EF  ", TextEncoding::Ascii, {0xDE, 0xAD, 0xBE, 0xEF}, ""},
        {1, u"  a b  ", TextEncoding::Ascii, {'a', ' ', 'b'}, ""},
        {3, u"ab", TextEncoding::Utf16Le, {'a', 0, 'b', 0}, ""}, // an unknown kind is text
        {0, u"DEA", TextEncoding::Ascii, {}, "error.search_invalid_hex"},
        {0, u"   ", TextEncoding::Ascii, {}, "error.search_empty"},
        {0, u"\u3000", TextEncoding::Ascii, {}, "error.search_empty"},
        {1, u"\u3000", TextEncoding::Utf16Le, {0x00, 0x30}, ""},
        {1, u" \t ", TextEncoding::Utf8, {}, "error.search_empty"},
        {1, u"\u00E9", TextEncoding::Ascii, {}, "error.search_invalid_text"},
        {1, u" aB ", TextEncoding::Ascii, {'A', 'B'}, "", true, {0xDF, 0xDF}},
        {0, u" 4? ", TextEncoding::Ascii, {0x40}, "", true, {0xF0}}, // no folding for hex
        {0, u"4? G?", TextEncoding::Ascii, {}, "error.search_invalid_hex"},
        {1, u"a?", TextEncoding::Ascii, {'a', '?'}, ""}, // no wildcards in text
    };
    for (const Case& c : cases) {
        const SearchPattern pattern =
            BuildSearchPattern({c.kind, c.query, c.ignoreCase}, c.encoding);
        EXPECT_EQ(pattern.errorKey, c.errorKey) << ::testing::PrintToString(c.query);
        EXPECT_EQ(pattern.bytes, c.bytes) << ::testing::PrintToString(c.query);
        EXPECT_EQ(pattern.mask, c.mask) << ::testing::PrintToString(c.query);
    }
}

TEST(BuildSearchPattern, AcceptsUpTo4096Bytes)
{
    struct Case {
        std::uint32_t kind;
        std::size_t length;
        TextEncoding encoding;
        std::size_t bytes; // 0: refused as too long
    };
    const Case cases[] = {
        {0, 8192, TextEncoding::Ascii, 4096},   {0, 8194, TextEncoding::Ascii, 0},
        {1, 4096, TextEncoding::Ascii, 4096},   {1, 4097, TextEncoding::Ascii, 0},
        {1, 2048, TextEncoding::Utf16Be, 4096}, {1, 2049, TextEncoding::Utf16Be, 0},
    };
    for (const Case& c : cases) {
        const SearchPattern pattern =
            BuildSearchPattern({c.kind, std::u16string(c.length, u'a')}, c.encoding);
        EXPECT_EQ(pattern.bytes.size(), c.bytes) << c.length;
        EXPECT_EQ(pattern.errorKey, c.bytes == 0 ? "error.search_too_long" : "") << c.length;
    }
}

} // namespace
} // namespace orx
