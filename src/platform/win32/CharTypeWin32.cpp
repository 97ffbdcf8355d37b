#include "platform/CharType.h"

#include <windows.h>

#include <climits>

namespace orx::platform {

bool IsNonSpacingMark(char16_t unit)
{
    const wchar_t text[1] = {static_cast<wchar_t>(unit)};
    WORD type = 0;
    if (!GetStringTypeW(CT_CTYPE3, text, 1, &type)) {
        return false;
    }
    return (type & C3_NONSPACING) != 0 && (type & C3_ALPHA) == 0;
}

bool LooksLikeUtf16Text(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > INT_MAX) {
        return false;
    }
    INT tests = IS_TEXT_UNICODE_ASCII16 | IS_TEXT_UNICODE_STATISTICS | IS_TEXT_UNICODE_CONTROLS;
    return IsTextUnicode(bytes.data(), static_cast<int>(bytes.size()), &tests) != FALSE;
}

} // namespace orx::platform
