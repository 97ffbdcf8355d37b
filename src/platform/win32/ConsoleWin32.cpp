#include "platform/Console.h"

#include "platform/win32/WinString.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace orx::platform {

std::vector<std::u16string> CommandLineArguments(int, char**)
{
    std::vector<std::u16string> args;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) {
        return args;
    }
    for (int i = 0; i < count; ++i) {
        args.push_back(win::FromW(argv[i]));
    }
    LocalFree(argv);
    return args;
}

void PrepareUtf8Output()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

bool StderrIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

} // namespace orx::platform
