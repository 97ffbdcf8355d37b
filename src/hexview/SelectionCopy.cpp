#include "hexview/SelectionCopy.h"

#include "document/ReadOnlyDocument.h"
#include "hexview/RowFormat.h"

namespace orx {

bool CopyTooLarge(std::uint64_t count, CopyFormat format)
{
    // UTF-16 units and the terminating zero; for Hex three units a byte, the last one's space
    // being the terminating zero.
    return count > kMaxClipboardTextBytes ||
           FormattedLengthBound(count, format) + 1 > kMaxClipboardTextBytes / sizeof(char16_t);
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

namespace orx {

ClipboardText CopyAs(const IReadOnlyDocument& document, std::uint64_t low, std::uint64_t high,
                     CopyFormat format, TextEncoding encoding)
{
    if (format == CopyFormat::Hex) {
        return CopyAsHex(document, low, high);
    }
    const std::uint64_t count = high - low + 1;
    if (CopyTooLarge(count, format)) {
        return ClipboardText{ClipboardText::Status::TooLarge, {}};
    }
    const ReadResult read = document.Read(low, count);
    if (read.bytes.empty()) {
        return {};
    }
    ClipboardText result{ClipboardText::Status::Ready, {}};
    if (format == CopyFormat::Text) {
        result.text = DecodeForCopy(read.bytes, encoding);
    } else {
        const std::string text = FormatBytes(read.bytes, format);
        result.text.assign(text.begin(), text.end());
    }
    return result;
}

} // namespace orx
