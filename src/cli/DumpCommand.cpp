// orlin-cli dump FILE [OPTION...]: rows as the hex view shows them.
#include "app/ParseOffset.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "document/EditableDocument.h"
#include "hexview/BytesPerRow.h"
#include "hexview/CopyFormats.h"
#include "hexview/RowFormat.h"
#include "hexview/TextEncoding.h"
#include "platform/Utf.h"

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli dump FILE [OPTION...]\n"
    "  --offset OFFSET    start at the row holding OFFSET (hexadecimal, default 0)\n"
    "  --rows N           number of rows (decimal, default 16)\n"
    "  --encoding NAME    text column encoding: ascii, utf8, utf16le, utf16be, shiftjis,\n"
    "                     cp949 or euckr (default ascii)\n"
    "  --cells            separate the text cells by tabs, so empty cells show\n"
    "  --format NAME      the bytes as the editor's Copy As gives them: hex, hex-compact,\n"
    "                     c, python or base64; from OFFSET exactly, for --length N bytes\n"
    "                     (decimal, default to the end of the file)\n"
    "Prints the row offset, the hex cells and the text cells of each row.\n";

// What --format writes at most: the editor copies no more either.
constexpr std::uint64_t kMaxFormatBytes = 64ull << 20;

struct DumpArgs {
    std::u16string file;
    std::uint64_t offset = 0;
    std::uint64_t rows = 16;
    TextEncoding encoding = TextEncoding::Ascii;
    bool cells = false;
    std::optional<CopyFormat> format;
    std::optional<std::uint64_t> length;
};

std::optional<DumpArgs> ParseArgs(const Args& args)
{
    const std::optional<SplitArgs> split = Split(
        args, {u"--cells"}, {u"--offset", u"--rows", u"--encoding", u"--format", u"--length"});
    if (!split || split->positional.size() != 1) {
        return std::nullopt;
    }
    DumpArgs parsed;
    parsed.file = split->positional[0];
    parsed.cells = split->flags.contains(u"--cells");
    if (const std::u16string* value = split->Value(u"--offset")) {
        const std::optional<std::uint64_t> offset = ParseOffset(*value);
        if (!offset) {
            return std::nullopt;
        }
        parsed.offset = *offset;
    }
    if (const std::u16string* value = split->Value(u"--rows")) {
        const std::optional<std::uint64_t> rows = ParseDecimal(*value);
        if (!rows) {
            return std::nullopt;
        }
        parsed.rows = *rows;
    }
    if (const std::u16string* value = split->Value(u"--encoding")) {
        const std::optional<TextEncoding> encoding = TextEncodingFromName(*value);
        if (!encoding) {
            return std::nullopt;
        }
        parsed.encoding = *encoding;
    }
    if (const std::u16string* value = split->Value(u"--format")) {
        parsed.format = CopyFormatNamed(platform::Narrow(*value));
        if (!parsed.format) {
            return std::nullopt;
        }
    }
    if (const std::u16string* value = split->Value(u"--length")) {
        parsed.length = ParseDecimal(*value);
        if (!parsed.length || !parsed.format || *parsed.length == 0) {
            return std::nullopt;
        }
    }
    return parsed;
}

std::u16string FormatRow(const IReadOnlyDocument& document, std::uint64_t rowStart,
                         const std::vector<std::uint8_t>& bytes, TextEncoding encoding, bool cells)
{
    std::u16string line = FormatRowOffset(&document, rowStart);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        line.push_back(u' ');
        AppendHexByte(line, bytes[i]);
    }
    line += u"  ";
    const std::vector<std::u16string> text = DecodeTextCells(&document, rowStart, bytes, encoding);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (cells && i > 0) {
            line.push_back(u'\t');
        }
        line += text[i];
    }
    return line;
}

// --format: the bytes of the range in one of the copy formats, then a line end.
int DumpFormatted(const DumpArgs& args, const IReadOnlyDocument& document, std::ostream& out,
                  std::ostream& err)
{
    const std::uint64_t size = document.Size();
    const std::uint64_t length = args.length.value_or(size - args.offset);
    if (length > size - args.offset) {
        err << "the range reaches past the end of the file\n";
        return kExitRefused;
    }
    if (length > kMaxFormatBytes) {
        err << "the range is larger than --format writes (" << kMaxFormatBytes << " bytes)\n";
        return kExitRefused;
    }
    const ReadResult read = document.Read(args.offset, length);
    if (read.bytes.size() != length) {
        err << "cannot read the file\n";
        return kExitFailed;
    }
    out << FormatBytes(read.bytes, *args.format) << "\n";
    return kExitOk;
}

} // namespace

int RunDump(const Invocation& invocation)
{
    const std::optional<DumpArgs> args = ParseArgs(invocation.args);
    if (!args) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    EditableDocument document;
    if (!OpenOrReport(document, args->file, invocation.err)) {
        return kExitNoInput;
    }
    if (args->offset > document.Size()) {
        invocation.err << "offset beyond the end of the file\n";
        return kExitRefused;
    }
    if (args->format) {
        return DumpFormatted(*args, document, invocation.out, invocation.err);
    }
    std::uint64_t rowStart = args->offset / kBytesPerRow * kBytesPerRow;
    for (std::uint64_t row = 0; row < args->rows; ++row, rowStart += kBytesPerRow) {
        const ReadResult read = document.Read(rowStart, kBytesPerRow);
        if (read.bytes.empty()) {
            break;
        }
        Print(invocation.out,
              FormatRow(document, rowStart, read.bytes, args->encoding, args->cells));
        invocation.out << "\n";
    }
    return kExitOk;
}

} // namespace orx::cli
