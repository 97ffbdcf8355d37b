#include "platform/Utf.h"

namespace orx::platform {

std::u16string Widen(std::string_view utf8)
{
    return Utf8ToUtf16(utf8, false).value_or(std::u16string());
}

std::string Narrow(std::u16string_view text)
{
    return Utf16ToUtf8(text, false).value_or(std::string());
}

} // namespace orx::platform
