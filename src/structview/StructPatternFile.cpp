#include "structview/StructPatternFile.h"

#include "structview/PatternParser.h"
#include "structview/PatternText.h"
#include "structview/StructLayout.h"

namespace orx {

const ResolvedStruct* FindStruct(const StructPatternFile& file, std::u16string_view name)
{
    for (const ResolvedStruct& s : file.structs) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

bool LoadStructPatternText(std::u16string_view text, StructPatternFile& file, std::u16string& error)
{
    ParseState state;
    if (!ParsePattern(text, state)) {
        error = std::move(state.error);
        return false;
    }
    if (state.structs.empty()) {
        error = u"No struct definition was found.";
        return false;
    }
    StructPatternFile loaded;
    if (!ResolveStructs(state, loaded, error)) {
        return false;
    }
    if (state.hasEntry) {
        const auto found = state.structIndexByName.find(NormalizeName(state.entryName));
        if (found == state.structIndexByName.end()) {
            error = u"@entry refers to an undefined struct.";
            return false;
        }
        loaded.entryName = loaded.structs[found->second].name;
        loaded.entryImplicit = false;
    } else if (loaded.structs.size() == 1) {
        loaded.entryName = loaded.structs.front().name;
        loaded.entryImplicit = true;
    } else {
        error = u"@entry is required when multiple structs are defined.";
        return false;
    }
    file = std::move(loaded);
    return true;
}

bool LoadStructPatternFile(const std::u16string& path, StructPatternFile& file,
                           std::u16string& error)
{
    std::u16string text;
    if (!ReadPatternText(path, text, error)) {
        return false;
    }
    return LoadStructPatternText(text, file, error);
}

} // namespace orx
