#include "settings/JsonScanner.h"

#include "platform/Utf.h"
#include "text/HexDigit.h"

#include <charconv>

namespace orx {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The code unit of a `\u` escape whose four digits start at `digits`, if they are there.
std::optional<char16_t> UnicodeEscape(std::string_view text, std::size_t digits)
{
    if (digits + 4 > text.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t i = digits; i < digits + 4; ++i) {
        const auto digit = HexDigitValue(static_cast<unsigned char>(text[i]));
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + *digit;
    }
    return static_cast<char16_t>(value);
}

char SimpleEscape(char c)
{
    switch (c) {
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return c; // \" \\ \/ and any other character stand for themselves
    }
}

} // namespace

std::optional<std::size_t> JsonScanner::FindKey(std::string_view key, std::size_t start) const
{
    if (start > text_.size()) {
        return std::nullopt;
    }
    std::string quoted;
    quoted.reserve(key.size() + 2);
    quoted += '"';
    quoted += key;
    quoted += '"';
    // Only a quoted word followed by a colon is a key. A string value that happens to equal
    // a key (a font family called "bold") must not hide the key that follows it.
    for (std::size_t at = text_.find(quoted, start); at != npos; at = text_.find(quoted, at + 1)) {
        std::size_t after = at + quoted.size();
        while (after < text_.size() && IsBlank(text_[after])) {
            ++after;
        }
        if (after < text_.size() && text_[after] == ':') {
            return at + quoted.size();
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> JsonScanner::ValueText(std::string_view key,
                                                       std::size_t start) const
{
    const auto afterKey = FindKey(key, start);
    if (!afterKey) {
        return std::nullopt;
    }
    std::size_t i = text_.find(':', *afterKey);
    if (i == npos) {
        return std::nullopt;
    }
    ++i;
    while (i < text_.size() && IsBlank(text_[i])) {
        ++i;
    }
    return text_.substr(i);
}

std::size_t JsonScanner::SkipString(std::size_t quote) const
{
    for (std::size_t i = quote + 1; i < text_.size(); ++i) {
        if (text_[i] == '\\') {
            ++i;
        } else if (text_[i] == '"') {
            return i + 1;
        }
    }
    return npos;
}

std::optional<std::u16string> JsonScanner::ReadString(std::size_t quote, std::size_t* end) const
{
    std::u16string result;
    std::string pending; // raw UTF-8 bytes not yet decoded
    const auto flush = [&] {
        result += platform::Utf8ToUtf16(pending, false).value_or(std::u16string());
        pending.clear();
    };
    for (std::size_t i = quote + 1; i < text_.size(); ++i) {
        const char c = text_[i];
        if (c == '"') {
            flush();
            if (end != nullptr) {
                *end = i + 1;
            }
            return result;
        }
        if (c != '\\') {
            pending += c;
            continue;
        }
        if (++i >= text_.size()) {
            break;
        }
        if (text_[i] == 'u') {
            if (const auto unit = UnicodeEscape(text_, i + 1)) {
                // Appended as a code unit, so an escaped surrogate pair stays one character.
                flush();
                result += *unit;
                i += 4;
                continue;
            }
        }
        pending += SimpleEscape(text_[i]);
    }
    return std::nullopt;
}

std::optional<std::u16string> JsonScanner::StringAfter(std::size_t afterKey) const
{
    const std::size_t colon = text_.find(':', afterKey);
    if (colon == npos) {
        return std::nullopt;
    }
    const std::size_t quote = text_.find('"', colon + 1);
    if (quote == npos) {
        return std::nullopt;
    }
    return ReadString(quote, nullptr);
}

std::optional<std::u16string> JsonScanner::String(std::string_view key, std::size_t start) const
{
    const auto afterKey = FindKey(key, start);
    return afterKey ? StringAfter(*afterKey) : std::nullopt;
}

std::optional<bool> JsonScanner::Boolean(std::string_view key, std::size_t start) const
{
    const auto value = ValueText(key, start);
    if (value && value->starts_with("true")) {
        return true;
    }
    if (value && value->starts_with("false")) {
        return false;
    }
    return std::nullopt;
}

std::optional<float> JsonScanner::Number(std::string_view key, std::size_t start) const
{
    const auto value = ValueText(key, start);
    if (!value) {
        return std::nullopt;
    }
    const auto length = value->find_first_not_of("0123456789+-.");
    std::string_view run = value->substr(0, length);
    // A leading plus is accepted, as the C library's conversion does; from_chars does not.
    if (run.starts_with('+')) {
        run.remove_prefix(1);
    }
    float number = 0.0f;
    const auto [end, error] = std::from_chars(run.data(), run.data() + run.size(), number);
    if (error != std::errc() || end == run.data()) {
        return std::nullopt;
    }
    return number;
}

std::size_t JsonScanner::MatchingClose(std::size_t open) const
{
    const char opening = text_[open];
    const char closing = opening == '{' ? '}' : ']';
    std::size_t depth = 0;
    for (std::size_t i = open; i < text_.size();) {
        const char c = text_[i];
        if (c == '"') {
            i = SkipString(i);
            if (i == npos) {
                return npos;
            }
            continue;
        }
        if (c == opening) {
            ++depth;
        } else if (c == closing && --depth == 0) {
            return i;
        }
        ++i;
    }
    return npos;
}

std::optional<JsonScanner::Span> JsonScanner::Bracketed(std::string_view key, std::size_t start,
                                                        char open) const
{
    const auto afterKey = FindKey(key, start);
    if (!afterKey) {
        return std::nullopt;
    }
    const std::size_t opening = text_.find(open, *afterKey);
    if (opening == npos) {
        return std::nullopt;
    }
    const std::size_t closing = MatchingClose(opening);
    if (closing == npos) {
        return std::nullopt;
    }
    return Span{opening, closing};
}

std::optional<JsonScanner::Span> JsonScanner::Object(std::string_view key, std::size_t start) const
{
    return Bracketed(key, start, '{');
}

std::vector<std::u16string> JsonScanner::StringArray(std::string_view key, std::size_t start) const
{
    std::vector<std::u16string> entries;
    const auto array = Bracketed(key, start, '[');
    if (!array) {
        return entries;
    }
    std::size_t i = array->open + 1;
    while (true) {
        const std::size_t quote = text_.find('"', i);
        if (quote == npos || quote >= array->close) {
            break;
        }
        std::size_t end = npos;
        auto entry = ReadString(quote, &end);
        if (!entry) {
            break;
        }
        entries.push_back(std::move(*entry));
        i = end;
    }
    return entries;
}

std::vector<std::string_view> JsonScanner::ObjectArray(std::string_view key,
                                                       std::size_t start) const
{
    std::vector<std::string_view> elements;
    const auto array = Bracketed(key, start, '[');
    if (!array) {
        return elements;
    }
    for (std::size_t i = array->open + 1; i < array->close;) {
        const char c = text_[i];
        if (c == '"') {
            i = SkipString(i);
            continue; // the array's own bracket matching guarantees the string ends inside it
        }
        if (c != '{') {
            ++i;
            continue;
        }
        const std::size_t close = MatchingClose(i);
        if (close == npos || close > array->close) {
            break;
        }
        elements.push_back(text_.substr(i, close - i + 1));
        i = close + 1;
    }
    return elements;
}

} // namespace orx
