#include "settings/SettingsJson.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orx {
namespace {

// The file written for a default record, byte for byte.
constexpr std::string_view kDefaultFile = "{\r\n"
                                          "  \"appVersion\": \"v1.03\",\r\n"
                                          "  \"encoding\": {\r\n"
                                          "    \"kind\": \"common\",\r\n"
                                          "    \"common\": \"ascii\"\r\n"
                                          "  },\r\n"
                                          "  \"theme\": \"DarkBlue\",\r\n"
                                          "  \"language\": \"System\",\r\n"
                                          "  \"font\": {\r\n"
                                          "    \"family\": \"Consolas\",\r\n"
                                          "    \"size\": 12,\r\n"
                                          "    \"bold\": false,\r\n"
                                          "    \"italic\": false\r\n"
                                          "  },\r\n"
                                          "  \"analysis\": {\r\n"
                                          "    \"dataInspector\": {\r\n"
                                          "      \"visible\": true\r\n"
                                          "    },\r\n"
                                          "    \"structView\": {\r\n"
                                          "      \"visible\": false,\r\n"
                                          "      \"byteArrayFormat\": \"hex\",\r\n"
                                          "      \"endian\": \"little\",\r\n"
                                          "      \"numericBase\": \"hex\",\r\n"
                                          "      \"applyMatches\": false\r\n"
                                          "    }\r\n"
                                          "  },\r\n"
                                          "  \"recentFiles\": [],\r\n"
                                          "  \"searchHistory\": []\r\n"
                                          "}\r\n";

AppSettings Stamped()
{
    AppSettings settings;
    settings.appVersion = kAppVersion;
    return settings;
}

// Every field away from its default, with texts that exercise the escaping and the scanner.
AppSettings Changed()
{
    AppSettings settings = Stamped();
    settings.inspectorVisible = false;
    settings.inspectorBigEndian = true;
    settings.structViewVisible = true;
    settings.structOptions = {1, 1, 1};
    settings.encoding = TextEncoding::EucKr;
    settings.theme = Theme::Black;
    settings.language = UiLanguage::Japanese;
    settings.fontFamily = u"MS \u30B4\u30B7\u30C3\u30AF";
    settings.fontSize = 10.5f;
    settings.fontBold = true;
    settings.fontItalic = true;
    settings.recentFiles = {u"C:\\data\\[x].bin", u"D:\\\u65E5\u672C\\\"q\".dat", u"", u"]",
                            u"{\"recentFiles\": [}"};
    settings.searchHistory = {{u"text", u"say \"hi\"\tthere", true},
                              {u"hex", u"DE AD"},
                              {u"text", std::u16string(u"a\x01z\x1B\0!", 6)},
                              {u"text", u"}]{[\\"},
                              {u"text", u"\U0001F600 \u00E9"}};
    return settings;
}

std::string Replace(std::string text, std::string_view from, std::string_view to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

AppSettings Parsed(std::string_view text, AppSettings start = {})
{
    ParseSettingsText(start, text);
    return start;
}

TEST(SerializeSettingsTest, DefaultRecordHasTheFixedLayout)
{
    EXPECT_EQ(SerializeSettings(Stamped()), kDefaultFile);
}

TEST(SerializeSettingsTest, ChangedValuesReplaceOnlyTheirOwnText)
{
    // clang-format off
    struct Case { const char* name; std::function<void(AppSettings&)> change; std::string_view from; std::string to; };
    const std::string_view commonAscii = "    \"kind\": \"common\",\r\n    \"common\": \"ascii\"\r\n";
    const auto charset = [](std::string language, std::string code) {
        return "    \"kind\": \"charset\",\r\n    \"charset\": {\r\n      \"language\": \"" + language +
               "\",\r\n      \"code\": \"" + code + "\"\r\n    }\r\n";
    };
    const Case cases[] = {
        {"utf-8", [](AppSettings& s) { s.encoding = TextEncoding::Utf8; }, "\"ascii\"", "\"utf8\""},
        {"utf-16 le", [](AppSettings& s) { s.encoding = TextEncoding::Utf16Le; }, "\"ascii\"", "\"utf16le\""},
        {"utf-16 be", [](AppSettings& s) { s.encoding = TextEncoding::Utf16Be; }, "\"ascii\"", "\"utf16be\""},
        {"shift_jis", [](AppSettings& s) { s.encoding = TextEncoding::ShiftJis; }, commonAscii, charset("japanese", "cp932")},
        {"windows-949", [](AppSettings& s) { s.encoding = TextEncoding::Windows949; }, commonAscii, charset("korean", "cp949")},
        {"euc-kr", [](AppSettings& s) { s.encoding = TextEncoding::EucKr; }, commonAscii, charset("korean", "euc-kr")},
        {"unknown encoding as ascii", [](AppSettings& s) { s.encoding = static_cast<TextEncoding>(9); }, "", ""},
        {"light", [](AppSettings& s) { s.theme = Theme::Light; }, "DarkBlue", "Light"},
        {"black", [](AppSettings& s) { s.theme = Theme::Black; }, "DarkBlue", "Black"},
        {"unknown theme", [](AppSettings& s) { s.theme = static_cast<Theme>(5); }, "", ""},
        {"english", [](AppSettings& s) { s.language = UiLanguage::English; }, "System", "English"},
        {"japanese", [](AppSettings& s) { s.language = UiLanguage::Japanese; }, "System", "Japanese"},
        {"unknown language", [](AppSettings& s) { s.language = static_cast<UiLanguage>(3); }, "", ""},
        {"size 10.5", [](AppSettings& s) { s.fontSize = 10.5f; }, "\"size\": 12,", "\"size\": 10.5,"},
        {"size six digits", [](AppSettings& s) { s.fontSize = 1.0f / 3.0f; }, "\"size\": 12,", "\"size\": 0.333333,"},
        {"size large", [](AppSettings& s) { s.fontSize = 1234567.0f; }, "\"size\": 12,", "\"size\": 1.23457e+06,"},
        {"bold", [](AppSettings& s) { s.fontBold = true; }, "\"bold\": false", "\"bold\": true"},
        {"italic", [](AppSettings& s) { s.fontItalic = true; }, "\"italic\": false", "\"italic\": true"},
        {"inspector hidden", [](AppSettings& s) { s.inspectorVisible = false; }, "\"visible\": true",
         "\"visible\": false"},
        {"inspector big-endian", [](AppSettings& s) { s.inspectorBigEndian = true; }, "\"visible\": true\r\n",
         "\"visible\": true,\r\n      \"endian\": \"big\"\r\n"},
        {"struct view shown", [](AppSettings& s) { s.structViewVisible = true; }, "\"visible\": false",
         "\"visible\": true"},
        {"ascii arrays", [](AppSettings& s) { s.structOptions.byteArrayFormat = 1; }, "\"hex\",", "\"ascii\","},
        {"big endian", [](AppSettings& s) { s.structOptions.endian = 1; }, "\"little\"", "\"big\""},
        {"decimal", [](AppSettings& s) { s.structOptions.numericBase = 1; }, "\"numericBase\": \"hex\"",
         "\"numericBase\": \"dec\""},
        {"matches applied", [](AppSettings& s) { s.structApplyMatches = true; }, "\"applyMatches\": false",
         "\"applyMatches\": true"},
        {"options other than 1", [](AppSettings& s) { s.structOptions = {2, 7, 0xFFFFFFFF}; }, "", ""},
        {"recent files", [](AppSettings& s) { s.recentFiles = {u"C:\\a.bin", u"b"}; }, "[],", R"(["C:\\a.bin", "b"],)"},
        {"search history", [](AppSettings& s) { s.searchHistory = {{u"hex", u"DE AD"}, {u"text", u"a\"b"}}; },
         "\"searchHistory\": []",
         R"("searchHistory": [{"kind": "hex", "query": "DE AD"}, {"kind": "text", "query": "a\"b"}])"},
        {"case flag", [](AppSettings& s) { s.searchHistory = {{u"text", u"a", true}}; }, "\"searchHistory\": []",
         R"("searchHistory": [{"kind": "text", "query": "a", "ignoreCase": true}])"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings settings = Stamped();
        c.change(settings);
        const std::string expected = c.from.empty()
                                         ? std::string(kDefaultFile)
                                         : Replace(std::string(kDefaultFile), c.from, c.to);
        EXPECT_EQ(SerializeSettings(settings), expected);
    }
}

TEST(EscapeJsonStringTest, EscapesQuotesBackslashesAndControlBytes)
{
    const std::pair<std::u16string, std::string> cases[] = {
        {u"plain", "plain"},
        {u"a\"b\\c", "a\\\"b\\\\c"},
        {u"\b\t\n\f\r", "\\b\\t\\n\\f\\r"},
        {std::u16string(u"\0\x01\x1F", 3), "\\u0000\\u0001\\u001F"},
        {u"\x7F/", "\x7F/"},
        {u"\u65E5\u672C", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(EscapeJsonString(text), escaped);
    }
}

TEST(ParseSettingsTextTest, EveryValueSurvivesARoundTrip)
{
    AppSettings settings = Changed();
    for (const TextEncoding encoding :
         {TextEncoding::Ascii, TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be,
          TextEncoding::ShiftJis, TextEncoding::Windows949, TextEncoding::EucKr}) {
        settings.encoding = encoding;
        const AppSettings back = Parsed(SerializeSettings(settings));
        EXPECT_EQ(back, settings) << static_cast<unsigned>(encoding);
    }
}

TEST(ParseSettingsTextTest, ScannerToleratesOtherSpellingsAndLayouts)
{
    // The default file with `from` replaced by `to` (with no `from`, `to` is the whole text)
    // reads as the default record (the empty one) with `change` made.
    // clang-format off
    struct Case { std::string_view from; std::string text; std::function<void(AppSettings&)> change; };
    const std::string_view common = "\"kind\": \"common\",\r\n    \"common\": \"ascii\"";
    const auto encoding = [](TextEncoding e) { return [e](AppSettings& s) { s.encoding = e; }; };
    const Case cases[] = {
        {"{", "\xEF\xBB\xBF{", [](AppSettings&) {}}, // a byte-order mark
        {"\"ascii\"", "\"Shift-JIS\"", encoding(TextEncoding::ShiftJis)},
        {"\"ascii\"", "\"SJIS\"", encoding(TextEncoding::ShiftJis)},
        {"\"ascii\"", "\"windows-31J\"", encoding(TextEncoding::ShiftJis)},
        {"\"ascii\"", "\"Windows-949\"", encoding(TextEncoding::Windows949)},
        {"\"ascii\"", "\"EUC_KR\"", encoding(TextEncoding::EucKr)},
        {"\"ascii\"", "\"UTF-16LE\"", encoding(TextEncoding::Utf16Le)},
        {"\"ascii\"", "\"latin1\"", encoding(TextEncoding::Ascii)},
        {common, "\"kind\": \"Common\",\r\n    \"common\": \"UTF8\"", encoding(TextEncoding::Utf8)},
        {common, R"("kind": "charset", "charset": {"language": "Japanese", "code": "SJIS"})", encoding(TextEncoding::ShiftJis)},
        {common, R"("kind": "charset", "charset": {"language": "korean", "code": "windows-31k"})",
         encoding(TextEncoding::Windows949)},
        {"DarkBlue", "Light", [](AppSettings& s) { s.theme = Theme::Light; }},
        {"DarkBlue", "Black", [](AppSettings& s) { s.theme = Theme::Black; }},
        {"DarkBlue", "light", [](AppSettings&) {}}, // case-sensitive
        {"DarkBlue", "dark", [](AppSettings&) {}},
        {"System", "English", [](AppSettings& s) { s.language = UiLanguage::English; }},
        {"System", "japanese", [](AppSettings&) {}},
        {"", R"({"theme":"Light","language":"Japanese"})",
         [](AppSettings& s) { s.theme = Theme::Light, s.language = UiLanguage::Japanese; }},
        {"\"size\": 12", "\"size\": 1e3", [](AppSettings& s) { s.fontSize = 1.0f; }},
        {"\"size\": 12", "\"size\": +9.5", [](AppSettings& s) { s.fontSize = 9.5f; }},
        {"\"size\": 12", "\"size\": 1.5.7", [](AppSettings& s) { s.fontSize = 1.5f; }},
        {"\"size\": 12", "\"size\": \"14\"", [](AppSettings&) {}},
        {"\"bold\": false", "\"bold\":true", [](AppSettings& s) { s.fontBold = true; }},
        {"\"bold\": false", "\"bold\": TRUE", [](AppSettings&) {}},
        {"\"little\"", "\"middle\"", [](AppSettings&) {}},
        {"\"Consolas\"", R"("Fira\/Mono\u0020\u00e9")", [](AppSettings& s) { s.fontFamily = u"Fira/Mono \u00E9"; }},
        {"\"Consolas\"", R"("\uD83D\uDE00")", [](AppSettings& s) { s.fontFamily = u"\U0001F600"; }},
        {"\"Consolas\"", R"("\u12")", [](AppSettings& s) { s.fontFamily = u"u12"; }},
        {"\"Consolas\"", "\"A\xFF\"", [](AppSettings& s) { s.fontFamily = u"A\uFFFD"; }}, // invalid UTF-8
        {"", R"({"font": {"family": "size", "size": 9, "bold": true}})",
         [](AppSettings& s) { s.fontFamily = u"size", s.fontSize = 9.0f, s.fontBold = true; }},
        {"\"searchHistory\": []", R"("searchHistory": [{"kind": "hex"}, {"query": "x", "kind": "text"}])",
         [](AppSettings& s) { s.searchHistory = {{u"text", u"x"}}; }},
        {"\"searchHistory\": []", R"("searchHistory": [{"kind": "hex"}, {"query": "x"}])", [](AppSettings&) {}},
        {"\"searchHistory\": []", R"("searchHistory": [{"ignoreCase": true, "query": "x", "kind": "text"}])",
         [](AppSettings& s) { s.searchHistory = {{u"text", u"x", true}}; }},
        {"\"recentFiles\": []", "\"recentFiles\": [\r\n \"a\" ,\r\n\"b\"\r\n ]",
         [](AppSettings& s) { s.recentFiles = {u"a", u"b"}; }},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        AppSettings expected = c.from.empty() ? AppSettings{} : Stamped();
        c.change(expected);
        EXPECT_EQ(
            Parsed(c.from.empty() ? c.text : Replace(std::string(kDefaultFile), c.from, c.text)),
            expected);
    }
}

TEST(ParseSettingsTextTest, MissingOrDamagedValuesKeepTheCurrentOnes)
{
    const AppSettings start = Changed();
    AppSettings keptExceptLists = start;
    keptExceptLists.recentFiles.clear();
    keptExceptLists.searchHistory.clear();

    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"not JSON", std::string("\0\xFF garbage ]]}}{{\"\\", 19)},
        {"empty values",
         R"({"appVersion": "", "theme": "", "language": "", "font": {"family": "", "size": 0}})"},
        {"negative size", R"({"font": {"size": -3}})"},
        {"size out of range", R"({"font": {"size": 1)" + std::string(60, '0') + "}}"},
        {"string ends with the text", R"({"theme": "Li)"},
        {"unknown kind", R"({"encoding": {"kind": "other", "common": "utf16be"}})"},
        {"common missing", R"({"encoding": {"kind": "common"}})"},
        {"charset language mismatch",
         R"({"encoding": {"kind": "charset", "charset": {"language": "japanese", "code": "cp949"}}})"},
        {"encoding object not closed", R"({"encoding": {"kind": "common", "common": "utf16be")"},
        {"analysis not closed",
         R"({"analysis": {"dataInspector": {"visible": true}, "structView": {"visible": false})"},
        {"booleans misspelt", R"({"font": {"bold": yes, "italic": 0}})"},
        {"arrays not closed",
         R"({"recentFiles": ["a", "b", "searchHistory": [{"kind": "hex", "query": "01"})"},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Parsed(text, start), keptExceptLists);
    }
}

