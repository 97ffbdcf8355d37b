#include "settings/SettingsJson.h"

#include "platform/Utf.h"
#include "settings/JsonScanner.h"
#include "text/HexFormat.h"

#include <array>
#include <charconv>

namespace orx {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

struct CommonName {
    std::string_view json;
    TextEncoding encoding;
};
constexpr std::array kCommonNames = {
    CommonName{"ascii", TextEncoding::Ascii},
    CommonName{"utf8", TextEncoding::Utf8},
    CommonName{"utf16le", TextEncoding::Utf16Le},
    CommonName{"utf16be", TextEncoding::Utf16Be},
};

// Names the reader accepts for the code pages, after NormalizedName.
constexpr std::array<std::u16string_view, 4> kShiftJisNames = {u"cp932", u"windows31j", u"shiftjis",
                                                               u"sjis"};
constexpr std::array<std::u16string_view, 3> kWindows949Names = {u"cp949", u"windows949",
                                                                 u"windows31k"};

template <std::size_t N>
bool IsOneOf(std::u16string_view name, const std::array<std::u16string_view, N>& names)
{
    for (const auto candidate : names) {
        if (name == candidate) {
            return true;
        }
    }
    return false;
}

std::string_view Bool(bool value)
{
    return value ? "true" : "false";
}

// Same text as a standard stream prints for a float: %g with six significant digits.
std::string FormatFloat(float value)
{
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string_view ThemeName(Theme theme)
{
    switch (theme) {
    case Theme::Light: return "Light";
    case Theme::Black: return "Black";
    default: return "DarkBlue";
    }
}

std::string_view LanguageName(UiLanguage language)
{
    switch (language) {
    case UiLanguage::English: return "English";
    case UiLanguage::Japanese: return "Japanese";
    default: return "System";
    }
}

class Writer {
public:
    void Line(int indent, std::string_view a, std::string_view b = {}, std::string_view c = {})
    {
        text_.append(static_cast<std::size_t>(indent), ' ');
        text_ += a;
        text_ += b;
        text_ += c;
        text_ += kLineEnd;
    }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

void WriteEncoding(Writer& out, TextEncoding encoding)
{
    for (const CommonName& name : kCommonNames) {
        if (name.encoding == encoding) {
            out.Line(4, R"("kind": "common",)");
            out.Line(4, R"("common": ")", name.json, "\"");
            return;
        }
    }
    std::string_view language = "korean";
    std::string_view code;
    switch (encoding) {
    case TextEncoding::ShiftJis:
        language = "japanese";
        code = "cp932";
        break;
    case TextEncoding::Windows949: code = "cp949"; break;
    case TextEncoding::EucKr: code = "euc-kr"; break;
    default:
        // Out-of-range values behave as ASCII everywhere, so they are stored as such.
        out.Line(4, R"("kind": "common",)");
        out.Line(4, R"("common": "ascii")");
        return;
    }
    out.Line(4, R"("kind": "charset",)");
    out.Line(4, R"("charset": {)");
    out.Line(6, R"("language": ")", language, "\",");
    out.Line(6, R"("code": ")", code, "\"");
    out.Line(4, "}");
}

std::string RecentFilesItems(const std::vector<std::u16string>& paths)
{
    std::string items;
    for (const auto& path : paths) {
        if (!items.empty()) {
            items += ", ";
        }
        items += '"' + EscapeJsonString(path) + '"';
    }
    return items;
}

std::string SearchHistoryItems(const std::vector<SearchHistoryEntry>& entries)
{
    std::string items;
    for (const auto& entry : entries) {
        if (!items.empty()) {
            items += ", ";
        }
        items += R"({"kind": ")" + EscapeJsonString(entry.kind) + R"(", "query": ")" +
                 EscapeJsonString(entry.query) + "\"";
        // Written only when set: files stay as earlier versions wrote them, and those ignore it.
        items += entry.ignoreCase ? R"(, "ignoreCase": true})" : "}";
    }
    return items;
}

// Letters and digits only, lower-cased: "Shift-JIS", "shift_jis" and "SJIS" compare alike.
std::u16string NormalizedName(std::u16string_view name)
{
    std::u16string result;
    for (char16_t c : name) {
        if (c >= u'A' && c <= u'Z') {
            result += static_cast<char16_t>(c - u'A' + u'a');
        } else if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
            result += c;
        }
    }
    return result;
}

