// The text column's decoders: one cell string per byte of a painted row.
#include "hexview/TextEncoding.h"

#include "hexview/BytesPerRow.h"
#include "document/ReadOnlyDocument.h"
#include "platform/CharType.h"
#include "platform/CodePage.h"
#include "platform/Utf.h"

#include <algorithm>
#include <string_view>

namespace orx {
namespace {

using Cells = std::vector<std::u16string>;
using Bytes = std::span<const std::uint8_t>;

const std::u16string kNoCharacter = u".";

// Something to draw: a unit that is neither a C0 control nor DEL.
bool IsDisplayable(std::u16string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char16_t unit) { return unit >= 0x20 && unit != 0x7F; });
}

const std::u16string& ShownText(const std::u16string& text)
{
    return IsDisplayable(text) ? text : kNoCharacter;
}

char32_t FirstCodePoint(std::u16string_view text)
{
    const char16_t first = text[0];
    if (first >= 0xD800 && first <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 &&
        text[1] <= 0xDFFF) {
        return 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (text[1] - 0xDC00);
    }
    return first;
}

Cells DecodeAscii(Bytes rowBytes)
{
    Cells cells;
    cells.reserve(rowBytes.size());
    for (std::uint8_t b : rowBytes) {
        cells.push_back(b >= 0x20 && b <= 0x7E ? std::u16string(1, static_cast<char16_t>(b))
                                               : kNoCharacter);
    }
    return cells;
}

// Reads [first, min(end, Size())) in one piece; a failed or short read just gives fewer bytes.
std::vector<std::uint8_t> ReadWindow(const IReadOnlyDocument& document, std::uint64_t first,
                                     std::uint64_t end)
{
    end = std::min(end, document.Size());
    if (end <= first) {
        return {};
    }
    return document.Read(first, end - first).bytes;
}

// Where a decoder's walk writes: positions are document offsets, cells exist for the row only.
class RowCells {
public:
    RowCells(std::uint64_t rowStart, std::size_t count) : rowStart_(rowStart), cells_(count) {}

    [[nodiscard]] bool Contains(std::uint64_t position) const
    {
        return position >= rowStart_ && position - rowStart_ < cells_.size();
    }
    std::u16string& At(std::uint64_t position)
    {
        return cells_[static_cast<std::size_t>(position - rowStart_)];
    }
    Cells Take() { return std::move(cells_); }

private:
    std::uint64_t rowStart_;
    Cells cells_;
};

