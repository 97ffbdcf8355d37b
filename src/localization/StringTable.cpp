#include "localization/StringTable.h"

#include "localization/FileText.h"
#include "platform/System.h"
#include "platform/Utf.h"

namespace orx {
namespace {

// Far above any real string file; a larger file is treated as unreadable.
constexpr std::uint64_t kMaxStringFileBytes = 16u << 20;

std::u16string_view Trim(std::u16string_view text)
{
    constexpr std::u16string_view kBlanks = u" \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::u16string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// Keys are ASCII; anything else cannot match a key the code looks up.
std::string KeyFromText(std::u16string_view text)
{
    std::string key;
    key.reserve(text.size());
    for (const char16_t c : text) {
        key += c <= 0x7F ? static_cast<char>(c) : '?';
    }
    return key;
}

void AddLine(StringMap& map, std::string_view lineBytes)
{
    const std::u16string line = platform::Utf8ToUtf16(lineBytes, false).value_or(std::u16string());
    if (line.empty() || line.front() == u'#') {
        return;
    }
    const auto equals = line.find(u'=');
    if (equals == std::u16string::npos) {
        return;
    }
    const std::u16string_view view(line);
    map.emplace(KeyFromText(Trim(view.substr(0, equals))),
                std::u16string(Trim(view.substr(equals + 1))));
}

} // namespace

StringMap ParseStringFile(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    StringMap map;
    while (!bytes.empty()) {
        const auto newline = bytes.find('\n');
        AddLine(map, bytes.substr(0, newline));
        if (newline == std::string_view::npos) {
            break;
        }
        bytes.remove_prefix(newline + 1);
    }
    return map;
}

StringTable::StringTable() : StringTable(platform::UserDefaultLocaleName)
{}

StringTable::StringTable(LocaleSource localeSource) : localeSource_(std::move(localeSource))
{}

void StringTable::SetBaseDirectory(std::u16string directory)
{
    baseDirectory_ = std::move(directory);
}

std::u16string StringTable::LanguageCode() const
{
    if (language_ == UiLanguage::English || language_ == UiLanguage::Japanese) {
        return LanguageCodeFor(language_, std::nullopt);
    }
    return LanguageCodeFor(UiLanguage::System, localeSource_ ? localeSource_() : std::nullopt);
}

std::u16string StringTable::StringFilePath(const std::u16string& code) const
{
    return JoinPath(JoinPath(JoinPath(baseDirectory_, u"resources"), u"strings"), code + u".txt");
}

void StringTable::EnsureLoaded(const std::u16string& code)
{
    if (tables_.contains(code)) {
        return;
    }
    // A missing file still gets its (empty) table so that it is not looked for again.
    const auto bytes = ReadFileBytes(StringFilePath(code), kMaxStringFileBytes);
    tables_.emplace(code, bytes ? ParseStringFile(*bytes) : StringMap());
}

std::optional<std::u16string> StringTable::Find(std::string_view key)
{
    const std::u16string code = LanguageCode();
    EnsureLoaded(code);
    const StringMap& table = tables_.at(code);
    if (const auto found = table.find(std::string(key)); found != table.end()) {
        return found->second;
    }
    return std::nullopt;
}

std::u16string StringTable::Lookup(std::string_view key)
{
    if (auto text = Find(key)) {
        return std::move(*text);
    }
    std::u16string widened;
    widened.reserve(key.size());
    for (const char c : key) {
        widened += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return widened;
}

} // namespace orx
