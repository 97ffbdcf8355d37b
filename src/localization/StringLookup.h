#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orx {

// Looks up a user-visible text by its key (StringTable::Lookup in the application).
using StringLookup = std::function<std::u16string(std::string_view key)>;

// `text` with every "{name}" replaced by `value` (the string files' placeholders).
[[nodiscard]] std::u16string FillIn(std::u16string text, std::u16string_view name,
                                    std::u16string_view value);

// A decimal number with a comma between groups of three digits: "1,048,576".
[[nodiscard]] std::u16string GroupedDecimal(std::uint64_t value);

} // namespace orx
