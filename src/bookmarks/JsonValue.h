#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// A JSON document read strictly: anything that is not JSON is refused as a whole, so that a
// damaged file is told from an intact one rather than half read. Numbers are kept only as
// whole numbers from 0 to 2^64 - 1 (offsets and sizes); any other number reads as null.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::uint64_t number = 0;
    std::u16string text;
    std::vector<JsonValue> items;
    // An object's members: names[i] names members[i] (a vector of pairs would need the
    // complete type here).
    std::vector<std::string> names;
    std::vector<JsonValue> members;

    // The first member named `key` of an object; null for anything else.
    [[nodiscard]] const JsonValue* Member(std::string_view key) const;
    [[nodiscard]] std::optional<std::uint64_t> NumberAt(std::string_view key) const;
    [[nodiscard]] std::optional<std::u16string> TextAt(std::string_view key) const;
};

// Nesting deeper than this is refused rather than followed (no stack exhaustion).
inline constexpr int kMaxJsonDepth = 64;

// The value `text` (UTF-8) holds; nothing when it is not one JSON value with blanks around it.
[[nodiscard]] std::optional<JsonValue> ParseJson(std::string_view text);

} // namespace orx
