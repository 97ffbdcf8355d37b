#include "app/win/CommandLine.h"

#include "platform/win32/WinString.h"

#include <windows.h>

#include <shellapi.h>

namespace orx::win {

std::vector<std::u16string> SplitCommandLine(const std::u16string& commandLine)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(W(commandLine), &count);
    if (arguments == nullptr) {
        return {};
    }
    std::vector<std::u16string> result;
    result.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        result.push_back(FromW(arguments[i]));
    }
    LocalFree(arguments);
    return result;
}

} // namespace orx::win
