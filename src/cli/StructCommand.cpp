// orlin-cli struct PATTERN FILE [OPTION...]: lays a struct pattern over a file's bytes and
// prints the rows the struct view would show.
#include "app/ParseOffset.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/PatternFinder.h"
#include "document/EditableDocument.h"
#include "settings/SettingsJson.h"
#include "structview/StructRead.h"
#include "structview/StructRows.h"

#include <string>

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli struct PATTERN FILE [OPTION...]\n"
    "       orlin-cli struct --auto FILE [OPTION...]\n"
    "  --auto               take the pattern that matches FILE best, at its offset\n"
    "  --patterns DIR       with --auto: also take patterns from DIR\n"
    "  --offset OFFSET      where the entry struct starts (hexadecimal, default the\n"
    "                       pattern's @anchor, else 0)\n"
    "  --endian little|big  byte order of numbers (default the pattern's, else little)\n"
    "  --base hex|dec       number base (default hex)\n"
    "  --bytes hex|ascii    char arrays as a hex dump or as text (default hex)\n"
    "  --info               print the pattern's entry and directives instead of rows\n"
    "  --json               print the value tree as JSON instead of rows\n"
    "  --resource-dir DIR   directory holding resources/strings (default: the executable's)\n"
    "Prints one line per row: offset, value, size and name, separated by tabs.\n";

struct StructArgs {
    std::u16string pattern;
    std::u16string file;
    std::optional<std::uint64_t> offset;
    StructValueOptions options;
    bool sessionEndian = false;
    bool info = false;
    bool json = false;
    bool automatic = false;
    std::u16string patternFolder;
    std::u16string resourceDirectory;
};

// 0 for the first word, 1 for the second, nothing for anything else.
std::optional<std::uint32_t> Choice(const std::u16string& value, std::u16string_view zero,
                                    std::u16string_view one)
{
    if (value == zero) {
        return 0;
    }
    if (value == one) {
        return 1;
    }
    return std::nullopt;
}

std::optional<StructArgs> ParseArgs(const Args& args)
{
    StructArgs parsed;
    std::vector<std::u16string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        if (arg == u"--info" || arg == u"--json") {
            (arg == u"--info" ? parsed.info : parsed.json) = true;
            continue;
        }
        if (arg == u"--auto") {
            parsed.automatic = true;
            continue;
        }
        if (!arg.starts_with(u"--")) {
            positional.push_back(arg);
            continue;
        }
        if (i + 1 == args.size()) {
            return std::nullopt;
        }
        const std::u16string& value = args[++i];
        std::optional<std::uint32_t> choice;
        if (arg == u"--offset") {
            const std::optional<std::uint64_t> offset = ParseOffset(value);
            if (!offset) {
                return std::nullopt;
            }
            parsed.offset = *offset;
            continue;
        }
        if (arg == u"--resource-dir") {
            parsed.resourceDirectory = value;
            continue;
        }
        if (arg == u"--patterns") {
            parsed.patternFolder = value;
            continue;
        }
        if (arg == u"--endian" && (choice = Choice(value, u"little", u"big"))) {
            parsed.options.endian = *choice;
            parsed.sessionEndian = true;
        } else if (arg == u"--base" && (choice = Choice(value, u"hex", u"dec"))) {
            parsed.options.numericBase = *choice;
        } else if (arg == u"--bytes" && (choice = Choice(value, u"hex", u"ascii"))) {
            parsed.options.byteArrayFormat = *choice;
        } else {
            return std::nullopt;
        }
    }
    if (positional.size() != (parsed.automatic ? 1u : 2u) ||
        (!parsed.patternFolder.empty() && !parsed.automatic)) {
        return std::nullopt;
    }
    parsed.pattern = parsed.automatic ? std::u16string() : positional[0];
    parsed.file = positional.back();
    return parsed;
}

