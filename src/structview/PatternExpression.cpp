#include "structview/PatternExpression.h"

#include <array>

namespace orx {
namespace {

constexpr std::size_t kMaxParenthesisDepth = 64;

// Binary operators from the loosest binding to the tightest.
constexpr std::array<std::array<std::u16string_view, 3>, 6> kLevels = {{
    {u"|"},
    {u"&"},
    {u"==", u"!="},
    {u"<<", u">>"},
    {u"+", u"-"},
    {u"*", u"/", u"%"},
}};

bool IsPunct(const Token& token, std::u16string_view text)
{
    return token.kind == TokenKind::Punctuator && token.text == text;
}

class ExpressionParser {
public:
    ExpressionParser(std::span<const Token> tokens, std::u16string& error, const Token*& errorAt)
        : tokens_(tokens), error_(error), errorAt_(errorAt)
    {}

    std::optional<Expression> Parse()
    {
        if (tokens_.empty()) {
            return Fail(nullptr, u"Expected a number or a member name.");
        }
        if (!ParseLevel(0)) {
            return std::nullopt;
        }
        if (position_ != tokens_.size()) {
            return Fail(&tokens_[position_], u"Expected an operator.");
        }
        for (const Token& token : tokens_) {
            if (!expression_.text.empty() && token.text != u"." &&
                !expression_.text.ends_with(u'.')) {
                expression_.text += u' ';
            }
            expression_.text += token.text;
        }
        return std::move(expression_);
    }

private:
    std::nullopt_t Fail(const Token* at, std::u16string_view message)
    {
        error_ = message;
        errorAt_ = at ? at : (tokens_.empty() ? nullptr : &tokens_.back());
        return std::nullopt;
    }

    const Token* Current() const
    {
        return position_ < tokens_.size() ? &tokens_[position_] : nullptr;
    }

    std::optional<std::u16string_view> OperatorAt(std::size_t level) const
    {
        const Token* token = Current();
        if (!token || token->kind != TokenKind::Punctuator) {
            return std::nullopt;
        }
        for (std::u16string_view op : kLevels[level]) {
            if (!op.empty() && token->text == op) {
                return op;
            }
        }
        return std::nullopt;
    }

    bool Add(ExpressionNode node)
    {
        if (expression_.nodes.size() == kMaxExpressionNodes) {
            Fail(Current(), u"Expression is too long.");
            return false;
        }
        expression_.nodes.push_back(std::move(node));
        return true;
    }

    bool ParseLevel(std::size_t level)
    {
        if (level == kLevels.size()) {
            return ParsePrimary();
        }
        if (!ParseLevel(level + 1)) {
            return false;
        }
        while (const std::optional<std::u16string_view> op = OperatorAt(level)) {
            const Token& at = *Current();
            const auto left = static_cast<std::uint32_t>(expression_.nodes.size() - 1);
            ++position_;
            if (!ParseLevel(level + 1)) {
                return false;
            }
            ExpressionNode node;
            node.kind = ExpressionNode::Kind::Binary;
            node.op = std::u16string(*op);
            node.left = left;
            node.right = static_cast<std::uint32_t>(expression_.nodes.size() - 1);
            node.line = at.line;
            node.column = at.column;
            if (!Add(std::move(node))) {
                return false;
            }
        }
        return true;
    }

    bool ParsePrimary()
    {
        const Token* token = Current();
        if (!token) {
            Fail(nullptr, u"Expected a number or a member name.");
            return false;
        }
        if (IsPunct(*token, u"(")) {
            if (++depth_ > kMaxParenthesisDepth) {
                Fail(token, u"Parentheses are nested too deeply.");
                return false;
            }
            ++position_;
            if (!ParseLevel(0)) {
                return false;
            }
            if (!Current() || !IsPunct(*Current(), u")")) {
                Fail(Current() ? Current() : token, u"Expected ')'.");
                return false;
            }
            ++position_;
            --depth_;
            return true;
        }
        ExpressionNode node;
        node.line = token->line;
        node.column = token->column;
        if (token->kind == TokenKind::Number) {
            const std::optional<std::uint64_t> value = ParsePatternNumber(token->text);
            if (!value) {
                Fail(token, u"Number does not fit in 64 bits.");
                return false;
            }
            node.value = *value;
            ++position_;
            return Add(std::move(node));
        }
        if (token->kind != TokenKind::Identifier) {
            Fail(token, u"Expected a number or a member name.");
            return false;
        }
        node.kind = ExpressionNode::Kind::Path;
        node.path.push_back(token->text);
        ++position_;
        while (Current() && IsPunct(*Current(), u".")) {
            ++position_;
            if (!Current() || Current()->kind != TokenKind::Identifier) {
                Fail(Current() ? Current() : &tokens_.back(), u"Expected a member name after '.'.");
                return false;
            }
            node.path.push_back(Current()->text);
            ++position_;
        }
        return Add(std::move(node));
    }

