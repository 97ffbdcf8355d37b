#include "platform/Utf.h"

#include <cstdint>

namespace orx::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence starting at `i`, or the length of its maximal invalid
// subpart (at least 1) with `valid` false. Follows the Unicode well-formedness table, which
// is what code page 65001 implements.
std::size_t Scan(std::string_view s, std::size_t i, char32_t& cp, bool& valid)
{
    const auto b0 = static_cast<std::uint8_t>(s[i]);
    valid = false;
    if (b0 < 0x80) {
        cp = b0;
        valid = true;
        return 1;
    }
    std::size_t need = 0;
    std::uint8_t lo = 0x80;
    std::uint8_t hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        cp = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        cp = b0 & 0x0Fu;
        if (b0 == 0xE0)
            lo = 0xA0;
        if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        cp = b0 & 0x07u;
        if (b0 == 0xF0)
            lo = 0x90;
        if (b0 == 0xF4)
            hi = 0x8F;
    } else {
        return 1;
    }
    std::size_t k = 1;
    for (; k <= need; ++k) {
        if (i + k >= s.size()) {
            return k;
        }
        const auto b = static_cast<std::uint8_t>(s[i + k]);
        const std::uint8_t min = k == 1 ? lo : 0x80;
        const std::uint8_t max = k == 1 ? hi : 0xBF;
        if (b < min || b > max) {
            return k;
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    valid = true;
    return k;
}

void Append(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

} // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes, bool strict)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        bool valid = false;
        const std::size_t n = Scan(bytes, i, cp, valid);
        if (valid) {
            Append(out, cp);
        } else if (strict) {
            return std::nullopt;
        } else {
            out.push_back(kReplacement);
        }
        i += n;
    }
    return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text, bool strict)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            const bool pair = cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                              text[i + 1] <= 0xDFFF;
            if (pair) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            } else if (strict) {
                return std::nullopt;
            } else {
                cp = kReplacement;
            }
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace orx::platform
