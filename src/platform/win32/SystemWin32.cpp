#include "platform/System.h"

#include "platform/win32/WinString.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace orx::platform {

std::u16string ExecutablePath()
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return win::FromW(buffer, length);
}

std::optional<std::u16string> UserDefaultLocaleName()
{
    wchar_t buffer[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = GetUserDefaultLocaleName(buffer, LOCALE_NAME_MAX_LENGTH);
    if (length <= 0) {
        return std::nullopt;
    }
    return win::FromW(buffer);
}

std::uint64_t TickCount64()
{
    return GetTickCount64();
}

std::optional<std::u16string> PackageFamilyName()
{
    // Resolved at run time: older systems and Wine builds may lack the export.
    using Fn = LONG(WINAPI*)(UINT32*, PWSTR);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto fn = kernel != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(
                                      GetProcAddress(kernel, "GetCurrentPackageFamilyName")))
                                : nullptr;
    if (fn == nullptr) {
        return std::nullopt;
    }
    UINT32 length = 0;
    if (fn(&length, nullptr) != ERROR_INSUFFICIENT_BUFFER || length == 0) {
        return std::nullopt;
    }
    std::wstring name(length, L'\0');
    if (fn(&length, name.data()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return win::FromW(name.c_str());
}

std::optional<std::u16string> LocalAppDataFolder()
{
    PWSTR folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)) ||
        folder == nullptr) {
        if (folder != nullptr) {
            CoTaskMemFree(folder);
        }
        return std::nullopt;
    }
    std::u16string result = win::FromW(folder);
    CoTaskMemFree(folder);
    return result;
}

} // namespace orx::platform
