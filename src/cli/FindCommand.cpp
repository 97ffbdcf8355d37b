// orlin-cli find FILE (--hex QUERY | --text QUERY [--encoding NAME]) [OPTION...]: the editor's
// search from a given offset, forward or backward.
#include "app/ParseOffset.h"
#include "cli/Commands.h"
#include "cli/EnglishText.h"
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
    bool haveQuery = false;
    bool haveEncoding = false;
    TextEncoding encoding = TextEncoding::Ascii;
    std::optional<std::uint64_t> from;
    bool backward = false;
    std::u16string resourceDirectory;
};

std::optional<FindArgs> ParseArgs(const Args& args)
{
    FindArgs parsed;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        if (arg == u"--backward") {
            parsed.backward = true;
            continue;
        }
        if (!arg.starts_with(u"--")) {
            if (haveFile) {
                return std::nullopt;
            }
            parsed.file = arg;
            haveFile = true;
            continue;
        }
        if (i + 1 == args.size()) {
            return std::nullopt;
        }
        const std::u16string& value = args[++i];
        if (arg == u"--hex" || arg == u"--text") {
            if (parsed.haveQuery) {
                return std::nullopt;
            }
            parsed.request = {arg == u"--hex" ? kSearchKindHex : kSearchKindText, value};
            parsed.haveQuery = true;
        } else if (arg == u"--encoding") {
            const std::optional<TextEncoding> encoding = TextEncodingFromName(value);
            if (!encoding) {
                return std::nullopt;
            }
            parsed.encoding = *encoding;
            parsed.haveEncoding = true;
        } else if (arg == u"--from") {
            parsed.from = ParseOffset(value);
            if (!parsed.from) {
                return std::nullopt;
            }
        } else if (arg == u"--resource-dir") {
            parsed.resourceDirectory = value;
        } else {
            return std::nullopt;
        }
    }
    // An encoding only means something for a text query.
    if (!haveFile || !parsed.haveQuery || (parsed.haveEncoding && parsed.request.kind == kSearchKindHex)) {
        return std::nullopt;
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
        const auto percent = static_cast<int>(total == 0 ? 100 : std::min(100.0, 100.0 * static_cast<double>(done) / static_cast<double>(total)));
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
    if (!document.Open(args->file)) {
        invocation.err << "cannot open: ";
        Print(invocation.err, args->file);
        invocation.err << "\n";
        return kExitNoInput;
    }
    std::optional<ProgressLine> line;
    ProgressCallback progress;
    if (document.Size() >= kProgressMinimumSize && platform::StderrIsTerminal()) {
        line.emplace(invocation.err, EnglishText("status.searching", args->resourceDirectory));
        progress = [&line](std::uint64_t done, std::uint64_t total) { line->Update(done, total); };
    }
    const SearchOutcome outcome =
        args->backward ? SearchBackward(&document, pattern.bytes, args->from.value_or(document.Size()), {}, progress)
                       : SearchForward(&document, pattern.bytes, args->from.value_or(0), {}, progress);
    line.reset();
    if (outcome.status != SearchStatus::Found) {
        invocation.out << "not found\n";
        return kExitNotFound;
    }
    invocation.out << FormatOffset(outcome.offset) << "\n";
    return kExitOk;
}

} // namespace orx::cli