std::size_t Utf8SequenceLength(std::uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

// The text of the UTF-8 sequence at `i`, or nothing when it is invalid or cut off.
std::optional<std::u16string> DecodeUtf8Sequence(const std::vector<std::uint8_t>& window,
                                                 std::size_t i, std::size_t length)
{
    if (length == 0 || length > window.size() - i) {
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((window[i + k] & 0xC0) != 0x80) {
            return std::nullopt;
        }
    }
    const std::string_view bytes(reinterpret_cast<const char*>(window.data() + i), length);
    std::optional<std::u16string> text = platform::Utf8ToUtf16(bytes, true);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return text;
}

bool IsCombining(std::u16string_view text)
{
    return IsCombiningMark(FirstCodePoint(text)) || platform::IsNonSpacingMark(text[0]);
}

// Up to 3 bytes either side of the row, so a character crossing a row boundary is drawn once,
// in the row of its first byte; combining marks join the last character placed in this row.
Cells DecodeUtf8(const IReadOnlyDocument& document, std::uint64_t rowStart, std::size_t count)
{
    const std::uint64_t windowStart = rowStart < 4 ? 0 : rowStart - 3;
    const std::vector<std::uint8_t> window =
        ReadWindow(document, windowStart, rowStart + count + 3);
    RowCells cells(rowStart, count);
    bool haveBase = false;
    std::uint64_t base = 0;
    for (std::size_t i = 0; i < window.size();) {
        const std::uint64_t position = windowStart + i;
        const bool inRow = cells.Contains(position);
        const std::size_t length = Utf8SequenceLength(window[i]);
        const std::optional<std::u16string> text = DecodeUtf8Sequence(window, i, length);
        if (!text) {
            // Only one byte is consumed, so what follows is looked at as a lead byte again.
            if (inRow) {
                cells.At(position) = kNoCharacter;
            }
            ++i;
            continue;
        }
        i += length;
        if (!IsDisplayable(*text)) {
            if (inRow) {
                cells.At(position) = kNoCharacter;
            }
            continue;
        }
        const bool combining = IsCombining(*text);
        if (!inRow) {
            // A base outside the row is never joined: its marks in this row stand alone.
            haveBase = haveBase && combining;
        } else if (combining && haveBase) {
            cells.At(base) += *text;
        } else {
            cells.At(position) = *text;
            base = position;
            haveBase = true;
        }
    }
    return cells.Take();
}

// Rows start at even offsets, so the units line up with the row.
Cells DecodeUtf16(Bytes rowBytes, bool littleEndian)
{
    Cells cells(rowBytes.size());
    for (std::size_t i = 0; i < rowBytes.size(); i += 2) {
        if (i + 1 >= rowBytes.size()) {
            cells[i] = kNoCharacter;
            break;
        }
        const auto unit =
            static_cast<char16_t>(littleEndian ? rowBytes[i] | (rowBytes[i + 1] << 8)
                                               : (rowBytes[i] << 8) | rowBytes[i + 1]);
        const bool shown = (unit >= 0x20 && unit <= 0x7E) || (unit >= 0x80 && unit <= 0xD7FF) ||
                           (unit >= 0xE000 && unit <= 0xFFFD);
        // Marks are not joined in UTF-16; on their own they would draw nothing useful.
        cells[i] = shown && !IsCombiningMark(unit) ? std::u16string(1, unit) : kNoCharacter;
    }
    return cells;
}

bool IsShiftJisTrail(std::uint8_t b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

Cells DecodeShiftJis(const IReadOnlyDocument& document, std::uint64_t rowStart, std::size_t count)
{
    const std::uint64_t windowStart = rowStart < 2 ? 0 : rowStart - 1;
    const std::vector<std::uint8_t> window =
        ReadWindow(document, windowStart, rowStart + count + 1);
    const Bytes bytes(window);
    RowCells cells(rowStart, count);
    for (std::size_t i = 0; i < window.size();) {
        const bool pair = platform::IsLeadByte(platform::CodePage::ShiftJis, window[i]) &&
                          i + 1 < window.size() && IsShiftJisTrail(window[i + 1]);
        const std::size_t length = pair ? 2 : 1;
        const std::uint64_t position = windowStart + i;
        if (cells.Contains(position)) {
            const std::u16string text =
                platform::DecodeCodePage(platform::CodePage::ShiftJis, bytes.subspan(i, length));
            cells.At(position) = ShownText(text);
        }
        i += length;
    }
    return cells.Take();
}

struct KoreanRanges {
    platform::CodePage codePage;
    bool (*isLead)(std::uint8_t);
    bool (*isTrail)(std::uint8_t);
};

bool IsEucKrByte(std::uint8_t b)
{
    return b >= 0xA1 && b <= 0xFE;
}

bool IsWindows949Lead(std::uint8_t b)
{
    return b >= 0x81 && b <= 0xFE;
}

bool IsWindows949Trail(std::uint8_t b)
{
    return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0xFE);
}

constexpr std::uint64_t kKoreanResyncBytes = 4096;

// Finds where the character holding rowStart begins by walking up to 4 KiB before it: the
// byte before the row when a pair straddles the row start, else the row start itself.
std::uint64_t ResynchroniseKorean(const IReadOnlyDocument& document, std::uint64_t rowStart,
                                  const KoreanRanges& ranges)
{
    if (rowStart == 0) {
        return 0;
    }
    const std::uint64_t scanStart =
        rowStart <= kKoreanResyncBytes ? 0 : rowStart - kKoreanResyncBytes;
    const std::vector<std::uint8_t> data = ReadWindow(document, scanStart, rowStart + 1);
    for (std::size_t j = 0; j < data.size() && scanStart + j < rowStart;) {
        const bool pair =
            ranges.isLead(data[j]) && j + 1 < data.size() && ranges.isTrail(data[j + 1]);
        const std::size_t step = pair ? 2 : 1;
        if (scanStart + j + step > rowStart) {
            return scanStart + j;
        }
        j += step;
    }
    return rowStart;
}

Cells DecodeKorean(const IReadOnlyDocument& document, std::uint64_t rowStart, std::size_t count,
                   const KoreanRanges& ranges)
{
    const std::uint64_t start = ResynchroniseKorean(document, rowStart, ranges);
    const std::vector<std::uint8_t> window = ReadWindow(document, start, rowStart + count + 1);
    const Bytes bytes(window);
    RowCells cells(rowStart, count);
    for (std::size_t i = 0; i < window.size();) {
        // The ranges only decide the step; what a pair means is the code page's business.
        std::u16string text;
        std::size_t length = 1;
        if (ranges.isLead(window[i]) && i + 1 < window.size() && ranges.isTrail(window[i + 1])) {
            text = platform::DecodeCodePage(ranges.codePage, bytes.subspan(i, 2));
            length = text.empty() ? 1 : 2;
        }
        if (length == 1) {
            text = platform::DecodeCodePage(ranges.codePage, bytes.subspan(i, 1));
        }
        const std::uint64_t position = start + i;
        if (cells.Contains(position)) {
            cells.At(position) = ShownText(text);
        }
        i += length;
    }
    return cells.Take();
}

} // namespace

