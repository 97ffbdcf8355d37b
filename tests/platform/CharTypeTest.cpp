#include "platform/CharType.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orx::platform {
namespace {

TEST(IsNonSpacingMark, CountsCombiningMarksButNotAccentedLettersOrSpacingAccents)
{
    // clang-format off
    struct Case { char16_t unit; bool mark; };
    // clang-format on
    const Case cases[] = {
        {0x0301, true},  {0x0300, true},  {0x036F, true},  {0x05B0, true},  {0x064B, true},
        {0x0941, true},  {0x0E31, true},  {0x3099, true},  {0x20DD, true},  {0x0488, true},
        {0xFE20, true},  {u'A', false},   {u'^', false},   {u'`', false},   {0x00B4, false},
        {0x00E9, false}, {0x00C0, false}, {0x1E00, false}, {0x309B, false}, {0x30FC, false},
        {0x3042, false}, {0x093F, false}, {0xD83D, false}, {0xFFFD, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNonSpacingMark(c.unit), c.mark) << std::hex << static_cast<unsigned>(c.unit);
    }
}

TEST(LooksLikeUtf16Text, AgreesWithTheSystemTest)
{
    // clang-format off
    struct Case { const char* name; std::vector<std::uint8_t> bytes; bool text; };
    const Case cases[] = {
        {"empty", {}, false},
        {"one byte", {0x41}, false},
        {"one unit ending in zero", {0x41, 0x00}, false},
        {"ascii units", {0x41, 0x00, 0x42, 0x00}, true},
        {"odd count of ascii units", {0x41, 0x00, 0x42}, true},
        {"hiragana only", {0x42, 0x30, 0x44, 0x30, 0x46, 0x30}, false},
        {"hiragana and a space", {0x42, 0x30, 0x20, 0x00, 0x46, 0x30}, true},
        {"ideographic space", {0x42, 0x30, 0x00, 0x30, 0x46, 0x30}, true},
        {"line feed", {0x42, 0x30, 0x0A, 0x00, 0x46, 0x30, 0x48, 0x30}, true},
        {"zero unit", {0x42, 0x30, 0x00, 0x00, 0x46, 0x30, 0x48, 0x30}, true},
        {"surrogate pair alone", {0x3D, 0xD8, 0x00, 0xDE}, false},
        {"surrogate pair and letters", {0x3D, 0xD8, 0x00, 0xDE, 0x41, 0x00, 0x42, 0x00, 0x43, 0x00, 0x44, 0x00}, true},
        {"trailing zero byte not counted", {0x3D, 0xD8, 0x00, 0xDE, 0x41, 0x00, 0x42, 0x00, 0x43, 0x00}, false},
        {"half latin1 is not more than half", {0x41, 0x00, 0x42, 0x30}, false},
        {"high bytes", {0xFF, 0xFE, 0xFD, 0xFC, 0xFB, 0xFA, 0xF9, 0xF8}, false},
        {"reversed ascii", {0x00, 0x41, 0x00, 0x42, 0x00, 0x43, 0x00, 0x44}, false},
        {"byte order mark and cjk", {0xFF, 0xFE, 0x42, 0x30, 0x44, 0x30}, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(LooksLikeUtf16Text(c.bytes), c.text) << c.name;
    }
}

} // namespace
} // namespace orx::platform
