#include "ui/win/FontResolver.h"

#include <array>
#include <vector>

namespace orx::win {
namespace {

constexpr std::array kMonospaceFamilies = {
    L"Consolas",         L"Cascadia Mono",          L"Lucida Console", L"Courier New",
    L"DejaVu Sans Mono", L"Liberation Mono",        L"Noto Sans Mono", L"Noto Mono",
    L"FreeMono",         L"WenQuanYi Zen Hei Mono",
};

constexpr std::array kInterfaceFamilies = {
    L"Segoe UI",  L"Tahoma",      L"Microsoft Sans Serif",
    L"Arial",     L"DejaVu Sans", L"Liberation Sans",
    L"Noto Sans", L"FreeSans",    L"WenQuanYi Zen Hei",
};

// Windows' own families first, then what Linux distributions install.
constexpr std::array kJapaneseFamilies = {
    L"Yu Gothic",
    L"Meiryo",
    L"MS Gothic",
    L"Noto Sans CJK JP",
    L"Noto Sans Mono CJK JP",
    L"IPAGothic",
    L"TakaoGothic",
    L"WenQuanYi Zen Hei Mono",
    L"WenQuanYi Zen Hei",
    L"Droid Sans Fallback",
};

constexpr std::array kKoreanFamilies = {
    L"Malgun Gothic",       L"Gulim",   L"Noto Sans CJK KR",       L"Noto Sans Mono CJK KR",
    L"NanumGothic",         L"UnDotum", L"WenQuanYi Zen Hei Mono", L"WenQuanYi Zen Hei",
    L"Droid Sans Fallback",
};

constexpr std::array kJapaneseRanges = {
    DWRITE_UNICODE_RANGE{0x3000, 0x30FF},   // CJK punctuation, hiragana, katakana
    DWRITE_UNICODE_RANGE{0x31F0, 0x31FF},   // katakana phonetic extensions
    DWRITE_UNICODE_RANGE{0x3200, 0x33FF},   // enclosed letters, compatibility
    DWRITE_UNICODE_RANGE{0x3400, 0x4DBF},   // ideographs, extension A
    DWRITE_UNICODE_RANGE{0x4E00, 0x9FFF},   // unified ideographs
    DWRITE_UNICODE_RANGE{0xF900, 0xFAFF},   // compatibility ideographs
    DWRITE_UNICODE_RANGE{0xFF00, 0xFF9F},   // full-width forms, half-width katakana
    DWRITE_UNICODE_RANGE{0xFFE0, 0xFFEF},   // full-width signs
    DWRITE_UNICODE_RANGE{0x20000, 0x2FA1F}, // supplementary ideographs
};

constexpr std::array kKoreanRanges = {
    DWRITE_UNICODE_RANGE{0x1100, 0x11FF}, // jamo
    DWRITE_UNICODE_RANGE{0x3130, 0x318F}, // compatibility jamo
    DWRITE_UNICODE_RANGE{0xA960, 0xA97F}, // jamo extension A
    DWRITE_UNICODE_RANGE{0xAC00, 0xD7FF}, // syllables, jamo extension B
    DWRITE_UNICODE_RANGE{0xFFA0, 0xFFDC}, // half-width jamo
};

template <std::size_t N>
const wchar_t* FirstInstalled(IDWriteFontCollection& collection,
                              const std::array<const wchar_t*, N>& families)
{
    for (const wchar_t* family : families) {
        if (HasFontFamily(collection, family)) {
            return family;
        }
    }
    return nullptr;
}

std::wstring FirstFamilyName(IDWriteFontCollection& collection)
{
    if (collection.GetFontFamilyCount() == 0) {
        return {};
    }
    ComPtr<IDWriteFontFamily> family;
    ComPtr<IDWriteLocalizedStrings> names;
    if (FAILED(collection.GetFontFamily(0, &family)) || FAILED(family->GetFamilyNames(&names)) ||
        names->GetCount() == 0) {
        return {};
    }
    UINT32 length = 0;
    if (FAILED(names->GetStringLength(0, &length))) {
        return {};
    }
    std::wstring name(length + 1, L'\0');
    if (FAILED(names->GetString(0, name.data(), length + 1))) {
        return {};
    }
    name.resize(length);
    return name;
}

template <std::size_t N, std::size_t M>
void AddFirstInstalledMapping(IDWriteFontFallbackBuilder& builder,
                              IDWriteFontCollection& collection,
                              const std::array<DWRITE_UNICODE_RANGE, N>& ranges,
                              const std::array<const wchar_t*, M>& families)
{
    const wchar_t* family = FirstInstalled(collection, families);
    if (family == nullptr) {
        return;
    }
    const WCHAR* targets[] = {family};
    builder.AddMapping(ranges.data(), static_cast<UINT32>(ranges.size()), targets, 1, nullptr,
                       nullptr, nullptr, 1.0f);
}

} // namespace

std::span<const wchar_t* const> FallbackFamilies(FontRole role)
{
    if (role == FontRole::Interface) {
        return kInterfaceFamilies;
    }
    return kMonospaceFamilies;
}

bool HasFontFamily(IDWriteFontCollection& collection, const std::wstring& family)
{
    UINT32 index = 0;
    BOOL exists = FALSE;
    return !family.empty() &&
           SUCCEEDED(collection.FindFamilyName(family.c_str(), &index, &exists)) && exists != FALSE;
}

std::wstring ResolveFontFamily(IDWriteFactory& factory, const std::wstring& requested,
                               FontRole role)
{
    ComPtr<IDWriteFontCollection> collection;
    if (FAILED(factory.GetSystemFontCollection(&collection, FALSE))) {
        return requested;
    }
    if (HasFontFamily(*collection.Get(), requested)) {
        return requested;
    }
    for (const wchar_t* family : FallbackFamilies(role)) {
        if (HasFontFamily(*collection.Get(), family)) {
            return family;
        }
    }
    std::wstring any = FirstFamilyName(*collection.Get());
    return any.empty() ? requested : any;
}

ComPtr<IDWriteFontFallback> CreateCjkFontFallback(IDWriteFactory& factory)
{
    ComPtr<IDWriteFactory2> factory2;
    if (FAILED(factory.QueryInterface(IID_PPV_ARGS(&factory2)))) {
        return nullptr;
    }
    ComPtr<IDWriteFontCollection> collection;
    ComPtr<IDWriteFontFallbackBuilder> builder;
    if (FAILED(factory.GetSystemFontCollection(&collection, FALSE)) ||
        FAILED(factory2->CreateFontFallbackBuilder(&builder))) {
        return nullptr;
    }
    AddFirstInstalledMapping(*builder.Get(), *collection.Get(), kJapaneseRanges, kJapaneseFamilies);
    AddFirstInstalledMapping(*builder.Get(), *collection.Get(), kKoreanRanges, kKoreanFamilies);
    ComPtr<IDWriteFontFallback> system;
    if (SUCCEEDED(factory2->GetSystemFontFallback(&system)) && system) {
        builder->AddMappings(system.Get());
    }
    ComPtr<IDWriteFontFallback> fallback;
    if (FAILED(builder->CreateFontFallback(&fallback))) {
        return nullptr;
    }
    return fallback;
}

ComPtr<IDWriteTextFormat> CreateResolvedTextFormat(IDWriteFactory& factory,
                                                   const TextFormatRequest& request)
{
    const std::wstring family = ResolveFontFamily(factory, request.family, request.role);
    ComPtr<IDWriteTextFormat> format;
    if (FAILED(factory.CreateTextFormat(
            family.c_str(), nullptr,
            request.bold ? DWRITE_FONT_WEIGHT_BOLD : DWRITE_FONT_WEIGHT_NORMAL,
            request.italic ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL,
            DWRITE_FONT_STRETCH_NORMAL, request.sizeDips, L"", &format))) {
        return nullptr;
    }
    format->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    format->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_NEAR);
    format->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING);
    ComPtr<IDWriteTextFormat1> format1;
    if (SUCCEEDED(format.As(&format1))) {
        if (ComPtr<IDWriteFontFallback> fallback = CreateCjkFontFallback(factory)) {
            format1->SetFontFallback(fallback.Get());
        }
    }
    return format;
}

} // namespace orx::win
