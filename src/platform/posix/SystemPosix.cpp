#include "platform/System.h"

#include "platform/Utf.h"

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <unistd.h>

namespace orx::platform {

std::u16string ExecutablePath()
{
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return {};
    }
    return Widen(std::string_view(buffer, static_cast<std::size_t>(length)));
}

// LC_ALL, LC_MESSAGES, LANG in the usual order of precedence; "ja_JP.UTF-8" becomes "ja-JP".
std::optional<std::u16string> UserDefaultLocaleName()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        std::string locale(value);
        locale = locale.substr(0, locale.find_first_of(".@"));
        if (locale.empty() || locale == "C" || locale == "POSIX") {
            return std::nullopt;
        }
        for (char& c : locale) {
            if (c == '_')
                c = '-';
        }
        return Widen(locale);
    }
    return std::nullopt;
}

std::uint64_t TickCount64()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::optional<std::u16string> PackageFamilyName()
{
    return std::nullopt;
}

std::optional<std::u16string> LocalAppDataFolder()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
        return Widen(data);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return Widen(std::string(home) + "/.local/share");
    }
    return std::nullopt;
}

} // namespace orx::platform
