#include "app/win/LicenseText.h"

#include "platform/Utf.h"

#include <windows.h>

#include <string_view>

namespace orx::win {

std::u16string LoadLicenseText()
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kLicenseResourceId), RT_RCDATA);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    const std::string_view utf8(static_cast<const char*>(bytes), SizeofResource(module, found));
    const std::u16string text = platform::Utf8ToUtf16(utf8, false).value_or(std::u16string{});
    std::u16string crlf;
    crlf.reserve(text.size() + text.size() / 32);
    for (const char16_t unit : text) {
        if (unit == u'\r') {
            continue;
        }
        if (unit == u'\n') {
            crlf += u'\r';
        }
        crlf += unit;
    }
    return crlf;
}

} // namespace orx::win
