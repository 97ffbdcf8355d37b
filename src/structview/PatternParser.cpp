#include "structview/PatternParser.h"

#include "structview/PatternText.h"

#include <optional>
#include <span>

namespace orx {
namespace {

std::optional<std::uint64_t> ParseUnsigned(std::u16string_view digits)
{
    std::uint64_t value = 0;
    for (char16_t c : digits) {
        const auto d = static_cast<std::uint64_t>(c - u'0');
        if (value > (UINT64_MAX - d) / 10) {
            return std::nullopt;
        }
        value = value * 10 + d;
    }
    return value;
}

bool IsPunctuator(const Token& token, char16_t c)
{
    return token.kind == TokenKind::Punctuator && token.text.size() == 1 && token.text[0] == c;
}

bool IsKeyword(const Token& token, std::u16string_view keyword)
{
    return token.kind == TokenKind::Identifier && NormalizeName(token.text) == keyword;
}

struct DirectiveRule {
    std::u16string_view name;
    std::uint64_t PatternDirectives::*field;
    std::initializer_list<std::uint64_t> allowed;
};

const DirectiveRule kDirectives[] = {
    {u"sizeof_short", &PatternDirectives::sizeof_short, {1, 2, 4, 8}},
    {u"sizeof_int", &PatternDirectives::sizeof_int, {1, 2, 4, 8}},
    {u"sizeof_long", &PatternDirectives::sizeof_long, {1, 2, 4, 8}},
    {u"sizeof_long_long", &PatternDirectives::sizeof_long_long, {1, 2, 4, 8, 16}},
    {u"sizeof_float", &PatternDirectives::sizeof_float, {2, 4, 8, 16}},
    {u"sizeof_double", &PatternDirectives::sizeof_double, {4, 8, 16}},
    {u"pointer_size", &PatternDirectives::pointer_size, {1, 2, 4, 8, 16}},
    {u"member_align", &PatternDirectives::member_align, {0, 4, 8}},
};

// One declarator: "type words and stars, name, optional [count] or []". Returns the
// message of the first rule it breaks, or an empty text.
std::u16string ParseDeclaration(std::span<const Token> tokens, MemberDecl& decl)
{
    if (tokens.empty()) {
        return u"Empty declaration.";
    }
    for (const Token& token : tokens) {
        if (IsPunctuator(token, u',')) {
            return u"Multiple declarators are not supported in v1.";
        }
    }
    std::size_t name = tokens.size();
    for (std::size_t i = tokens.size(); i-- > 0;) {
        if (tokens[i].kind == TokenKind::Identifier) {
            name = i;
            break;
        }
    }
    if (name == tokens.size()) {
        return u"Declaration name was not found.";
    }
    decl.name = tokens[name].text;
    decl.count = 1;
    decl.flexible = false;

    const std::span<const Token> rest = tokens.subspan(name + 1);
    if (!rest.empty()) {
        if (!IsPunctuator(rest[0], u'[')) {
            return u"Unexpected tokens after declaration name.";
        }
        if (rest.size() >= 2 && IsPunctuator(rest[1], u']')) {
            if (rest.size() > 2) {
                return u"Unexpected tokens after flexible array declaration.";
            }
            decl.flexible = true;
            decl.count = 0;
        } else if (rest.size() >= 3 && rest[1].kind == TokenKind::Number &&
                   IsPunctuator(rest[2], u']')) {
            const std::optional<std::uint64_t> count = ParseUnsigned(rest[1].text);
            if (!count) {
                return u"Invalid array count.";
            }
            if (rest.size() > 3) {
                return u"Unexpected tokens after array declaration.";
            }
            decl.count = *count;
        } else {
            return u"Invalid array declaration.";
        }
    }

    std::u16string typeName;
    std::uint32_t pointerDepth = 0;
    for (const Token& token : tokens.first(name)) {
        if (IsPunctuator(token, u'*')) {
            ++pointerDepth;
        } else if (token.kind == TokenKind::Identifier) {
            if (!typeName.empty()) {
                typeName += u' ';
            }
            typeName += token.text;
        } else {
            return u"Unsupported declaration syntax.";
        }
    }
    if (typeName.empty()) {
        return u"Type specifier was not found.";
    }
    decl.type.key = NormalizeName(typeName);
    decl.type.typeName = std::move(typeName);
    decl.type.pointerDepth = pointerDepth;
    return {};
}

class Parser {
public:
    explicit Parser(ParseState& state) : state_(state) {}