TEST(ParseSettingsTextTest, UiLanguageIsTheTopLevelOneNotTheCharsetOne)
{
    // A file as written has the charset's language first; the round trip of Shift_JIS holds
    // that. Placed before the encoding object the top-level one still wins.
    EXPECT_EQ(
        Parsed(
            R"({"language": "Japanese", "encoding": {"kind": "charset", "charset": {"language": "korean", "code": "cp949"}}})")
            .language,
        UiLanguage::Japanese);
}

TEST(ParseSettingsTextTest, EveryTruncationOfAFileIsReadSafely)
{
    const AppSettings full = Changed();
    const std::string text = SerializeSettings(full);
    const AppSettings defaults;
    for (std::size_t length = 0; length <= text.size(); ++length) {
        SCOPED_TRACE(length);
        const AppSettings read = Parsed(std::string_view(text).substr(0, length));
        // Each value is either what was written or still the default, never anything else.
        EXPECT_TRUE(read.encoding == full.encoding || read.encoding == defaults.encoding);
        EXPECT_TRUE(read.theme == full.theme || read.theme == defaults.theme);
        EXPECT_TRUE(read.language == full.language || read.language == defaults.language);
        EXPECT_TRUE(read.fontFamily == full.fontFamily || read.fontFamily == defaults.fontFamily);
        EXPECT_TRUE(read.fontBold == full.fontBold || read.fontBold == defaults.fontBold);
        EXPECT_TRUE(read.inspectorVisible == full.inspectorVisible ||
                    read.inspectorVisible == defaults.inspectorVisible);
        EXPECT_TRUE(read.recentFiles == full.recentFiles || read.recentFiles.empty());
        EXPECT_LE(read.searchHistory.size(), full.searchHistory.size());
        for (std::size_t i = 0; i < read.searchHistory.size(); ++i) {
            EXPECT_EQ(read.searchHistory[i], full.searchHistory[i]);
        }
    }
}

} // namespace
} // namespace orx
