// orlin-cli struct PATTERN FILE [OPTION...]: lays a struct pattern over a file's bytes and
// prints the rows the struct view would show.
#include "app/ParseOffset.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "document/EditableDocument.h"
#include "structview/StructRead.h"
#include "structview/StructRows.h"

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli struct PATTERN FILE [OPTION...]\n"
    "  --offset OFFSET      where the entry struct starts (hexadecimal, default 0)\n"
    "  --endian little|big  byte order of numbers (default little)\n"
    "  --base hex|dec       number base (default hex)\n"
    "  --bytes hex|ascii    char arrays as a hex dump or as text (default hex)\n"
    "  --info               print the pattern's entry and directives instead of rows\n"
    "  --resource-dir DIR   directory holding resources/strings (default: the executable's)\n"
    "Prints one line per row: offset, value, size and name, separated by tabs.\n";

struct StructArgs {
    std::u16string pattern;
    std::u16string file;
    std::uint64_t offset = 0;
    StructValueOptions options;
    bool info = false;
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
        if (arg == u"--info") {
            parsed.info = true;
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
        if (arg == u"--endian" && (choice = Choice(value, u"little", u"big"))) {
            parsed.options.endian = *choice;
        } else if (arg == u"--base" && (choice = Choice(value, u"hex", u"dec"))) {
            parsed.options.numericBase = *choice;
        } else if (arg == u"--bytes" && (choice = Choice(value, u"hex", u"ascii"))) {
            parsed.options.byteArrayFormat = *choice;
        } else {
            return std::nullopt;
        }
    }
    if (positional.size() != 2) {
        return std::nullopt;
    }
    parsed.pattern = positional[0];
    parsed.file = positional[1];
    return parsed;
}

} // namespace

int RunStruct(const Invocation& invocation)
{
    const std::optional<StructArgs> args = ParseArgs(invocation.args);
    if (!args) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    auto pattern = std::make_shared<StructPatternFile>();
    std::u16string error;
    if (!LoadStructPatternFile(args->pattern, *pattern, error)) {
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
    input.baseOffset = args->offset;
    input.bytes = ReadStructBytes(document, args->offset, *pattern);
    input.file = pattern;
    input.unavailableText =
        EnglishText("inspector.data.value.unavailable", args->resourceDirectory);
    input.options = args->options;
    for (const StructViewRow& row : BuildStructRows(input)) {
        Print(invocation.out, row.offset + u"\t" + row.value + u"\t" + row.size + u"\t" + row.name);
        invocation.out << "\n";
    }
    return kExitOk;
}

} // namespace orx::cli
