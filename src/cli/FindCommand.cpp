// orlin-cli find FILE (--hex QUERY | --text QUERY [--encoding NAME] | --value TYPE=VALUE
// [--endian ORDER]) [OPTION...]: the editor's
// search from a given offset, forward or backward, or every hit in the file.
#include "app/ParseOffset.h"
#include "cli/Commands.h"
#include "cli/CommandSupport.h"
#include "document/EditableDocument.h"
#include "platform/Console.h"
#include "platform/Utf.h"
#include "search/SearchEngine.h"
#include "search/SearchQuery.h"
#include "text/HexFormat.h"

#include <algorithm>

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli find FILE (--hex QUERY | --text QUERY [--encoding NAME] |\n"
    "                            --value TYPE=VALUE [--endian ORDER]) [OPTION...]\n"
    "  --hex QUERY          hexadecimal byte pairs, blanks anywhere ignored; ? in place of a\n"
    "                       digit matches any nibble (4D 5A ?? 00)\n"
    "  --text QUERY         text, converted with --encoding (default ascii)\n"
    "  --encoding NAME      ascii, utf8, utf16le, utf16be, shiftjis, cp949 or euckr\n"
    "  --ignore-case        letters of a text query match in either case\n"
    "  --value TYPE=VALUE   a number: TYPE i8, i16, i32, i64, u8, u16, u32, u64, f32 or f64,\n"
    "                       VALUE decimal, integers also 0x hexadecimal (u32=0x400,\n"
    "                       i16=-2, f64=1.5e3)\n"
    "  --endian ORDER       the value's byte order: little (default), big or either\n"
    "  --from OFFSET        where to start (hexadecimal; default the start, or the end\n"
    "                       with --backward)\n"
    "  --backward           find the nearest match at or before the start\n"
    "  --all                every match in the file, overlapping ones too, one offset a line\n"
    "  --count              the number of matches in the file\n"
    "  --json               every match as a JSON array of {\"offset\", \"bytes\"}, alone or\n"
    "                       with --all; with --count {\"count\": N}\n"
    "  --max N              with --all, --count or --json: stop after N matches (decimal,\n"
    "                       at least 1)\n"
    "  --resource-dir DIR   directory holding resources/strings (default: the executable's)\n"
    "Prints the match offset (exit 0) or \"not found\" (exit 1); exits 2 on bad arguments\n"
    "or a file it cannot read. --all, --count and --json exit 1 when nothing matched.\n";

// As grep: 0 something found, 1 nothing, 2 any trouble.
constexpr int kExitTrouble = 2;

// What is printed: the nearest match, or every match in one of four forms.
enum class Listing { Nearest, All, Count, Json, JsonCount };

// Files from this size on show a progress line while searching, when stderr is a terminal.
constexpr std::uint64_t kProgressMinimumSize = 64u << 20;

struct FindArgs {
    std::u16string file;
    SearchDialogResult request;
    TextEncoding encoding = TextEncoding::Ascii;
    std::optional<std::uint64_t> from;
    bool backward = false;
    Listing listing = Listing::Nearest;
    std::uint64_t maxHits = UINT64_MAX;
    std::u16string resourceDirectory;
};

// "u32=1024" with the byte order's name, or nothing for an unknown type or order.
std::optional<SearchDialogResult> ParseValueQuery(std::u16string_view query,
                                                  const std::u16string* endian)
{
    const std::size_t equals = query.find(u'=');
    if (equals == std::u16string_view::npos) {
        return std::nullopt;
    }
    const std::optional<ValueType> type = ValueTypeFromShortName(query.substr(0, equals));
    const std::optional<ValueByteOrder> order =
        endian != nullptr ? ValueByteOrderFromName(*endian) : ValueByteOrder::Little;
    if (!type || !order ||
        std::find(kSearchValueTypes.begin(), kSearchValueTypes.end(), *type) ==
            kSearchValueTypes.end()) {
        return std::nullopt;
    }
    SearchDialogResult request{kSearchKindValue, std::u16string(query.substr(equals + 1))};
    request.valueType = *type;
    request.byteOrder = *order;
    return request;
}

std::optional<FindArgs> ParseArgs(const Args& args)
{
    const std::optional<SplitArgs> split =
        Split(args, {u"--backward", u"--ignore-case", u"--all", u"--count", u"--json"},
              {u"--hex", u"--text", u"--value", u"--endian", u"--encoding", u"--from", u"--max",
               u"--resource-dir"});
    if (!split || split->positional.size() != 1) {
        return std::nullopt;
    }
    const std::u16string* hex = split->Value(u"--hex");
    const std::u16string* text = split->Value(u"--text");
    const std::u16string* value = split->Value(u"--value");
    const std::u16string* endian = split->Value(u"--endian");
    const std::u16string* encoding = split->Value(u"--encoding");
    const bool ignoreCase = split->flags.contains(u"--ignore-case");
    // Exactly one query; an encoding and case only mean something for a text query, a byte
    // order only for a value.
    const int queries = (hex != nullptr) + (text != nullptr) + (value != nullptr);
    if (queries != 1 || (text == nullptr && (encoding != nullptr || ignoreCase)) ||
        (value == nullptr && endian != nullptr)) {
        return std::nullopt;
    }
    FindArgs parsed;
    parsed.file = split->positional[0];
    if (value != nullptr) {
        const std::optional<SearchDialogResult> request = ParseValueQuery(*value, endian);
        if (!request) {
            return std::nullopt;
        }
        parsed.request = *request;
    } else {
        parsed.request = hex != nullptr ? SearchDialogResult{kSearchKindHex, *hex}
                                        : SearchDialogResult{kSearchKindText, *text, ignoreCase};
    }
    parsed.backward = split->flags.contains(u"--backward");
    // --json is the format of a listing: alone or with --all the array, with --count the count.
    const bool all = split->flags.contains(u"--all");
    const bool count = split->flags.contains(u"--count");
    const bool json = split->flags.contains(u"--json");
    if (all && count) {
        return std::nullopt;
    }
    if (count) {
        parsed.listing = json ? Listing::JsonCount : Listing::Count;
    } else if (json) {
        parsed.listing = Listing::Json;
    } else if (all) {
        parsed.listing = Listing::All;
    }
    const bool listed = parsed.listing != Listing::Nearest;
    // A listing covers the whole file; --max only limits a listing.
    const std::u16string* max = split->Value(u"--max");
    if ((listed && (parsed.backward || split->Value(u"--from"))) || (!listed && max != nullptr)) {
        return std::nullopt;
    }
    if (max != nullptr) {
        // --max 0 would list nothing and exit as if nothing matched.
        const std::optional<std::uint64_t> count = ParseDecimal(*max);
        if (!count || *count == 0) {
            return std::nullopt;
        }
        parsed.maxHits = *count;
    }
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

// "0x1A2B", by hand: a listing prints up to millions of them, and snprintf per hit showed.
void AppendOffset(std::string& text, std::uint64_t offset)
{
    text += "0x";
    AppendUpperHex(text, offset);
}

// Prints every hit as it comes, batch by batch: nothing is kept but the count.
class HitPrinter {
public:
    HitPrinter(std::ostream& out, const IReadOnlyDocument& document, Listing listing,
               std::size_t size)
        : out_(out), document_(document), listing_(listing), bytes_(size)
    {}

    bool Print(std::span<const std::uint64_t> hits)
    {
        text_.clear();
        for (const std::uint64_t offset : hits) {
            if (listing_ == Listing::All) {
                AppendOffset(text_, offset);
                text_ += '\n';
            } else if (listing_ == Listing::Json) {
                AppendJson(offset);
            }
        }
        out_ << text_;
        return true;
    }

    void Finish(std::uint64_t count)
    {
        if (listing_ == Listing::Count) {
            out_ << count << "\n";
        } else if (listing_ == Listing::JsonCount) {
            out_ << "{\"count\": " << count << "}\n";
        } else if (listing_ == Listing::Json) {
            out_ << (count == 0 ? "[]\n" : "\n]\n");
        }
    }

private:
    void AppendJson(std::uint64_t offset)
    {
        text_ += first_ ? "[\n  {\"offset\": " : ",\n  {\"offset\": ";
        first_ = false;
        text_ += std::to_string(offset);
        text_ += ", \"bytes\": \"";
        // The hit's own bytes: with wildcards or folded letters they differ from the query.
        const std::uint64_t got = document_.ReadInto(offset, bytes_.data(), bytes_.size());
        for (std::uint64_t k = 0; k < got; ++k) {
            AppendHexByte(text_, bytes_[k]);
        }
        text_ += "\"}";
    }

    std::ostream& out_;
    const IReadOnlyDocument& document_;
    Listing listing_;
    std::vector<std::uint8_t> bytes_;
    std::string text_;
    bool first_ = true;
};

} // namespace

int RunFind(const Invocation& invocation)
{
    const std::optional<FindArgs> args = ParseArgs(invocation.args);
    if (!args) {
        invocation.err << kUsage;
        return kExitTrouble;
    }
    const SearchPattern pattern = BuildSearchPattern(args->request, args->encoding);
    if (!pattern.errorKey.empty()) {
        Print(invocation.err,
              SearchErrorText(pattern, args->request, [&args](std::string_view key) {
                  return EnglishText(key, args->resourceDirectory);
              }));
        invocation.err << "\n";
        return kExitTrouble;
    }
    EditableDocument document;
    if (!OpenOrReport(document, args->file, invocation.err)) {
        return kExitTrouble;
    }
    std::optional<ProgressLine> line;
    ProgressCallback progress;
    // Not while hits stream to the terminal: the two would interleave.
    const bool streams = args->listing == Listing::All || args->listing == Listing::Json;
    if (!streams && document.Size() >= kProgressMinimumSize && platform::StderrIsTerminal()) {
        line.emplace(invocation.err, EnglishText("status.searching", args->resourceDirectory));
        progress = [&line](std::uint64_t done, std::uint64_t total) { line->Update(done, total); };
    }
    if (args->listing != Listing::Nearest) {
        HitPrinter printer(invocation.out, document, args->listing, pattern.Size());
        const FindAllOutcome outcome = FindAll(
            &document, pattern, args->maxHits, {}, progress,
            [&printer](std::span<const std::uint64_t> hits) { return printer.Print(hits); });
        line.reset();
        printer.Finish(outcome.count);
        return outcome.count > 0 ? kExitOk : kExitNotFound;
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
    std::string text;
    AppendOffset(text, outcome.offset);
    invocation.out << text << "\n";
    return kExitOk;
}

} // namespace orx::cli
