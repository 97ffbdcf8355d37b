#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orx {

// Pattern files are small; anything larger is almost certainly the wrong file, and reading
// it whole would exhaust memory on the UI thread.
inline constexpr std::uint64_t kMaxPatternFileBytes = 16u << 20;

// Character classes of the pattern language. They follow the wide character classes of the
// Windows C runtime, written out so that every platform reads a file the same way.
[[nodiscard]] bool IsPatternSpace(char16_t c);
// Letters start identifiers. Every character outside ASCII that is not white space counts,
// so names may be written in any script.
[[nodiscard]] bool IsPatternLetter(char16_t c);
[[nodiscard]] constexpr bool IsPatternDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The lookup key of a type or struct name: trimmed, lower-cased (ASCII, as the C runtime
// does outside a set locale), runs of white space collapsed to one space.
[[nodiscard]] std::u16string NormalizeName(std::u16string_view name);

// Removes a leading byte order mark and decodes strict UTF-8. Fails with the message shown
// to the user when the bytes are not UTF-8; empty bytes give an empty text.
[[nodiscard]] bool DecodePatternBytes(std::string_view bytes, std::u16string& text,
                                      std::u16string& error);

// Reads and decodes a pattern file.
[[nodiscard]] bool ReadPatternText(const std::u16string& path, std::u16string& text,
                                   std::u16string& error);

} // namespace orx
