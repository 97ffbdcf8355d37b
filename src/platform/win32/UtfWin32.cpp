#include "platform/Utf.h"

#include <windows.h>

#include <climits>

namespace orx::platform {

std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes, bool strict)
{
    if (bytes.empty()) {
        return std::u16string();
    }
    if (bytes.size() > INT_MAX) {
        return std::nullopt;
    }
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_UTF8, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_UTF8, flags, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data()),
                        length);
    return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text, bool strict)
{
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    const DWORD flags = strict ? WC_ERR_INVALID_CHARS : 0;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, flags, wide, size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, flags, wide, size, out.data(), length, nullptr, nullptr);
    return out;
}

} // namespace orx::platform
