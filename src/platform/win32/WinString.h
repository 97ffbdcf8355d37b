#pragma once

// The one bridge between the portable UTF-16 strings and the wide-character Win32 API.
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters must be UTF-16 units");

namespace orx::win {

inline const wchar_t* W(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromW(const wchar_t* text, std::size_t length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline std::u16string FromW(const wchar_t* text)
{
    return FromW(text, std::char_traits<wchar_t>::length(text));
}

inline std::u16string FromW(const std::wstring& text)
{
    return FromW(text.data(), text.size());
}

inline std::wstring ToW(std::u16string_view text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

} // namespace orx::win
