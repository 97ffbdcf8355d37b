#pragma once

#include <string>
#include <vector>

namespace orx::win {

// Splits a command line as the shell does (CommandLineToArgvW); argument 0 is the program.
[[nodiscard]] std::vector<std::u16string> SplitCommandLine(const std::u16string& commandLine);

} // namespace orx::win
