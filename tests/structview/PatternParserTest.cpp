#include "structview/PatternParser.h"

#include "platform/Utf.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using platform::Narrow;

// The message as the parser builds it: position prefix, the source line and a caret.
std::u16string At(std::uint32_t column, std::u16string_view message, std::u16string_view line)
{
    return u"Line 1, Col " + platform::Widen(std::to_string(column)) + u": " +
           std::u16string(message) + u"\r\n" + std::u16string(line) + u"\r\n" +
           std::u16string(column - 1, u' ') + u"^";
}

TEST(ParsePattern, ReportsTheFirstErrorWithItsPosition)
{
    // column: 0: the message has no position
    // clang-format off
    struct Case { std::u16string text; std::uint32_t column; std::u16string message; };
    const Case cases[] = {
        // Directives
        {u"@member_align 4;", 16, u"Unsupported top-level declaration."},
        {u"@sizeof_int 3", 1, u"Directive value is not allowed."},
        {u"@sizeof_int 0x3", 1, u"Directive value is not allowed."},
        {u"@sizeof_float 1", 1, u"Directive value is not allowed."},
        {u"@member_align 2", 1, u"Directive value is not allowed."},
        {u"@sizeof_int x", 13, u"Expected numeric directive value."},
        {u"@foo 4", 1, u"Unknown directive."},
        {u"@ 4", 1, u"Expected directive name."},
        {u"@sizeof_int 18446744073709551616", 13, u"Invalid directive number."},
        {u"@entry struct ;", 15, u"Expected struct name after @entry struct."},
        {u"@entry", 7, u"Expected type name after @entry."},
        // Top level and struct declarations
        {u"int x;", 1, u"Unsupported top-level declaration."},
        {u"struct X;", 1, u"Unsupported struct declaration."},
        {u"struct;", 1, u"Unsupported struct declaration."},
        {u"struct A {", 0, u"Expected '}' to close struct body."},
        {u"struct A { int a; ", 0, u"Expected '}' to close struct body."},
        {u"struct A { int a; } B C;", 23, u"Expected ';' after struct declaration."},
        {u"struct A { int a }", 19, u"Expected ';' after member declaration."},
        {u"struct A { struct { int x; } s; };", 19,
         u"Inline nested struct declarations are not supported."},
        // Member declarations
        {u"struct A { int a, b; };", 12, u"Multiple declarators are not supported in v1."},
        {u"struct A { ; };", 14, u"Empty declaration."},
        {u"struct A { * ; };", 12, u"Declaration name was not found."},
        {u"struct A { int; };", 12, u"Type specifier was not found."},
        {u"struct A { *p; };", 12, u"Type specifier was not found."},
        {u"struct A { int [2] a; };", 12, u"Unexpected tokens after array declaration."},
        {u"struct A { int a 4; };", 12, u"Unexpected tokens after declaration name."},
        {u"struct A { int a[x y]; };", 20, u"Invalid array count: Expected an operator."},
        {u"struct A { int a[] 4; };", 12, u"Unexpected tokens after flexible array declaration."},
        {u"struct A { int a[18446744073709551616]; };", 12, u"Invalid array count."},
        {u"struct A { int a[2][3]; };", 12, u"Unexpected tokens after array declaration."},
        {u"struct A { int a[4; };", 12, u"Invalid array declaration."},
        {u"struct A { int a[4 5]; };", 20, u"Invalid array count: Expected an operator."},
        {u"struct A { int a[; };", 12, u"Invalid array declaration."},
        // Typedefs
        {u"typedef struct X;", 17, u"Expected typedef alias name."},
        {u"typedef struct X *P;", 18, u"Expected typedef alias name."},
        {u"typedef struct X Y", 19, u"Expected ';' after typedef."},
        {u"typedef struct;", 9, u"Unsupported struct declaration."},
        {u"typedef int", 12, u"Expected ';' after typedef declaration."},
        {u"typedef ;", 1, u"Empty declaration."},
        {u"typedef int a, b;", 9, u"Multiple declarators are not supported in v1."},
        {u"typedef int a[4];", 1, u"Typedef arrays are not supported."},
        {u"typedef int a[];", 1, u"Typedef arrays are not supported."},
        // Names
        {u"struct A {} B; struct b {};", 0, u"Duplicate struct type name: b"},
        {u"struct A {}; struct a {};", 0, u"Duplicate struct type name: a"},
        {u"struct A {}; typedef struct { int x; } a;", 0, u"Duplicate struct type name: a"},
        {u"typedef int T; typedef long t;", 0, u"Duplicate typedef name: t"},
    };
    // clang-format on
    for (const Case& c : cases) {
        ParseState state;
        EXPECT_FALSE(ParsePattern(c.text, state)) << Narrow(c.text);
        const std::u16string expected = c.column == 0 ? c.message : At(c.column, c.message, c.text);
        EXPECT_EQ(state.error, expected) << Narrow(c.text);
    }
}

TEST(ParsePattern, ReportsMemberErrorsOnTheLineOfTheMember)
{
    ParseState state;
    EXPECT_FALSE(ParsePattern(u"struct A {\r\n  int a;\r\n\tlong b 4;\r\n};", state));
    EXPECT_EQ(state.error,
              u"Line 3, Col 2: Unexpected tokens after declaration name.\r\n\tlong b 4;\r\n ^");
}

} // namespace
} // namespace orx
