#include "platform/Utf.h"

#include <gtest/gtest.h>

namespace orx::platform {
namespace {

// clang-format off
struct DecodeCase { const char* name; std::string bytes; std::optional<std::u16string> strict; };
// clang-format on

// The same table runs on Linux and under Wine, so both implementations must agree.
TEST(Utf8ToUtf16, StrictDecodingAcceptsWellFormedAndRejectsEverythingElse)
{
    const DecodeCase cases[] = {
        {"empty", "", u""},
        {"ascii", "Orlin", u"Orlin"},
        {"two bytes", "\xC3\xA9", u"\u00E9"},
        {"three bytes", "\xE3\x81\x82", u"\u3042"},
        {"four bytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"overlong slash", "\xC0\xAF", std::nullopt},
        {"overlong three", "\xE0\x80\xAF", std::nullopt},
        {"encoded surrogate", "\xED\xA0\x80", std::nullopt},
        {"above U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
        {"lone continuation", "\x80", std::nullopt},
        {"truncated", "a\xE3\x81", std::nullopt},
        {"invalid lead", "\xFF", std::nullopt},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.bytes, true), c.strict) << c.name;
    }
}

} // namespace
} // namespace orx::platform
