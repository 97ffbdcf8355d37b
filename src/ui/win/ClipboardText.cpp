#include "ui/win/ClipboardText.h"

#include "ui/win/WinHandles.h"

#include <cstring>

namespace orx::win {

bool CopyTextToClipboard(HWND owner, std::u16string_view text, ClipboardAllocator allocate)
{
    if (text.empty()) {
        return false;
    }
    // The text is ready before the clipboard is emptied: a copy that fails for memory must
    // leave the user's clipboard as it was.
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    GlobalMemory memory(allocate(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return false;
    }
    auto* locked = static_cast<char16_t*>(GlobalLock(memory.Get()));
    if (locked == nullptr) {
        return false;
    }
    std::memcpy(locked, text.data(), text.size() * sizeof(char16_t));
    locked[text.size()] = u'\0';
    GlobalUnlock(memory.Get());
    ClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) {
        return false;
    }
    if (SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) {
        return false;
    }
    memory.Release(); // the clipboard owns it now
    return true;
}

} // namespace orx::win
