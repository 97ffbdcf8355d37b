// The constructs that let a pattern read whole files: byte orders, counts and places read
// from the data, enums, repetition to the end, anchoring; each over crafted bytes.
#include "PatternTestSupport.h"
#include "platform/Utf.h"
#include "structview/StructRead.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using platform::Narrow;

// "name|offset|value|size" per row, joined by newlines.
std::string Rows(std::u16string_view pattern, std::vector<std::uint8_t> bytes,
                 StructValueOptions options = {}, bool sessionEndian = false)
{
    std::u16string error;
    const auto file = test::LoadPattern(pattern, &error);
    if (!file) {
        return "error: " + Narrow(error);
    }
    StructRowsInput input{0, std::move(bytes), file, u"N/A", options, sessionEndian};
    std::string out;
    for (const StructViewRow& row : BuildStructRows(input)) {
        out += Narrow(row.name + u"|" + row.offset + u"|" + row.value + u"|" + row.size) + "\n";
    }
    return out;
}

TEST(PatternLanguage, EvaluatesOverCraftedBytes)
{
    constexpr StructValueOptions kDec{1, 0, 1};
    // clang-format off
    struct Case { std::u16string pattern; std::vector<std::uint8_t> bytes; StructValueOptions options; bool session; std::string rows; };
    const Case cases[] = {
        // Byte order: file-wide, per member, per struct; the session replaces only the first.
        {u"@endian big struct S { uint16_t a; @little uint16_t b; };", {1, 2, 1, 2}, {}, false,
         "a|0x0|0x0102|2\nb|0x2|0x0201|2\n"},
        {u"@endian big struct S { uint16_t a; @little uint16_t b; };", {1, 2, 1, 2}, {}, true,
         "a|0x0|0x0201|2\nb|0x2|0x0201|2\n"},
        {u"@big struct In { uint16_t x; }; struct S { uint16_t a; In in; }; @entry S", {1, 2, 1, 2}, {}, false,
         "a|0x0|0x0201|2\nin : In|0x2||2\n  x|0x2|0x0102|2\n"},
        // Counts from earlier members, from an enclosing struct, by a dotted path.
        {u"struct S { uint8_t n; uint8_t d[n]; uint8_t t; };", {2, 0xAA, 0xBB, 0xCC}, {}, false,
         "n|0x0|0x02|1\nd|0x1|AA BB|2\nt|0x3|0xCC|1\n"},
        {u"struct E { uint8_t d[len * 2 - 1]; }; struct S { uint8_t len; E e; }; @entry S", {2, 7, 8, 9}, {}, false,
         "len|0x0|0x02|1\ne : E|0x1||3\n  d|0x1|07 08 09|3\n"},
        {u"struct H { uint8_t count; }; struct E { uint8_t v; }; struct S { H h; E e[h.count]; }; @entry S",
         {2, 5, 6, 7}, kDec, false,
         "h : H|0x0||1\n  count|0x0|2|1\ne : E[]|0x1|2 elements|2\n  [0]|0x1||1\n    v|0x1|5|1\n"
         "  [1]|0x2||1\n    v|0x2|6|1\n"},
        {u"struct S { uint8_t n; uint8_t d[(n - 1) * 2 + (n >> 1) % 4 | 0 & 1 << 2]; };", {3, 1, 2, 3, 4, 5}, {}, false,
         "n|0x0|0x03|1\nd|0x1|01 02 03 04 05|5\n"},
        // Past the end of the data: cut; impossible counts: an error row, and nothing after it.
        {u"struct S { uint8_t n; uint8_t d[n]; uint8_t t; };", {9, 0xAA}, {}, false,
         "n|0x0|0x09|1\nd|0x1|AA (cut at the end of the data)|1\nt|0x2|N/A|1\n"},
        {u"struct S { uint8_t n; uint8_t d[n - 5]; uint8_t t; };", {2, 0}, {}, false,
         "n|0x0|0x02|1\nd|0x1|Error: Value is negative. [n - 5]|0\n"},
        {u"struct S { uint8_t n; uint8_t d[4 / n]; };", {0}, {}, false,
         "n|0x0|0x00|1\nd|0x1|Error: Division by zero. [4 / n]|0\n"},
        {u"struct S { uint8_t n; uint8_t d[n * 0xFFFFFFFFFFFFFFFF]; };", {2}, {}, false,
         "n|0x0|0x02|1\nd|0x1|Error: Value does not fit in 64 bits. [n * 0xFFFFFFFFFFFFFFFF]|0\n"},
        {u"struct S { uint8_t n; uint8_t d[n << 64]; };", {1}, {}, false,
         "n|0x0|0x01|1\nd|0x1|Error: Value does not fit in 64 bits. [n << 64]|0\n"},
        {u"struct S { uint32_t n; uint8_t d[n]; };", {1, 0}, {}, false,
         "n|0x0|N/A|4\nd|0x4|Error: Member 'n' could not be read: it ends past the data. [n]|0\n"},
        {u"struct S { int8_t n; uint8_t d[n]; };", {0xFF}, {}, false,
         "n|0x0|0xFF|1\nd|0x1|Error: Member 'n' is negative. [n]|0\n"},
        {u"struct T { uint8_t q; }; struct S { T t; uint8_t d[t]; uint8_t e[nope]; }; struct U { uint8_t nope; }; @entry S",
         {1, 2}, {}, false,
         "t : T|0x0||1\n  q|0x0|0x01|1\nd|0x1|Error: Member 't' is not a single integer. [t]|0\n"},
        // Enums show the name and the number, or the number alone.
        {u"enum C : uint8_t { A = 1, B }; struct S { C x; C y; C z; };", {1, 2, 7}, kDec, false,
         "x|0x0|A (1)|1\ny|0x1|B (2)|1\nz|0x2|7|1\n"},
        // Placement from the entry's start, not moving the members after it.
        {u"struct S { uint8_t off; uint16_t v at off; uint8_t next; };", {3, 0xEE, 0xFF, 0x34, 0x12}, {}, false,
         "off|0x0|0x03|1\nv|0x3|0x1234|2\nnext|0x1|0xEE|1\n"},
        {u"struct S { uint8_t off; uint16_t v at off + 1; };", {4, 0, 0, 0}, {}, false,
         "off|0x0|0x04|1\nv|0x1|Error: Placement is outside the data: off + 1|2\n"},
        // Repetition to the end of the data; the last element cut.
        {u"@member_align 0 struct R { uint8_t len; uint8_t d[len]; }; struct S { R r[...]; }; @entry S",
         {1, 0xAA, 2, 0xBB, 0xCC, 5, 0xDD}, {}, false,
         "r : R[]|0x0|3 elements (cut at the end of the data)|7\n  [0]|0x0||2\n    len|0x0|0x01|1\n"
         "    d|0x1|AA|1\n  [1]|0x2||3\n    len|0x2|0x02|1\n    d|0x3|BB CC|2\n  [2]|0x5|cut at the end of the data|2\n"
         "    len|0x5|0x05|1\n    d|0x6|DD (cut at the end of the data)|1\n"},
        {u"struct R { uint8_t d[n]; }; struct S { uint8_t n; R r[...]; }; @entry S", {0, 1}, {}, false,
         "n|0x0|0x00|1\nr : R[]|0x1|1 elements|0\n  [0]|0x1|Error: An element of 'r' has no size.|0\n"
         "    d|0x1|0 bytes|0\n"},
        {u"struct S { uint16_t v[...]; };", {1, 2, 3, 4, 5}, {}, false, "v|0x0|01 02 03 04|4\n"},
        // Repetition until the last element makes the condition true; == and != give 1 or 0.
        {u"struct R { uint8_t t; }; struct S { R r[... until t == 2 | t == 9]; uint8_t after; }; @entry S",
         {1, 9, 7}, kDec, false, "r : R[]|0x0|2 elements|2\n  [0]|0x0||1\n    t|0x0|1|1\n  [1]|0x1||1\n"
         "    t|0x1|9|1\nafter|0x2|7|1\n"},
        {u"struct R { uint8_t t; }; struct S { R r[... until zz]; }; struct Z { uint8_t zz; }; @entry S", {1}, kDec,
         false, "r : R[]|0x0|1 elements|1\n  [0]|0x0|Error: No member 'zz' was read before this one. [zz]|1\n"
         "    t|0x0|1|1\n"},
        {u"struct S { uint8_t a; uint8_t d[(a != 1) + (a == 1) * 2]; };", {1, 5, 6}, {}, false,
         "a|0x0|0x01|1\nd|0x1|05 06|2\n"},
        // data_size: the bytes from the entry's start to the end of the file.
        {u"@member_align 0 struct S { uint8_t a; uint16_t last at data_size - 2; };", {1, 2, 3, 4}, {}, false,
         "a|0x0|0x01|1\nlast|0x2|0x0403|2\n"},
        {u"struct S { uint8_t data_size; uint8_t d[data_size]; };", {1, 2, 3}, {}, false,
         "data_size|0x0|0x01|1\nd|0x1|02|1\n"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(Rows(c.pattern, c.bytes, c.options, c.session), c.rows) << Narrow(c.pattern);
    }
}

TEST(PatternLanguage, ReportsEachNewErrorWhereItIs)
{
    // clang-format off
    struct Case { std::u16string pattern; std::string error; };
    const Case cases[] = {
        {u"struct A { uint8_t d[n +]; };", "Line 1, Col 24: Invalid array count: Expected a number or a member name."},
        {u"struct A { uint8_t d[((1]; };", "Line 1, Col 23: Invalid array count: Expected ')'."},
        {u"struct A { uint8_t d[a.]; };", "Line 1, Col 23: Invalid array count: Expected a member name after '.'."},
        {u"struct A { uint8_t d[1 / 0]; };", "Line 1, Col 22: Invalid array count: Division by zero."},
        {u"struct A { uint8_t n; uint8_t d[n + zz]; };", "Line 1, Col 37: Unknown member in expression: zz"},
        {u"struct A { uint8_t x at +; };", "Line 1, Col 25: Invalid placement: Expected a number or a member name."},
        {u"@endian middle struct A { int a; };", "Line 1, Col 9: Expected big or little after @endian."},
        {u"struct A { @middle int x; };", "Line 1, Col 13: Expected @big or @little before a member."},
        {u"@big typedef int X; struct A { X a; };", "Line 1, Col 1: Expected a struct definition after @big or @little."},
        {u"enum E : float { A }; struct S { E e; };", "Line 1, Col 1: Enum type must be an integer type: E"},
        {u"enum E { A = x }; struct S { E e; };", "Line 1, Col 14: Expected a number after '='."},
        {u"enum E { A B }; struct S { E e; };", "Line 1, Col 12: Expected ',' or '}' in enum body."},
        {u"enum S { A }; struct S { int e; };", "Duplicate type name: S"},
        {u"struct R { int a; }; struct A { R r[... while a]; };", "Line 1, Col 41: Expected until or ']' after '...'."},
        {u"struct R { int a; }; struct A { R r[... until]; };", "Line 1, Col 41: Invalid repetition end: Expected a number or a member name."},
        {u"struct A { uint8_t r[... until a]; uint8_t a; };", "Line 1, Col 12: Only an array of structs can repeat until: r"},
        {u"@title PNG struct A { int a; };", "Line 1, Col 8: Expected a quoted title after @title."},
        {u"@title \"PNG struct A { int a; };", "Line 1, Col 8: Unterminated string."},
        {u"@category pictures struct A { int a; };", "Line 1, Col 11: Expected a category after @category: executables, images, media, archives, disks or data."},
        {u"@extensions\nstruct A { int a; };", "Line 2, Col 1: Expected file extensions after @extensions."},
        {u"@signature\nstruct A { int a; };", "Line 2, Col 1: Expected an offset after @signature."},
        {u"@signature end 4B\nstruct A { int a; };", "Line 1, Col 12: Expected an offset (N or end-N) after @signature."},
        {u"@signature end-0 4B\nstruct A { int a; };", "Line 1, Col 12: Expected an offset (N or end-N) after @signature."},
        {u"@signature 0 4B 5\nstruct A { int a; };", "Line 1, Col 17: Expected bytes as pairs of hexadecimal digits."},
        {u"@signature 0 4G\nstruct A { int a; };", "Line 1, Col 14: Expected bytes as pairs of hexadecimal digits."},
        {u"@signature 0 .. ..\nstruct A { int a; };", "Line 1, Col 1: A signature needs at least one byte that is not \"..\"."},
        {u"@signature end-1 4B 4C\nstruct A { int a; };", "Line 1, Col 1: A signature from the end must end before the end of the file."},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::u16string error;
        EXPECT_EQ(test::LoadPattern(c.pattern, &error), nullptr) << Narrow(c.pattern);
        EXPECT_EQ(Narrow(error.substr(0, error.find(u"\r\n"))), c.error) << Narrow(c.pattern);
        EXPECT_EQ(error.find(u"\r\n") == std::u16string::npos, !c.error.starts_with("Line"))
            << Narrow(c.pattern); // positioned messages quote the line with a caret
    }
}

TEST(PatternLanguage, LibraryDirectivesDescribeThePatternAndChangeNoLayout)
{
    const auto file = test::LoadPattern(
        u"@title \"Some \u65E5 image\" @category Images\n@extensions PNG apng tar.gz 7z\n"
        u"@signature 0 89 50 4E47\n@signature end-0x16 50 4B .. 06 // comment\n"
        u"@signature 0x20 ....00\nstruct S { int a; };");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title, u"Some \u65E5 image");
    EXPECT_EQ(file->category, u"images");
    EXPECT_EQ(file->extensions, (std::vector<std::u16string>{u"png", u"apng", u"tar.gz", u"7z"}));
    ASSERT_EQ(file->signatures.size(), 3u);
    constexpr std::int16_t kAny = PatternSignature::kAnyByte;
    EXPECT_FALSE(file->signatures[0].fromEnd);
    EXPECT_EQ(file->signatures[0].bytes, (std::vector<std::int16_t>{0x89, 0x50, 0x4E, 0x47}));
    EXPECT_TRUE(file->signatures[1].fromEnd);
    EXPECT_EQ(file->signatures[1].offset, 0x16u);
    EXPECT_EQ(file->signatures[1].bytes, (std::vector<std::int16_t>{0x50, 0x4B, kAny, 0x06}));
    EXPECT_EQ(file->signatures[1].FixedBytes(), 3u);
    EXPECT_EQ(file->signatures[2].bytes, (std::vector<std::int16_t>{kAny, kAny, 0}));
    EXPECT_FALSE(file->extended); // laid out and shown as before
}

