#pragma once

#include <string>
#include <vector>

namespace orx::platform {

// The command-line arguments as UTF-16 (on Windows re-read from GetCommandLineW so that
// file names outside the ANSI code page survive).
std::vector<std::u16string> CommandLineArguments(int argc, char** argv);

// Makes stdout and stderr take UTF-8 bytes unchanged (binary mode, UTF-8 console).
void PrepareUtf8Output();

// True when standard error is an interactive terminal (progress lines go there).
bool StderrIsTerminal();

} // namespace orx::platform
