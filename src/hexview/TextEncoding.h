#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

class IReadOnlyDocument;

// The text column's encoding, stored as a 32-bit value in the settings file. A value outside
// the enumeration behaves as Ascii everywhere (decoding, names, search).
enum class TextEncoding : std::uint32_t {
    Ascii = 0,
    Utf8 = 1,
    Utf16Le = 2,
    Utf16Be = 3,
    ShiftJis = 4,
    Windows949 = 5,
    EucKr = 6,
};

// The name shown in the status bar: "ASCII", "UTF-8", "UTF-16 LE", "UTF-16 BE", "Shift_JIS",
// "Windows-949", "EUC-KR"; unknown values are named "ASCII".
std::u16string TextEncodingName(TextEncoding encoding);

// Maps an encoding name as the settings file spells it (letters and digits only, any case):
// ascii, utf8, utf16le, utf16be, cp932/windows31j/shiftjis/sjis, cp949/windows949/windows31k,
// euckr. Nothing for any other name.
std::optional<TextEncoding> TextEncodingFromName(std::u16string_view name);

// One cell string per byte of `rowBytes` (at most 16 bytes read at `rowStart`): "" when the
// byte continues a character drawn in an earlier cell, "." when it shows nothing, else the
// character(s). The multi-byte decoders read `document` around the row so that a character
// crossing a row boundary is drawn once, in the cell of its first byte; without a document
// they fall back to the Ascii rule.
std::vector<std::u16string> DecodeTextCells(const IReadOnlyDocument* document,
                                            std::uint64_t rowStart,
                                            std::span<const std::uint8_t> rowBytes,
                                            TextEncoding encoding);

// How many rows before and after the row of a changed byte may decode differently: the
// multi-byte decoders read across row boundaries.
struct DecodeReach {
    std::uint64_t rowsBefore = 0;
    std::uint64_t rowsAfter = 0;
};
[[nodiscard]] DecodeReach TextDecodeReach(TextEncoding encoding);

// Combining marks the text column joins to the preceding character (plus U+200D).
bool IsCombiningMark(char32_t codePoint);

} // namespace orx