    std::span<const Token> tokens_;
    std::u16string& error_;
    const Token*& errorAt_;
    std::size_t position_ = 0;
    std::size_t depth_ = 0;
    Expression expression_;
};

ExpressionValue Value(std::uint64_t value)
{
    return ExpressionValue{value, {}};
}

ExpressionValue Failure(std::u16string message)
{
    return ExpressionValue{0, std::move(message)};
}

ExpressionValue Apply(std::u16string_view op, std::uint64_t a, std::uint64_t b)
{
    constexpr std::uint64_t kMax = UINT64_MAX;
    if (op == u"+") {
        return a > kMax - b ? Failure(u"Value does not fit in 64 bits.") : Value(a + b);
    }
    if (op == u"-") {
        return a < b ? Failure(u"Value is negative.") : Value(a - b);
    }
    if (op == u"*") {
        return b != 0 && a > kMax / b ? Failure(u"Value does not fit in 64 bits.") : Value(a * b);
    }
    if (op == u"/" || op == u"%") {
        if (b == 0) {
            return Failure(u"Division by zero.");
        }
        return Value(op == u"/" ? a / b : a % b);
    }
    if (op == u"==" || op == u"!=") {
        return Value((a == b) == (op == u"==") ? 1 : 0);
    }
    if (op == u"&") {
        return Value(a & b);
    }
    if (op == u"|") {
        return Value(a | b);
    }
    if (op == u">>") {
        return Value(b >= 64 ? 0 : a >> b);
    }
    // "<<": bits shifted out are an overflow, like any other result past 64 bits.
    if (a != 0 && (b >= 64 || a > kMax >> b)) {
        return Failure(u"Value does not fit in 64 bits.");
    }
    return Value(a == 0 ? 0 : a << b);
}

ExpressionValue EvaluateNode(const Expression& expression, std::uint32_t index,
                             const ExpressionScope& scope)
{
    const ExpressionNode& node = expression.nodes[index];
    switch (node.kind) {
    case ExpressionNode::Kind::Number: return Value(node.value);
    case ExpressionNode::Kind::Path: return scope.Lookup(node.path);
    case ExpressionNode::Kind::Binary: break;
    }
    ExpressionValue left = EvaluateNode(expression, node.left, scope);
    if (!left.error.empty()) {
        return left;
    }
    ExpressionValue right = EvaluateNode(expression, node.right, scope);
    if (!right.error.empty()) {
        return right;
    }
    return Apply(node.op, left.value, right.value);
}

} // namespace

bool Expression::HasPaths() const
{
    for (const ExpressionNode& node : nodes) {
        if (node.kind == ExpressionNode::Kind::Path) {
            return true;
        }
    }
    return false;
}

std::optional<Expression> ParseExpression(std::span<const Token> tokens, std::u16string& error,
                                          const Token*& errorAt)
{
    return ExpressionParser(tokens, error, errorAt).Parse();
}

std::optional<std::uint64_t> ParsePatternNumber(std::u16string_view text)
{
    const bool hex = text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
    const std::uint64_t base = hex ? 16 : 10;
    std::uint64_t value = 0;
    for (char16_t c : text.substr(hex ? 2 : 0)) {
        std::uint64_t digit = 0;
        if (c >= u'0' && c <= u'9') {
            digit = static_cast<std::uint64_t>(c - u'0');
        } else if (hex && c >= u'a' && c <= u'f') {
            digit = static_cast<std::uint64_t>(c - u'a' + 10);
        } else if (hex && c >= u'A' && c <= u'F') {
            digit = static_cast<std::uint64_t>(c - u'A' + 10);
        } else {
            return std::nullopt;
        }
        if (value > (UINT64_MAX - digit) / base) {
            return std::nullopt;
        }
        value = value * base + digit;
    }
    return value;
}

ExpressionValue Evaluate(const Expression& expression, const ExpressionScope& scope)
{
    if (expression.nodes.empty()) {
        return Failure(u"Empty expression.");
    }
    return EvaluateNode(expression, static_cast<std::uint32_t>(expression.nodes.size() - 1), scope);
}

std::u16string JoinPath(const std::vector<std::u16string>& path)
{
    std::u16string text;
    for (const std::u16string& name : path) {
        if (!text.empty()) {
            text += u'.';
        }
        text += name;
    }
    return text;
}

} // namespace orx