    bool ParseTopLevel()
    {
        while (Current().kind != TokenKind::End) {
            bool ok = false;
            if (IsPunctuator(Current(), u'@')) {
                ok = ParseDirective();
            } else if (IsKeyword(Current(), u"typedef")) {
                ok = ParseTypedef();
            } else if (IsKeyword(Current(), u"struct")) {
                ok = ParseStruct(false);
            } else {
                ok = Fail(Current(), u"Unsupported top-level declaration.");
            }
            if (!ok) {
                return false;
            }
        }
        return true;
    }

private:
    const Token& Current() const { return state_.tokens[state_.position]; }
    const Token& TokenAt(std::size_t index) const { return state_.tokens[index]; }

    void Advance()
    {
        if (state_.position + 1 < state_.tokens.size()) {
            ++state_.position;
        }
    }

    bool Fail(const Token& at, std::u16string_view message)
    {
        state_.error = FormatParseError(state_.source, at.line, at.column, message);
        return false;
    }

    bool FailBare(std::u16string message)
    {
        state_.error = std::move(message);
        return false;
    }

    bool ParseDirective()
    {
        const std::size_t at = state_.position;
        Advance();
        if (Current().kind != TokenKind::Identifier) {
            return Fail(TokenAt(at), u"Expected directive name.");
        }
        const std::u16string name = NormalizeName(Current().text);
        Advance();
        if (name == u"entry") {
            std::u16string entry;
            if (IsKeyword(Current(), u"struct")) {
                Advance();
                if (Current().kind != TokenKind::Identifier) {
                    return Fail(Current(), u"Expected struct name after @entry struct.");
                }
                entry = u"struct " + Current().text;
            } else {
                if (Current().kind != TokenKind::Identifier) {
                    return Fail(Current(), u"Expected type name after @entry.");
                }
                entry = Current().text;
            }
            Advance();
            state_.hasEntry = true;
            state_.entryName = std::move(entry);
            return true;
        }
        if (Current().kind != TokenKind::Number) {
            return Fail(Current(), u"Expected numeric directive value.");
        }
        const std::optional<std::uint64_t> value = ParseUnsigned(Current().text);
        if (!value) {
            return Fail(Current(), u"Invalid directive number.");
        }
        Advance();
        for (const DirectiveRule& rule : kDirectives) {
            if (rule.name != name) {
                continue;
            }
            for (std::uint64_t allowed : rule.allowed) {
                if (allowed == *value) {
                    state_.*rule.field = *value;
                    return true;
                }
            }
            return Fail(TokenAt(at), u"Directive value is not allowed.");
        }
        return Fail(TokenAt(at), u"Unknown directive.");
    }

    bool ParseStruct(bool inTypedef)
    {
        const std::size_t structToken = state_.position;
        Advance();
        std::u16string tag;
        if (Current().kind == TokenKind::Identifier) {
            tag = Current().text;
            Advance();
        }
        if (IsPunctuator(Current(), u'{')) {
            Advance();
            StructDecl decl;
            decl.tag = std::move(tag);
            if (!ParseBody(decl.members)) {
                return false;
            }
            if (Current().kind == TokenKind::Identifier) {
                decl.alias = Current().text;
                Advance();
            }
            if (!IsPunctuator(Current(), u';')) {
                return Fail(Current(), u"Expected ';' after struct declaration.");
            }
            Advance();
            const std::size_t index = state_.structs.size();
            state_.structs.push_back(std::move(decl));
            const StructDecl& added = state_.structs.back();
            // `typedef struct X {...} X;` names one struct twice; that is no clash.
            const bool aliasRepeatsTag = NormalizeName(added.alias) == NormalizeName(added.tag);
            return RegisterStructName(added.tag, index) &&
                   (aliasRepeatsTag || RegisterStructName(added.alias, index));
        }
        if (inTypedef && !tag.empty()) {
            if (Current().kind != TokenKind::Identifier) {
                return Fail(Current(), u"Expected typedef alias name.");
            }
            const std::u16string alias = Current().text;
            Advance();
            if (!IsPunctuator(Current(), u';')) {
                return Fail(Current(), u"Expected ';' after typedef.");
            }
            Advance();
            TypeRef type;
            type.typeName = u"struct " + tag;
            type.key = NormalizeName(type.typeName);
            return RegisterTypedef(alias, std::move(type));
        }
        return Fail(TokenAt(structToken), u"Unsupported struct declaration.");
    }

