// orlin-cli patch FILE OP...: applies edits through the document, then saves.
#include "app/ExternalChanges.h"
#include "app/ParseOffset.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "document/EditableDocument.h"
#include "text/HexDigit.h"

namespace orx::cli {
namespace {

constexpr char kUsage[] =
    "usage: orlin-cli patch FILE [--force] OP...\n"
    "  --overwrite OFFSET=HEX   replace bytes from OFFSET\n"
    "  --insert OFFSET=HEX      insert bytes at OFFSET, in order\n"
    "  --delete OFFSET[:COUNT]  delete COUNT bytes (decimal, default 1) from OFFSET\n"
    "  --force                  save even if another program changed FILE meanwhile\n"
    "OFFSET is hexadecimal, with or without 0x.\n";

enum class OpKind { Overwrite, Insert, Delete };

struct Op {
    OpKind kind;
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;
    std::uint64_t count = 1;
    std::u16string text; // the option as given, for the refusal message
};

std::optional<Op> ParseOp(const std::u16string& option, const std::u16string& value)
{
    Op op{};
    op.text = option + u" " + value;
    if (option == u"--overwrite" || option == u"--insert") {
        op.kind = option == u"--overwrite" ? OpKind::Overwrite : OpKind::Insert;
        const auto equals = value.find(u'=');
        if (equals == std::u16string::npos) {
            return std::nullopt;
        }
        const auto offset = ParseOffset(std::u16string_view(value).substr(0, equals));
        auto bytes = HexPairsToBytes(std::u16string_view(value).substr(equals + 1));
        if (!offset || !bytes) {
            return std::nullopt;
        }
        op.offset = *offset;
        op.bytes = std::move(*bytes);
        return op;
    }
    if (option == u"--delete") {
        op.kind = OpKind::Delete;
        const auto colon = value.find(u':');
        const auto offset = ParseOffset(std::u16string_view(value).substr(0, colon));
        if (!offset) {
            return std::nullopt;
        }
        op.offset = *offset;
        if (colon != std::u16string::npos) {
            const auto count = ParseDecimal(std::u16string_view(value).substr(colon + 1));
            if (!count) {
                return std::nullopt;
            }
            op.count = *count;
        }
        return op;
    }
    return std::nullopt;
}

bool Apply(EditableDocument& document, const Op& op)
{
    switch (op.kind) {
    case OpKind::Overwrite:
        for (std::size_t k = 0; k < op.bytes.size(); ++k) {
            if (!document.OverwriteByte(op.offset + k, op.bytes[k])) {
                return false;
            }
        }
        return true;
    case OpKind::Insert:
        for (std::size_t k = 0; k < op.bytes.size(); ++k) {
            if (!document.InsertByte(op.offset + k, op.bytes[k])) {
                return false;
            }
        }
        return true;
    case OpKind::Delete: return document.DeleteRange(op.offset, op.count);
    }
    return false;
}

} // namespace

int RunPatch(const Invocation& invocation)
{
    return RunPatch(invocation, {});
}

int RunPatch(const Invocation& invocation, const std::function<void()>& beforeSave)
{
    // --force may stand anywhere after FILE; the rest are pairs of option and value.
    Args args;
    bool force = false;
    for (std::size_t i = 0; i < invocation.args.size(); ++i) {
        if (i > 0 && invocation.args[i] == u"--force") {
            force = true;
        } else {
            args.push_back(invocation.args[i]);
        }
    }
    if (args.size() < 3 || (args.size() - 1) % 2 != 0) {
        invocation.err << kUsage;
        return kExitUsage;
    }
    std::vector<Op> ops;
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        std::optional<Op> op = ParseOp(args[i], args[i + 1]);
        if (!op) {
            invocation.err << kUsage;
            return kExitUsage;
        }
        ops.push_back(std::move(*op));
    }

    EditableDocument document;
    if (!OpenOrReport(document, args[0], invocation.err)) {
        return kExitNoInput;
    }
    for (const Op& op : ops) {
        if (!Apply(document, op)) {
            invocation.err << "refused: ";
            Print(invocation.err, op.text);
            invocation.err << "\n";
            return kExitRefused;
        }
    }
    if (beforeSave) {
        beforeSave();
    }
    if (!document.Save({}, force ? SaveMode::Anyway : SaveMode::Checked)) {
        if (document.RefusedChange() != FileChange::None) {
            invocation.err << "not saved: ";
            Print(invocation.err, EnglishText(ExternalChangeTextKey(document.RefusedChange()), {}));
            invocation.err << "\nNothing was written. Give --force to save anyway.\n";
            return kExitChangedOnDisk;
        }
        Print(invocation.err, document.LastError());
        invocation.err << "\n";
        return kExitFailed;
    }
    switch (document.LastSaveStrategy()) {
    case SaveStrategy::Nothing: invocation.out << "nothing to save\n"; break;
    case SaveStrategy::InPlace: invocation.out << "saved in place\n"; break;
    case SaveStrategy::ViaTempFile: invocation.out << "saved via temporary file\n"; break;
    }
    return kExitOk;
}

} // namespace orx::cli
