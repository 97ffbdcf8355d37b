#include "platform/PathText.h"

namespace orx::platform {
namespace {

bool IsPathSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

} // namespace

std::u16string DirectoryOfPath(std::u16string_view path)
{
    std::size_t end = path.size();
    while (end > 0 && !IsPathSeparator(path[end - 1])) {
        --end;
    }
    if (end == 0) {
        return {};
    }
    --end;
    while (end > 0 && IsPathSeparator(path[end - 1])) {
        --end;
    }
    // A root keeps its separator: "C:" alone would mean the current directory of drive C.
    if (end == 0 || (end == 2 && path[1] == u':')) {
        ++end;
    }
    return std::u16string(path.substr(0, end));
}

std::u16string FileNameOfPath(std::u16string_view path)
{
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator != std::u16string_view::npos) {
        return std::u16string(path.substr(separator + 1));
    }
    return std::u16string(path.size() >= 2 && path[1] == u':' ? path.substr(2) : path);
}

} // namespace orx::platform
