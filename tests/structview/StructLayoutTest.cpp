#include "structview/StructLayout.h"

#include "PatternTestSupport.h"
#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orx {
namespace {

using platform::Narrow;
using test::LoadPattern;

// "c@0+1 <padding>@1+3 i@4+4 =8/4": each member's offset and total size, then the
// struct's size and alignment.
std::string Describe(const ResolvedStruct& s)
{
    std::string out;
    for (const ResolvedMember& m : s.members) {
        out += Narrow(m.name) + '@' + std::to_string(m.offset) + '+' + std::to_string(m.totalSize) +
               ' ';
    }
    return out + '=' + std::to_string(s.size) + '/' + std::to_string(s.alignment);
}

std::string DescribeEntry(std::u16string_view text)
{
    std::u16string error;
    const auto file = LoadPattern(text, &error);
    if (!file) {
        return "error: " + Narrow(error);
    }
    const ResolvedStruct* entry = FindStruct(*file, file->entryName);
    return entry ? Describe(*entry) : "no entry";
}

TEST(ResolveStructs, LaysOutMembersWithPaddingUnderTheDirectives)
{
    // clang-format off
    struct Case { std::u16string text; std::string layout; };
    const Case cases[] = {
        {u"struct S { char c; int i; short s; };",
         "c@0+1 <padding>@1+3 i@4+4 s@8+2 <padding>@10+2 =12/4"},
        {u"@member_align 0 struct S { char c; int i; short s; };", "c@0+1 i@1+4 s@5+2 =7/1"},
        {u"@member_align 4 @sizeof_long_long 16 struct S { char c; long long x; };",
         "c@0+1 <padding>@1+3 x@4+16 =20/4"},
        {u"struct S { long l; };", "l@0+8 =8/8"},
        {u"@sizeof_long 4 struct S { long l; };", "l@0+4 =4/4"},
        {u"@sizeof_short 1 @sizeof_int 2 struct S { short a; int b; unsigned  Short c; };",
         "a@0+1 <padding>@1+1 b@2+2 c@4+1 <padding>@5+1 =6/2"},
        {u"struct S { uint8_t a; uint16_t b; uint32_t c; uint64_t d; float f; double g; };",
         "a@0+1 <padding>@1+1 b@2+2 c@4+4 d@8+8 f@16+4 <padding>@20+4 g@24+8 =32/8"},
        // A struct declared later may be used; its alignment carries over.
        {u"@entry A struct A { B b; }; struct B { int x; };", "b@0+4 =4/4"},
        {u"@entry A struct A { char x; In in; }; struct In { char c; double d; };",
         "x@0+1 <padding>@1+7 in@8+16 =24/8"},
        {u"@entry A struct A { char x; B b[3]; }; struct B { short s; char c; };",
         "x@0+1 <padding>@1+1 b@2+12 =14/2"},
        // Pointers take pointer_size and never resolve their target.
        {u"struct A { A *next; int v; };", "next@0+8 v@8+4 <padding>@12+4 =16/8"},
        {u"@pointer_size 4 struct A { char c; Unknown **p; };", "c@0+1 <padding>@1+3 p@4+4 =8/4"},
        // Flexible arrays add no size, but their alignment counts.
        {u"struct A { int n; char data[]; };", "n@0+4 data@4+0 =4/4"},
        {u"struct A { char c; int data[]; };", "c@0+1 <padding>@1+3 data@4+0 =4/4"},
        // Counts may be hexadecimal or constant expressions.
        {u"struct A { int a[1]; char b[0x10]; char c[(1 << 2) * 3 - 2]; };",
         "a@0+4 b@4+16 c@20+10 <padding>@30+2 =32/4"},
        {u"struct A {};", "=0/1"},
        // Directive names ignore case and the last value of one wins.
        {u"@SIZEOF_INT 2 @Member_Align 0 @sizeof_int 8 struct S { char c; int i; };", "c@0+1 i@1+8 =9/1"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeEntry(c.text), c.layout) << Narrow(c.text);
    }
}

TEST(ResolveStructs, FollowsTypedefsWhichShadowStructsButNotBuiltins)
{
    // clang-format off
    struct Case { std::u16string text; std::string layout; };
    const Case cases[] = {
        {u"typedef unsigned int u32; typedef u32 U; struct A { U a; u32 b[2]; };",
         "a@0+4 b@4+8 =12/4"},
        {u"typedef Header *PH; @entry A struct Header { int x; }; struct A { char c; PH p; };",
         "c@0+1 <padding>@1+7 p@8+8 =16/8"},
        {u"typedef char X; struct X { int a; int b; }; struct A { X x; }; @entry A", "x@0+1 =1/1"},
        {u"typedef double int; struct A { int x; };", "x@0+4 =4/4"},
        {u"typedef struct Tag T; struct Tag { short s; }; struct A { T t; }; @entry A",
         "t@0+2 =2/2"},
        // A struct answers to its tag and its declarator or alias, with or without the keyword.
        {u"struct A { short x; } B; typedef struct { int y; } C; typedef struct Node { char z; } node; "
         u"struct S { struct b b; struct c c; struct NODE n; a a2; }; @entry S",
         "b@0+2 <padding>@2+2 c@4+4 n@8+1 <padding>@9+1 a2@10+2 =12/4"},
        // A pointer ends the chain, so this loop is never followed round.
        {u"typedef B *PA; typedef PA B; struct S { B b; };", "b@0+8 =8/8"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeEntry(c.text), c.layout) << Narrow(c.text);
    }
}

TEST(LoadStructPattern, FailsWithTheFirstLayoutOrEntryError)
{
    // clang-format off
    struct Case { std::u16string text; std::u16string error; };
    const Case cases[] = {
        {u"", u"No struct definition was found."},
        {u"typedef int x; @sizeof_int 4 // and a comment\n/* only */", u"No struct definition was found."},
        {u"struct A { B b; }; struct B { A a; };", u"Direct recursive struct embedding is not allowed."},
        {u"struct A { A a; };", u"Direct recursive struct embedding is not allowed."},
        {u"struct A { B b[2]; }; struct B { C c; }; struct C { A a; };",
         u"Direct recursive struct embedding is not allowed."},
        {u"struct A { int a[]; int b; };",
         u"Line 1, Col 12: Flexible array member must be the last member.\r\nstruct A { int a[]; int b; };\r\n           ^"},
        {u"struct A { void v; };",
         u"Line 1, Col 12: Unsupported zero-sized member type: v\r\nstruct A { void v; };\r\n           ^"},
        {u"struct A {\n int a[0];\n};", u"Line 2, Col 2: Unsupported zero-sized member type: a\r\n int a[0];\r\n ^"},
        {u"struct E {}; struct A { E e; }; @entry A",
         u"Line 1, Col 25: Unsupported zero-sized member type: e\r\nstruct E {}; struct A { E e; "
         u"}; @entry A\r\n"
         u"                        ^"},
        {u"struct A { unsigned x; };", u"Unknown type: unsigned"},
        {u"struct A { long  INT x; };", u"Unknown type: long INT"},
        {u"typedef Foo T; struct A { T t; };", u"Unknown type: Foo"},
        {u"struct A { int x y; };", u"Unknown type: int x"}, // the last word is the name
        {u"struct A { struct Missing m; };", u"Unknown type: struct Missing"},
        // The nested struct's own error is the one reported.
        {u"struct A { B b; }; struct B { bool x; };", u"Unknown type: bool"},
        {u"struct A { int x; }; struct B { int y; };", u"@entry is required when multiple structs are defined."},
        {u"struct A { Q q; }; struct B { int y; };", u"Unknown type: Q"},
        {u"typedef int Foo; struct A { int x; }; @entry Foo", u"@entry refers to an undefined struct."},
        {u"struct A { int x; }; @entry struct B", u"@entry refers to an undefined struct."},
        // Typedef loops and 64-bit overflow fail the load and name the culprit.
        {u"typedef A B; typedef B A; struct S { A x; };", u"Typedef chain leads back to itself: A"},
        {u"typedef T T; struct S { int a; T x; };", u"Typedef chain leads back to itself: T"},
        {u"typedef A B; typedef B A; typedef A X; struct S { X x; };", u"Typedef chain leads back to itself: A"},
        {u"struct A { int a[9223372036854775807]; };",
         u"Line 1, Col 12: Array size does not fit in 64 bits: a\r\nstruct A { int "
         u"a[9223372036854775807]; };\r\n"
         u"           ^"},
        {u"struct A { char a[18446744073709551615]; char b; };",
         u"Line 1, Col 42: Member offset does not fit in 64 bits: b\r\n"
         u"struct A { char a[18446744073709551615]; char b; };\r\n                                 "
         u"        ^"},
        {u"struct A { char a[18446744073709551615]; int b; };",
         u"Line 1, Col 42: Member offset does not fit in 64 bits: b\r\n"
         u"struct A { char a[18446744073709551615]; int b; };\r\n                                  "
         u"       ^"},
        {u"struct A { int i; char a[18446744073709551611]; };", u"Struct size does not fit in 64 bits: A"},
        {u"struct B { char x[9223372036854775808]; }; struct A { B b[2]; }; @entry A",
         u"Line 1, Col 55: Array size does not fit in 64 bits: b\r\n"
         u"struct B { char x[9223372036854775808]; }; struct A { B b[2]; }; @entry A\r\n"
         u"                                                      ^"},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::u16string error;
        EXPECT_EQ(LoadPattern(c.text, &error), nullptr) << Narrow(c.text);
        EXPECT_EQ(error, c.error) << Narrow(c.text);
    }
}

TEST(LoadStructPattern, ChoosesTheEntryStructAndItsDisplayName)
{
    // clang-format off
    struct Case { std::u16string text; std::u16string entry; bool implicit; };
    // clang-format on
    const Case cases[] = {
        {u"struct { int x; };", u"<anonymous>", true},
        {u"struct Header { int x; };", u"Header", true},
        {u"typedef struct Tag { int x; } Alias; @entry Tag", u"Alias", false},
        {u"struct A { int x; } B; struct C { int y; }; @entry struct a", u"B", false},
        {u"@entry header struct Header { int x; }; struct Other { Header h; };", u"Header", false},
        {u"typedef struct Node { Node *next; } Node;", u"Node", true},
        {u"struct A { int x; }; struct B { int y; }; @entry STRUCT B @ENTRY a", u"A",
         false}, // the last wins
    };
    for (const Case& c : cases) {
        std::u16string error;
        const auto file = LoadPattern(c.text, &error);
        ASSERT_NE(file, nullptr) << Narrow(c.text) << ": " << Narrow(error);
        EXPECT_EQ(file->entryName, c.entry) << Narrow(c.text);
        EXPECT_EQ(file->entryImplicit, c.implicit) << Narrow(c.text);
    }
}

// Long typedef chains used by many members, and structs nested thousands deep, must load
// in time linear in the input and without exhausting the stack.
TEST(LoadStructPattern, LoadsLongTypedefChainsAndDeepNestingLinearly)
{
    constexpr int kTypedefs = 10000;
    constexpr int kStructs = 5000;
    std::ostringstream text;
    text << "@entry S" << kStructs - 1 << "\ntypedef int T0;\n";
    for (int i = 1; i < kTypedefs; ++i) {
        text << "typedef T" << i - 1 << " T" << i << ";\n";
    }
    // Declared outermost first, so laying out the first struct descends through all others.
    for (int i = kStructs - 1; i > 0; --i) {
        text << "struct S" << i << " { S" << i - 1 << " inner; T" << kTypedefs - 1 << " v; };\n";
    }
    text << "struct S0 { T" << kTypedefs - 1 << " v; };\n";

    std::u16string error;
    const auto file = LoadPattern(platform::Widen(text.str()), &error);
    ASSERT_NE(file, nullptr) << Narrow(error);
    const ResolvedStruct* entry = FindStruct(*file, file->entryName);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->size, 4u * kStructs);
    EXPECT_EQ(file->structs.size(), static_cast<std::size_t>(kStructs));
}

} // namespace
} // namespace orx
