#include "structview/StructRows.h"

#include "PatternTestSupport.h"
#include "platform/Utf.h"
#include "structview/StructValueFormat.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orx {
namespace {

using platform::Narrow;
using test::LoadPattern;

constexpr StructValueOptions kHex{0, 0, 0};
constexpr StructValueOptions kDec{0, 0, 1};
constexpr StructValueOptions kBigDec{0, 1, 1};
constexpr StructValueOptions kBigHex{0, 1, 0};
constexpr StructValueOptions kAscii{1, 0, 0};

std::vector<std::string> Describe(const std::vector<StructViewRow>& rows)
{
    std::vector<std::string> out;
    for (const StructViewRow& row : rows) {
        out.push_back(Narrow(row.offset) + '|' + Narrow(row.value) + '|' + Narrow(row.size) + '|' +
                      Narrow(row.name));
    }
    return out;
}

StructRowsInput Input(std::u16string_view pattern, std::vector<std::uint8_t> bytes,
                      StructValueOptions options = kHex)
{
    StructRowsInput input;
    std::u16string error;
    input.file = LoadPattern(pattern, &error);
    EXPECT_NE(input.file, nullptr) << Narrow(error);
    input.bytes = std::move(bytes);
    input.unavailableText = u"n/a";
    input.options = options;
    return input;
}

// A quote, `count` letters x, then `tail`; built by appends, since GCC 12 warns falsely about
// overlapping copies in a chain of + here.
std::string QuotedXs(std::size_t count, std::string_view tail)
{
    std::string text(1, '"');
    text.append(count, 'x');
    text.append(tail);
    return text;
}

std::vector<std::uint8_t> Sequence(std::size_t count, std::uint8_t first)
{
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

TEST(BuildStructRows, FormatsScalarAndArrayValuesUnderTheOptions)
{
    // clang-format off
    struct Case { std::u16string pattern; std::vector<std::uint8_t> bytes; StructValueOptions options;
        std::string value; };
    const std::vector<std::uint8_t> one{0x01, 0x00, 0x00, 0x00};
    const std::vector<std::uint8_t> abc{0x41, 0x42, 0x43, 0x00, 0x00, 0x00, 0x00, 0x00};
    const Case cases[] = {
        {u"struct S { int x; };", one, kHex, "0x00000001"},
        {u"struct S { int x; };", one, kDec, "1"},
        {u"struct S { int x; };", one, kBigDec, "16777216"},
        {u"struct S { int x; };", {0xFF, 0xFF, 0xFF, 0xFF}, kDec, "4294967295"},
        {u"struct S { int64_t x; };", std::vector<std::uint8_t>(8, 0xFF), kDec, "18446744073709551615"},
        {u"struct S { short x; };", {0x12, 0x34}, kHex, "0x3412"},
        {u"struct S { short x; };", {0x12, 0x34}, kBigHex, "0x1234"},
        {u"struct S { char c; };", {0x41}, kHex, "0x41"},
        {u"struct S { char c; };", {0x41}, {1, 0, 1}, "65"},
        {u"struct S { int a[1]; };", one, kHex, "0x00000001"},
        {u"struct S { int a[2]; };", Sequence(8, 1), kDec, "01 02 03 04 05 06 07 08"},
        {u"struct S { int *p; };", {0x10, 0, 0, 0, 0, 0, 0, 0}, kHex, "0x0000000000000010"},
        // Values wider than 8 bytes are dumped in memory order whatever the options.
        {u"@pointer_size 16 struct S { int *p; };", Sequence(16, 0), kBigDec,
         "0x00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"},
        {u"@sizeof_long_long 16 struct S { long long x; };", Sequence(16, 0xF0), kHex,
         "0xF0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF"},
        // Floating point: general format, 6 significant digits, then the raw bits.
        {u"struct S { float f; };", {0x00, 0x00, 0xC0, 0x3F}, kDec, "1.5 (0x3FC00000)"},
        {u"struct S { float f; };", {0x00, 0x00, 0xC0, 0x3F}, kBigHex, "6.89649e-41 (0x0000C03F)"},
        {u"struct S { float f; };", {0xCD, 0xCC, 0xCC, 0x3D}, kHex, "0.1 (0x3DCCCCCD)"},
        {u"struct S { float f; };", {0x00, 0x00, 0x80, 0xFF}, kHex, "-inf (0xFF800000)"},
        {u"struct S { float f; };", {0x00, 0x00, 0xC0, 0x7F}, kHex, "nan (0x7FC00000)"},
        {u"struct S { float f; };", {0x00, 0x00, 0xC0, 0xFF}, kHex, "-nan (0xFFC00000)"},
        {u"struct S { double d; };", {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}, kHex, "1 (0x3FF0000000000000)"},
        {u"struct S { double d; };", {0x40, 0x09, 0x21, 0xFB, 0x54, 0x44, 0x2D, 0x18}, kBigDec,
         "3.14159 (0x400921FB54442D18)"},
        {u"struct S { double d; };", {0, 0, 0, 0, 0x65, 0xCD, 0xCD, 0x41}, kHex, "1e+09 (0x41CDCD6500000000)"},
        {u"@sizeof_float 2 struct S { float h; };", {0x00, 0x3C}, kDec, "15360"},
        {u"@sizeof_double 4 struct S { double d; };", {0x00, 0x00, 0x80, 0x3F}, kHex, "0x3F800000"},
        // Arrays: hex dumps of at most 16 bytes, or text for char types in ascii mode.
        {u"struct S { char name[8]; };", abc, kAscii, "\"ABC\""},
        {u"struct S { char name[8]; };", abc, kHex, "41 42 43 00 00 00 00 00"},
        {u"struct S { unsigned char name[8]; };", abc, kAscii, "\"ABC\""},
        {u"struct S { int8_t name[8]; };", abc, kAscii, "\"ABC\""},
        {u"struct S { uint8_t name[8]; };", abc, kAscii, "\"ABC\""},
        {u"typedef char byte; struct S { byte name[3]; };", abc, kAscii, "41 42 43"},
        {u"struct S { short name[4]; };", abc, kAscii, "41 42 43 00 00 00 00 00"},
        {u"struct S { uint8_t blob[20]; };", Sequence(20, 0), kHex,
         "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ..."},
        {u"struct S { uint8_t blob[16]; };", Sequence(16, 0), kHex, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"},
        {u"struct S { char s[4]; };", {0x41, 0x01, 0x42, 0x43}, kAscii, "\"A...\""},
        {u"struct S { char s[4]; };", {0x00, 0x41, 0x42, 0x43}, kAscii, "\"\""},
        {u"struct S { char s[4]; };", {0x80, 0x41, 0x42, 0x43}, kAscii, "\"...\""},
        {u"struct S { char s[3]; };", {0x20, 0x7E, 0x7F}, kAscii, "\" ~...\""},
        {u"struct S { char s[100]; };", std::vector<std::uint8_t>(100, 'x'), kAscii,
         QuotedXs(64, "...\"")},
        {u"struct S { char s[64]; };", std::vector<std::uint8_t>(64, 'x'), kAscii, QuotedXs(64, "\"")},
        // A struct-typed member whose struct is not expanded shows its bytes.
        {u"@entry S struct S { T t[2]; }; struct T { char c; };", {0x41, 0x42}, kAscii, "41 42"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::vector<StructViewRow> rows =
            BuildStructRows(Input(c.pattern, c.bytes, c.options));
        ASSERT_FALSE(rows.empty()) << Narrow(c.pattern);
        EXPECT_EQ(Narrow(rows[0].value), c.value) << Narrow(c.pattern);
    }
}

TEST(BuildStructRows, ListsMembersPaddingAndOneLevelOfNestedStructs)
{
    const std::u16string pattern =
        u"@entry Outer\n"
        u"struct Inner { char tag; int value; };\n"
        u"struct Outer { short id; Inner in; Inner pair[2]; char data[]; };";
    std::vector<std::uint8_t> bytes = {0x02, 0x01, 0xEE, 0xEE, 0x41, 0x00,
                                       0x00, 0x00, 0x07, 0x00, 0x00, 0x00};
    const std::vector<std::uint8_t> pair = Sequence(16, 0x10);
    bytes.insert(bytes.end(), pair.begin(), pair.end());
    bytes.push_back(0xAA);
    bytes.push_back(0xBB);
    StructRowsInput input = Input(pattern, bytes);
    input.baseOffset = 0x100;
    const std::vector<std::string> expected = {
        "0x100|0x0102|2|id",
        "0x102|EE EE|2|<padding>",
        "0x104||8|in : Inner",
        "0x104|0x41|1|  tag",
        "0x105|00 00 00|3|  <padding>",
        "0x108|0x00000007|4|  value",
        "0x10C|10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F|16|pair",
        "0x11C|AA BB|1+|data",
    };
    EXPECT_EQ(Describe(BuildStructRows(input)), expected);
}

TEST(BuildStructRows, RowsCarryTheirBytesAndTheInnermostRowHoldsAnOffset)
{
    StructRowsInput input = Input(u"@entry Outer\n"
                                  u"struct Word { int value; };\n"
                                  u"struct Inner { char tag; int value; };\n"
                                  u"struct Outer { short id; Inner in; Word word; };",
                                  Sequence(20, 0));
    input.baseOffset = 0x100;
    std::vector<StructViewRow> rows = BuildStructRows(input);
    std::vector<std::string> spans;
    for (const StructViewRow& row : rows) {
        ASSERT_TRUE(row.located);
        std::string span = std::to_string(row.first - 0x100);
        span += '+';
        span += std::to_string(row.length);
        spans.push_back(span);
    }
    // id, padding, in, tag, padding, value, word, value
    EXPECT_EQ(spans,
              (std::vector<std::string>{"0+2", "2+2", "4+8", "4+1", "5+3", "8+4", "12+4", "12+4"}));
    rows.push_back({u"...", u"...", u"...", u"..."}); // the cut-off row holds nothing
    const std::pair<std::uint64_t, int> cases[] = {
        {0x100, 0},  {0x101, 0},  {0x104, 3},       {0x106, 4},
        {0x10B, 5},  {0x10C, 7}, // word and its only member share their bytes: the deeper row
        {0x0FF, -1}, {0x110, -1}, {UINT64_MAX, -1},
    };
    for (const auto& [offset, row] : cases) {
        EXPECT_EQ(RowHoldingOffset(rows, offset), row) << offset;
    }
    // A row that ends at the top of the offsets does not wrap around to hold offset 0.
    const std::vector<StructViewRow> top = {{u"a", u"", u"", u"", true, UINT64_MAX - 1, 2}};
    EXPECT_EQ(RowHoldingOffset(top, UINT64_MAX), 0);
    EXPECT_EQ(RowHoldingOffset(top, 0), -1);
}

TEST(BuildStructRows, ExpandsNestedStructsOneLevelOnly)
{
    const std::u16string pattern =
        u"@entry Outer struct Outer { struct mid m; };\n"
        u"typedef struct Mid { Inner i; int x; } MidAlias; struct Inner { int a; };";
    const std::vector<std::string> expected = {
        "0x0||8|m : MidAlias",
        "0x0|01 02 03 04|4|  i",
        "0x4|0x08070605|4|  x",
    };
    EXPECT_EQ(Describe(BuildStructRows(Input(pattern, Sequence(8, 1)))), expected);
}

TEST(BuildStructRows, MembersCutShortShowTheUnavailableTextOrADash)
{
    // The padding is cut short, the rest lies past the end.
    StructRowsInput input = Input(u"struct S { short id; int x; char data[]; };", {1, 2, 3});
    EXPECT_EQ(Describe(BuildStructRows(input)),
              (std::vector<std::string>{"0x0|0x0201|2|id", "0x2|n/a|2|<padding>", "0x4|n/a|4|x",
                                        "0x8|n/a|1+|data"}));
    input.unavailableText.clear();
    EXPECT_EQ(Describe(BuildStructRows(input)),
              (std::vector<std::string>{"0x0|0x0201|2|id", "0x2|-|2|<padding>", "0x4|-|4|x",
                                        "0x8|-|1+|data"}));
}

TEST(BuildStructRows, FlexibleArraysShowTheBytesThatFollowTheStruct)
{
    // clang-format off
    struct Case { std::size_t available; StructValueOptions options; std::string value; };
    // clang-format on
    const Case cases[] = {
        {10, kHex, "41 42 43 44 45 46"},
        {10, kAscii, "\"ABCDEF\""},
        {4, kHex, "0 bytes"},
        {3, kHex, "n/a"},
        {40, kHex, "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 ..."},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = {1, 0, 0, 0};
        const std::vector<std::uint8_t> tail = Sequence(64, 'A');
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        bytes.resize(c.available);
        const auto rows =
            BuildStructRows(Input(u"struct S { int n; char data[]; };", bytes, c.options));
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(Narrow(rows[1].size), "1+");
        EXPECT_EQ(Narrow(rows[1].value), c.value) << c.available;
    }
}

TEST(BuildStructRows, StopsAfter256RowsWithAnEllipsisRow)
{
    auto pattern = [](int members, std::u16string_view tail) {
        std::u16string text = u"@entry S struct T { char a; char b; char c; }; struct S {";
        for (int i = 0; i < members; ++i) {
            text += u" char m" + platform::Widen(std::to_string(i)) + u";";
        }
        return text + std::u16string(tail) + u" };";
    };
    // clang-format off
    struct Case { int members; std::u16string tail; std::size_t rows; bool cut; };
    // clang-format on
    const Case cases[] = {
        {300, u"", 257, true},
        {256, u"", 256, false},
        {255, u" T t;", 257, true}, // the nested rows do not fit
        {252, u" T t;", 256, false},
    };
    for (const Case& c : cases) {
        const auto rows = BuildStructRows(Input(pattern(c.members, c.tail), {}));
        ASSERT_EQ(rows.size(), c.rows) << c.members;
        EXPECT_EQ(Describe({rows.back()})[0] == "...|...|...|...", c.cut) << c.members;
    }
}

TEST(BuildStructRows, GivesNoRowsWithoutAFileOrEntry)
{
    StructRowsInput input;
    EXPECT_TRUE(BuildStructRows(input).empty());
    auto file = std::make_shared<StructPatternFile>(*LoadPattern(u"struct S { int x; };"));
    file->entryName = u"s"; // names match exactly, not by key
    input.file = file;
    EXPECT_TRUE(BuildStructRows(input).empty());
}

// An implicit entry and the defaults are the struct command's --info case.
TEST(FormatStructInfo, ListsTheEntryAndEveryDirective)
{
    EXPECT_EQ(
        FormatStructInfo(*LoadPattern(u"@entry B @sizeof_short 1 @sizeof_int 2 @sizeof_long 4 "
                                      u"@sizeof_long_long 16 @sizeof_float 8 @sizeof_double 16 "
                                      u"@pointer_size 4 @member_align 0 struct A { int x; }; "
                                      u"struct B { int y; };")),
        u"entry = B\r\nsizeof_short = 1\r\nsizeof_int = 2\r\nsizeof_long = 4\r\n"
        u"sizeof_long_long = 16\r\nsizeof_float = 8\r\nsizeof_double = 16\r\npointer_size = "
        u"4\r\nmember_align = 0");
}

TEST(EndsInFlexibleArray, FollowsTrailingStructMembers)
{
    const std::pair<std::u16string, bool> cases[] = {
        {u"struct S { int n; char d[]; };", true},
        {u"struct S { int n; };", false},
        {u"struct S { int n; char c; char d[]; };", false}, // trailing padding comes last
        {u"@entry O struct O { char c; T t; }; struct T { int k; char d[]; };", true},
        {u"@entry O struct O { char c; T t[1]; }; struct T { char e; char d[]; };", true},
        {u"@entry O struct O { int c; T t[2]; }; struct T { int k; char d[]; };", false},
        {u"@entry O struct O { int c; T *t; }; struct T { int k; char d[]; };", false},
        {u"@entry O struct O { int c; T t; }; struct T { int k; U u; }; struct U { int k; char "
         u"d[]; };",
         true},
    };
    for (const auto& [pattern, expected] : cases) {
        std::u16string error;
        const auto file = LoadPattern(pattern, &error);
        ASSERT_NE(file, nullptr) << Narrow(pattern) << ": " << Narrow(error);
        EXPECT_EQ(EndsInFlexibleArray(*file, *FindStruct(*file, file->entryName)), expected)
            << Narrow(pattern);
    }
}

TEST(EndsInFlexibleArray, StaysFiniteOnAStructThatNamesItself)
{
    StructPatternFile file;
    ResolvedMember self;
    self.name = u"self";
    self.structName = u"Loop";
    self.kind = MemberKind::Struct;
    self.count = 1;
    file.structs.push_back(ResolvedStruct{u"Loop", {self}, 0, 1});
    EXPECT_FALSE(EndsInFlexibleArray(file, file.structs[0]));
}

} // namespace
} // namespace orx
