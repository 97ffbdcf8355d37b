#pragma once

#include <string>
#include <string_view>

namespace orx::cli {

// The English text of a string-table key, from resources/strings/en-US.txt below
// `resourceDirectory`, or below the executable's directory (the shipped layout) when empty.
std::u16string EnglishText(std::string_view key, const std::u16string& resourceDirectory);

} // namespace orx::cli
