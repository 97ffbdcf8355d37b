#include "bookmarks/JsonValue.h"

#include "platform/Utf.h"

namespace orx {
namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document()
    {
        auto value = Value(0);
        SkipBlanks();
        if (!value || at_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    std::optional<JsonValue> Value(int depth)
    {
        SkipBlanks();
        if (at_ >= text_.size() || depth > kMaxJsonDepth) {
            return std::nullopt;
        }
        JsonValue value;
        switch (text_[at_]) {
        case '{': return Object(depth);
        case '[': return Array(depth);
        case '"': {
            auto text = String();
            if (!text) {
                return std::nullopt;
            }
            value.kind = JsonValue::Kind::String;
            value.text = std::move(*text);
            return value;
        }
        case 't': return Word("true", JsonValue::Kind::Boolean, true);
        case 'f': return Word("false", JsonValue::Kind::Boolean, false);
        case 'n': return Word("null", JsonValue::Kind::Null, false);
        default: return Number();
        }
    }

    std::optional<JsonValue> Word(std::string_view word, JsonValue::Kind kind, bool boolean)
    {
        if (text_.substr(at_, word.size()) != word) {
            return std::nullopt;
        }
        at_ += word.size();
        JsonValue value;
        value.kind = kind;
        value.boolean = boolean;
        return value;
    }

    std::optional<JsonValue> Number()
    {
        const std::size_t start = at_;
        const bool negative = Take('-');
        const std::size_t digits = at_;
        while (at_ < text_.size() && IsDigit(text_[at_])) {
            ++at_;
        }
        if (at_ == digits || (text_[digits] == '0' && at_ - digits > 1)) {
            return std::nullopt; // no digits, or a leading zero
        }
        bool whole = !negative;
        if (Take('.')) {
            whole = false;
            if (!Digits()) {
                return std::nullopt;
            }
        }
        if (Take('e') || Take('E')) {
            whole = false;
            (void)(Take('+') || Take('-'));
            if (!Digits()) {
                return std::nullopt;
            }
        }
        JsonValue value;
        if (!whole) {
            return value; // a number, but none this file uses
        }
        std::uint64_t number = 0;
        for (std::size_t i = start; i < at_; ++i) {
            const auto digit = static_cast<std::uint64_t>(text_[i] - '0');
            if (number > (UINT64_MAX - digit) / 10) {
                return value; // beyond 64 bits
            }
            number = number * 10 + digit;
        }
        value.kind = JsonValue::Kind::Number;
        value.number = number;
        return value;
    }

    std::optional<JsonValue> Array(int depth)
    {
        ++at_;
        JsonValue value;
        value.kind = JsonValue::Kind::Array;
        SkipBlanks();
        if (Take(']')) {
            return value;
        }
        do {
            auto item = Value(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            value.items.push_back(std::move(*item));
            SkipBlanks();
        } while (Take(','));
        return Take(']') ? std::optional(std::move(value)) : std::nullopt;
    }

    std::optional<JsonValue> Object(int depth)
    {
        ++at_;
        JsonValue value;
        value.kind = JsonValue::Kind::Object;
        SkipBlanks();
        if (Take('}')) {
            return value;
        }
        do {
            SkipBlanks();
            if (at_ >= text_.size() || text_[at_] != '"') {
                return std::nullopt;
            }
            auto key = String();
            SkipBlanks();
            if (!key || !Take(':')) {
                return std::nullopt;
            }
            auto member = Value(depth + 1);
            if (!member) {
                return std::nullopt;
            }
            value.names.push_back(platform::Narrow(*key));
            value.members.push_back(std::move(*member));
            SkipBlanks();
        } while (Take(','));
        return Take('}') ? std::optional(std::move(value)) : std::nullopt;
    }

    // The string whose opening quote is at at_, decoded.
    std::optional<std::u16string> String()
    {
        ++at_;
        std::u16string result;
        std::size_t plain = at_; // start of the run of characters taken as they are
        const auto flush = [&]() -> bool {
            auto run = platform::Utf8ToUtf16(text_.substr(plain, at_ - plain), true);
            if (!run) {
                return false;
            }
            result += *run;
            return true;
        };
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                if (!flush()) {
                    return std::nullopt;
                }
                ++at_;
                return result;
            }
            if (c < 0x20) {
                return std::nullopt;
            }
            if (c != '\\') {
                ++at_;
                continue;
            }
            if (!flush() || ++at_ >= text_.size()) {
                return std::nullopt;
            }
            const char escape = text_[at_++];
            switch (escape) {
            case '"': result += u'"'; break;
            case '\\': result += u'\\'; break;
            case '/': result += u'/'; break;
            case 'b': result += u'\b'; break;
            case 'f': result += u'\f'; break;
            case 'n': result += u'\n'; break;
            case 'r': result += u'\r'; break;
            case 't': result += u'\t'; break;
            case 'u': {
                if (at_ + 4 > text_.size()) {
                    return std::nullopt;
                }
                char16_t unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = HexValue(text_[at_++]);
                    if (digit < 0) {
                        return std::nullopt;
                    }
                    unit = static_cast<char16_t>(unit * 16 + digit);
                }
                result += unit;
                break;
            }
            default: return std::nullopt;
            }
            plain = at_;
        }
        return std::nullopt; // unterminated
    }

    bool Digits()
    {
        const std::size_t start = at_;
        while (at_ < text_.size() && IsDigit(text_[at_])) {
            ++at_;
        }
        return at_ > start;
    }
    bool Take(char c)
    {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void SkipBlanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n')) {
            ++at_;
        }
    }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexValue(char c)
    {
        if (IsDigit(c)) {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

const JsonValue* JsonValue::Member(std::string_view key) const
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == key) {
            return &members[i];
        }
    }
    return nullptr;
}

std::optional<std::uint64_t> JsonValue::NumberAt(std::string_view key) const
{
    const JsonValue* value = Member(key);
    if (value == nullptr || value->kind != Kind::Number) {
        return std::nullopt;
    }
    return value->number;
}

std::optional<std::u16string> JsonValue::TextAt(std::string_view key) const
{
    const JsonValue* value = Member(key);
    if (value == nullptr || value->kind != Kind::String) {
        return std::nullopt;
    }
    return value->text;
}

std::optional<JsonValue> ParseJson(std::string_view text)
{
    // A byte-order mark is tolerated: editors other than ours may add one.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return Reader(text).Document();
}

} // namespace orx
