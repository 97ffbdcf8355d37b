#pragma once

#include "app/MenuModel.h"

#include <string>
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

} // namespace orx::test