TextEncoding CommonEncoding(std::u16string_view name)
{
    if (name == u"utf8")
        return TextEncoding::Utf8;
    if (name == u"utf16le")
        return TextEncoding::Utf16Le;
    if (name == u"utf16be")
        return TextEncoding::Utf16Be;
    if (IsOneOf(name, kShiftJisNames))
        return TextEncoding::ShiftJis;
    if (IsOneOf(name, kWindows949Names))
        return TextEncoding::Windows949;
    if (name == u"euckr")
        return TextEncoding::EucKr;
    return TextEncoding::Ascii;
}

std::optional<TextEncoding> CharsetEncoding(std::u16string_view language, std::u16string_view code)
{
    if (language == u"japanese" && IsOneOf(code, kShiftJisNames))
        return TextEncoding::ShiftJis;
    if (language == u"korean" && IsOneOf(code, kWindows949Names))
        return TextEncoding::Windows949;
    if (language == u"korean" && code == u"euckr")
        return TextEncoding::EucKr;
    return std::nullopt;
}

std::optional<TextEncoding> ReadEncoding(const JsonScanner& scan, const JsonScanner::Span& object)
{
    const auto kind = scan.String("kind", object.open);
    if (!kind) {
        return std::nullopt;
    }
    const std::u16string normalizedKind = NormalizedName(*kind);
    if (normalizedKind == u"common") {
        const auto common = scan.String("common", object.open);
        return common ? std::optional(CommonEncoding(NormalizedName(*common))) : std::nullopt;
    }
    if (normalizedKind == u"charset") {
        const auto charset = scan.Object("charset", object.open);
        if (!charset) {
            return std::nullopt;
        }
        const auto language = scan.String("language", charset->open);
        const auto code = scan.String("code", charset->open);
        if (!language || !code) {
            return std::nullopt;
        }
        return CharsetEncoding(NormalizedName(*language), NormalizedName(*code));
    }
    return std::nullopt;
}

// The UI language sits at the top level; the "language" inside the encoding's charset
// object names the encoding's language and must not be taken for it.
std::optional<std::u16string> TopLevelLanguage(const JsonScanner& scan,
                                               const std::optional<JsonScanner::Span>& encoding)
{
    std::size_t from = 0;
    while (const auto afterKey = scan.FindKey("language", from)) {
        const bool insideEncoding =
            encoding && *afterKey > encoding->open && *afterKey <= encoding->close;
        if (!insideEncoding) {
            return scan.StringAfter(*afterKey);
        }
        from = *afterKey;
    }
    return std::nullopt;
}

void ReadFont(const JsonScanner& scan, AppSettings& settings)
{
    const auto font = scan.FindKey("font", 0);
    if (!font) {
        return;
    }
    const std::size_t at = *font;
    if (auto family = scan.String("family", at); family && !family->empty()) {
        settings.fontFamily = std::move(*family);
    }
    if (const auto size = scan.Number("size", at); size && *size > 0.0f) {
        settings.fontSize = *size;
    }
    if (const auto bold = scan.Boolean("bold", at)) {
        settings.fontBold = *bold;
    }
    if (const auto italic = scan.Boolean("italic", at)) {
        settings.fontItalic = *italic;
    }
}

void ReadOption(const JsonScanner& scan, std::string_view key, std::size_t at,
                std::u16string_view one, std::uint32_t& option)
{
    if (const auto word = scan.String(key, at)) {
        option = *word == one ? 1u : 0u;
    }
}

void ReadAnalysis(const JsonScanner& scan, AppSettings& settings)
{
    const auto analysis = scan.Object("analysis", 0);
    if (!analysis) {
        return;
    }
    if (const auto inspector = scan.Object("dataInspector", analysis->open)) {
        if (const auto visible = scan.Boolean("visible", inspector->open)) {
            settings.inspectorVisible = *visible;
        }
        // Only inside its own object: the struct view's "endian" follows it.
        const auto endianKey = scan.FindKey("endian", inspector->open);
        if (endianKey && *endianKey < inspector->close) {
            settings.inspectorBigEndian = scan.StringAfter(*endianKey) == u"big";
        }
    }
    const auto structView = scan.Object("structView", analysis->open);
    if (!structView) {
        return;
    }
    if (const auto visible = scan.Boolean("visible", structView->open)) {
        settings.structViewVisible = *visible;
    }
    ReadOption(scan, "byteArrayFormat", structView->open, u"ascii",
               settings.structOptions.byteArrayFormat);
    ReadOption(scan, "endian", structView->open, u"big", settings.structOptions.endian);
    ReadOption(scan, "numericBase", structView->open, u"dec", settings.structOptions.numericBase);
    if (const auto apply = scan.Boolean("applyMatches", structView->open)) {
        settings.structApplyMatches = *apply;
    }
}