TEST(PatternLanguage, AnchoredPatternsStayWhileOthersFollowTheCaret)
{
    const auto anchored = test::LoadPattern(u"@anchor 0x10 struct S { int a; };");
    const auto plain = test::LoadPattern(u"struct S { int a; };");
    ASSERT_TRUE(anchored && plain);
    const StructPlacement stay = InitialPlacement(*anchored);
    EXPECT_EQ(stay, (StructPlacement{true, 0x10}));
    EXPECT_EQ(StructBaseOffset(stay, 0x99), 0x10u);
    EXPECT_EQ(PlacementCaption(u"p.orpat", stay, u"at"), u"p.orpat at 0x10");
    const StructPlacement follow = TogglePlacement(stay, 0x99);
    EXPECT_EQ(follow, InitialPlacement(*plain));
    EXPECT_EQ(StructBaseOffset(follow, 0x99), 0x99u);
    EXPECT_EQ(PlacementCaption(u"p.orpat", follow, u"at"), u"p.orpat");
    EXPECT_EQ(TogglePlacement(follow, 0x42), (StructPlacement{true, 0x42}));
}

TEST(PatternLanguage, RepetitionStopsAtTheWorkBoundAndSaysMoreFollow)
{
    const auto file =
        test::LoadPattern(u"struct R { uint32_t v; }; struct S { R r[...]; }; @entry S");
    ASSERT_TRUE(file);
    EXPECT_EQ(StructBytesToRead(*file), kMaxStructRead);
    StructRowsInput input{0, std::vector<std::uint8_t>(kMaxStructRead), file, u"N/A", {}};
    const ValueTree tree = EvaluateRowsInput(input);
    EXPECT_TRUE(tree.workLimitReached);
    EXPECT_LE(tree.nodes.size(), kMaxValueNodes);
    const std::vector<StructViewRow> rows = BuildStructRows(input);
    ASSERT_EQ(rows.size(), kMaxStructRows + 1);
    EXPECT_EQ(rows[0].value, u"524287 elements, more follow");
    EXPECT_EQ(rows.back().name, u"...");
}

} // namespace
} // namespace orx
