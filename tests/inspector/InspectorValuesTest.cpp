#include "inspector/InspectorValues.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::u16string_view kNa = u"N/A";

TEST(ComputeInspectorValues, NumberRowsNeedTheirWholeWidth)
{
    // clang-format off
    struct Case { const char* name; Bytes bytes; std::array<std::u16string_view, 8> rows; }; // binary .. uint64_be
    const Case cases[] = {
        {"no bytes", {}, {kNa, kNa, kNa, kNa, kNa, kNa, kNa, kNa}},
        {"zero byte", {0x00}, {u"0b0000_0000", u"0x00 / 0", kNa, kNa, kNa, kNa, kNa, kNa}},
        {"one byte", {0x41}, {u"0b0100_0001", u"0x41 / 65", kNa, kNa, kNa, kNa, kNa, kNa}},
        {"three bytes", {0xA5, 0x01, 0x80},
         {u"0b1010_0101", u"0xA5 / 165", u"0x01A5 / 421", u"0xA501 / 42241", kNa, kNa, kNa, kNa}},
        {"four bytes", {0x01, 0x02, 0x03, 0x04}, {u"0b0000_0001", u"0x01 / 1", u"0x0201 / 513", u"0x0102 / 258",
         u"0x04030201 / 67305985", u"0x01020304 / 16909060", kNa, kNa}},
        {"eight bytes", {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xFF}, {u"0b0000_0001", u"0x01 / 1",
         u"0x0201 / 513", u"0x0102 / 258", u"0x04030201 / 67305985", u"0x01020304 / 16909060",
         u"0x0807060504030201 / 578437695752307201", u"0x0102030405060708 / 72623859790382856"}},
        {"all bits set", Bytes(8, 0xFF), {u"0b1111_1111", u"0xFF / 255", u"0xFFFF / 65535", u"0xFFFF / 65535",
         u"0xFFFFFFFF / 4294967295", u"0xFFFFFFFF / 4294967295", u"0xFFFFFFFFFFFFFFFF / 18446744073709551615",
         u"0xFFFFFFFFFFFFFFFF / 18446744073709551615"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const InspectorValues rows = ComputeInspectorValues(c.bytes, kNa);
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(rows[i], c.rows[i]) << c.name << ", row " << kInspectorRowKeys[i];
        }
    }
}

TEST(ComputeInspectorValues, CharacterRowsShowTheFirstCharacterOrUnavailable)
{
    // Overlong forms and encoded surrogates are the strict UTF-8 decoder's own tests, and
    // what passes as UTF-16 text the system test's.
    // clang-format off
    struct Case { const char* name; Bytes bytes; std::u16string_view utf8, utf16le, utf16be; };
    const Case cases[] = {
        {"no bytes", {}, kNa, kNa, kNa},
        {"zero byte", {0x00}, kNa, kNa, kNa},
        {"ascii text as utf-16 le", {0x41, 0x00, 0x42, 0x00, 0x43, 0x00}, u"A (U+0041)", u"A (U+0041)", kNa},
        {"ascii text as utf-16 be", {0x00, 0x41, 0x00, 0x42, 0x00, 0x43}, kNa, kNa, u"A (U+0041)"},
        {"euro sign", {0xE2, 0x82, 0xAC}, u"\u20AC (U+20AC)", kNa, kNa},
        {"tab", {0x09}, u"TAB (U+0009)", kNa, kNa},
        {"line feed", {0x0A, 0x41}, u"LF (U+000A)", kNa, kNa},
        {"carriage return", {0x0D, 0x00, 0x0A, 0x00}, u"CR (U+000D)", u"CR (U+000D)", kNa},
        {"space", {0x20, 0x00, 0x20, 0x00}, u"Space (U+0020)", u"Space (U+0020)", kNa},
        {"next line", {0xC2, 0x85}, u"NEL (U+0085)", kNa, kNa},
        {"no-break space", {0xC2, 0xA0}, u"NBSP (U+00A0)", kNa, kNa},
        {"ideographic space", {0xE3, 0x80, 0x80}, u"Ideographic Space (U+3000)", kNa, kNa},
        {"other control", {0x01}, u"\u0001 (U+0001)", kNa, kNa},
        {"emoji", {0xF0, 0x9F, 0x98, 0x80}, u"\U0001F600 (U+1F600)", kNa, kNa},
        {"incomplete", {0xC3}, kNa, kNa, kNa},
        {"zero inside", {0xC3, 0x00}, kNa, kNa, kNa},
        {"bad continuation", {0xE3, 0x41, 0x82}, kNa, kNa, kNa},
        {"invalid lead", {0xF8, 0x88, 0x80, 0x80, 0x80}, kNa, kNa, kNa},
        {"surrogate pair in text", {0x3D, 0xD8, 0x00, 0xDE, 0x41, 0x00, 0x42, 0x00, 0x43, 0x00, 0x44, 0x00},
         u"= (U+003D)", u"\U0001F600 (U+1F600)", kNa},
        {"high surrogate without its pair", {0x3D, 0xD8, 0x41, 0x00, 0x42, 0x00}, u"= (U+003D)", kNa, kNa},
        {"high surrogate at the end", {0x41, 0x00, 0x42, 0x00, 0x3D, 0xD8}, u"A (U+0041)", u"A (U+0041)", kNa},
        {"low surrogate first", {0x00, 0xDE, 0x41, 0x00, 0x42, 0x00}, kNa, kNa, kNa},
        {"first unit zero", {0x00, 0x00, 0x41, 0x00, 0x42, 0x00}, kNa, kNa, kNa},
    };
    // clang-format on
    for (const Case& c : cases) {
        const InspectorValues rows = ComputeInspectorValues(c.bytes, kNa);
        EXPECT_EQ(rows[8], c.utf8) << c.name;
        EXPECT_EQ(rows[9], c.utf16le) << c.name;
        EXPECT_EQ(rows[10], c.utf16be) << c.name;
    }
}

TEST(ComputeInspectorValues, Utf16TestLooksAtTheFirst32BytesOnly)
{
    // One Latin unit followed by CJK units: not text within 32 bytes, whatever follows.
    Bytes bytes = {0x41, 0x00};
    for (int i = 0; i < 15; ++i) {
        bytes.insert(bytes.end(), {0x42, 0x30});
    }
    for (int i = 0; i < 30; ++i) {
        bytes.insert(bytes.end(), {0x41, 0x00});
    }
    EXPECT_EQ(ComputeInspectorValues(bytes, kNa)[9], kNa);
    bytes[28] = 0x20; // a space within the first 32 bytes makes it text
    bytes[29] = 0x00;
    EXPECT_EQ(ComputeInspectorValues(bytes, kNa)[9], u"A (U+0041)");
}

TEST(DescribeChar, ReturnsBrokenSurrogatesUnchanged)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {std::u16string(1, char16_t(0xDC00)), std::u16string(1, char16_t(0xDC00))},
        {std::u16string(1, char16_t(0xD83D)), std::u16string(1, char16_t(0xD83D))},
        {std::u16string{char16_t(0xD83D), u'A'}, std::u16string{char16_t(0xD83D), u'A'}},
        {u"\u00E9", u"\u00E9 (U+00E9)"},
        {u"\U0010FFFF", u"\U0010FFFF (U+10FFFF)"},
    };
    for (const auto& [text, described] : cases) {
        EXPECT_EQ(DescribeChar(text), described);
    }
}

} // namespace
} // namespace orx
