#include "platform/Console.h"

#include "platform/Utf.h"

#include <unistd.h>

namespace orx::platform {

std::vector<std::u16string> CommandLineArguments(int argc, char** argv)
{
    std::vector<std::u16string> args;
    for (int i = 0; i < argc; ++i) {
        args.push_back(Widen(argv[i]));
    }
    return args;
}

void PrepareUtf8Output()
{}

bool StderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) != 0;
}

} // namespace orx::platform
