#pragma once

#include "app/MenuModel.h"

#include <span>
#include <string>
#include <utility>
#include <string_view>

namespace orx::test {

// A string table that shows each key in brackets, so tests see which text went where.
inline std::u16string BracketKey(std::string_view key)
{
    std::u16string text = u"[";
    for (const char c : key) {
        text.push_back(static_cast<char16_t>(c));
    }
    return text + u"]";
}

inline const StringLookup kBracketLookup = [](std::string_view key) { return BracketKey(key); };

using KeyText = std::pair<std::string_view, std::u16string_view>;

// The text of `key` in `texts`, or the bracketed key when the table lacks it.
inline std::u16string TextFrom(std::span<const KeyText> texts, std::string_view key)
{
    for (const auto& [name, text] : texts) {
        if (name == key) {
            return std::u16string(text);
        }
    }
    return BracketKey(key);
}

} // namespace orx::test
