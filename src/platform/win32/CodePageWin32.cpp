#include "platform/CodePageSystem.h"

#include <windows.h>

#include <climits>

namespace orx::platform::system {

namespace {

bool QueryCodePage(CodePage codePage)
{
    CPINFO info{};
    return GetCPInfo(static_cast<UINT>(codePage), &info) != FALSE;
}

} // namespace

bool HasCodePage(CodePage codePage)
{
    // A missing code page is looked for on disk on every query (slow under Wine), and the
    // answer cannot change while the process runs.
    static const bool hasEucKr = QueryCodePage(CodePage::EucKr);
    return codePage == CodePage::EucKr ? hasEucKr : QueryCodePage(codePage);
}

bool IsLeadByte(CodePage codePage, std::uint8_t byte)
{
    return IsDBCSLeadByteEx(static_cast<UINT>(codePage), byte) != FALSE;
}

std::u16string Decode(CodePage codePage, std::span<const std::uint8_t> bytes)
{
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return {};
    }
    const auto cp = static_cast<UINT>(codePage);
    const auto* data = reinterpret_cast<const char*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(cp, 0, data, size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    if (MultiByteToWideChar(cp, 0, data, size, reinterpret_cast<wchar_t*>(text.data()), length) !=
        length) {
        return {};
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> Encode(CodePage codePage, std::u16string_view text)
{
    if (text.empty() || text.size() > INT_MAX) {
        return std::nullopt;
    }
    const auto cp = static_cast<UINT>(codePage);
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0,
                                           nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    usedDefault = FALSE;
    const int written =
        WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide, size,
                            reinterpret_cast<char*>(bytes.data()), length, nullptr, &usedDefault);
    if (written != length || usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace orx::platform::system
