#include "hexview/TextEncoding.h"

#include "hexview/RowFormat.h"
#include "platform/CodePage.h"
#include "support/MemoryDocument.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::MemoryDocument;

constexpr std::uint8_t kFiller = '-';

// A document of `size` filler bytes with `pieces` written at their offsets.
MemoryDocument Layout(std::size_t size, const std::map<std::size_t, Bytes>& pieces)
{
    Bytes bytes(size, kFiller);
    for (const auto& [offset, piece] : pieces) {
        std::copy(piece.begin(), piece.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    return MemoryDocument(std::move(bytes));
}

std::vector<std::u16string> DecodeRow(const MemoryDocument& document, std::uint64_t row,
                                      TextEncoding encoding)
{
    const ReadResult read = document.Read(row * 16, 16);
    return DecodeTextCells(&document, row * 16, read.bytes, encoding);
}

struct RowCase {
    const char* name;
    TextEncoding encoding;
    std::size_t size;
    std::map<std::size_t, Bytes> pieces;
    std::uint64_t row;
    // The cells that differ from the filler's "-".
    std::map<std::size_t, std::u16string> cells;
};

void CheckRows(const std::vector<RowCase>& cases)
{
    for (const RowCase& c : cases) {
        const MemoryDocument document = Layout(c.size, c.pieces);
        const std::vector<std::u16string> cells = DecodeRow(document, c.row, c.encoding);
        const std::size_t rowSize = std::min<std::size_t>(16, c.size - c.row * 16);
        ASSERT_EQ(cells.size(), rowSize) << c.name;
        for (std::size_t i = 0; i < rowSize; ++i) {
            const auto expected = c.cells.find(i);
            EXPECT_EQ(cells[i], expected == c.cells.end() ? u"-" : expected->second)
                << c.name << ", cell " << i;
        }
    }
}

TEST(DecodeTextCells, AsciiShowsPrintableBytesOnly)
{
    const Bytes row = {0x20, 0x41, 0x7E, 0x7F, 0x80, 0xFF, 0x00, 0x09};
    const std::vector<std::u16string> expected = {u" ", u"A", u"~", u".", u".", u".", u".", u"."};
    EXPECT_EQ(DecodeTextCells(nullptr, 0, row, TextEncoding::Ascii), expected);
    EXPECT_EQ(DecodeTextCells(nullptr, 0, row, static_cast<TextEncoding>(99)), expected);
    // The multi-byte decoders need the document around the row; without it they fall back.
    for (TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::ShiftJis, TextEncoding::EucKr}) {
        EXPECT_EQ(DecodeTextCells(nullptr, 0, row, encoding), expected)
            << static_cast<unsigned>(encoding);
    }
}

TEST(DecodeTextCells, Utf8DrawsEachCharacterOnceInTheCellOfItsFirstByte)
{
    const Bytes hiragana = {0xE3, 0x81, 0x82};
    const Bytes acute = {0xCC, 0x81};
    CheckRows({
        {"three-byte character",
         TextEncoding::Utf8,
         16,
         {{0, hiragana}},
         0,
         {{0, u"\u3042"}, {1, u""}, {2, u""}}},
        {"crossing into the next row",
         TextEncoding::Utf8,
         32,
         {{15, hiragana}},
         0,
         {{15, u"\u3042"}}},
        {"continuation in the next row",
         TextEncoding::Utf8,
         32,
         {{15, hiragana}},
         1,
         {{0, u""}, {1, u""}}},
        {"four-byte character",
         TextEncoding::Utf8,
         16,
         {{4, {0xF0, 0x9F, 0x98, 0x80}}},
         0,
         {{4, u"\U0001F600"}, {5, u""}, {6, u""}, {7, u""}}},
        {"mark joins its base",
         TextEncoding::Utf8,
         16,
         {{0, {'e', 0xCC, 0x81}}},
         0,
         {{0, u"e\u0301"}, {1, u""}, {2, u""}}},
        {"several marks",
         TextEncoding::Utf8,
         16,
         {{3, {'a', 0xCC, 0x81, 0xCC, 0x88}}},
         0,
         {{3, u"a\u0301\u0308"}, {4, u""}, {5, u""}, {6, u""}, {7, u""}}},
        {"base in the previous row",
         TextEncoding::Utf8,
         32,
         {{15, {'e'}}, {16, acute}},
         1,
         {{0, u"\u0301"}, {1, u""}}},
        {"mark of the next row not drawn",
         TextEncoding::Utf8,
         32,
         {{15, {'e'}}, {16, acute}},
         0,
         {{15, u"e"}}},
        {"mark at the document start",
         TextEncoding::Utf8,
         16,
         {{0, acute}},
         0,
         {{0, u"\u0301"}, {1, u""}}},
        {"mark across a control",
         TextEncoding::Utf8,
         16,
         {{0, {'a', 0x0A, 0xCC, 0x81}}},
         0,
         {{0, u"a\u0301"}, {1, u"."}, {2, u""}, {3, u""}}},
        {"mark by the system's character types",
         TextEncoding::Utf8,
         16,
         {{0, {0xD7, 0x90, 0xD6, 0xB0}}},
         0,
         {{0, u"\u05D0\u05B0"}, {1, u""}, {2, u""}, {3, u""}}},
        {"joiner",
         TextEncoding::Utf8,
         16,
         {{0, {0xF0, 0x9F, 0x91, 0xA8, 0xE2, 0x80, 0x8D, 0xF0, 0x9F, 0x91, 0xA9}}},
         0,
         {{0, u"\U0001F468\u200D"},
          {1, u""},
          {2, u""},
          {3, u""},
          {4, u""},
          {5, u""},
          {6, u""},
          {7, u"\U0001F469"},
          {8, u""},
          {9, u""},
          {10, u""}}},
        {"precomposed letters keep their cells",
         TextEncoding::Utf8,
         16,
         {{0, {'a', 0xC3, 0xA9, 0xC3, 0xA9}}},
         0,
         {{0, u"a"}, {1, u"\u00E9"}, {2, u""}, {3, u"\u00E9"}, {4, u""}}},
        {"spacing accent keeps its cell",
         TextEncoding::Utf8,
         16,
         {{0, {'x', '^', '2'}}},
         0,
         {{0, u"x"}, {1, u"^"}, {2, u"2"}}},
        {"overlong form", TextEncoding::Utf8, 16, {{0, {0xC0, 0x80}}}, 0, {{0, u"."}, {1, u"."}}},
        {"encoded surrogate",
         TextEncoding::Utf8,
         16,
         {{0, {0xED, 0xA0, 0x80}}},
         0,
         {{0, u"."}, {1, u"."}, {2, u"."}}},
        {"controls",
         TextEncoding::Utf8,
         16,
         {{0, {0x0A, 0x09, 0x7F, 0x00}}},
         0,
         {{0, u"."}, {1, u"."}, {2, u"."}, {3, u"."}}},
        {"broken sequence resumes at the next byte",
         TextEncoding::Utf8,
         16,
         {{0, {0xE3, 0x41, 0x82}}},
         0,
         {{0, u"."}, {1, u"A"}, {2, u"."}}},
        {"cut off by the document end",
         TextEncoding::Utf8,
         16,
         {{14, {0xE3, 0x81}}},
         0,
         {{14, u"."}, {15, u"."}}},
        {"cut off by the look-ahead",
         TextEncoding::Utf8,
         32,
         {{15, {0xF0, 0x9F, 0x98, 0x80}}},
         0,
         {{15, u"\U0001F600"}}},
        {"short last row",
         TextEncoding::Utf8,
         19,
         {{16, {0xC3, 0xA9}}},
         1,
         {{0, u"\u00E9"}, {1, u""}}},
    });
}

TEST(DecodeTextCells, Utf16UsesTheRowAloneAndShowsMarksAndSurrogatesAsDots)
{
    struct Case {
        TextEncoding encoding;
        Bytes row;
        std::vector<std::u16string> cells;
    };
    const Case cases[] = {
        {TextEncoding::Utf16Le, {0x41, 0x00}, {u"A", u""}},
        {TextEncoding::Utf16Be, {0x00, 0x41}, {u"A", u""}},
        {TextEncoding::Utf16Le, {0x42, 0x30, 0x80, 0x00}, {u"\u3042", u"", u"\u0080", u""}},
        {TextEncoding::Utf16Be, {0x30, 0x42, 0xFF, 0xFD}, {u"\u3042", u"", u"\uFFFD", u""}},
        {TextEncoding::Utf16Le, {0x00, 0xD8, 0x00, 0xDC}, {u".", u"", u".", u""}},
        {TextEncoding::Utf16Le,
         {0xFE, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x1F, 0x00},
         {u".", u"", u".", u"", u".", u"", u".", u""}},
        {TextEncoding::Utf16Le,
         {0x01, 0x03, 0x0D, 0x20, 0x0F, 0xFE},
         {u".", u"", u".", u"", u".", u""}},
        {TextEncoding::Utf16Le, {0x00, 0xE0, 0x41}, {u"\uE000", u"", u"."}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeTextCells(nullptr, 0, c.row, c.encoding), c.cells)
            << ::testing::PrintToString(c.row);
    }
    const Bytes fifteen(15, 0x41);
    const std::vector<std::u16string> cells =
        DecodeTextCells(nullptr, 16, fifteen, TextEncoding::Utf16Le);
    ASSERT_EQ(cells.size(), 15u);
    EXPECT_EQ(cells[14], u".");
    EXPECT_EQ(cells[12], u"\u4141");
}

TEST(DecodeTextCells, ShiftJisDecodesPairsWithOneByteOfLookBack)
{
    CheckRows({
        {"pair", TextEncoding::ShiftJis, 16, {{0, {0x82, 0xA0}}}, 0, {{0, u"\u3042"}, {1, u""}}},
        {"half-width katakana",
         TextEncoding::ShiftJis,
         16,
         {{0, {0xA1, 0xB1}}},
         0,
         {{0, u"\uFF61"}, {1, u"\uFF71"}}},
        {"pair across rows, first row",
         TextEncoding::ShiftJis,
         32,
         {{15, {0x82, 0xA0}}},
         0,
         {{15, u"\u3042"}}},
        {"pair across rows, second row",
         TextEncoding::ShiftJis,
         32,
         {{15, {0x82, 0xA0}}},
         1,
         {{0, u""}}},
        {"lead without a trail",
         TextEncoding::ShiftJis,
         16,
         {{0, {0x82, 0x20, 0x81, 0x7F}}},
         0,
         {{0, u"\u30FB"}, {1, u" "}, {2, u"\u30FB"}, {3, u"."}}},
        {"undefined pair",
         TextEncoding::ShiftJis,
         16,
         {{0, {0x85, 0x40}}},
         0,
         {{0, u"\u30FB"}, {1, u""}}},
        {"lead at the document end",
         TextEncoding::ShiftJis,
         16,
         {{15, {0x82}}},
         0,
         {{15, u"\u30FB"}}},
        {"controls", TextEncoding::ShiftJis, 16, {{0, {0x0A, 0x7F}}}, 0, {{0, u"."}, {1, u"."}}},
    });
}

TEST(DecodeTextCells, KoreanCodePagesResynchroniseBeforeTheRow)
{
    const Bytes ga = {0xB0, 0xA1};
    std::map<std::size_t, Bytes>
        run; // 'A' then twenty pairs from offset 1: a pair straddles offset 16 and 32
    for (std::size_t k = 0; k < 20; ++k) {
        run[1 + 2 * k] = ga;
    }
    run[0] = {'A'};
    std::map<std::size_t, std::u16string> runRow1 = {{0, u""}};
    for (std::size_t i = 1; i < 16; i += 2) {
        runRow1[i] = u"\uAC00";
        runRow1[i + 1] = u"";
    }
    CheckRows({
        {"pair", TextEncoding::Windows949, 16, {{0, ga}}, 0, {{0, u"\uAC00"}, {1, u""}}},
        {"949 extension",
         TextEncoding::Windows949,
         16,
         {{0, {0x81, 0x41}}},
         0,
         {{0, u"\uAC02"}, {1, u""}}},
        {"949 extension under EUC-KR",
         TextEncoding::EucKr,
         16,
         {{0, {0x81, 0x41}}},
         0,
         {{0, u"?"}, {1, u"A"}}},
        {"EUC-KR pair", TextEncoding::EucKr, 16, {{2, ga}}, 0, {{2, u"\uAC00"}, {3, u""}}},
        {"pair across rows, first row",
         TextEncoding::Windows949,
         32,
         {{15, ga}},
         0,
         {{15, u"\uAC00"}}},
        {"pair across rows, second row", TextEncoding::Windows949, 32, {{15, ga}}, 1, {{0, u""}}},
        {"EUC-KR pair across rows", TextEncoding::EucKr, 32, {{15, ga}}, 1, {{0, u""}}},
        {"run of pairs", TextEncoding::Windows949, 48, run, 1, runRow1},
        {"lead without a trail",
         TextEncoding::Windows949,
         16,
         {{0, {0xB0, 0x20}}},
         0,
         {{0, u"?"}, {1, u" "}}},
        {"undefined pair",
         TextEncoding::Windows949,
         16,
         {{0, {0xA2, 0xE8}}},
         0,
         {{0, u"?"}, {1, u""}}},
        {"lead at the document end", TextEncoding::EucKr, 16, {{15, {0xB0}}}, 0, {{15, u"?"}}},
        {"controls", TextEncoding::Windows949, 16, {{0, {0x0A, 0x00}}}, 0, {{0, u"."}, {1, u"."}}},
    });
}

TEST(DecodeTextCells, KoreanResynchronisationLooksBackAtMost4096Bytes)
{
    // Pairs from offset 1 on: every row start falls on the second byte of a pair. From 4096
    // bytes before the row the walk cannot tell, and an even start pairs the bytes the
    // other way round; within the first 4096 bytes it starts at offset 0 and gets it right.
    Bytes bytes(8300, 'A');
    for (std::size_t k = 1; k + 1 < bytes.size(); k += 2) {
        bytes[k] = 0xB0;
        bytes[k + 1] = 0xA1;
    }
    const MemoryDocument document(bytes);
    const std::vector<std::u16string> near = DecodeRow(document, 256, TextEncoding::Windows949);
    EXPECT_EQ(near[0], u"");
    EXPECT_EQ(near[1], u"\uAC00");
    const std::u16string swapped =
        platform::DecodeCodePage(platform::CodePage::Windows949, Bytes{0xA1, 0xB0});
    const std::vector<std::u16string> far = DecodeRow(document, 512, TextEncoding::Windows949);
    EXPECT_EQ(far[0], swapped);
    EXPECT_EQ(far[1], u"");

    // A row whose start breaks the pattern is found exactly, however far back it goes.
    Bytes straddle(9000, 'A');
    straddle[8191] = 0xB0;
    straddle[8192] = 0xA1;
    const MemoryDocument other(straddle);
    EXPECT_EQ(DecodeRow(other, 512, TextEncoding::Windows949)[0], u"");
    EXPECT_EQ(DecodeRow(other, 511, TextEncoding::Windows949)[15], u"\uAC00");
}

TEST(DecodeTextCells, FailedReadsLeaveCellsEmptyInsteadOfInventingBytes)
{
    MemoryDocument document(Bytes(32, 'A'));
    const Bytes row(16, 'A');
    document.readLimit = 0;
    for (TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::ShiftJis, TextEncoding::Windows949}) {
        EXPECT_EQ(DecodeTextCells(&document, 16, row, encoding), std::vector<std::u16string>(16))
            << static_cast<unsigned>(encoding);
    }
    document.readLimit = 5; // the UTF-8 window starts 3 bytes early: two row bytes arrive
    const std::vector<std::u16string> cells =
        DecodeTextCells(&document, 16, row, TextEncoding::Utf8);
    EXPECT_EQ(cells[1], u"A");
    EXPECT_EQ(cells[2], u"");
}

