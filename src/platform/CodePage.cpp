#include "platform/CodePage.h"

#include "platform/CodePageSystem.h"

namespace orx::platform {
namespace {

// Every EUC-KR pair (lead and trail 0xA1 to 0xFE) means the same in 949, which is a superset;
// where the system lacks 51949 the conversions go through 949, one character at a time so
// that 949's wider lead and trail ranges never swallow a byte EUC-KR would keep apart.
bool IsEucKrByte(std::uint8_t byte)
{
    return byte >= 0xA1 && byte <= 0xFE;
}

std::u16string DecodeEucKrThrough949(std::span<const std::uint8_t> bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        const bool pair =
            IsEucKrByte(bytes[i]) && i + 1 < bytes.size() && IsEucKrByte(bytes[i + 1]);
        const std::size_t length = pair ? 2 : 1;
        const std::u16string part = system::Decode(CodePage::Windows949, bytes.subspan(i, length));
        if (part.empty()) {
            return {};
        }
        text += part;
        i += length;
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> EncodeEucKrThrough949(std::u16string_view text)
{
    std::optional<std::vector<std::uint8_t>> bytes = system::Encode(CodePage::Windows949, text);
    if (!bytes) {
        return std::nullopt;
    }
    // 949's output is a sequence of whole characters: single bytes below 0x80 or pairs.
    const std::vector<std::uint8_t>& b = *bytes;
    for (std::size_t i = 0; i < b.size();) {
        if (b[i] < 0x80) {
            ++i;
        } else if (i + 1 < b.size() && IsEucKrByte(b[i]) && IsEucKrByte(b[i + 1])) {
            i += 2;
        } else {
            return std::nullopt; // a 949 extension character EUC-KR cannot represent
        }
    }
    return bytes;
}

bool ThroughWindows949(CodePage codePage)
{
    return codePage == CodePage::EucKr && !system::HasCodePage(CodePage::EucKr);
}

} // namespace

bool IsLeadByte(CodePage codePage, std::uint8_t byte)
{
    if (ThroughWindows949(codePage)) {
        return IsEucKrByte(byte);
    }
    return system::IsLeadByte(codePage, byte);
}

std::u16string DecodeCodePage(CodePage codePage, std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) {
        return {};
    }
    if (ThroughWindows949(codePage)) {
        return DecodeEucKrThrough949(bytes);
    }
    return system::Decode(codePage, bytes);
}

std::optional<std::vector<std::uint8_t>> EncodeCodePage(CodePage codePage, std::u16string_view text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    if (ThroughWindows949(codePage)) {
        return EncodeEucKrThrough949(text);
    }
    return system::Encode(codePage, text);
}

} // namespace orx::platform
