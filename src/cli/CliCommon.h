#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orx::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFound = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitFailed = 3;
// patch: another program changed the file after it was opened; nothing was written.
inline constexpr int kExitChangedOnDisk = 4;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitNoInput = 66;

using Args = std::vector<std::u16string>;

// A command: its arguments after the command name, and where to print.
struct Invocation {
    Args args;
    std::ostream& out;
    std::ostream& err;
};

// Writes UTF-16 text as UTF-8.
void Print(std::ostream& stream, std::u16string_view text);

// Unsigned decimal, whole text, no sign; nothing on overflow.
std::optional<std::uint64_t> ParseDecimal(std::u16string_view text);

} // namespace orx::cli