TEST(IsCombiningMark, CoversTheListedRangesExactly)
{
    struct Case {
        char32_t codePoint;
        bool mark;
    };
    const Case cases[] = {
        {0x02FF, false},  {0x0300, true},  {0x036F, true},   {0x0370, false}, {0x0482, false},
        {0x0483, true},   {0x0489, true},  {0x1AAF, false},  {0x1AB0, true},  {0x1AFF, true},
        {0x1DC0, true},   {0x1DFF, true},  {0x200C, false},  {0x200D, true},  {0x200E, false},
        {0x20D0, true},   {0x20FF, true},  {0x3098, false},  {0x3099, true},  {0x309A, true},
        {0x309B, false},  {0xFE00, true},  {0xFE0F, true},   {0xFE10, false}, {0xFE20, true},
        {0xFE2F, true},   {0xFE30, false}, {0xE00FF, false}, {0xE0100, true}, {0xE01EF, true},
        {0xE01F0, false}, {u'e', false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsCombiningMark(c.codePoint), c.mark)
            << std::hex << static_cast<unsigned>(c.codePoint);
    }
}

TEST(TextEncodingNames, ReadTheSettingsSpellingsAndNameUnknownValuesAscii)
{
    EXPECT_EQ(TextEncodingName(static_cast<TextEncoding>(7)), u"ASCII");
    const std::pair<std::u16string, std::optional<TextEncoding>> spellings[] = {
        {u"ascii", TextEncoding::Ascii},
        {u"UTF-8", TextEncoding::Utf8},
        {u"utf_16le", TextEncoding::Utf16Le},
        {u"UTF-16 BE", TextEncoding::Utf16Be},
        {u"Shift_JIS", TextEncoding::ShiftJis},
        {u"sjis", TextEncoding::ShiftJis},
        {u"CP932", TextEncoding::ShiftJis},
        {u"windows-31j", TextEncoding::ShiftJis},
        {u"cp949", TextEncoding::Windows949},
        {u"Windows-949", TextEncoding::Windows949},
        {u"windows-31k", TextEncoding::Windows949},
        {u"euc-kr", TextEncoding::EucKr},
        {u"latin1", std::nullopt},
        {u"", std::nullopt},
        {u"utf16", std::nullopt},
    };
    for (const auto& [spelling, encoding] : spellings) {
        EXPECT_EQ(TextEncodingFromName(spelling), encoding) << ::testing::PrintToString(spelling);
    }
}

