// orlin-cli compare LEFT RIGHT [--count] [--max N] [--json]: the differences of two files,
// byte k against byte k, with cmp's exit codes.
#include "cli/Commands.h"
#include "cli/CommandSupport.h"
#include "compare/CompareEngine.h"
#include "document/EditableDocument.h"
#include "settings/SettingsJson.h"
#include "text/HexFormat.h"

#include <array>

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli compare LEFT RIGHT [--count] [--max N] [--json]\n"
    "  --count    print only the summary: how many differences, how many bytes\n"
    "  --max N    list at most N differences (decimal, at least 1), then stop\n"
    "  --json     one JSON object: the files, their sizes, the differences and the summary\n"
    "Compares byte k of LEFT with byte k of RIGHT. A difference is a run of differing bytes;\n"
    "the part of the longer file past the end of the shorter one differs. Each is printed as\n"
    "OFFSET LENGTH LEFT-BYTES RIGHT-BYTES: offset in hex, length in decimal, and the first\n"
    "bytes of each side in hex (\"...\" when there are more, \"-\" when that side has none).\n"
    "Exit status: 0 identical, 1 different, 2 trouble (usage, unreadable file).\n";

// cmp's exit codes, which scripts test.
constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

struct CompareArgs {
    std::u16string left;
    std::u16string right;
    bool count = false;
    bool json = false;
    std::optional<std::uint64_t> max;
};

std::optional<CompareArgs> ParseArgs(const Args& args)
{
    const std::optional<SplitArgs> split = Split(args, {u"--count", u"--json"}, {u"--max"});
    if (!split || split->positional.size() != 2) {
        return std::nullopt;
    }
    CompareArgs parsed;
    parsed.left = split->positional[0];
    parsed.right = split->positional[1];
    parsed.count = split->flags.contains(u"--count");
    parsed.json = split->flags.contains(u"--json");
    if (const std::u16string* max = split->Value(u"--max")) {
        // --max 0 would list nothing and leave no difference to report: not a listing.
        parsed.max = ParseDecimal(*max);
        if (!parsed.max || *parsed.max == 0 || parsed.count) {
            return std::nullopt;
        }
    }
    return parsed;
}

// Lines are gathered and written in large pieces, each piece formatted in place: a million
// differences print in a fraction of a second.
class Output {
public:
    explicit Output(std::ostream& out) : out_(out) {}
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    void Add(std::string_view text)
    {
        text_ += text;
        if (text_.size() >= (std::size_t{1} << 16)) {
            Flush();
        }
    }
    // Decimal, or upper-case hexadecimal after "0x".
    void AddNumber(std::uint64_t value, bool hex)
    {
        if (hex) {
            Add("0x");
            AppendUpperHex(text_, value);
        } else {
            Add(std::to_string(value));
        }
    }
    // The first bytes of one side in lower-case hex; for a line, "-" for none and "..." after
    // them when that side has more of the run.
    void AddPreview(const std::array<std::uint8_t, kPreviewBytes>& bytes, std::size_t count,
                    std::uint64_t length, bool line)
    {
        for (std::size_t i = 0; i < count; ++i) {
            AppendHexByte(text_, bytes[i], HexCase::Lower);
        }
        if (line && count == 0) {
            Add("-");
        } else if (line && count == kPreviewBytes && length > count) {
            Add("...");
        }
    }
    void Flush()
    {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }

private:
    std::ostream& out_;
    std::string text_;
};

// "differences: 2, bytes: 4, sizes: 13 and 11"; the figures are partial after --max.
std::string Summary(std::uint64_t differences, std::uint64_t bytes, bool complete,
                    std::uint64_t leftSize, std::uint64_t rightSize)
{
    if (differences == 0 && complete) {
        return "identical: " + std::to_string(leftSize) + " bytes\n";
    }
    const std::string sizes =
        ", sizes: " + std::to_string(leftSize) + " and " + std::to_string(rightSize) + "\n";
    if (!complete) {
        return "differences: at least " + std::to_string(differences) + " (--max)" + sizes;
    }
    return "differences: " + std::to_string(differences) + ", bytes: " + std::to_string(bytes) +
           sizes;
}

} // namespace

int RunCompare(const Invocation& invocation)
{
    const std::optional<CompareArgs> args = ParseArgs(invocation.args);
    if (!args) {
        invocation.err << kUsage;
        return kExitTrouble;
    }
    EditableDocument left;
    EditableDocument right;
    if (!OpenOrReport(left, args->left, invocation.err) ||
        !OpenOrReport(right, args->right, invocation.err)) {
        return kExitTrouble;
    }
    Output output(invocation.out);
    if (args->json) {
        output.Add("{\"left\": \"" + EscapeJsonString(args->left) + "\", \"right\": \"" +
                   EscapeJsonString(args->right) +
                   "\", \"leftSize\": " + std::to_string(left.Size()) +
                   ", \"rightSize\": " + std::to_string(right.Size()));
        output.Add(args->count ? "" : ", \"differences\": [");
    }
    std::uint64_t differences = 0;
    std::uint64_t bytes = 0;
    bool complete = true;
    const auto visit = [&](const Difference& difference, const DifferencePreview& preview) {
        if (args->max && differences == *args->max) {
            complete = false;
            return false;
        }
        ++differences;
        bytes += difference.length;
        if (args->count) {
            return true;
        }
        const bool json = args->json;
        output.Add(json ? (differences == 1 ? "{\"offset\": " : ", {\"offset\": ") : "");
        output.AddNumber(difference.offset, !json);
        output.Add(json ? ", \"length\": " : " ");
        output.AddNumber(difference.length, false);
        output.Add(json ? ", \"left\": \"" : " ");
        output.AddPreview(preview.left, preview.leftCount, difference.length, !json);
        output.Add(json ? "\", \"right\": \"" : " ");
        output.AddPreview(preview.right, preview.rightCount, difference.length, !json);
        output.Add(json ? "\"}" : "\n");
        return true;
    };
    const CompareResult result = VisitDifferences({left, right}, 0, visit);
    if (result.status != CompareStatus::Done) {
        output.Flush();
        invocation.err << "cannot read ";
        Print(invocation.err, result.failedRight ? args->right : args->left);
        invocation.err << " at " << FormatOffset(result.failedOffset) << "\n";
        return kExitTrouble;
    }
    if (args->json) {
        output.Add(std::string(args->count ? "" : "]") + ", \"count\": " +
                   std::to_string(differences) + ", \"bytes\": " + std::to_string(bytes) +
                   ", \"complete\": " + (complete ? "true" : "false") + "}\n");
    } else {
        output.Add(Summary(differences, bytes, complete, left.Size(), right.Size()));
    }
    // A listing stopped early has seen a difference it did not list.
    return differences == 0 && complete ? kExitSame : kExitDifferent;
}

} // namespace orx::cli
