#pragma once

#include <string_view>

namespace orx::cli {

// The bytes of resources/strings/en-US.txt as it was when the program was built.
[[nodiscard]] std::string_view BuiltInEnglishStrings();

} // namespace orx::cli
