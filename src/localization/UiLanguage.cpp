#include "localization/UiLanguage.h"

namespace orx {

bool IsJapaneseLocaleName(const std::optional<std::u16string>& localeName)
{
    return localeName.has_value() && localeName->size() >= 2 && (*localeName)[0] == u'j' &&
           (*localeName)[1] == u'a';
}

std::u16string LanguageCodeFor(UiLanguage language, const std::optional<std::u16string>& localeName)
{
    switch (language) {
    case UiLanguage::English: return u"en-US";
    case UiLanguage::Japanese: return u"ja-JP";
    default: return IsJapaneseLocaleName(localeName) ? u"ja-JP" : u"en-US";
    }
}

} // namespace orx
