#pragma once

#include "cli/Commands.h"
#include "support/SourceDirectory.h"

#include <sstream>
#include <string>

namespace orx::cli::test {

using orx::test::SourceDirectory;

// clang-format off
struct Outcome { int code = 0; std::string out; std::string err; };
// clang-format on

// Runs a command in-process and collects what it prints.
inline Outcome RunCommand(int (*command)(const Invocation&), Args args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = command(Invocation{std::move(args), out, err});
    return Outcome{code, out.str(), err.str()};
}

} // namespace orx::cli::test
