#include "structview/PatternParser.h"

#include "structview/PatternText.h"

#include <optional>
#include <span>

namespace orx {
namespace {

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

// The scope of a constant expression, which names no member.
class NoMembers final : public ExpressionScope {
public:
    ExpressionValue Lookup(const std::vector<std::u16string>& path) const override
    {
        return ExpressionValue{0, u"Unknown member: " + JoinPath(path)};
    }
};

struct DeclarationError {
    std::u16string message;    // empty: no error
    const Token* at = nullptr; // null: the declaration's first token
};

DeclarationError ExpressionError(std::span<const Token> tokens, std::u16string_view what,
                                 std::optional<Expression>& out)
{
    std::u16string message;
    const Token* at = nullptr;
    out = ParseExpression(tokens, message, at);
    if (out) {
        return {};
    }
    return DeclarationError{std::u16string(what) + message, at};
}

// What follows the name: "[count]", "[]", "[...]", and then "at offset", or "at offset" alone.
DeclarationError ParseSuffix(std::span<const Token> rest, MemberDecl& decl)
{
    if (rest.empty()) {
        return {};
    }
    std::span<const Token> placement;
    if (IsKeyword(rest[0], u"at")) {
        placement = rest.subspan(1);
    } else if (!IsPunctuator(rest[0], u'[')) {
        return {u"Unexpected tokens after declaration name."};
    } else {
        std::size_t close = 1;
        while (close < rest.size() && !IsPunctuator(rest[close], u']')) {
            ++close;
        }
        if (close == rest.size()) {
            return {u"Invalid array declaration."};
        }
        const std::span<const Token> count = rest.subspan(1, close - 1);
        const std::span<const Token> after = rest.subspan(close + 1);
        if (!after.empty() && !(IsKeyword(after[0], u"at") && after.size() > 1)) {
            return {count.empty() ? u"Unexpected tokens after flexible array declaration."
                                  : u"Unexpected tokens after array declaration."};
        }
        placement = after.empty() ? after : after.subspan(1);
        if (count.empty()) {
            decl.flexible = true;
            decl.count = 0;
        } else if (count.size() == 1 && count[0].kind == TokenKind::Number) {
            const std::optional<std::uint64_t> value = ParsePatternNumber(count[0].text);
            if (!value) {
                return {u"Invalid array count."};
            }
            decl.count = *value;
        } else if (!count.empty() && count[0].kind == TokenKind::Punctuator &&
                   count[0].text == u"...") {
            decl.repeat = true;
            decl.count = 0;
            if (count.size() > 1) {
                if (!IsKeyword(count[1], u"until")) {
                    return {u"Expected until or ']' after '...'.", &count[1]};
                }
                std::optional<Expression> expression;
                DeclarationError error =
                    ExpressionError(count.subspan(2), u"Invalid repetition end: ", expression);
                if (!error.message.empty()) {
                    return error.at ? error : DeclarationError{error.message, &count[1]};
                }
                decl.until = std::make_shared<const Expression>(std::move(*expression));
            }
        } else {
            std::optional<Expression> expression;
            DeclarationError error = ExpressionError(count, u"Invalid array count: ", expression);
            if (!error.message.empty()) {
                return error;
            }
            if (expression->HasPaths()) {
                decl.countExpression = std::make_shared<const Expression>(std::move(*expression));
            } else {
                const ExpressionValue value = Evaluate(*expression, NoMembers());
                if (!value.error.empty()) {
                    return {u"Invalid array count: " + value.error, &count[0]};
                }
                decl.count = value.value;
            }
        }
    }
    if (!placement.empty()) {
        std::optional<Expression> expression;
        DeclarationError error = ExpressionError(placement, u"Invalid placement: ", expression);
        if (!error.message.empty()) {
            return error;
        }
        decl.placement = std::make_shared<const Expression>(std::move(*expression));
    }
    return {};
}

// Where the declarator's name is: before the first '[', before an "at" that has a type and
// a name before it and an offset after it, or else the last identifier.
std::size_t FindName(std::span<const Token> tokens)
{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (IsPunctuator(tokens[i], u'[')) {
            return i > 0 && tokens[i - 1].kind == TokenKind::Identifier ? i - 1 : tokens.size();
        }
        if (i >= 2 && i + 1 < tokens.size() && IsKeyword(tokens[i], u"at") &&
            tokens[i - 1].kind == TokenKind::Identifier) {
            return i - 1;
        }
    }
    for (std::size_t i = tokens.size(); i-- > 0;) {
        if (tokens[i].kind == TokenKind::Identifier) {
            return i;
        }
    }
    return tokens.size();
}

// "@big" or "@little" before a declaration.
std::optional<PatternEndian> EndianWord(const Token& token)
{
    if (IsKeyword(token, u"big")) {
        return PatternEndian::Big;
    }
    if (IsKeyword(token, u"little")) {
        return PatternEndian::Little;
    }
    return std::nullopt;
}

// One declarator: "[@big|@little] type words and stars, name, optional [count], [] or [...],
// optional at offset". Returns the first rule it breaks.
DeclarationError ParseDeclaration(std::span<const Token> tokens, MemberDecl& decl)
{
    if (tokens.empty()) {
        return {u"Empty declaration."};
    }
    for (const Token& token : tokens) {
        if (IsPunctuator(token, u',')) {
            return {u"Multiple declarators are not supported in v1."};
        }
    }
    if (IsPunctuator(tokens[0], u'@') && tokens.size() > 1) {
        const std::optional<PatternEndian> endian = EndianWord(tokens[1]);
        if (!endian) {
            return {u"Expected @big or @little before a member.", &tokens[1]};
        }
        decl.endian = *endian;
        tokens = tokens.subspan(2);
        if (tokens.empty()) {
            return {u"Declaration name was not found."};
        }
    }
    const std::size_t name = FindName(tokens);
    if (name == tokens.size()) {
        return {u"Declaration name was not found."};
    }
    decl.name = tokens[name].text;
    decl.count = 1;
    decl.flexible = false;
    DeclarationError suffix = ParseSuffix(tokens.subspan(name + 1), decl);
    if (!suffix.message.empty()) {
        return suffix;
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
            return {u"Unsupported declaration syntax."};
        }
    }
    if (typeName.empty()) {
        return {u"Type specifier was not found."};
    }
    decl.type.key = NormalizeName(typeName);
    decl.type.typeName = std::move(typeName);
    decl.type.pointerDepth = pointerDepth;
    return {};
}

