// orlin-cli identify FILE... [--json] [--patterns DIR]: the library's patterns whose
// signatures match each FILE, best first, with the offset where each applies.
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/PatternFinder.h"
#include "settings/SettingsJson.h"

#include <string>

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli identify FILE... [--json] [--patterns DIR]\n"
    "  --json           print the matches as a JSON array\n"
    "  --patterns DIR   also take patterns from DIR (its files replace shipped ones of the\n"
    "                   same name)\n"
    "Prints one line per matching pattern, best first: the offset where it applies, its\n"
    "title and its file, separated by tabs; with several files, the file first. Exit status 0\n"
    "when a pattern matched (some file), 1 when none did. Reads only as far into each end of\n"
    "a file as the signatures reach, at most 64 KiB.\n";

std::string Quoted(std::u16string_view text)
{
    std::string quoted(1, '"');
    quoted += EscapeJsonString(text);
    quoted += '"';
    return quoted;
}

} // namespace

int RunIdentify(const Invocation& invocation)
{
    const std::optional<SplitArgs> split = Split(invocation.args, {u"--json"}, {u"--patterns"});
    if (!split || split->positional.empty()) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    const PatternLibrary library = ScanPatternFolders(PatternFolders(split->Value(u"--patterns")));
    const bool json = split->flags.contains(u"--json");
    const bool several = split->positional.size() > 1;
    bool matched = false;
    bool unreadable = false;
    std::string out = json ? "[" : "";
    for (const std::u16string& file : split->positional) {
        const std::optional<std::vector<PatternMatch>> matches =
            IdentifyFile(library, file, invocation.err);
        unreadable = unreadable || !matches;
        if (!matches) {
            continue;
        }
        matched = matched || !matches->empty();
        for (const PatternMatch& match : *matches) {
            const LibraryPattern& pattern = library.patterns[match.pattern];
            if (json) {
                out += std::string(out.size() > 1 ? ",\n " : "") + "{";
                if (several) {
                    out += "\"file\": " + Quoted(file) + ", ";
                }
                out += "\"offset\": " + std::to_string(match.offset) +
                       ", \"title\": " + Quoted(pattern.title) +
                       ", \"pattern\": " + Quoted(pattern.fileName) +
                       ", \"category\": " + Quoted(pattern.category) +
                       ", \"signatureBytes\": " + std::to_string(match.specificity) + "}";
                continue;
            }
            if (several) {
                Print(invocation.out, file + u"\t");
            }
            invocation.out << FormatOffset(match.offset) << "\t";
            Print(invocation.out, pattern.title + u"\t" + pattern.fileName);
            invocation.out << "\n";
        }
    }
    if (json) {
        invocation.out << out << "]\n";
    }
    if (unreadable && !several) {
        return kExitNoInput;
    }
    return matched ? kExitOk : kExitNotFound;
}

} // namespace orx::cli
