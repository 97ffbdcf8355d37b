#include "structview/PatternLexer.h"

#include "platform/Utf.h"
#include "structview/PatternText.h"

namespace orx {
namespace {

constexpr std::u16string_view kPunctuators = u"@{}[];,*()+-/%&|.=:";

bool IsHexDigit(char16_t c)
{
    return IsPatternDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

std::u16string Decimal(std::uint32_t value)
{
    return platform::Widen(std::to_string(value));
}

} // namespace

std::vector<Token> Tokenize(std::u16string_view text, std::u16string& error)
{
    std::vector<Token> tokens;
    std::uint32_t line = 1;
    std::uint32_t column = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto add = [&](TokenKind kind, std::size_t length) {
        tokens.push_back(Token{kind, std::u16string(text.substr(i, length)), line, column});
        i += length;
        column += static_cast<std::uint32_t>(length);
    };
    while (i < n) {
        const char16_t c = text[i];
        if (c == u'\r') {
            ++i;
        } else if (c == u'\n') {
            ++i;
            ++line;
            column = 1;
        } else if (IsPatternSpace(c)) {
            ++i;
            ++column;
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'/') {
            while (i < n && text[i] != u'\n') {
                ++i;
                ++column;
            }
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            const std::size_t close = text.find(u"*/", i + 2);
            if (close == std::u16string_view::npos) {
                error = u"Unterminated block comment.";
                return {};
            }
            for (; i < close + 2; ++i) {
                if (text[i] == u'\n') {
                    ++line;
                    column = 1;
                } else {
                    ++column;
                }
            }
        } else if (IsPatternLetter(c) || c == u'_') {
            std::size_t end = i + 1;
            while (end < n &&
                   (IsPatternLetter(text[end]) || IsPatternDigit(text[end]) || text[end] == u'_')) {
                ++end;
            }
            add(TokenKind::Identifier, end - i);
        } else if (c == u'0' && i + 2 < n && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
                   IsHexDigit(text[i + 2])) {
            std::size_t end = i + 3;
            while (end < n && IsHexDigit(text[end])) {
                ++end;
            }
            add(TokenKind::Number, end - i);
        } else if (IsPatternDigit(c)) {
            std::size_t end = i + 1;
            while (end < n && IsPatternDigit(text[end])) {
                ++end;
            }
            add(TokenKind::Number, end - i);
        } else if (text.substr(i, 3) == u"...") {
            add(TokenKind::Punctuator, 3);
        } else if (c == u'"') {
            const std::size_t close = text.find_first_of(u"\"\n", i + 1);
            if (close == std::u16string_view::npos || text[close] != u'"') {
                error = FormatParseError(text, line, column, u"Unterminated string.");
                return {};
            }
            tokens.push_back(Token{TokenKind::String,
                                   std::u16string(text.substr(i + 1, close - i - 1)), line,
                                   column});
            column += static_cast<std::uint32_t>(close + 1 - i);
            i = close + 1;
        } else if (text.substr(i, 2) == u"<<" || text.substr(i, 2) == u">>" ||
                   text.substr(i, 2) == u"==" || text.substr(i, 2) == u"!=") {
            add(TokenKind::Punctuator, 2);
        } else if (kPunctuators.find(c) != std::u16string_view::npos) {
            add(TokenKind::Punctuator, 1);
        } else {
            error =
                FormatParseError(text, line, column, u"Unexpected character in definition file.");
            return {};
        }
    }
    tokens.push_back(Token{TokenKind::End, {}, line, column});
    return tokens;
}

std::u16string FormatParseError(std::u16string_view source, std::uint32_t line,
                                std::uint32_t column, std::u16string_view message)
{
    std::u16string result = u"Line " + Decimal(line) + u", Col " + Decimal(column) + u": ";
    result += message;
    if (line < 1) {
        return result;
    }
    std::size_t start = 0;
    for (std::uint32_t current = 1; current < line; ++current) {
        const std::size_t feed = source.find(u'\n', start);
        if (feed == std::u16string_view::npos) {
            return result;
        }
        start = feed + 1;
    }
    const std::size_t stop = source.find_first_of(u"\r\n", start);
    const std::u16string_view lineText = source.substr(
        start, stop == std::u16string_view::npos ? std::u16string_view::npos : stop - start);
    if (lineText.empty()) {
        return result;
    }
    result += u"\r\n";
    result += lineText;
    result += u"\r\n";
    result.append(column > 1 ? column - 1 : 0, u' ');
    result += u'^';
    return result;
}

} // namespace orx
