// orlin-cli dump FILE [OPTION...]: rows as the hex view shows them.
#include "app/ParseOffset.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "document/EditableDocument.h"
#include "hexview/BytesPerRow.h"
#include "hexview/RowFormat.h"
#include "hexview/TextEncoding.h"

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli dump FILE [OPTION...]\n"
    "  --offset OFFSET    start at the row holding OFFSET (hexadecimal, default 0)\n"
    "  --rows N           number of rows (decimal, default 16)\n"
    "  --encoding NAME    text column encoding: ascii, utf8, utf16le, utf16be, shiftjis,\n"
    "                     cp949 or euckr (default ascii)\n"
    "  --cells            separate the text cells by tabs, so empty cells show\n"
    "Prints the row offset, the hex cells and the text cells of each row.\n";

struct DumpArgs {
    std::u16string file;
    std::uint64_t offset = 0;
    std::uint64_t rows = 16;
    TextEncoding encoding = TextEncoding::Ascii;
    bool cells = false;
};

std::optional<DumpArgs> ParseArgs(const Args& args)
{
    const std::optional<SplitArgs> split =
        Split(args, {u"--cells"}, {u"--offset", u"--rows", u"--encoding"});
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