    // Tokens from the current one up to, not including, the next ';' or the end.
    std::size_t CollectToSemicolon()
    {
        const std::size_t begin = state_.position;
        while (Current().kind != TokenKind::End && !IsPunctuator(Current(), u';')) {
            Advance();
        }
        return begin;
    }

    std::span<const Token> Collected(std::size_t begin) const
    {
        return std::span<const Token>(state_.tokens).subspan(begin, state_.position - begin);
    }

    bool ParseBody(std::vector<MemberDecl>& members)
    {
        const std::u16string unclosed = u"Expected '}' to close struct body.";
        if (Current().kind == TokenKind::End) {
            return FailBare(unclosed);
        }
        while (!IsPunctuator(Current(), u'}')) {
            const std::size_t begin = state_.position;
            while (Current().kind != TokenKind::End && !IsPunctuator(Current(), u';')) {
                if (IsPunctuator(Current(), u'{')) {
                    return Fail(Current(), u"Inline nested struct declarations are not supported.");
                }
                Advance();
            }
            if (!IsPunctuator(Current(), u';')) {
                return Fail(Current(), u"Expected ';' after member declaration.");
            }
            const std::span<const Token> tokens = Collected(begin);
            Advance();
            MemberDecl member;
            const Token& first = tokens.empty() ? Current() : tokens.front();
            member.line = first.line;
            member.column = first.column;
            const std::u16string message = ParseDeclaration(tokens, member);
            if (!message.empty()) {
                return Fail(first, message);
            }
            members.push_back(std::move(member));
            if (Current().kind == TokenKind::End) {
                return FailBare(unclosed);
            }
        }
        Advance();
        return true;
    }

    bool ParseTypedef()
    {
        const Token& typedefToken = Current();
        Advance();
        if (IsKeyword(Current(), u"struct")) {
            return ParseStruct(true);
        }
        const std::size_t begin = CollectToSemicolon();
        if (!IsPunctuator(Current(), u';')) {
            return Fail(Current(), u"Expected ';' after typedef declaration.");
        }
        const std::span<const Token> tokens = Collected(begin);
        Advance();
        MemberDecl decl;
        const std::u16string message = ParseDeclaration(tokens, decl);
        if (!message.empty()) {
            return Fail(tokens.empty() ? typedefToken : tokens.front(), message);
        }
        if (decl.count != 1 || decl.flexible) {
            return Fail(typedefToken, u"Typedef arrays are not supported.");
        }
        return RegisterTypedef(decl.name, std::move(decl.type));
    }

    bool RegisterStructName(const std::u16string& name, std::size_t index)
    {
        if (name.empty()) {
            return true;
        }
        std::u16string key = NormalizeName(name);
        if (state_.structIndexByName.contains(key)) {
            return FailBare(u"Duplicate struct type name: " + name);
        }
        const bool hasPrefix = key.starts_with(u"struct ");
        state_.structIndexByName.emplace(std::move(key), index);
        if (!hasPrefix) {
            state_.structIndexByName.emplace(NormalizeName(u"struct " + name), index);
        }
        return true;
    }

    bool RegisterTypedef(const std::u16string& name, TypeRef type)
    {
        if (name.empty()) {
            return true;
        }
        if (!state_.typedefs.emplace(NormalizeName(name), std::move(type)).second) {
            return FailBare(u"Duplicate typedef name: " + name);
        }
        return true;
    }

    ParseState& state_;
};

} // namespace

bool ParsePattern(std::u16string_view text, ParseState& state)
{
    state = ParseState{};
    state.source = std::u16string(text);
    state.tokens = Tokenize(state.source, state.error);
    if (state.tokens.empty()) {
        return false;
    }
    return Parser(state).ParseTopLevel();
}

} // namespace orx