std::vector<std::u16string> DecodeTextCells(const IReadOnlyDocument* document,
                                            std::uint64_t rowStart,
                                            std::span<const std::uint8_t> rowBytes,
                                            TextEncoding encoding)
{
    static constexpr KoreanRanges kWindows949{platform::CodePage::Windows949, IsWindows949Lead,
                                              IsWindows949Trail};
    static constexpr KoreanRanges kEucKr{platform::CodePage::EucKr, IsEucKrByte, IsEucKrByte};
    const std::size_t count = rowBytes.size();
    switch (encoding) {
    case TextEncoding::Utf16Le: return DecodeUtf16(rowBytes, true);
    case TextEncoding::Utf16Be: return DecodeUtf16(rowBytes, false);
    case TextEncoding::Utf8:
        return document != nullptr ? DecodeUtf8(*document, rowStart, count) : DecodeAscii(rowBytes);
    case TextEncoding::ShiftJis:
        return document != nullptr ? DecodeShiftJis(*document, rowStart, count)
                                   : DecodeAscii(rowBytes);
    case TextEncoding::Windows949:
        return document != nullptr ? DecodeKorean(*document, rowStart, count, kWindows949)
                                   : DecodeAscii(rowBytes);
    case TextEncoding::EucKr:
        return document != nullptr ? DecodeKorean(*document, rowStart, count, kEucKr)
                                   : DecodeAscii(rowBytes);
    case TextEncoding::Ascii: break;
    }
    return DecodeAscii(rowBytes);
}

DecodeReach TextDecodeReach(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:     // 3 bytes either side of the row
    case TextEncoding::ShiftJis: // 1 byte either side
        return {1, 1};
    case TextEncoding::Windows949:
    case TextEncoding::EucKr:
        // A row resynchronises up to 4 KiB back, so one byte can re-pair that far ahead.
        return {1, kKoreanResyncBytes / kBytesPerRow + 1};
    case TextEncoding::Ascii:
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: break;
    }
    return {0, 0};
}

} // namespace orx