bool UsesExtensions(const MemberDecl& decl)
{
    return decl.repeat || decl.countExpression || decl.placement || decl.until ||
           decl.endian != PatternEndian::Inherit;
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
            } else if (IsKeyword(Current(), u"enum")) {
                ok = ParseEnum();
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
        if (name == u"endian") {
            const std::optional<PatternEndian> endian = EndianWord(Current());
            if (!endian) {
                return Fail(Current(), u"Expected big or little after @endian.");
            }
            Advance();
            state_.endian = *endian;
            state_.extended = true;
            return true;
        }
        if (name == u"title") {
            if (Current().kind != TokenKind::String || Current().text.empty()) {
                return Fail(Current(), u"Expected a quoted title after @title.");
            }
            state_.title = Current().text;
            Advance();
            return true;
        }
        if (name == u"category") {
            for (const char16_t* category : kPatternCategories) {
                if (Current().kind == TokenKind::Identifier &&
                    NormalizeName(Current().text) == category) {
                    state_.category = category;
                    Advance();
                    return true;
                }
            }
            return Fail(Current(), u"Expected a category after @category: executables, images, "
                                   u"media, archives, disks or data.");
        }
        if (name == u"extensions") {
            const std::vector<LineWord> words = LineWords(TokenAt(at).line);
            if (words.empty()) {
                return Fail(Current(), u"Expected file extensions after @extensions.");
            }
            for (const LineWord& word : words) {
                state_.extensions.push_back(NormalizeName(word.text));
            }
            return true;
        }
        if (name == u"signature") {
            return ParseSignature(TokenAt(at));
        }
        if (name == u"big" || name == u"little") {
            return ParseStructWithEndian(TokenAt(at), name == u"big" ? PatternEndian::Big
                                                                     : PatternEndian::Little);
        }
        if (Current().kind != TokenKind::Number) {
            return Fail(Current(), u"Expected numeric directive value.");
        }
        const std::optional<std::uint64_t> value = ParsePatternNumber(Current().text);
        if (!value) {
            return Fail(Current(), u"Invalid directive number.");
        }
        Advance();
        if (name == u"anchor") {
            state_.hasAnchor = true;
            state_.anchor = *value;
            state_.extended = true;
            return true;
        }
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

    // The tokens from the current one to the end of `line`, those written without space
    // between them joined: "4E" and "end-22" lex as several tokens.
    struct LineWord {
        std::u16string text;
        const Token* first = nullptr;
    };
    std::vector<LineWord> LineWords(std::uint32_t line)
    {
        std::vector<LineWord> words;
        std::uint32_t wordEnd = 0;
        while (Current().kind != TokenKind::End && Current().kind != TokenKind::String &&
               Current().line == line) {
            const Token& token = Current();
            if (words.empty() || token.column != wordEnd) {
                words.push_back(LineWord{{}, &token});
            }
            words.back().text += token.text;
            wordEnd = token.column + static_cast<std::uint32_t>(token.text.size());
            Advance();
        }
        return words;
    }

    // "@signature OFFSET BYTES": OFFSET is N or end-N, BYTES hexadecimal pairs, ".." for any
    // byte, on the directive's line.
    bool ParseSignature(const Token& at)
    {
        const std::vector<LineWord> words = LineWords(at.line);
        if (words.empty()) {
            return Fail(Current(), u"Expected an offset after @signature.");
        }
        PatternSignature signature;
        std::u16string_view offset = words[0].text;
        if (NormalizeName(offset).starts_with(u"end-")) {
            signature.fromEnd = true;
            offset.remove_prefix(4);
        }
        const std::optional<std::uint64_t> value = ParsePatternNumber(offset);
        if (!value || offset.empty() || (signature.fromEnd && *value == 0)) {
            return Fail(*words[0].first, u"Expected an offset (N or end-N) after @signature.");
        }
        signature.offset = *value;
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::u16string& text = words[i].text;
            if (text.size() % 2 != 0) {
                return Fail(*words[i].first, u"Expected bytes as pairs of hexadecimal digits.");
            }
            for (std::size_t j = 0; j < text.size(); j += 2) {
                const int high = HexDigitValue(text[j]);
                const int low = HexDigitValue(text[j + 1]);
                if (text[j] == u'.' && text[j + 1] == u'.') {
                    signature.bytes.push_back(PatternSignature::kAnyByte);
                } else if (high < 0 || low < 0) {
                    return Fail(*words[i].first, u"Expected bytes as pairs of hexadecimal digits.");
                } else {
                    signature.bytes.push_back(static_cast<std::int16_t>(high * 16 + low));
                }
            }
        }
        if (signature.FixedBytes() == 0) {
            return Fail(at, u"A signature needs at least one byte that is not \"..\".");
        }
        if (signature.fromEnd && signature.bytes.size() > signature.offset) {
            return Fail(at, u"A signature from the end must end before the end of the file.");
        }
        state_.signatures.push_back(std::move(signature));
        return true;
    }

    static int HexDigitValue(char16_t c)
    {
        if (c >= u'0' && c <= u'9') {
            return c - u'0';
        }
        if (c >= u'a' && c <= u'f') {
            return c - u'a' + 10;
        }
        if (c >= u'A' && c <= u'F') {
            return c - u'A' + 10;
        }
        return -1;
    }

    // "@big struct X { ... };": every member of X in that order unless it says otherwise.
    bool ParseStructWithEndian(const Token& at, PatternEndian endian)
    {
        const std::size_t before = state_.structs.size();
        bool ok = false;
        if (IsKeyword(Current(), u"struct")) {
            ok = ParseStruct(false);
        } else if (IsKeyword(Current(), u"typedef")) {
            ok = ParseTypedef();
        } else {
            return Fail(at, u"Expected a struct definition after @big or @little.");
        }
        if (!ok) {
            return false;
        }
        if (state_.structs.size() != before + 1) {
            return Fail(at, u"Expected a struct definition after @big or @little.");
        }
        state_.structs.back().endian = endian;
        state_.extended = true;
        return true;
    }

    // "enum Name : type { A = 1, B, C = 0x10 };"
    bool ParseEnum()
    {
        const Token& enumToken = Current();
        Advance();
        if (Current().kind != TokenKind::Identifier) {
            return Fail(Current(), u"Expected enum name.");
        }
        EnumDecl decl;
        decl.name = Current().text;
        decl.line = enumToken.line;
        decl.column = enumToken.column;
        decl.underlying.typeName = u"int";
        Advance();
        if (IsPunctuator(Current(), u':')) {
            Advance();
            std::u16string typeName;
            while (Current().kind == TokenKind::Identifier) {
                typeName += (typeName.empty() ? u"" : u" ") + Current().text;
                Advance();
            }
            if (typeName.empty()) {
                return Fail(Current(), u"Expected the enum's integer type after ':'.");
            }
            decl.underlying.typeName = std::move(typeName);
        }
        decl.underlying.key = NormalizeName(decl.underlying.typeName);
        if (!IsPunctuator(Current(), u'{')) {
            return Fail(Current(), u"Expected '{' to open enum body.");
        }
        Advance();
        std::uint64_t next = 0;
        while (!IsPunctuator(Current(), u'}')) {
            if (Current().kind != TokenKind::Identifier) {
                return Fail(Current(), u"Expected enumerator name.");
            }
            std::u16string name = Current().text;
            Advance();
            if (IsPunctuator(Current(), u'=')) {
                Advance();
                const std::optional<std::uint64_t> value = Current().kind == TokenKind::Number
                                                               ? ParsePatternNumber(Current().text)
                                                               : std::nullopt;
                if (!value) {
                    return Fail(Current(), u"Expected a number after '='.");
                }
                next = *value;
                Advance();
            }
            decl.values.emplace_back(std::move(name), next++);
            if (IsPunctuator(Current(), u',')) {
                Advance();
            } else if (!IsPunctuator(Current(), u'}')) {
                return Fail(Current(), u"Expected ',' or '}' in enum body.");
            }
        }
        Advance();
        if (!IsPunctuator(Current(), u';')) {
            return Fail(Current(), u"Expected ';' after enum declaration.");
        }
        Advance();
        std::u16string key = NormalizeName(decl.name);
        if (state_.enumIndexByName.contains(key) || state_.structIndexByName.contains(key)) {
            return Fail(enumToken, u"Duplicate type name: " + decl.name);
        }
        state_.enumIndexByName.emplace(std::move(key), state_.enums.size());
        state_.enumIndexByName.emplace(NormalizeName(u"enum " + decl.name), state_.enums.size());
        state_.enums.push_back(std::move(decl));
        state_.extended = true;
        return true;
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
            const DeclarationError error = ParseDeclaration(tokens, member);
            if (!error.message.empty()) {
                return Fail(error.at ? *error.at : first, error.message);
            }
            state_.extended = state_.extended || UsesExtensions(member);
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
        const DeclarationError error = ParseDeclaration(tokens, decl);
        if (!error.message.empty()) {
            return Fail(error.at         ? *error.at
                        : tokens.empty() ? typedefToken
                                         : tokens.front(),
                        error.message);
        }
        if (decl.count != 1 || decl.flexible || UsesExtensions(decl)) {
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
        if (state_.enumIndexByName.contains(key)) {
            return FailBare(u"Duplicate type name: " + name);
        }
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
