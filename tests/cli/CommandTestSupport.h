#pragma once

#include "cli/Commands.h"
#include "platform/Utf.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace orx::cli::test {

struct Outcome {
    int code = 0;
    std::string out;
    std::string err;
};

// Runs a command in-process and collects what it prints.
inline Outcome RunCommand(int (*command)(const Invocation&), Args args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = command(Invocation{std::move(args), out, err});
    return Outcome{code, out.str(), err.str()};
}

// The source tree, whose resources/ the shipped layout puts beside the executable.
inline std::u16string ResourceDirectory()
{
    const char* dir = std::getenv("ORX_SOURCE_DIR");
    return platform::Widen(dir != nullptr ? dir : ".");
}

} // namespace orx::cli::test
