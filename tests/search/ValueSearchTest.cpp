#include "search/SearchEngine.h"

#include "support/MemoryDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Offsets = std::vector<std::uint64_t>;

SearchDialogResult ValueQuery(ValueType type, std::u16string text, ValueByteOrder order)
{
    SearchDialogResult request{kSearchKindValue, std::move(text)};
    request.valueType = type;
    request.byteOrder = order;
    return request;
}

Bytes Hex(std::u16string_view hex)
{
    return BuildSearchPattern({kSearchKindHex, std::u16string(hex)}, TextEncoding::Ascii).bytes;
}

TEST(ValueSearch, AValueIsTheHexOfItsEncoding)
{
    using enum ValueType;
    using enum ValueByteOrder;
    // clang-format off
    struct Case { ValueType type; std::u16string_view query; ValueByteOrder order; std::u16string_view hex,
        alternative; std::string_view error; };
    const Case cases[] = {
        {UInt32, u"1024", Little, u"00 04 00 00", u"", ""},
        {UInt32, u" 0x400 ", Big, u"00 00 04 00", u"", ""},
        {UInt32, u"1024", Either, u"00 04 00 00", u"00 00 04 00", ""},
        {UInt16, u"0x0101", Either, u"01 01", u"", ""}, // the same bytes either way: one pattern
        {UInt8, u"255", Either, u"FF", u"", ""},
        {Int8, u"-1", Little, u"FF", u"", ""},
        {Int8, u"-128", Little, u"80", u"", ""},
        {Int16, u"-2", Big, u"FF FE", u"", ""},
        {Int64, u"-9223372036854775808", Little, u"00 00 00 00 00 00 00 80", u"", ""},
        {UInt64, u"18446744073709551615", Big, u"FF FF FF FF FF FF FF FF", u"", ""},
        {Float32, u"1.5", Either, u"00 00 C0 3F", u"3F C0 00 00", ""},
        {Float64, u"-2", Big, u"C0 00 00 00 00 00 00 00", u"", ""},
        {Int8, u"300", Little, u"", u"", "error.value_range"},
        {Int8, u"128", Little, u"", u"", "error.value_range"},
        {Int8, u"-129", Little, u"", u"", "error.value_range"},
        {UInt8, u"-1", Little, u"", u"", "error.value_range"},
        {UInt64, u"18446744073709551616", Little, u"", u"", "error.value_range"},
        {Float32, u"1e39", Little, u"", u"", "error.value_range"},
        {UInt16, u"12a", Little, u"", u"", "error.value_syntax"},
        {UInt16, u"0x", Little, u"", u"", "error.value_syntax"},
        {Float32, u"0x10", Little, u"", u"", "error.value_syntax"},
        {UInt32, u"   ", Little, u"", u"", "error.search_empty"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const SearchPattern pattern = BuildSearchPattern(
            ValueQuery(c.type, std::u16string(c.query), c.order), TextEncoding::Ascii);
        EXPECT_EQ(pattern.errorKey, c.error) << ::testing::PrintToString(c.query);
        EXPECT_EQ(pattern.bytes, c.hex.empty() ? Bytes{} : Hex(c.hex))
            << ::testing::PrintToString(c.query);
        EXPECT_EQ(pattern.alternative, c.alternative.empty() ? Bytes{} : Hex(c.alternative));
    }
}

Offsets AllHits(const IReadOnlyDocument& document, const SearchPattern& pattern)
{
    Offsets hits;
    (void)FindAll(&document, pattern, UINT64_MAX, {}, {},
                  [&hits](std::span<const std::uint64_t> batch) {
                      hits.insert(hits.end(), batch.begin(), batch.end());
                      return true;
                  });
    return hits;
}

std::uint64_t Nearest(const IReadOnlyDocument& document, const SearchPattern& pattern,
                      std::uint64_t start, bool forward)
{
    const SearchOutcome outcome = forward ? SearchForward(&document, pattern, start, {}, {})
                                          : SearchBackward(&document, pattern, start, {}, {});
    return outcome.status == SearchStatus::Found ? outcome.offset : UINT64_MAX;
}

TEST(ValueSearch, EitherOrderFindsTheUnionOfBothHexSearches)
{
    // Both encodings planted at random places, overlapping each other and across the block
    // edge, in noise that holds neither.
    std::mt19937 random(33);
    Bytes data(kSearchBlockSize + 4096);
    for (auto& b : data) {
        b = static_cast<std::uint8_t>(random() % 200 + 8);
    }
    const Bytes little = Hex(u"00 04 00 00");
    const Bytes big = Hex(u"00 00 04 00");
    const std::uint64_t end = data.size();
    for (const std::uint64_t at :
         Offsets{0, 3, 5, 100, kSearchBlockSize - 2, kSearchBlockSize + 1, end - 4}) {
        const Bytes& planted = at % 2 == 0 ? little : big;
        std::copy(planted.begin(), planted.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    }
    const test::MemoryDocument document(data);
    const SearchPattern either = BuildSearchPattern(
        ValueQuery(ValueType::UInt32, u"1024", ValueByteOrder::Either), TextEncoding::Ascii);
    const SearchPattern littleOnly{little, {}, {}, {}};
    const SearchPattern bigOnly{big, {}, {}, {}};
    Offsets expected = AllHits(document, littleOnly);
    const Offsets bigHits = AllHits(document, bigOnly);
    expected.insert(expected.end(), bigHits.begin(), bigHits.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_GE(expected.size(), 6u);
    EXPECT_EQ(AllHits(document, either), expected);
    for (const std::uint64_t start :
         Offsets{0, 1, 4, 6, kSearchBlockSize - 3, kSearchBlockSize, end - 1}) {
        EXPECT_EQ(Nearest(document, either, start, true),
                  std::min(Nearest(document, littleOnly, start, true),
                           Nearest(document, bigOnly, start, true)))
            << start;
        const std::uint64_t l = Nearest(document, littleOnly, start, false);
        const std::uint64_t b = Nearest(document, bigOnly, start, false);
        EXPECT_EQ(Nearest(document, either, start, false),
                  l == UINT64_MAX ? b : (b == UINT64_MAX ? l : std::max(l, b)))
            << start;
    }
    // A palindromic encoding is one pattern: each place is one hit, not two.
    const test::MemoryDocument ones(Bytes{1, 1, 1, 7});
    EXPECT_EQ(AllHits(ones, BuildSearchPattern(
                                ValueQuery(ValueType::UInt16, u"257", ValueByteOrder::Either),
                                TextEncoding::Ascii)),
              (Offsets{0, 1}));
}

} // namespace
} // namespace orx
