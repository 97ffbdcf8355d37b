#include "ui/win/ClipboardText.h"

#include "ui/win/WinHandles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orx::win {
namespace {

std::optional<std::u16string> ClipboardContents()
{
    ClipboardScope clipboard(nullptr);
    HANDLE data = clipboard.IsOpen() ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    const auto* text = data != nullptr ? static_cast<const char16_t*>(GlobalLock(data)) : nullptr;
    if (text == nullptr) {
        return std::nullopt;
    }
    std::u16string copy(text);
    GlobalUnlock(data);
    return copy;
}

HGLOBAL WINAPI NoMemory(UINT /*flags*/, SIZE_T /*bytes*/)
{
    return nullptr;
}

TEST(ClipboardText, CopiesAndAFailedCopyLeavesTheClipboardAsItWas)
{
    ASSERT_TRUE(CopyTextToClipboard(nullptr, u"kept \u3042"));
    EXPECT_EQ(ClipboardContents(), u"kept \u3042");

    EXPECT_FALSE(CopyTextToClipboard(nullptr, u"lost", &NoMemory));
    EXPECT_FALSE(CopyTextToClipboard(nullptr, u""));
    EXPECT_EQ(ClipboardContents(), u"kept \u3042");
}

} // namespace
} // namespace orx::win
