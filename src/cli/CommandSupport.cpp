#include "cli/CommandSupport.h"

#include "cli/BuiltInStrings.h"
#include "document/EditableDocument.h"
#include "localization/StringTable.h"
#include "settings/SettingsLocation.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace orx::cli {

const std::u16string* SplitArgs::Value(std::u16string_view name) const
{
    const auto it = values.find(std::u16string(name));
    return it == values.end() ? nullptr : &it->second;
}

std::optional<SplitArgs> Split(const Args& args, std::initializer_list<std::u16string_view> flags,
                               std::initializer_list<std::u16string_view> options)
{
    auto listed = [](std::initializer_list<std::u16string_view> names, const std::u16string& arg) {
        return std::find(names.begin(), names.end(), arg) != names.end();
    };
    SplitArgs split;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        if (!arg.starts_with(u"--")) {
            split.positional.push_back(arg);
        } else if (listed(flags, arg)) {
            if (!split.flags.insert(arg).second) {
                return std::nullopt;
            }
        } else if (!listed(options, arg) || i + 1 == args.size() ||
                   !split.values.emplace(arg, args[i + 1]).second) {
            return std::nullopt;
        } else {
            ++i;
        }
    }
    return split;
}

std::string FormatOffset(std::uint64_t offset)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIX64, offset);
    return text;
}

bool OpenOrReport(EditableDocument& document, const std::u16string& path, std::ostream& err)
{
    if (document.Open(path)) {
        return true;
    }
    err << "cannot open: ";
    Print(err, path);
    err << "\n";
    return false;
}

std::u16string EnglishText(std::string_view key, const std::u16string& resourceDirectory)
{
    StringTable strings;
    strings.SetBaseDirectory(resourceDirectory.empty() ? ExecutableDirectory() : resourceDirectory);
    strings.SetLanguage(UiLanguage::English);
    if (auto text = strings.Find(key)) {
        return std::move(*text);
    }
    static const StringMap builtIn = ParseStringFile(BuiltInEnglishStrings());
    if (const auto found = builtIn.find(std::string(key)); found != builtIn.end()) {
        return found->second;
    }
    return strings.Lookup(key);
}

} // namespace orx::cli
