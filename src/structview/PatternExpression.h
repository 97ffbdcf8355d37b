#pragma once

#include "structview/PatternLexer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orx {

// An integer expression of a pattern: an array count or a placement. Numbers, member paths
// ("count", "header.count") and the binary operators + - * / % & | << >> == != with C
// precedence (== and != give 1 or 0).
struct ExpressionNode {
    enum class Kind : std::uint8_t { Number, Path, Binary };
    Kind kind = Kind::Number;
    std::u16string op; // Binary: the operator token
    std::uint64_t value = 0;
    std::vector<std::u16string> path; // Path: the dotted names
    std::uint32_t left = 0;           // Binary: node indices
    std::uint32_t right = 0;
    std::uint32_t line = 1;
    std::uint32_t column = 1;
};

struct Expression {
    std::vector<ExpressionNode> nodes; // the root is last
    std::u16string text;               // as written, tokens joined by spaces
    [[nodiscard]] bool HasPaths() const;
};

// Expressions longer than this are refused: evaluation recurses once per node.
inline constexpr std::size_t kMaxExpressionNodes = 255;

// Parses all of `tokens` as one expression. On failure returns nothing and sets `error`
// and the token it names.
[[nodiscard]] std::optional<Expression>
ParseExpression(std::span<const Token> tokens, std::u16string& error, const Token*& errorAt);

// A decimal or 0x hexadecimal number token's value; nothing when it does not fit 64 bits.
[[nodiscard]] std::optional<std::uint64_t> ParsePatternNumber(std::u16string_view text);

// What a member path yields: a value, or the reason it has none.
struct ExpressionValue {
    std::uint64_t value = 0;
    std::u16string error; // empty when the value is good
};

// Looks member paths up for an evaluation.
class ExpressionScope {
public:
    virtual ~ExpressionScope() = default;
    [[nodiscard]] virtual ExpressionValue Lookup(const std::vector<std::u16string>& path) const = 0;
};

// Evaluates over unsigned 64-bit values: a result below zero, one past 64 bits or a division
// by zero is an error, as is any member the scope cannot read.
[[nodiscard]] ExpressionValue Evaluate(const Expression& expression, const ExpressionScope& scope);

// `data_size`, when no member of that name was read: the bytes from the entry struct's start
// to the end of the file.
[[nodiscard]] inline bool NamesDataSize(const std::vector<std::u16string>& path)
{
    return path.size() == 1 && path[0] == u"data_size";
}

// "a.b.c"
[[nodiscard]] std::u16string JoinPath(const std::vector<std::u16string>& path);

} // namespace orx