// One node and its children as a JSON object, indented by depth.
void WriteJson(std::string& out, const ValueTree& tree, std::uint32_t index,
               const StructRowsInput& input, std::size_t depth)
{
    const ValueNode& node = tree.nodes[index];
    const std::string indent(2 * depth, ' ');
    // Appended, not joined with operator+: GCC 12 at -O3 warns falsely (-Wrestrict) on that.
    auto text = [](const std::u16string& value) {
        std::string quoted(1, '"');
        quoted += EscapeJsonString(value);
        quoted += '"';
        return quoted;
    };
    out += indent + "{\"name\": " + text(NodeName(node)) + ", \"type\": " + text(NodeType(node)) +
           ", \"offset\": " + std::to_string(input.baseOffset + node.offset) +
           ", \"size\": " + std::to_string(node.size) +
           ", \"value\": " + text(NodeValue(tree, node, input));
    if (node.firstChild == ValueNode::kNone) {
        out += "}";
        return;
    }
    out += ", \"children\": [\n";
    for (std::uint32_t child = node.firstChild; child != ValueNode::kNone;
         child = tree.nodes[child].nextSibling) {
        WriteJson(out, tree, child, input, depth + 1);
        out += tree.nodes[child].nextSibling == ValueNode::kNone ? "\n" : ",\n";
    }
    out += indent + "]}";
}

} // namespace

int RunStruct(const Invocation& invocation)
{
    const std::optional<StructArgs> args = ParseArgs(invocation.args);
    if (!args) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    std::optional<std::uint64_t> offset = args->offset;
    std::u16string patternPath = args->pattern;
    if (args->automatic) {
        const std::u16string* extra = args->patternFolder.empty() ? nullptr : &args->patternFolder;
        const PatternLibrary library = ScanPatternFolders(PatternFolders(extra));
        const auto matches = IdentifyFile(library, args->file, invocation.err);
        if (!matches) {
            return kExitNoInput;
        }
        if (matches->empty()) {
            invocation.err << "no pattern matches: ";
            Print(invocation.err, args->file);
            invocation.err << "\n";
            return kExitNotFound;
        }
        patternPath = library.patterns[matches->front().pattern].path;
        offset = offset.value_or(matches->front().offset);
    }
    auto pattern = std::make_shared<StructPatternFile>();
    std::u16string error;
    if (!LoadStructPatternFile(patternPath, *pattern, error)) {
        Print(invocation.err, error);
        invocation.err << "\n";
        return kExitRefused;
    }
    if (args->info) {
        const std::u16string info = FormatStructInfo(*pattern);
        for (std::size_t start = 0;;) {
            const std::size_t end = info.find(u"\r\n", start);
            Print(invocation.out, std::u16string_view(info).substr(start, end - start));
            invocation.out << "\n";
            if (end == std::u16string::npos) {
                return kExitOk;
            }
            start = end + 2;
        }
    }

    EditableDocument document;
    if (!OpenOrReport(document, args->file, invocation.err)) {
        return kExitNoInput;
    }
    StructRowsInput input;
    input.baseOffset = offset.value_or(StructBaseOffset(InitialPlacement(*pattern), 0));
    input.bytes = ReadStructBytes(document, input.baseOffset, *pattern);
    input.file = pattern;
    const std::u16string& resources = args->resourceDirectory;
    input.unavailableText = EnglishText("inspector.data.value.unavailable", resources);
    input.cutText = EnglishText("structview.row.cut", resources);
    input.elementsText = EnglishText("structview.row.elements", resources);
    input.moreText = EnglishText("structview.row.more", resources);
    input.errorText = EnglishText("structview.error.prefix", resources);
    input.options = args->options;
    input.sessionEndian = args->sessionEndian;
    if (args->json) {
        const ValueTree tree = EvaluateRowsInput(input);
        std::string out;
        if (!tree.nodes.empty()) {
            WriteJson(out, tree, 0, input, 0);
        }
        invocation.out << out << "\n";
        return kExitOk;
    }
    for (const StructViewRow& row : BuildStructRows(input)) {
        Print(invocation.out, row.offset + u"\t" + row.value + u"\t" + row.size + u"\t" + row.name);
        invocation.out << "\n";
    }
    return kExitOk;
}

} // namespace orx::cli
