#include "settings/SettingsFile.h"

#include "localization/FileText.h"
#include "localization/StringTable.h"
#include "platform/PathText.h"
#include "platform/FileSystem.h"
#include "settings/SettingsJson.h"
#include "settings/SettingsLocation.h"

#include <algorithm>

namespace orx {
namespace {

// A settings file is a few kilobytes; anything this large is not ours to load.
constexpr std::uint64_t kMaxSettingsFileBytes = 16u << 20;

bool WriteAll(platform::FileSystem& fs, const platform::NativeFile& file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto chunk =
            static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), 1u << 20));
        std::uint32_t written = 0;
        if (!fs.Write(file, bytes.data(), chunk, written) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

AppSettings DefaultSettings(UiLanguage language)
{
    AppSettings settings;
    settings.appVersion = kAppVersion;
    settings.language = language;
    return settings;
}

bool ParseSettings(AppSettings& settings, const std::u16string& path)
{
    const auto bytes = ReadFileBytes(path, kMaxSettingsFileBytes);
    if (!bytes) {
        return false;
    }
    ParseSettingsText(settings, *bytes);
    return true;
}

bool SaveSettings(const AppSettings& settings, const std::u16string& path, platform::FileSystem& fs)
{
    return ReplaceFileContents(path, SerializeSettings(settings), fs);
}

bool ReplaceFileContents(const std::u16string& path, std::string_view bytes,
                         platform::FileSystem& fs)
{
    const std::u16string directory = platform::DirectoryOfPath(path);
    std::u16string temp;
    if (!fs.CreateTempFile(directory.empty() ? std::u16string(u".") : directory, u"ORL", temp)) {
        return false;
    }
    bool written = false;
    {
        const platform::NativeFile file = fs.CreateForWrite(temp);
        written = file.IsOpen() && WriteAll(fs, file, bytes) && fs.Flush(file);
    }
    if (written && fs.MoveReplace(temp, path)) {
        return true;
    }
    fs.Delete(temp);
    return false;
}

void LoadSettings(AppSettings& settings, const std::u16string& path, StringTable& strings)
{
    LoadSettings(settings, path, strings, DefaultUiLanguage());
}

void LoadSettings(AppSettings& settings, const std::u16string& path, StringTable& strings,
                  UiLanguage defaultLanguage)
{
    // A file that is missing, or that cannot be read for any other reason, gives the
    // defaults; an error of the lookup itself is no reason to stop the application.
    if (!ParseSettings(settings, path)) {
        settings = DefaultSettings(defaultLanguage);
        strings.SetLanguage(settings.language);
        (void)SaveSettings(settings, path);
        return;
    }
    if (settings.fontFamily.empty()) {
        settings.fontFamily = kDefaultFontFamily;
    }
    if (!(settings.fontSize > 0.0f)) {
        settings.fontSize = kDefaultFontSize;
    }
    strings.SetLanguage(settings.language);
    if (settings.appVersion != kAppVersion) {
        settings.appVersion = kAppVersion;
        (void)SaveSettings(settings, path);
    }
}

} // namespace orx
