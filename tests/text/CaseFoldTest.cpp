#include "text/CaseFold.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace orx::test {
namespace {

TEST(CaseFold, FoldsEachRangeToItsEdgesAndNothingBeside)
{
    // Each folded range from just before its first unit to just after its last.
    // clang-format off
    const std::pair<char16_t, char16_t> cases[] = {
        {u'@', u'@'}, {u'A', u'a'}, {u'Z', u'z'}, {u'[', u'['}, {u'a', u'a'},
        {0xBF, 0xBF}, {0xC0, 0xE0}, {0xD6, 0xF6}, {0xD7, 0xD7}, {0xD8, 0xF8}, {0xDE, 0xFE},
        {0xDF, 0xDF}, {0xE0, 0xE0}, {0xF7, 0xF7},
        {0xFF, 0xFF}, {0x100, 0x101}, {0x101, 0x101}, {0x12F, 0x12F}, {0x130, 0x130},
        {0x136, 0x137}, {0x137, 0x137}, {0x138, 0x138},
        {0x139, 0x13A}, {0x13A, 0x13A}, {0x147, 0x148}, {0x148, 0x148}, {0x149, 0x149},
        {0x14A, 0x14B}, {0x14B, 0x14B}, {0x176, 0x177}, {0x177, 0x177}, {0x178, 0xFF},
        {0x179, 0x17A}, {0x17A, 0x17A}, {0x17D, 0x17E}, {0x17E, 0x17E}, {0x17F, 0x17F},
        {0x390, 0x390}, {0x391, 0x3B1}, {0x3A1, 0x3C1}, {0x3A2, 0x3A2}, {0x3A3, 0x3C3},
        {0x3A9, 0x3C9}, {0x3AA, 0x3AA}, {0x3B1, 0x3B1},
        {0x3FF, 0x3FF}, {0x400, 0x450}, {0x40F, 0x45F}, {0x410, 0x430}, {0x42F, 0x44F},
        {0x430, 0x430}, {0x450, 0x450},
        {0xFF20, 0xFF20}, {0xFF21, 0xFF41}, {0xFF3A, 0xFF5A}, {0xFF3B, 0xFF3B}, {0xFF41, 0xFF41},
    };
    // clang-format on
    for (const auto& [unit, folded] : cases) {
        EXPECT_EQ(static_cast<int>(FoldCase(unit)), static_cast<int>(folded)) << std::hex << +unit;
    }
}

TEST(CaseFold, EqualityIgnoresCaseOnlyWhereItFolds)
{
    const std::tuple<std::u16string_view, std::u16string_view, bool> cases[] = {
        {u"Consolas", u"cONSOLAS", true},
        {u"\u00C9t\u00C9", u"\u00E9T\u00E9", true},
        {u"\u0178", u"\u00FF", true},
        {u"\u00D7", u"\u00F7", false},
        {u"Consolas", u"Consola", false},
        {u"", u"", true},
        {u"\uFF21\u0410", u"\uFF41\u0430", true},
    };
    for (const auto& [a, b, equal] : cases) {
        EXPECT_EQ(EqualsIgnoringCase(a, b), equal);
        EXPECT_EQ(EqualsIgnoringCase(b, a), equal);
    }
}

} // namespace
} // namespace orx::test
