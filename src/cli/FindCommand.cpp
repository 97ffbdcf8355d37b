// orlin-cli find FILE (--hex QUERY | --text QUERY [--encoding NAME]) [OPTION...]: the editor's
// search from a given offset, forward or backward.
#include "app/ParseOffset.h"
#include "cli/Commands.h"
#include "cli/CommandSupport.h"
#include "document/EditableDocument.h"
#include "platform/Console.h"
#include "platform/Utf.h"
#include "search/SearchEngine.h"
#include "search/SearchQuery.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli find FILE (--hex QUERY | --text QUERY [--encoding NAME]) [OPTION...]\n"
    "  --hex QUERY          hexadecimal byte pairs, blanks anywhere ignored\n"
    "  --text QUERY         text, converted with --encoding (default ascii)\n"
    "  --encoding NAME      ascii, utf8, utf16le, utf16be, shiftjis, cp949 or euckr\n"
    "  --from OFFSET        where to start (hexadecimal; default the start, or the end\n"
    "                       with --backward)\n"
    "  --backward           find the nearest match at or before the start\n"
    "  --resource-dir DIR   directory holding resources/strings (default: the executable's)\n"
    "Prints the match offset (exit 0) or \"not found\" (exit 1).\n";

// Files from this size on show a progress line while searching, when stderr is a terminal.
constexpr std::uint64_t kProgressMinimumSize = 64u << 20;

struct FindArgs {
    std::u16string file;
    SearchDialogResult request;
    TextEncoding encoding = TextEncoding::Ascii;
    std::optional<std::uint64_t> from;
    bool backward = false;
    std::u16string resourceDirectory;
};

std::optional<FindArgs> ParseArgs(const Args& args)
{
    const std::optional<SplitArgs> split = Split(
        args, {u"--backward"}, {u"--hex", u"--text", u"--encoding", u"--from", u"--resource-dir"});
    if (!split || split->positional.size() != 1) {
        return std::nullopt;
    }
    const std::u16string* hex = split->Value(u"--hex");
    const std::u16string* text = split->Value(u"--text");
    const std::u16string* encoding = split->Value(u"--encoding");
    // Exactly one query; an encoding only means something for a text query.
    if ((hex == nullptr) == (text == nullptr) || (hex != nullptr && encoding != nullptr)) {
        return std::nullopt;
    }
    FindArgs parsed;
    parsed.file = split->positional[0];
    parsed.request = hex != nullptr ? SearchDialogResult{kSearchKindHex, *hex}
                                    : SearchDialogResult{kSearchKindText, *text};
    parsed.backward = split->flags.contains(u"--backward");
    if (encoding != nullptr) {
        const std::optional<TextEncoding> named = TextEncodingFromName(*encoding);
        if (!named) {
            return std::nullopt;
        }
        parsed.encoding = *named;
    }
    if (const std::u16string* from = split->Value(u"--from")) {
        parsed.from = ParseOffset(*from);
        if (!parsed.from) {
            return std::nullopt;
        }
    }
    if (const std::u16string* directory = split->Value(u"--resource-dir")) {
        parsed.resourceDirectory = *directory;
    }
    return parsed;
}

// "Searching... 42%" rewritten in place whenever the percentage changes.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, std::u16string label) : err_(err), label_(std::move(label)) {}
    ~ProgressLine()
    {
        if (shown_) {
            err_ << "\r" << std::string(width_, ' ') << "\r" << std::flush;
        }
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Update(std::uint64_t done, std::uint64_t total)
    {
        const double fraction =
            total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
        const auto percent = static_cast<int>(std::min(100.0, 100.0 * fraction));
        if (shown_ && percent == percent_) {
            return;
        }
        const std::string text = platform::Narrow(label_) + " " + std::to_string(percent) + "%";
        width_ = std::max(width_, text.size());
        err_ << "\r" << text << std::flush;
        shown_ = true;
        percent_ = percent;
    }

private:
    std::ostream& err_;
    std::u16string label_;
    bool shown_ = false;
    int percent_ = 0;
    std::size_t width_ = 0;
};

std::string FormatOffset(std::uint64_t offset)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIX64, offset);
    return text;
}

} // namespace

int RunFind(const Invocation& invocation)
{
    const std::optional<FindArgs> args = ParseArgs(invocation.args);
    if (!args) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    const SearchPattern pattern = BuildSearchPattern(args->request, args->encoding);
    if (!pattern.errorKey.empty()) {
        Print(invocation.err, EnglishText(pattern.errorKey, args->resourceDirectory));
        invocation.err << "\n";
        return kExitRefused;
    }
    EditableDocument document;
    if (!OpenOrReport(document, args->file, invocation.err)) {
        return kExitNoInput;
    }
    std::optional<ProgressLine> line;
    ProgressCallback progress;
    if (document.Size() >= kProgressMinimumSize && platform::StderrIsTerminal()) {
        line.emplace(invocation.err, EnglishText("status.searching", args->resourceDirectory));
        progress = [&line](std::uint64_t done, std::uint64_t total) { line->Update(done, total); };
    }
    const SearchOutcome outcome =
        args->backward
            ? SearchBackward(&document, pattern, args->from.value_or(document.Size()), {}, progress)
            : SearchForward(&document, pattern, args->from.value_or(0), {}, progress);
    line.reset();
    if (outcome.status != SearchStatus::Found) {
        invocation.out << "not found\n";
        return kExitNotFound;
    }
    invocation.out << FormatOffset(outcome.offset) << "\n";
    return kExitOk;
}

} // namespace orx::cli
