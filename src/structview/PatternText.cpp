#include "structview/PatternText.h"

#include "platform/FileSystem.h"
#include "platform/Utf.h"

#include <algorithm>

namespace orx {

bool IsPatternSpace(char16_t c)
{
    switch (c) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000: return true;
    default: return c >= 0x2000 && c <= 0x200A;
    }
}

bool IsPatternLetter(char16_t c)
{
    if (c < 0x80) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    }
    return !IsPatternSpace(c);
}

std::u16string NormalizeName(std::u16string_view name)
{
    auto isTrimmed = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    std::size_t begin = 0;
    std::size_t end = name.size();
    while (begin < end && isTrimmed(name[begin])) {
        ++begin;
    }
    while (end > begin && isTrimmed(name[end - 1])) {
        --end;
    }
    std::u16string key;
    key.reserve(end - begin);
    bool inSpace = false;
    for (std::size_t i = begin; i < end; ++i) {
        const char16_t c = name[i];
        if (IsPatternSpace(c)) {
            if (!inSpace) {
                key += u' ';
            }
            inSpace = true;
            continue;
        }
        inSpace = false;
        key += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
    }
    return key;
}

bool DecodePatternBytes(std::string_view bytes, std::u16string& text, std::u16string& error)
{
    text.clear();
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    if (bytes.empty()) {
        return true;
    }
    std::optional<std::u16string> decoded = platform::Utf8ToUtf16(bytes, true);
    if (!decoded || decoded->empty()) {
        error = u"Definition file must be UTF-8.";
        return false;
    }
    text = std::move(*decoded);
    return true;
}

bool ReadPatternText(const std::u16string& path, std::u16string& text, std::u16string& error)
{
    const std::u16string openFailed = u"Failed to open definition file.";
    platform::FileSystem& fs = platform::SystemFileSystem();
    const platform::NativeFile file = fs.OpenForRead(path);
    if (!file.IsOpen()) {
        error = openFailed;
        return false;
    }
    // Read until the end instead of trusting the size, so a file that grows meanwhile
    // still meets the limit.
    std::string bytes;
    for (;;) {
        constexpr std::uint32_t kChunk = 1u << 16;
        const std::size_t done = bytes.size();
        bytes.resize(done + kChunk);
        std::uint32_t read = 0;
        if (!fs.Read(file, bytes.data() + done, kChunk, read)) {
            error = openFailed;
            return false;
        }
        bytes.resize(done + read);
        if (read == 0) {
            break;
        }
        if (bytes.size() > kMaxPatternFileBytes) {
            error = u"Definition file is too large.";
            return false;
        }
    }
    return DecodePatternBytes(bytes, text, error);
}

} // namespace orx
