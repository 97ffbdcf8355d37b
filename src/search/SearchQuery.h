#pragma once

#include "hexview/TextEncoding.h"
#include "inspector/ValueCodec.h"
#include "localization/StringLookup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// The byte orders a search by value can look for; Either finds both encodings.
enum class ValueByteOrder : std::uint32_t {
    Little = 0,
    Big = 1,
    Either = 2,
};

// "little", "big" and "either": the command line's and the history's names.
[[nodiscard]] std::u16string_view ValueByteOrderName(ValueByteOrder order);
[[nodiscard]] std::optional<ValueByteOrder> ValueByteOrderFromName(std::u16string_view name);

// What the search dialog hands over: a hex query, a value, or (any other kind) a text query.
struct SearchDialogResult {
    std::uint32_t kind = 0;
    std::u16string query;
    bool ignoreCase = false;                           // text queries only; ignored for hex
    ValueType valueType = ValueType::Int8;             // value queries only
    ValueByteOrder byteOrder = ValueByteOrder::Little; // value queries only
};

inline constexpr std::uint32_t kSearchKindHex = 0;
inline constexpr std::uint32_t kSearchKindText = 1;
inline constexpr std::uint32_t kSearchKindValue = 2;

// A query may produce at most this many bytes.
inline constexpr std::size_t kMaxSearchPatternBytes = 4096;

// Names of the two kinds in the search history.
inline constexpr std::u16string_view kSearchHistoryHex = u"hex";
inline constexpr std::u16string_view kSearchHistoryText = u"text";
// A search by value is kept with its type and byte order in the kind: "value:u32:either".
[[nodiscard]] std::u16string SearchHistoryValueKind(ValueType type, ValueByteOrder order);
// The type and byte order of such a kind; nothing for any other.
[[nodiscard]] std::optional<SearchDialogResult>
ParseSearchHistoryValueKind(std::u16string_view kind);

// The text without leading and trailing spaces, tabs, carriage returns and line feeds.
std::u16string TrimQuery(std::u16string_view text);

// Hexadecimal byte pairs, white space anywhere ignored ("DE AD be ef"); nothing when no digit
// is left, the count is odd, or a pair is not two hexadecimal digits.
std::optional<std::vector<std::uint8_t>> ParseHexQuery(std::u16string_view text);

// Bytes and, per byte, the bits that must match (0xFF: all); an empty mask means all bits of
// all bytes.
struct MaskedBytes {
    std::vector<std::uint8_t> bytes; // bits outside the mask are zero
    std::vector<std::uint8_t> mask;
};

// As ParseHexQuery, and a "?" in place of a digit matches any nibble: "4D 5A ?? 00", "A?",
// "?F".
std::optional<MaskedBytes> ParseWildcardHexQuery(std::u16string_view text);

// The mask that makes the bytes of `text` in `encoding` match regardless of case, or an empty
// one when no character of it folds. See the definition for how far folding goes.
std::vector<std::uint8_t> CaseFoldMask(std::u16string_view text, TextEncoding encoding);

// The bytes of `text` in the encoding (a TextEncoding value); nothing for an empty text, a
// character the encoding cannot represent exactly, or an unknown encoding.
std::optional<std::vector<std::uint8_t>> EncodeTextQuery(std::u16string_view text,
                                                         TextEncoding encoding);

// A query converted for the scanners, or the string-table key of the reason it was refused.
struct SearchPattern {
    std::vector<std::uint8_t> bytes; // bits outside `mask` are zero
    std::vector<std::uint8_t> mask;  // per byte the bits that must match; empty: all of them
    std::string errorKey;            // empty when the bytes are usable
    // A second pattern of the same size that matches as well (a value in the other byte
    // order); empty when there is none, also when both orders give the same bytes.
    std::vector<std::uint8_t> alternative{};

    // Bytes in one match.
    [[nodiscard]] std::size_t Size() const { return bytes.size(); }
};

// Trims, converts (text queries with `encoding`, folded when asked; hex queries with their
// wildcards; values in their byte order or both) and applies the size limit, as a search
// request does before it scans.
SearchPattern BuildSearchPattern(const SearchDialogResult& request, TextEncoding encoding);

// Why BuildSearchPattern refused the request, in the user's language: a value's message
// names its type and range.
[[nodiscard]] std::u16string SearchErrorText(const SearchPattern& pattern,
                                             const SearchDialogResult& request,
                                             const StringLookup& text);

} // namespace orx
