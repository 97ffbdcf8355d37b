#include "bookmarks/BookmarksJson.h"

#include "bookmarks/JsonValue.h"
#include "localization/FileText.h"
#include "settings/SettingsJson.h"

#include <string>

namespace orx {

void AppendRegionsJson(std::string& out, const std::vector<Region>& regions,
                       std::string_view indent)
{
    out += "[";
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const Region& region = regions[i];
        out += i == 0 ? "\n" : ",\n";
        out += indent;
        out += "  {\"offset\": " + std::to_string(region.offset) +
               ", \"length\": " + std::to_string(region.length) + ", \"colour\": \"" +
               std::string(RegionColourName(region.colour)) + "\", \"note\": \"" +
               EscapeJsonString(region.note) + "\"}";
    }
    if (!regions.empty()) {
        out += "\n";
        out += indent;
    }
    out += "]";
}

namespace {

std::optional<std::vector<Region>> ReadRegions(const JsonValue* array)
{
    if (array == nullptr || array->kind != JsonValue::Kind::Array) {
        return std::nullopt;
    }
    std::vector<Region> regions;
    for (const JsonValue& item : array->items) {
        const auto offset = item.NumberAt("offset");
        const auto length = item.NumberAt("length");
        const auto colourName = item.TextAt("colour");
        const auto note = item.TextAt("note");
        if (!offset || !length || *length == 0 || *length > UINT64_MAX - *offset || !note ||
            !colourName) {
            return std::nullopt;
        }
        const auto colour = RegionColourNamed(std::string(colourName->begin(), colourName->end()));
        // A colour this version does not know keeps the region, in the first colour.
        regions.push_back({*offset, *length, colour.value_or(RegionColour::Red), *note});
    }
    return regions;
}

char16_t Folded(char16_t c)
{
    if (c == u'/') {
        return u'\\';
    }
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

} // namespace

std::string SerializeBookmarks(const std::vector<FileRegions>& files)
{
    std::string out = "{\n  \"version\": 1,\n  \"files\": [";
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileRegions& file = files[i];
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"path\": \"" + EscapeJsonString(file.path) +
               "\", \"size\": " + std::to_string(file.identity.size) +
               ", \"lastWrite\": " + std::to_string(file.identity.lastWrite) +
               ",\n     \"regions\": ";
        AppendRegionsJson(out, file.regions, "     ");
        out += "}";
    }
    out += files.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

std::optional<std::vector<FileRegions>> ParseBookmarks(std::string_view text)
{
    const std::optional<JsonValue> root = ParseJson(text);
    if (!root || root->kind != JsonValue::Kind::Object) {
        return std::nullopt;
    }
    const JsonValue* files = root->Member("files");
    if (files == nullptr || files->kind != JsonValue::Kind::Array) {
        return std::nullopt;
    }
    std::vector<FileRegions> result;
    for (const JsonValue& file : files->items) {
        const auto path = file.TextAt("path");
        const auto size = file.NumberAt("size");
        const auto lastWrite = file.NumberAt("lastWrite");
        auto regions = ReadRegions(file.Member("regions"));
        if (!path || path->empty() || !size || !lastWrite || !regions) {
            return std::nullopt;
        }
        result.push_back({*path, {*size, *lastWrite}, std::move(*regions)});
    }
    return result;
}

std::string SerializeRegions(const std::vector<Region>& regions)
{
    std::string out = "{\"regions\": ";
    AppendRegionsJson(out, regions, "");
    out += "}\n";
    return out;
}

std::optional<std::vector<Region>> ParseRegions(std::string_view text)
{
    const std::optional<JsonValue> root = ParseJson(text);
    if (!root || root->kind != JsonValue::Kind::Object) {
        return std::nullopt;
    }
    if (const JsonValue* regions = root->Member("regions")) {
        return ReadRegions(regions);
    }
    const JsonValue* files = root->Member("files");
    if (files != nullptr && files->kind == JsonValue::Kind::Array && !files->items.empty()) {
        return ReadRegions(files->items.front().Member("regions"));
    }
    return std::nullopt;
}

bool SamePath(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Folded(a[i]) != Folded(b[i])) {
            return false;
        }
    }
    return true;
}

std::u16string AbsolutePath(const std::u16string& path, const std::u16string& currentDirectory)
{
    const bool rooted =
        (!path.empty() && IsPathSeparator(path[0])) || (path.size() >= 2 && path[1] == u':');
    return rooted || currentDirectory.empty() ? path : JoinPath(currentDirectory, path);
}

} // namespace orx
