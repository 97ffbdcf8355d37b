#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// A tolerant key scanner over JSON-like text: it finds a value by searching for its quoted
// key from a start position rather than by validating the document, so a damaged file still
// yields every value that can be recognised. Every lookup is bounded by the text and at most
// linear in its length.
class JsonScanner {
public:
    struct Span {
        std::size_t open = 0;  // position of the opening bracket
        std::size_t close = 0; // position of the matching closing bracket
    };

    explicit JsonScanner(std::string_view text) : text_(text) {}

    // Position just after the first `"key"` at or after `start` that is followed by a colon.
    [[nodiscard]] std::optional<std::size_t> FindKey(std::string_view key, std::size_t start) const;

    // The value after `afterKey` (a position FindKey returned).
    [[nodiscard]] std::optional<std::u16string> StringAfter(std::size_t afterKey) const;

    [[nodiscard]] std::optional<std::u16string> String(std::string_view key,
                                                       std::size_t start) const;
    [[nodiscard]] std::optional<bool> Boolean(std::string_view key, std::size_t start) const;
    // Digits, signs and points only (no exponent), read as far as they form a number.
    [[nodiscard]] std::optional<float> Number(std::string_view key, std::size_t start) const;
    // The first `{` after the key, found only when its matching `}` follows.
    [[nodiscard]] std::optional<Span> Object(std::string_view key, std::size_t start) const;
    // Every string between the `[` after the key and its matching `]`; empty when absent.
    [[nodiscard]] std::vector<std::u16string> StringArray(std::string_view key,
                                                          std::size_t start) const;
    // The text of each `{...}` element between the `[` after the key and its matching `]`.
    [[nodiscard]] std::vector<std::string_view> ObjectArray(std::string_view key,
                                                            std::size_t start) const;

private:
    // The rest of the text from the first non-blank after the first `:` that follows the key.
    [[nodiscard]] std::optional<std::string_view> ValueText(std::string_view key,
                                                            std::size_t start) const;
    // The span that starts at the first `open` ('{' or '[') after the key.
    [[nodiscard]] std::optional<Span> Bracketed(std::string_view key, std::size_t start,
                                                char open) const;
    // Position of the bracket that closes the one at `open` ('{' or '['), counting only that
    // kind of bracket and skipping strings; npos when unmatched.
    [[nodiscard]] std::size_t MatchingClose(std::size_t open) const;
    // Position after the string whose opening quote is at `quote`; npos when unterminated.
    [[nodiscard]] std::size_t SkipString(std::size_t quote) const;
    // Decodes the string whose opening quote is at `quote`.
    [[nodiscard]] std::optional<std::u16string> ReadString(std::size_t quote,
                                                           std::size_t* end) const;

    std::string_view text_;
};

} // namespace orx