TEST(FormatRowOffset, UsesEightDigitsBelowFourGibAndSixteenFromThere)
{
    struct SizeOnly final : IReadOnlyDocument {
        explicit SizeOnly(std::uint64_t size) : size(size) {}
        bool IsOpen() const override { return true; }
        std::uint64_t Size() const override { return size; }
        std::u16string Path() const override { return {}; }
        ReadResult Read(std::uint64_t offset, std::uint64_t) const override { return {offset, {}}; }
        std::uint64_t size;
    };
    const SizeOnly small(0xFFFFFFFF);
    const SizeOnly large(0x100000000);
    EXPECT_EQ(FormatRowOffset(nullptr, 0x10), u"00000010:");
    EXPECT_EQ(FormatRowOffset(&small, 0xFFFFFFF0), u"FFFFFFF0:");
    EXPECT_EQ(FormatRowOffset(&large, 0x10), u"0000000000000010:");
    EXPECT_EQ(FormatRowOffset(&large, 0xABCDEF0120), u"000000ABCDEF0120:");
    EXPECT_EQ(FormatRowOffset(nullptr, 0x123456780), u"123456780:");
    EXPECT_EQ(FormatHexCell(0x0A), u"0A");
    EXPECT_EQ(FormatHexCell(0xFF), u"FF");
}

} // namespace
} // namespace orx
