// orlin-cli hash FILE [--offset OFFSET] [--length N] [--algorithm NAME]... [--json]: checksums
// and hashes of a file or a range of it, all in one pass.
#include "app/ChecksumReport.h"
#include "app/ParseOffset.h"
#include "checksum/ChecksumEngine.h"
#include "checksum/ChecksumNames.h"
#include "cli/Commands.h"
#include "cli/CommandSupport.h"
#include "document/EditableDocument.h"
#include "settings/SettingsJson.h"
#include "text/HexFormat.h"

#include <algorithm>

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli hash FILE [--offset OFFSET] [--length N] [--algorithm NAME]... [--json]\n"
    "  --offset OFFSET      first byte (hexadecimal; default 0)\n"
    "  --length N           number of bytes (decimal; default: to the end of the file)\n"
    "  --algorithm NAME     crc32, adler32, md5, sha1, sha256 or sha512 (case, '-' and '_'\n"
    "                       ignored); repeat for several; default: all six\n"
    "  --json               one JSON object: file, offset, length and the values by name\n"
    "  --resource-dir DIR   directory holding resources/strings (default: the executable's)\n"
    "Prints one \"NAME  VALUE\" line per algorithm; with exactly one --algorithm and no\n"
    "--json, \"VALUE  FILE\" as sha256sum and its siblings do. Values are lower-case hex.\n"
    "Exit status: 0 computed, 2 range past the end, 3 bytes unreadable, 64 usage, 66 no file.\n";

struct HashArgs {
    std::u16string file;
    std::uint64_t offset = 0;
    std::optional<std::uint64_t> length;
    std::vector<DigestAlgorithm> algorithms;
    bool json = false;
    std::u16string resourceDirectory;
};

std::optional<HashArgs> ParseArgs(const Args& args)
{
    // --algorithm may repeat, which Split refuses: take those pairs out first.
    HashArgs parsed;
    Args rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != u"--algorithm") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size()) {
            return std::nullopt;
        }
        const std::optional<DigestAlgorithm> algorithm = ChecksumFromName(args[++i]);
        if (!algorithm) {
            return std::nullopt;
        }
        if (std::find(parsed.algorithms.begin(), parsed.algorithms.end(), *algorithm) ==
            parsed.algorithms.end()) {
            parsed.algorithms.push_back(*algorithm);
        }
    }
    const std::optional<SplitArgs> split =
        Split(rest, {u"--json"}, {u"--offset", u"--length", u"--resource-dir"});
    if (!split || split->positional.size() != 1) {
        return std::nullopt;
    }
    parsed.file = split->positional[0];
    parsed.json = split->flags.contains(u"--json");
    if (const std::u16string* offset = split->Value(u"--offset")) {
        const std::optional<std::uint64_t> value = ParseOffset(*offset);
        if (!value) {
            return std::nullopt;
        }
        parsed.offset = *value;
    }
    if (const std::u16string* length = split->Value(u"--length")) {
        parsed.length = ParseDecimal(*length);
        if (!parsed.length) {
            return std::nullopt;
        }
    }
    if (const std::u16string* directory = split->Value(u"--resource-dir")) {
        parsed.resourceDirectory = *directory;
    }
    if (parsed.algorithms.empty()) {
        parsed.algorithms.assign(std::begin(platform::kAllDigestAlgorithms),
                                 std::end(platform::kAllDigestAlgorithms));
    }
    return parsed;
}

void PrintJson(std::ostream& out, const HashArgs& args, ChecksumRange range,
               const std::vector<ChecksumValue>& values)
{
    out << "{\"file\": \"" << EscapeJsonString(args.file) << "\", \"offset\": " << range.offset
        << ", \"length\": " << range.length << ", \"values\": {";
    for (std::size_t i = 0; i < values.size(); ++i) {
        out << (i == 0 ? "" : ", ") << '"' << ChecksumKey(values[i].algorithm) << "\": \""
            << LowerHex(values[i].bytes) << '"';
    }
    out << "}}\n";
}

} // namespace

int RunHash(const Invocation& invocation)
{
    const std::optional<HashArgs> args = ParseArgs(invocation.args);
    if (!args) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    EditableDocument document;
    if (!OpenOrReport(document, args->file, invocation.err)) {
        return kExitNoInput;
    }
    const std::uint64_t size = document.Size();
    if (args->offset > size || (args->length && *args->length > size - args->offset)) {
        invocation.err << "the range lies past the end of the file (" << size << " bytes)\n";
        return kExitRefused;
    }
    const ChecksumRange range{args->offset, args->length.value_or(size - args->offset)};
    const ChecksumOutcome outcome = ComputeChecksums(document, range, args->algorithms);
    if (outcome.status != ChecksumStatus::Done) {
        const StringLookup english = [&args](std::string_view key) {
            return EnglishText(key, args->resourceDirectory);
        };
        Print(invocation.err, ChecksumFailureText(outcome, size, english));
        invocation.err << "\n";
        return kExitFailed;
    }
    if (args->json) {
        PrintJson(invocation.out, *args, range, outcome.values);
    } else if (outcome.values.size() == 1) {
        invocation.out << LowerHex(outcome.values.front().bytes) << "  ";
        Print(invocation.out, args->file);
        invocation.out << "\n";
    } else {
        Print(invocation.out, ChecksumLines(outcome.values, u"\n"));
    }
    return kExitOk;
}

} // namespace orx::cli
