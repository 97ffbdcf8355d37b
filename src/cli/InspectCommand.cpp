// orlin-cli inspect FILE OFFSET: the data inspector's rows for the bytes at OFFSET.
#include "app/ParseOffset.h"
#include "cli/Commands.h"
#include "cli/CommandSupport.h"
#include "document/EditableDocument.h"
#include "inspector/InspectorValues.h"
#include "platform/Utf.h"

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli inspect FILE OFFSET [--endian little|big] [--resource-dir DIR]\n"
    "  OFFSET               hexadecimal, with or without 0x\n"
    "  --endian ORDER       byte order of the rows from int8 on (default little)\n"
    "  --resource-dir DIR   directory holding resources/strings (default: the executable's)\n"
    "Prints one line per row: the row's key, a tab and the value.\n";

// What the inspector window reads at the caret.
constexpr std::uint64_t kInspectorBytes = 96;

} // namespace

int RunInspect(const Invocation& invocation)
{
    const std::optional<SplitArgs> split =
        Split(invocation.args, {}, {u"--resource-dir", u"--endian"});
    const std::optional<std::uint64_t> offset =
        split && split->positional.size() == 2 ? ParseOffset(split->positional[1]) : std::nullopt;
    const std::u16string* endian = split ? split->Value(u"--endian") : nullptr;
    if (!offset || (endian != nullptr && *endian != u"little" && *endian != u"big")) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    EditableDocument document;
    if (!OpenOrReport(document, split->positional[0], invocation.err)) {
        return kExitNoInput;
    }
    const std::u16string* resourceDirectory = split->Value(u"--resource-dir");
    const std::u16string resources = resourceDirectory ? *resourceDirectory : u"";
    const ReadResult read = document.Read(*offset, kInspectorBytes);
    const InspectorValues values = ComputeInspectorValues(
        read.bytes, EnglishText("inspector.data.value.unavailable", resources),
        endian != nullptr && *endian == u"big",
        EnglishText("inspector.data.value.leb128", resources));
    for (std::size_t row = 0; row < kInspectorRowCount; ++row) {
        Print(invocation.out, platform::Widen(kInspectorRowKeys[row]) + u"\t" + values[row]);
        invocation.out << "\n";
    }
    return kExitOk;
}

} // namespace orx::cli
