#include "inspector/InspectorValues.h"

#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

std::optional<Bytes> FromHex(std::string_view hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 3) {
        bytes.push_back(
            static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

// The rows from Int8 to GUID, against Python's struct, datetime and uuid (floats as Python's
// repr: the shown text must read back as the same number of the row's type).
TEST(ComputeInspectorValues, TypedRowsMatchAnIndependentDecoderInBothByteOrders)
{
    // clang-format off
    struct Case { const char* name; std::string_view hex; bool bigEndian; std::array<std::u16string_view, 12> rows; };
    const Case cases[] = {
        {"zeros", "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", false,
         {u"0", u"0", u"0", u"0", u"0.0", u"0.0", u"0.0", u"1970-01-01 00:00:00 UTC", u"1970-01-01 00:00:00 UTC", u"1601-01-01 00:00:00 UTC", kNa, u"{00000000-0000-0000-0000-000000000000}"}},
        {"zeros", "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", true,
         {u"0", u"0", u"0", u"0", u"0.0", u"0.0", u"0.0", u"1970-01-01 00:00:00 UTC", u"1970-01-01 00:00:00 UTC", u"1601-01-01 00:00:00 UTC", kNa, u"{00000000-0000-0000-0000-000000000000}"}},
        {"counting", "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10", false,
         {u"1", u"513", u"67305985", u"578437695752307201", u"3.057718276977539e-05", u"1.539989614439558e-36", u"5.447603722011605e-270", u"1972-02-19 00:06:25 UTC", kNa, u"3433-12-31 01:46:15.2307201 UTC", kNa, u"{04030201-0605-0807-090A-0B0C0D0E0F10}"}},
        {"counting", "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10", true,
         {u"1", u"258", u"16909060", u"72623859790382856", u"1.537799835205078e-05", u"2.387939260590663e-38", u"8.20788039913184e-304", u"1970-07-15 16:57:40 UTC", kNa, u"1831-02-20 09:26:19.0382856 UTC", u"1980-08-02 00:24:08", u"{01020304-0506-0708-090A-0B0C0D0E0F10}"}},
        {"all ones", "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF", false,
         {u"-1", u"-1", u"-1", u"-1", u"NaN", u"NaN", u"NaN", u"1969-12-31 23:59:59 UTC", u"1969-12-31 23:59:59 UTC", kNa, kNa, u"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"}},
        {"all ones", "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF", true,
         {u"-1", u"-1", u"-1", u"-1", u"NaN", u"NaN", u"NaN", u"1969-12-31 23:59:59 UTC", u"1969-12-31 23:59:59 UTC", kNa, kNa, u"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"}},
        {"sign bits", "80 00 00 80 00 00 00 80 80 00 00 00 00 00 00 00", false,
         {u"-128", u"128", u"-2147483520", u"-9223372034707292032", u"7.62939453125e-06", u"-1.793662034335766e-43", u"-1.0609979587e-314", u"1901-12-13 20:48:00 UTC", kNa, kNa, kNa, u"{80000080-0000-8000-8000-000000000000}"}},
        {"sign bits", "80 00 00 80 00 00 00 80 80 00 00 00 00 00 00 00", true,
         {u"-128", u"-32768", u"-2147483520", u"-9223371487098961792", u"-0.0", u"-1.793662034335766e-43", u"-2.71615461307e-312", u"1901-12-13 20:48:00 UTC", kNa, kNa, kNa, u"{80000080-0000-0080-8000-000000000000}"}},
        {"pi and friends", "18 2D 44 54 FB 21 09 40 00 00 C0 3F 00 C1 7E 00", false,
         {u"24", u"11544", u"1413754136", u"4614256656552045848", u"0.07958984375", u"3370280550400.0", u"3.141592653589793", u"2014-10-19 21:28:56 UTC", kNa, kNa, u"2022-02-04 05:40:48", u"{54442D18-21FB-4009-0000-C03F00C17E00}"}},
        {"pi and friends", "18 2D 44 54 FB 21 09 40 00 00 C0 3F 00 C1 7E 00", true,
         {u"24", u"6189", u"405619796", u"1742123762643437888", u"0.0020389556884765625", u"2.2394222820459344e-24", u"3.207375630676366e-192", u"1982-11-08 16:09:56 UTC", kNa, u"7121-07-28 22:44:24.3437888 UTC", u"1992-01-13 08:34:40", u"{182D4454-FB21-0940-0000-C03F00C17E00}"}},
        {"y2k38", "FF FF FF 7F 00 F1 53 65 00 00 00 00 21 43 65 87", false,
         {u"-1", u"-1", u"2147483647", u"7301444405347483647", u"NaN", u"NaN", u"1.2929251149694861e+180", u"2038-01-19 03:14:07 UTC", kNa, kNa, kNa, u"{7FFFFFFF-F100-6553-0000-000021436587}"}},
        {"y2k38", "FF FF FF 7F 00 F1 53 65 00 00 00 00 21 43 65 87", true,
         {u"-1", u"-1", u"-129", u"-554034965659", u"NaN", u"NaN", u"NaN", u"1969-12-31 23:57:51 UTC", kNa, kNa, kNa, u"{FFFFFF7F-00F1-5365-0000-000021436587}"}},
        {"filetime today", "87 96 96 ED 8A 49 DA 01 9E 5A 4B 58 00 00 C0 7F", false,
         {u"-121", u"-27001", u"-308898169", u"133500000001234567", u"-0.0015935897827148438", u"-5.825590983202393e+27", u"9.813183374525427e-300", u"1960-03-18 18:57:11 UTC", kNa, u"2024-01-17 21:20:00.1234567 UTC", u"2098-12-22 18:52:14", u"{ED969687-498A-01DA-9E5A-4B580000C07F}"}},
        {"filetime today", "87 96 96 ED 8A 49 DA 01 9E 5A 4B 58 00 00 C0 7F", true,
         {u"-121", u"-30826", u"-2020174099", u"-8676581685111170559", u"-0.0001157522201538086", u"-2.2658197737414328e-34", u"-4.175723562209429e-272", u"1905-12-26 08:31:41 UTC", kNa, kNa, u"2047-12-22 18:55:26", u"{879696ED-8A49-DA01-9E5A-4B580000C07F}"}},
        {"dos 2024", "6A 64 5F 58 00 00 00 00 00 00 F0 7F 00 7C 00 00", false,
         {u"106", u"25706", u"1482646634", u"1482646634", u"1130.0", u"982489472434176.0", u"7.32524767e-315", u"2016-12-25 06:17:14 UTC", u"2016-12-25 06:17:14 UTC", u"1601-01-01 00:02:28.2646634 UTC", kNa, u"{585F646A-0000-0000-0000-F07F007C0000}"}},
        {"dos 2024", "6A 64 5F 58 00 00 00 00 00 00 F0 7F 00 7C 00 00", true,
         {u"106", u"27236", u"1784962904", u"7666357297253187584", u"3272.0", u"6.902133375037164e+25", u"3.19367005702701e+204", u"2026-07-25 07:01:44 UTC", kNa, kNa, u"2033-03-04 11:58:48", u"{6A645F58-0000-0000-0000-F07F007C0000}"}},
        {"nan", "00 7E C0 7F 00 00 00 00 00 00 00 00 00 00 F8 7F", false,
         {u"0", u"32256", u"2143321600", u"2143321600", u"NaN", u"NaN", u"1.0589415705e-314", u"2037-12-01 23:06:40 UTC", u"2037-12-01 23:06:40 UTC", u"1601-01-01 00:03:34.3321600 UTC", kNa, u"{7FC07E00-0000-0000-0000-00000000F87F}"}},
        {"nan", "00 7E C0 7F 00 00 00 00 00 00 00 00 00 00 F8 7F", true,
         {u"0", u"126", u"8306815", u"35677498758922240", u"7.510185241699219e-06", u"1.1640327102930355e-38", u"2.7370133217817474e-306", u"1970-04-07 03:26:55 UTC", kNa, u"1714-01-22 09:37:55.8922240 UTC", kNa, u"{007EC07F-0000-0000-0000-00000000F87F}"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const InspectorValues rows = ComputeInspectorValues(*FromHex(c.hex), kNa, c.bigEndian);
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            const std::size_t row = kInspectorFirstOrderedRow + i;
            const std::u16string& shown = rows[row];
            SCOPED_TRACE(std::string(c.name) + (c.bigEndian ? " BE " : " LE ") +
                         std::string(kInspectorRowKeys[row]));
            const bool number = i >= 4 && i <= 6 && c.rows[i] != u"NaN";
            if (!number) {
                EXPECT_EQ(shown, c.rows[i]);
                continue;
            }
            const std::string got = platform::Narrow(shown);
            const std::string expected = platform::Narrow(std::u16string(c.rows[i]));
            if (i == 6) {
                EXPECT_EQ(std::strtod(got.c_str(), nullptr), std::strtod(expected.c_str(), nullptr))
                    << got;
            } else {
                EXPECT_EQ(std::strtof(got.c_str(), nullptr), std::strtof(expected.c_str(), nullptr))
                    << got;
            }
        }
        EXPECT_EQ(rows[1], ComputeInspectorValues(*FromHex(c.hex), kNa, !c.bigEndian)[1])
            << "the switch leaves the first rows alone";
    }
}

TEST(ComputeInspectorValues, TypedRowsNeedTheirWholeWidthAndValidValues)
{
    // clang-format off
    struct Case { const char* name; Bytes bytes; std::size_t row; std::u16string_view shown; };
    const Case cases[] = {
        {"int8 of one byte", {0xFF}, 11, u"-1"},
        {"int16 of one byte", {0xFF}, 12, kNa},
        {"float16 infinity", {0x00, 0x7C}, 15, u"Infinity"},
        {"float16 minus infinity", {0x00, 0xFC}, 15, u"-Infinity"},
        {"float16 least subnormal", {0x01, 0x00}, 15, u"5.9604645e-08"},
        {"float32 of three bytes", {0, 0, 0x80}, 16, kNa},
        {"float64 minus infinity", {0, 0, 0, 0, 0, 0, 0xF0, 0xFF}, 17, u"-Infinity"},
        {"unix64 at year 10000", {0x80, 0x41, 0xF4, 0xFF, 0x3A, 0, 0, 0}, 19, kNa}, // 253402300800
        {"unix64 at its last second", {0x7F, 0x41, 0xF4, 0xFF, 0x3A, 0, 0, 0}, 19, u"9999-12-31 23:59:59 UTC"},
        {"filetime beyond 9999", {0, 0, 0, 0, 0, 0, 0, 0x80}, 20, kNa},
        {"dos month 13", {0x00, 0x00, 0xA1, 0x01}, 21, kNa},
        {"dos 30 February", {0x00, 0x00, 0x5E, 0x00}, 21, kNa},
        {"dos 29 February 1980", {0x00, 0x00, 0x5D, 0x00}, 21, u"1980-02-29 00:00:00"},
        {"dos hour 24", {0x00, 0xC0, 0x21, 0x00}, 21, kNa},
        {"guid of fifteen bytes", Bytes(15, 0x11), 22, kNa},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(ComputeInspectorValues(c.bytes, kNa)[c.row], c.shown) << c.name;
    }
}

TEST(ComputeInspectorValues, Leb128RowsShowValueAndLength)
{
    // Checked by hand: 7 bits a byte, low group first, the high bit says another follows.
    // clang-format off
    struct Case { const char* name; Bytes bytes; std::u16string_view uleb, sleb; };
    const Case cases[] = {
        {"zero", {0x00}, u"0 (length 1)", u"0 (length 1)"},
        {"63 and 64", {0x3F}, u"63 (length 1)", u"63 (length 1)"},
        {"sign bit of one byte", {0x40}, u"64 (length 1)", u"-64 (length 1)"},
        {"127", {0x7F}, u"127 (length 1)", u"-1 (length 1)"},
        {"two bytes", {0x80, 0x01}, u"128 (length 2)", u"128 (length 2)"},
        {"624485", {0xE5, 0x8E, 0x26, 0xFF}, u"624485 (length 3)", u"624485 (length 3)"},
        {"-123456", {0xC0, 0xBB, 0x78}, u"1973696 (length 3)", u"-123456 (length 3)"},
        {"padded zero", {0x80, 0x80, 0x00}, u"0 (length 3)", u"0 (length 3)"},
        {"unfinished", {0x80, 0x80}, kNa, kNa},
        {"no bytes", {}, kNa, kNa},
        {"uint64 max", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}, u"18446744073709551615 (length 10)", kNa},
        {"int64 min", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x7F}, kNa, u"-9223372036854775808 (length 10)"},
        {"int64 max", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}, u"9223372036854775807 (length 10)", u"9223372036854775807 (length 10)"},
        {"65 bits", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x02}, kNa, kNa},
        {"eleven bytes", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00}, kNa, kNa},
    };
    // clang-format on
    for (const Case& c : cases) {
        const InspectorValues rows = ComputeInspectorValues(c.bytes, kNa);
        EXPECT_EQ(rows[kInspectorUleb128Row], c.uleb) << c.name;
        EXPECT_EQ(rows[kInspectorSleb128Row], c.sleb) << c.name;
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
