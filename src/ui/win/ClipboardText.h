#pragma once

#include <windows.h>

#include <string_view>

namespace orx::win {

// Allocates the memory block the clipboard takes (GlobalAlloc); tests make it fail.
using ClipboardAllocator = HGLOBAL(WINAPI*)(UINT flags, SIZE_T bytes);

// Replaces the clipboard's contents with `text` as CF_UNICODETEXT, owned by `owner`.
// Returns false, with the memory freed, when any step fails; empty text is not copied. A
// failure before the clipboard is opened leaves its contents untouched.
bool CopyTextToClipboard(HWND owner, std::u16string_view text,
                         ClipboardAllocator allocate = &GlobalAlloc);

} // namespace orx::win
