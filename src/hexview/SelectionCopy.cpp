#include "hexview/SelectionCopy.h"

#include "document/ReadOnlyDocument.h"
#include "hexview/RowFormat.h"

namespace orx {

bool CopyTooLarge(std::uint64_t count)
{
    // Three UTF-16 units per byte (the last one's space is the terminating zero).
    return count > kMaxClipboardTextBytes / 6;
}

ClipboardText CopyAsHex(const IReadOnlyDocument& document, std::uint64_t low, std::uint64_t high)
{
    const std::uint64_t count = high - low + 1;
    if (CopyTooLarge(count)) {
        return ClipboardText{ClipboardText::Status::TooLarge, {}};
    }
    const ReadResult read = document.Read(low, count);
    if (read.bytes.empty()) {
        return {};
    }
    ClipboardText result{ClipboardText::Status::Ready, {}};
    result.text.reserve(read.bytes.size() * 3);
    for (std::size_t i = 0; i < read.bytes.size(); ++i) {
        if (i != 0) {
            result.text.push_back(u' ');
        }
        AppendHexByte(result.text, read.bytes[i]);
    }
    return result;
}

} // namespace orx
