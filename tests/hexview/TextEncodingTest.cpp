#include "hexview/TextEncoding.h"

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

// One row of a document of filler bytes with pieces written into it. The cells from
// `first` on are listed with "|" between them; every other cell shows the filler "-".
// clang-format off
struct RowCase { const char* name; std::size_t size; std::map<std::size_t, Bytes> pieces; std::uint64_t row;
    std::size_t first; std::u16string cells; };
// clang-format on

void CheckRows(TextEncoding encoding, const std::vector<RowCase>& cases)
{
    for (const RowCase& c : cases) {
        const std::size_t rowSize = std::min<std::size_t>(16, c.size - c.row * 16);
        std::vector<std::u16string> expected(rowSize, u"-");
        std::size_t cell = c.first;
        expected.at(cell).clear();
        for (const char16_t ch : c.cells) {
            if (ch == u'|') {
                expected.at(++cell).clear();
            } else {
                expected.at(cell) += ch;
            }
        }
        EXPECT_EQ(DecodeRow(Layout(c.size, c.pieces), c.row, encoding), expected) << c.name;
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
    // clang-format off
    const std::vector<RowCase> rows = {
        {"three-byte character", 16, {{0, hiragana}}, 0, 0, u"\u3042||"},
        {"crossing into the next row", 32, {{15, hiragana}}, 0, 15, u"\u3042"},
        {"continuation in the next row", 32, {{15, hiragana}}, 1, 0, u"|"},
        {"four-byte character", 16, {{4, {0xF0, 0x9F, 0x98, 0x80}}}, 0, 4, u"\U0001F600|||"},
        {"mark joins its base", 16, {{0, {'e', 0xCC, 0x81}}}, 0, 0, u"e\u0301||"},
        {"several marks", 16, {{3, {'a', 0xCC, 0x81, 0xCC, 0x88}}}, 0, 3, u"a\u0301\u0308||||"},
        {"base in the previous row", 32, {{15, {'e'}}, {16, acute}}, 1, 0, u"\u0301|"},
        {"mark of the next row not drawn", 32, {{15, {'e'}}, {16, acute}}, 0, 15, u"e"},
        {"mark at the document start", 16, {{0, acute}}, 0, 0, u"\u0301|"},
        {"mark across a control", 16, {{0, {'a', 0x0A, 0xCC, 0x81}}}, 0, 0, u"a\u0301|.||"},
        {"mark by the system's types", 16, {{0, {0xD7, 0x90, 0xD6, 0xB0}}}, 0, 0, u"\u05D0\u05B0|||"},
        {"joiner", 16, {{0, {0xF0, 0x9F, 0x91, 0xA8, 0xE2, 0x80, 0x8D, 0xF0, 0x9F, 0x91, 0xA9}}}, 0, 0,
         u"\U0001F468\u200D|||||||\U0001F469|||"},
        {"precomposed letters", 16, {{0, {'a', 0xC3, 0xA9, 0xC3, 0xA9}}}, 0, 0, u"a|\u00E9||\u00E9|"},
        {"spacing accent keeps its cell", 16, {{0, {'x', '^', '2'}}}, 0, 0, u"x|^|2"},
        {"overlong form", 16, {{0, {0xC0, 0x80}}}, 0, 0, u".|."},
        {"encoded surrogate", 16, {{0, {0xED, 0xA0, 0x80}}}, 0, 0, u".|.|."},
        {"controls", 16, {{0, {0x0A, 0x09, 0x7F, 0x00}}}, 0, 0, u".|.|.|."},
        {"broken sequence resumes at once", 16, {{0, {0xE3, 0x41, 0x82}}}, 0, 0, u".|A|."},
        {"cut off by the document end", 16, {{14, {0xE3, 0x81}}}, 0, 14, u".|."},
        {"cut by the look-ahead", 32, {{15, {0xF0, 0x9F, 0x98, 0x80}}}, 0, 15, u"\U0001F600"},
        {"short last row", 19, {{16, {0xC3, 0xA9}}}, 1, 0, u"\u00E9|"},
    };
    // clang-format on
    CheckRows(TextEncoding::Utf8, rows);
}

TEST(DecodeTextCells, Utf16UsesTheRowAloneAndShowsMarksAndSurrogatesAsDots)
{
    // clang-format off
    struct Case { TextEncoding encoding; Bytes row; std::vector<std::u16string> cells; };
    const Case cases[] = {
        {TextEncoding::Utf16Le, {0x41, 0x00}, {u"A", u""}},
        {TextEncoding::Utf16Be, {0x00, 0x41}, {u"A", u""}},
        {TextEncoding::Utf16Le, {0x42, 0x30, 0x80, 0x00}, {u"\u3042", u"", u"\u0080", u""}},
        {TextEncoding::Utf16Be, {0x30, 0x42, 0xFF, 0xFD}, {u"\u3042", u"", u"\uFFFD", u""}},
        {TextEncoding::Utf16Le, {0x00, 0xD8, 0x00, 0xDC}, {u".", u"", u".", u""}},
        {TextEncoding::Utf16Le, {0xFE, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x1F, 0x00},
         {u".", u"", u".", u"", u".", u"", u".", u""}},
        {TextEncoding::Utf16Le, {0x01, 0x03, 0x0D, 0x20, 0x0F, 0xFE}, {u".", u"", u".", u"", u".", u""}},
        {TextEncoding::Utf16Le, {0x00, 0xE0, 0x41}, {u"\uE000", u"", u"."}},
    };
    // clang-format on
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
    const std::vector<RowCase> rows = {
        {"pair", 16, {{0, {0x82, 0xA0}}}, 0, 0, u"\u3042|"},
        {"half-width katakana", 16, {{0, {0xA1, 0xB1}}}, 0, 0, u"\uFF61|\uFF71"},
        {"pair across rows, first row", 32, {{15, {0x82, 0xA0}}}, 0, 15, u"\u3042"},
        {"pair across rows, second row", 32, {{15, {0x82, 0xA0}}}, 1, 0, u""},
        {"lead without a trail", 16, {{0, {0x82, 0x20, 0x81, 0x7F}}}, 0, 0, u"\u30FB| |\u30FB|."},
        {"undefined pair", 16, {{0, {0x85, 0x40}}}, 0, 0, u"\u30FB|"},
        {"lead at the document end", 16, {{15, {0x82}}}, 0, 15, u"\u30FB"},
        {"controls", 16, {{0, {0x0A, 0x7F}}}, 0, 0, u".|."},
    };
    CheckRows(TextEncoding::ShiftJis, rows);
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
    const std::vector<RowCase> rows949 = {
        {"pair", 16, {{0, ga}}, 0, 0, u"\uAC00|"},
        {"949 extension", 16, {{0, {0x81, 0x41}}}, 0, 0, u"\uAC02|"},
        {"pair across rows, first row", 32, {{15, ga}}, 0, 15, u"\uAC00"},
        {"pair across rows, second row", 32, {{15, ga}}, 1, 0, u""},
        {"run of pairs", 48, run, 1, 0,
         u"|\uAC00||\uAC00||\uAC00||\uAC00||\uAC00||\uAC00||\uAC00||\uAC00"},
        {"lead without a trail", 16, {{0, {0xB0, 0x20}}}, 0, 0, u"?| "},
        {"undefined pair", 16, {{0, {0xA2, 0xE8}}}, 0, 0, u"?|"},
        {"controls", 16, {{0, {0x0A, 0x00}}}, 0, 0, u".|."},
    };
    CheckRows(TextEncoding::Windows949, rows949);
    const std::vector<RowCase> rowsEucKr = {
        {"949 extension under EUC-KR", 16, {{0, {0x81, 0x41}}}, 0, 0, u"?|A"},
        {"EUC-KR pair", 16, {{2, ga}}, 0, 2, u"\uAC00|"},
        {"EUC-KR pair across rows", 32, {{15, ga}}, 1, 0, u""},
        {"lead at the document end", 16, {{15, {0xB0}}}, 0, 15, u"?"},
    };
    CheckRows(TextEncoding::EucKr, rowsEucKr);
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

} // namespace
} // namespace orx
