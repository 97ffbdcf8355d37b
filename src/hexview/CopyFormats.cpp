#include "hexview/CopyFormats.h"

#include "platform/CodePage.h"
#include "platform/Utf.h"
#include "text/HexFormat.h"

namespace orx {
namespace {

constexpr std::size_t kValuesPerLine = 16;
constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string CArray(std::span<const std::uint8_t> bytes)
{
    std::string out = "unsigned char data[" + std::to_string(bytes.size()) + "] = {";
    out.reserve(out.size() + bytes.size() * 6 + bytes.size() / kValuesPerLine * 5 + 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += i % kValuesPerLine == 0 ? "\n    0x" : " 0x";
        AppendHexByte(out, bytes[i]);
        if (i + 1 < bytes.size()) {
            out += ',';
        }
    }
    out += bytes.empty() ? "};" : "\n};";
    return out;
}

std::string Base64(std::span<const std::uint8_t> bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t group = (std::uint32_t{bytes[i]} << 16) |
                                    (left > 1 ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                    (left > 2 ? std::uint32_t{bytes[i + 2]} : 0);
        out += kBase64Digits[(group >> 18) & 63];
        out += kBase64Digits[(group >> 12) & 63];
        out += left > 1 ? kBase64Digits[(group >> 6) & 63] : '=';
        out += left > 2 ? kBase64Digits[group & 63] : '=';
    }
    return out;
}

std::u16string DecodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto high = bigEndian ? bytes[i] : bytes[i + 1];
        const auto low = bigEndian ? bytes[i + 1] : bytes[i];
        text += static_cast<char16_t>((high << 8) | low);
    }
    if (bytes.size() % 2 != 0) {
        text += u'\uFFFD'; // half a unit
    }
    return text;
}

} // namespace

std::optional<CopyFormat> CopyFormatNamed(std::string_view name)
{
    const struct {
        std::string_view name;
        CopyFormat format;
    } names[] = {{"hex", CopyFormat::Hex},
                 {"hex-compact", CopyFormat::HexCompact},
                 {"c", CopyFormat::CArray},
                 {"python", CopyFormat::Python},
                 {"base64", CopyFormat::Base64}};
    for (const auto& entry : names) {
        if (entry.name == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::uint64_t FormattedLengthBound(std::uint64_t count, CopyFormat format)
{
    switch (format) {
    case CopyFormat::Hex: return count == 0 ? 0 : count * 3 - 1;
    case CopyFormat::HexCompact: return count * 2;
    case CopyFormat::CArray: return 40 + count * 7 + count / kValuesPerLine * 5;
    case CopyFormat::Python: return 3 + count * 4;
    case CopyFormat::Base64: return (count + 2) / 3 * 4;
    case CopyFormat::Text: return count;
    }
    return count * 8;
}

std::string FormatBytes(std::span<const std::uint8_t> bytes, CopyFormat format)
{
    std::string out;
    switch (format) {
    case CopyFormat::CArray: return CArray(bytes);
    case CopyFormat::Base64: return Base64(bytes);
    case CopyFormat::Python:
        out.reserve(3 + bytes.size() * 4);
        out += "b\"";
        for (const std::uint8_t byte : bytes) {
            out += "\\x";
            AppendHexByte(out, byte);
        }
        out += '"';
        return out;
    case CopyFormat::Hex:
    case CopyFormat::HexCompact:
    case CopyFormat::Text:
        out.reserve(bytes.size() * 3);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i != 0 && format == CopyFormat::Hex) {
                out += ' ';
            }
            AppendHexByte(out, bytes[i]);
        }
        return out;
    }
    return out;
}

std::u16string DecodeForCopy(std::span<const std::uint8_t> bytes, TextEncoding encoding)
{
    std::u16string text;
    switch (encoding) {
    case TextEncoding::Utf8:
        text =
            platform::Utf8ToUtf16(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), false)
                .value_or(u"");
        break;
    case TextEncoding::Utf16Le: text = DecodeUtf16(bytes, false); break;
    case TextEncoding::Utf16Be: text = DecodeUtf16(bytes, true); break;
    case TextEncoding::ShiftJis:
        text = platform::DecodeCodePage(platform::CodePage::ShiftJis, bytes);
        break;
    case TextEncoding::Windows949:
        text = platform::DecodeCodePage(platform::CodePage::Windows949, bytes);
        break;
    case TextEncoding::EucKr:
        text = platform::DecodeCodePage(platform::CodePage::EucKr, bytes);
        break;
    case TextEncoding::Ascii:
    default:
        for (const std::uint8_t byte : bytes) {
            text += byte < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFD';
        }
        break;
    }
    for (char16_t& unit : text) {
        if (unit == 0) {
            unit = u'\uFFFD';
        }
    }
    return text;
}

} // namespace orx