std::vector<SearchHistoryEntry> ReadSearchHistory(const JsonScanner& scan)
{
    std::vector<SearchHistoryEntry> history;
    for (const std::string_view element : scan.ObjectArray("searchHistory", 0)) {
        const JsonScanner inner(element);
        auto kind = inner.String("kind", 0);
        auto query = inner.String("query", 0);
        if (kind && query) {
            history.push_back({std::move(*kind), std::move(*query),
                               inner.Boolean("ignoreCase", 0).value_or(false)});
        }
    }
    return history;
}

} // namespace

std::string EscapeJsonString(std::u16string_view text)
{
    const std::string utf8 = platform::Utf16ToUtf8(text, false).value_or(std::string());
    std::string escaped;
    escaped.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '"': escaped += "\\\""; break;
        case '\\': escaped += "\\\\"; break;
        case '\b': escaped += "\\b"; break;
        case '\t': escaped += "\\t"; break;
        case '\n': escaped += "\\n"; break;
        case '\f': escaped += "\\f"; break;
        case '\r': escaped += "\\r"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                escaped += "\\u";
                AppendUpperHex(escaped, static_cast<unsigned char>(c), 4);
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

std::string SerializeSettings(const AppSettings& settings)
{
    const StructValueOptions& options = settings.structOptions;
    Writer out;
    out.Line(0, "{");
    out.Line(2, R"("appVersion": ")", EscapeJsonString(settings.appVersion), "\",");
    out.Line(2, R"("encoding": {)");
    WriteEncoding(out, settings.encoding);
    out.Line(2, "},");
    out.Line(2, R"("theme": ")", ThemeName(settings.theme), "\",");
    out.Line(2, R"("language": ")", LanguageName(settings.language), "\",");
    out.Line(2, R"("font": {)");
    out.Line(4, R"("family": ")", EscapeJsonString(settings.fontFamily), "\",");
    out.Line(4, R"("size": )", FormatFloat(settings.fontSize), ",");
    out.Line(4, R"("bold": )", Bool(settings.fontBold), ",");
    out.Line(4, R"("italic": )", Bool(settings.fontItalic));
    out.Line(2, "},");
    out.Line(2, R"("analysis": {)");
    out.Line(4, R"("dataInspector": {)");
    // The byte order only when big: the default file stays as earlier versions wrote it.
    out.Line(6, R"("visible": )", Bool(settings.inspectorVisible),
             settings.inspectorBigEndian ? "," : "");
    if (settings.inspectorBigEndian) {
        out.Line(6, R"("endian": "big")");
    }
    out.Line(4, "},");
    out.Line(4, R"("structView": {)");
    out.Line(6, R"("visible": )", Bool(settings.structViewVisible), ",");
    out.Line(6, R"("byteArrayFormat": ")", options.byteArrayFormat == 1 ? "ascii" : "hex", "\",");
    out.Line(6, R"("endian": ")", options.endian == 1 ? "big" : "little", "\",");
    out.Line(6, R"("numericBase": ")", options.numericBase == 1 ? "dec" : "hex", "\",");
    out.Line(6, R"("applyMatches": )", Bool(settings.structApplyMatches));
    out.Line(4, "}");
    out.Line(2, "},");
    out.Line(2, R"("recentFiles": [)", RecentFilesItems(settings.recentFiles), "],");
    out.Line(2, R"("searchHistory": [)", SearchHistoryItems(settings.searchHistory), "]");
    out.Line(0, "}");
    return out.Take();
}

void ParseSettingsText(AppSettings& settings, std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    const JsonScanner scan(bytes);

    if (auto version = scan.String("appVersion", 0); version && !version->empty()) {
        settings.appVersion = std::move(*version);
    }
    const auto encoding = scan.Object("encoding", 0);
    if (encoding) {
        if (const auto value = ReadEncoding(scan, *encoding)) {
            settings.encoding = *value;
        }
    }
    if (const auto theme = scan.String("theme", 0); theme && !theme->empty()) {
        settings.theme = *theme == u"Light"   ? Theme::Light
                         : *theme == u"Black" ? Theme::Black
                                              : Theme::DarkBlue;
    }
    if (const auto language = TopLevelLanguage(scan, encoding); language && !language->empty()) {
        settings.language = *language == u"English"    ? UiLanguage::English
                            : *language == u"Japanese" ? UiLanguage::Japanese
                                                       : UiLanguage::System;
    }
    settings.recentFiles = scan.StringArray("recentFiles", 0);
    settings.searchHistory = ReadSearchHistory(scan);
    ReadFont(scan, settings);
    ReadAnalysis(scan, settings);
}

} // namespace orx
