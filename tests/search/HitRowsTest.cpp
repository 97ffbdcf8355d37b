#include "search/HitRows.h"

#include "search/HitList.h"
#include "support/MemoryDocument.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

TEST(HitRows, CopyTextKeepsEveryLineThatFitsItsLimit)
{
    const MemoryDocument document({0x4D, 0x5A, 0x90, 0x00, 0x4D, 0x5A, 0x90});
    HitList hits;
    hits.Reset(3);
    hits.Append(std::vector<std::uint64_t>{0, 4});
    const std::u16string first = u"00000000\t4D 5A 90\r\n"; // 19 characters
    const std::u16string second = u"00000004\t4D 5A 90\r\n";
    // clang-format off
    struct Case { std::vector<std::uint64_t> indices; std::uint64_t maxChars; std::u16string text; };
    const Case cases[] = {
        {{0, 1}, 38, first + second}, // the limit exactly the text's length
        {{0, 1}, 37, first},
        {{0, 1}, 19, first},
        {{0, 1}, 18, u""},
        {{1, 0}, 99, second + first}, // in the order asked
        {{1, 2, 0}, 99, second + first}, // no hit 2
        {{}, 99, u""},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(HitLinesText(document, hits, c.indices, c.maxChars), c.text) << c.maxChars;
    }
}

} // namespace
} // namespace orx::test
