#pragma once

#include <windows.h>

#include <string_view>

namespace orx::win {

// Replaces the clipboard's contents with `text` as CF_UNICODETEXT, owned by `owner`.
// Returns false, with the memory freed, when any step fails; empty text is not copied.
bool CopyTextToClipboard(HWND owner, std::u16string_view text);

} // namespace orx::win
