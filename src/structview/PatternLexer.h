#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

enum class TokenKind : std::uint32_t {
    Identifier = 0,
    Number = 1,
    Punctuator = 2,
    End = 3,
    String = 4, // "text" on one line; the token's text is what the quotes hold
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::u16string text;
    std::uint32_t line = 1;   // 1-based
    std::uint32_t column = 1; // 1-based, in UTF-16 units; a tab counts as one
};

// Splits a pattern text into tokens that always end with exactly one End token. On failure
// returns an empty list and sets `error` (with position where the message has one).
[[nodiscard]] std::vector<Token> Tokenize(std::u16string_view text, std::u16string& error);

// "Line L, Col C: message", followed by the quoted source line and a caret under the
// column when that line exists and is not empty.
[[nodiscard]] std::u16string FormatParseError(std::u16string_view source, std::uint32_t line,
                                              std::uint32_t column, std::u16string_view message);

} // namespace orx
