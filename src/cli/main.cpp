// orlin-cli: the editor's engine without the window, for scripts and black-box tests.
#include "cli/Commands.h"
#include "platform/Console.h"
#include "platform/Utf.h"

#include <iostream>

namespace {

struct Command {
    const char16_t* name;
    int (*run)(const orx::cli::Invocation&);
};

constexpr Command kCommands[] = {
    {u"patch", orx::cli::RunPatch},         {u"struct", orx::cli::RunStruct},
    {u"dump", orx::cli::RunDump},           {u"inspect", orx::cli::RunInspect},
    {u"find", orx::cli::RunFind},           {u"hash", orx::cli::RunHash},
    {u"compare", orx::cli::RunCompare},     {u"identify", orx::cli::RunIdentify},
    {u"bookmarks", orx::cli::RunBookmarks},
};

int Usage()
{
    std::cerr << "usage: orlin-cli COMMAND ARGS...\ncommands:";
    for (const Command& command : kCommands) {
        std::cerr << ' ' << orx::platform::Narrow(command.name);
    }
    std::cerr << '\n';
    return orx::cli::kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    orx::platform::PrepareUtf8Output();
    const std::vector<std::u16string> args = orx::platform::CommandLineArguments(argc, argv);
    if (args.size() < 2) {
        return Usage();
    }
    for (const Command& command : kCommands) {
        if (args[1] == command.name) {
            const orx::cli::Invocation invocation{orx::cli::Args(args.begin() + 2, args.end()),
                                                  std::cout, std::cerr};
            const int code = command.run(invocation);
            std::cout.flush();
            return code;
        }
    }
    return Usage();
}
