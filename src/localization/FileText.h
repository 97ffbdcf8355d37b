#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orx {

// The whole content of a small file, or nothing when it cannot be opened or read or is
// larger than `maxBytes` (a runaway file must not exhaust memory at start-up).
[[nodiscard]] std::optional<std::string> ReadFileBytes(const std::u16string& path,
                                                       std::uint64_t maxBytes);

// `directory` and `name` joined by this platform's separator; no doubled separator when
// the directory already ends with one, and just `name` when the directory is empty.
[[nodiscard]] std::u16string JoinPath(std::u16string_view directory, std::u16string_view name);

// True for both separators Windows accepts ('\\' and '/').
[[nodiscard]] constexpr bool IsPathSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

} // namespace orx
