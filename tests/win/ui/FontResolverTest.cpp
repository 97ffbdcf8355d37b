#include "ui/win/FontResolver.h"

#include <gtest/gtest.h>

#include <string>

namespace orx::win {
namespace {

ComPtr<IDWriteFactory> Factory()
{
    ComPtr<IDWriteFactory> factory;
    DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                        reinterpret_cast<IUnknown**>(factory.GetAddressOf()));
    return factory;
}

ComPtr<IDWriteFontCollection> SystemFonts(IDWriteFactory& factory)
{
    ComPtr<IDWriteFontCollection> collection;
    factory.GetSystemFontCollection(&collection, FALSE);
    return collection;
}

// Whether any installed family's regular face has the character.
bool AnyFontHas(IDWriteFontCollection& fonts, UINT32 codePoint)
{
    for (UINT32 i = 0; i < fonts.GetFontFamilyCount(); ++i) {
        ComPtr<IDWriteFontFamily> family;
        ComPtr<IDWriteFont> font;
        BOOL has = FALSE;
        if (SUCCEEDED(fonts.GetFontFamily(i, &family)) &&
            SUCCEEDED(family->GetFirstMatchingFont(DWRITE_FONT_WEIGHT_NORMAL,
                                                   DWRITE_FONT_STRETCH_NORMAL,
                                                   DWRITE_FONT_STYLE_NORMAL, &font)) &&
            SUCCEEDED(font->HasCharacter(codePoint, &has)) && has) {
            return true;
        }
    }
    return false;
}

// A fixed text for the fallback to map, as DirectWrite's analysers would present it.
class TextSource final : public IDWriteTextAnalysisSource {
public:
    explicit TextSource(std::wstring text) : text_(std::move(text)) {}
    virtual ~TextSource() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == __uuidof(IUnknown) || id == __uuidof(IDWriteTextAnalysisSource)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; } // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTextAtPosition(UINT32 position, const WCHAR** text,
                                                UINT32* length) override
    {
        *text = position < text_.size() ? text_.c_str() + position : nullptr;
        *length = position < text_.size() ? static_cast<UINT32>(text_.size() - position) : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTextBeforePosition(UINT32 position, const WCHAR** text,
                                                    UINT32* length) override
    {
        *text = position > 0 && position <= text_.size() ? text_.c_str() : nullptr;
        *length = position <= text_.size() ? position : 0;
        return S_OK;
    }
    DWRITE_READING_DIRECTION STDMETHODCALLTYPE GetParagraphReadingDirection() override
    {
        return DWRITE_READING_DIRECTION_LEFT_TO_RIGHT;
    }
    HRESULT STDMETHODCALLTYPE GetLocaleName(UINT32, UINT32* length, const WCHAR** locale) override
    {
        *length = static_cast<UINT32>(text_.size());
        *locale = L"";
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    GetNumberSubstitution(UINT32, UINT32* length, IDWriteNumberSubstitution** substitution) override
    {
        *length = static_cast<UINT32>(text_.size());
        *substitution = nullptr;
        return S_OK;
    }

private:
    std::wstring text_;
};

TEST(FontResolver, MissingFamiliesResolveToInstalledOnesOfTheirKind)
{
    const auto factory = Factory();
    ASSERT_TRUE(factory);
    const auto fonts = SystemFonts(*factory.Get());
    // clang-format off
    struct Case { const wchar_t* requested; FontRole role; };
    const Case cases[] = {
        {L"Consolas", FontRole::Monospace}, {L"Segoe UI", FontRole::Interface}, {L"No Such Family 7", FontRole::Monospace},
        {L"", FontRole::Monospace}, {L"DejaVu Sans Mono", FontRole::Monospace}, {L"dejavu sans mono", FontRole::Monospace},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::wstring resolved = ResolveFontFamily(*factory.Get(), c.requested, c.role);
        EXPECT_TRUE(HasFontFamily(*fonts.Get(), resolved))
            << "requested " << std::wstring(c.requested).size();
        if (HasFontFamily(*fonts.Get(), c.requested)) {
            EXPECT_EQ(resolved, c.requested) << "an installed family is kept as asked";
        }
    }
    // A family that is missing falls back along its own role's list first.
    for (FontRole role : {FontRole::Monospace, FontRole::Interface}) {
        const std::wstring resolved = ResolveFontFamily(*factory.Get(), L"No Such Family 7", role);
        bool fromList = false;
        for (const wchar_t* family : FallbackFamilies(role)) {
            fromList = fromList || resolved == family;
        }
        EXPECT_TRUE(fromList) << "this machine has none of the role's families installed";
    }
}

TEST(FontResolver, CjkCharactersMapToAnInstalledFontThatHasThem)
{
    const auto factory = Factory();
    const auto fallback = CreateCjkFontFallback(*factory.Get());
    ASSERT_TRUE(fallback) << "the platform offers no font fallback builder";
    const auto fonts = SystemFonts(*factory.Get());
    const std::wstring base = ResolveFontFamily(*factory.Get(), L"Consolas", FontRole::Monospace);
    // clang-format off
    const struct { UINT32 codePoint; const char* what; } cases[] = {
        {0x3042, "hiragana a"}, {0x30A2, "katakana a"}, {0x6F22, "kanji"}, {0xFF71, "half-width katakana"},
        {0xD55C, "hangul syllable"}, {0x3131, "compatibility jamo"}, {0xFF10, "full-width digit"},
        {0xFFA1, "half-width jamo"},
    };
    // clang-format on
    int mapped = 0;
    for (const auto& c : cases) {
        if (!AnyFontHas(*fonts.Get(), c.codePoint)) {
            continue; // nothing installed could show it
        }
        TextSource source(std::wstring(1, static_cast<wchar_t>(c.codePoint)));
        UINT32 mappedLength = 0;
        ComPtr<IDWriteFont> font;
        FLOAT scale = 0.0f;
        ASSERT_TRUE(SUCCEEDED(fallback->MapCharacters(
            &source, 0, 1, fonts.Get(), base.c_str(), DWRITE_FONT_WEIGHT_NORMAL,
            DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, &mappedLength, &font, &scale)))
            << c.what;
        EXPECT_EQ(mappedLength, 1u) << c.what;
        ASSERT_TRUE(font) << c.what << " maps to no font";
        BOOL has = FALSE;
        EXPECT_TRUE(SUCCEEDED(font->HasCharacter(c.codePoint, &has)) && has) << c.what;
        ++mapped;
    }
    EXPECT_GE(mapped, 4) << "kana, kanji and Hangul need an installed CJK font";
}

TEST(FontResolver, TextFormatUsesTheResolvedFamilyButKeepsSizeAndStyle)
{
    const auto factory = Factory();
    const auto format = CreateResolvedTextFormat(*factory.Get(), {L"Consolas", 21.0f, true, true});
    ASSERT_TRUE(format);
    std::wstring family(format->GetFontFamilyNameLength() + 1, L'\0');
    format->GetFontFamilyName(family.data(), static_cast<UINT32>(family.size()));
    family.resize(family.size() - 1);
    EXPECT_EQ(family, ResolveFontFamily(*factory.Get(), L"Consolas", FontRole::Monospace));
    EXPECT_FLOAT_EQ(format->GetFontSize(), 21.0f);
    EXPECT_EQ(format->GetFontWeight(), DWRITE_FONT_WEIGHT_BOLD);
    EXPECT_EQ(format->GetFontStyle(), DWRITE_FONT_STYLE_ITALIC);
    EXPECT_EQ(format->GetWordWrapping(), DWRITE_WORD_WRAPPING_NO_WRAP);
}

} // namespace
} // namespace orx::win
