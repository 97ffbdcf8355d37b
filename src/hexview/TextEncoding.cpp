#include "hexview/TextEncoding.h"

namespace orx {

std::u16string TextEncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8: return u"UTF-8";
    case TextEncoding::Utf16Le: return u"UTF-16 LE";
    case TextEncoding::Utf16Be: return u"UTF-16 BE";
    case TextEncoding::ShiftJis: return u"Shift_JIS";
    case TextEncoding::Windows949: return u"Windows-949";
    case TextEncoding::EucKr: return u"EUC-KR";
    case TextEncoding::Ascii: break;
    }
    return u"ASCII";
}

std::optional<TextEncoding> TextEncodingFromName(std::u16string_view name)
{
    std::u16string key;
    for (char16_t c : name) {
        if (c >= u'A' && c <= u'Z') {
            key.push_back(static_cast<char16_t>(c - u'A' + u'a'));
        } else if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
            key.push_back(c);
        }
    }
    struct Alias {
        std::u16string_view name;
        TextEncoding encoding;
    };
    static constexpr Alias kAliases[] = {
        {u"ascii", TextEncoding::Ascii},           {u"utf8", TextEncoding::Utf8},
        {u"utf16le", TextEncoding::Utf16Le},       {u"utf16be", TextEncoding::Utf16Be},
        {u"cp932", TextEncoding::ShiftJis},        {u"windows31j", TextEncoding::ShiftJis},
        {u"shiftjis", TextEncoding::ShiftJis},     {u"sjis", TextEncoding::ShiftJis},
        {u"cp949", TextEncoding::Windows949},      {u"windows949", TextEncoding::Windows949},
        {u"windows31k", TextEncoding::Windows949}, {u"euckr", TextEncoding::EucKr},
    };
    for (const Alias& alias : kAliases) {
        if (key == alias.name) {
            return alias.encoding;
        }
    }
    return std::nullopt;
}

bool IsCombiningMark(char32_t codePoint)
{
    struct Range {
        char32_t first;
        char32_t last;
    };
    static constexpr Range kRanges[] = {
        {0x0300, 0x036F}, {0x0483, 0x0489}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200D, 0x200D},
        {0x20D0, 0x20FF}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xE0100, 0xE01EF},
    };
    for (const Range& range : kRanges) {
        if (codePoint >= range.first && codePoint <= range.last) {
            return true;
        }
    }
    return false;
}

} // namespace orx
