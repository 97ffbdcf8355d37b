#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// One table for both platforms: natively these run against the iconv-based layer, in the
// cross build under Wine against the Windows code pages, so they must agree.
namespace orx::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// clang-format off
struct DecodeCase { CodePage codePage; Bytes bytes; std::u16string text; };
// clang-format on

TEST(DecodeCodePage, MatchesTheWindowsCodePagesIncludingUndefinedBytes)
{
    // clang-format off
    const DecodeCase cases[] = {
        {CodePage::ShiftJis, {0x41, 0x5C, 0x7E}, u"A\\~"},
        {CodePage::ShiftJis, {0x82, 0xA0}, u"\u3042"},
        {CodePage::ShiftJis, {0xA1}, u"\uFF61"},
        {CodePage::ShiftJis, {0xDF}, u"\uFF9F"},
        {CodePage::ShiftJis, {0x87, 0x90}, u"\u2252"},
        {CodePage::ShiftJis, {0xFA, 0x40}, u"\u2170"},
        {CodePage::ShiftJis, {0xF0, 0x40}, u"\uE000"},
        {CodePage::ShiftJis, {0xF9, 0xFC}, u"\uE757"},
        {CodePage::ShiftJis, {0x80}, u"\u0080"},
        {CodePage::ShiftJis, {0xA0}, u"\uF8F0"},
        {CodePage::ShiftJis, {0xFD, 0xFE, 0xFF}, u"\uF8F1\uF8F2\uF8F3"},
        {CodePage::ShiftJis, {0x81}, u"\u30FB"},
        {CodePage::ShiftJis, {0x85, 0x40}, u"\u30FB"},
        {CodePage::ShiftJis, {0x81, 0x20, 0x41}, u"\u30FB" u"A"},
        {CodePage::ShiftJis, {0x81, 0x00}, std::u16string(u"\u30FB") + u'\0'},
        {CodePage::ShiftJis, {0x41, 0x81}, u"A\u30FB"},
        {CodePage::Windows949, {0xB0, 0xA1}, u"\uAC00"},
        {CodePage::Windows949, {0x81, 0x41}, u"\uAC02"},
        {CodePage::Windows949, {0xA2, 0xE6}, u"\u20AC"},
        {CodePage::Windows949, {0xC9, 0xA1}, u"\uE000"},
        {CodePage::Windows949, {0xFE, 0xFE}, u"\uE0BB"},
        {CodePage::Windows949, {0xA2, 0xE8}, u"?"},
        {CodePage::Windows949, {0x81, 0x5B}, u"?"},
        {CodePage::Windows949, {0x81}, u"?"},
        {CodePage::Windows949, {0x80, 0xFF}, u"\u0080\uF8F7"},
        {CodePage::EucKr, {0xB0, 0xA1, 0x41}, u"\uAC00" u"A"},
        {CodePage::EucKr, {0xA1, 0xA1}, u"\u3000"},
        {CodePage::EucKr, {0xC8, 0xFE}, u"\uD79D"},
        {CodePage::ShiftJis, {}, u""},
    };
    // clang-format on
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeCodePage(c.codePage, c.bytes), c.text)
            << static_cast<unsigned>(c.codePage) << " " << ::testing::PrintToString(c.bytes);
    }
}

// clang-format off
struct EncodeCase { CodePage codePage; std::u16string text; std::optional<Bytes> bytes; };
// clang-format on

TEST(EncodeCodePage, GivesExactBytesOrRefusesWithoutBestFit)
{
    const EncodeCase cases[] = {
        {CodePage::ShiftJis, u"a\u3042", Bytes{0x61, 0x82, 0xA0}},
        {CodePage::ShiftJis, u"\uFF71", Bytes{0xB1}},
        {CodePage::ShiftJis, u"\u2252", Bytes{0x81, 0xE0}},
        {CodePage::ShiftJis, u"\u30FB", Bytes{0x81, 0x45}},
        {CodePage::ShiftJis, u"\uE000", Bytes{0xF0, 0x40}},
        {CodePage::ShiftJis, u"\u0080", Bytes{0x80}},
        {CodePage::ShiftJis, u"\u00A5", std::nullopt}, // best fit only (0x5C)
        {CodePage::ShiftJis, u"\u203E", std::nullopt}, // best fit only (0x7E)
        {CodePage::ShiftJis, u"\u00E9", std::nullopt},
        {CodePage::ShiftJis, u"x\uAC00", std::nullopt},
        {CodePage::ShiftJis, u"\U0001F600", std::nullopt},
        {CodePage::ShiftJis, u"", std::nullopt},
        {CodePage::Windows949, u"\uAC00", Bytes{0xB0, 0xA1}},
        {CodePage::Windows949, u"\uAC02", Bytes{0x81, 0x41}},
        {CodePage::Windows949, u"\u20AC\u3042", Bytes{0xA2, 0xE6, 0xAA, 0xA2}},
        {CodePage::Windows949, u"\uE000", Bytes{0xC9, 0xA1}},
        {CodePage::Windows949, u"\uFF71", std::nullopt},
        {CodePage::Windows949, u"?", Bytes{0x3F}},
        {CodePage::EucKr, u"A\uAC00", Bytes{0x41, 0xB0, 0xA1}},
        {CodePage::EucKr, u"\uAC02", std::nullopt}, // 949 extension, outside the EUC-KR pairs
        {CodePage::EucKr, u"\uAC00\uAC02", std::nullopt},
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(EncodeCodePage(c.codePage, c.text), c.bytes) << static_cast<unsigned>(c.codePage);
    }
}

TEST(EncodeCodePage, EveryEncodedHangulSyllableDecodesBack)
{
    for (char16_t c = 0xAC00; c <= 0xD7A3; ++c) {
        const std::u16string text(1, c);
        for (CodePage codePage : {CodePage::Windows949, CodePage::EucKr}) {
            const auto bytes = EncodeCodePage(codePage, text);
            if (codePage == CodePage::Windows949) {
                ASSERT_TRUE(bytes.has_value()) << static_cast<unsigned>(c);
            }
            if (bytes) {
                ASSERT_EQ(DecodeCodePage(codePage, *bytes), text) << static_cast<unsigned>(c);
            }
        }
    }
}

TEST(IsLeadByte, FollowsTheLeadRangesOfEachCodePage)
{
    // clang-format off
    struct Case { CodePage codePage; std::uint8_t byte; bool lead; };
    // clang-format on
    const Case cases[] = {
        {CodePage::ShiftJis, 0x41, false},   {CodePage::ShiftJis, 0x80, false},
        {CodePage::ShiftJis, 0x81, true},    {CodePage::ShiftJis, 0x9F, true},
        {CodePage::ShiftJis, 0xA0, false},   {CodePage::ShiftJis, 0xDF, false},
        {CodePage::ShiftJis, 0xE0, true},    {CodePage::ShiftJis, 0xFC, true},
        {CodePage::ShiftJis, 0xFD, false},   {CodePage::Windows949, 0x80, false},
        {CodePage::Windows949, 0x81, true},  {CodePage::Windows949, 0xFE, true},
        {CodePage::Windows949, 0xFF, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsLeadByte(c.codePage, c.byte), c.lead)
            << static_cast<unsigned>(c.codePage) << " " << int{c.byte};
    }
}

} // namespace
} // namespace orx::platform
