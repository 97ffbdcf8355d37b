#pragma once

#include "hexview/CopyFormats.h"

#include <cstdint>
#include <string>

namespace orx {

class IReadOnlyDocument;

// What a copy of the selection yields.
struct ClipboardText {
    enum class Status {
        Nothing,  // no selection, no document, or nothing could be read
        Ready,    // `text` goes on the clipboard
        TooLarge, // refused: the text would exceed kMaxClipboardTextBytes
    };
    Status status = Status::Nothing;
    std::u16string text;
};

// Largest clipboard text (UTF-16 with its terminating zero) a copy builds: 64 MiB. A copy
// needs three characters per byte, so a huge selection would otherwise exhaust memory and
// end the process with the user's edits unsaved.
inline constexpr std::uint64_t kMaxClipboardTextBytes = 64ull * 1024 * 1024;

// Whether the text of `count` selected bytes would exceed kMaxClipboardTextBytes.
[[nodiscard]] bool CopyTooLarge(std::uint64_t count, CopyFormat format = CopyFormat::Hex);

// The bytes [low, high] as upper-case hex bytes separated by spaces ("4D 5A 90 00").
[[nodiscard]] ClipboardText CopyAsHex(const IReadOnlyDocument& document, std::uint64_t low,
                                      std::uint64_t high);

// The bytes [low, high] in `format`; Text decodes them as `encoding`.
[[nodiscard]] ClipboardText CopyAs(const IReadOnlyDocument& document, std::uint64_t low,
                                   std::uint64_t high, CopyFormat format, TextEncoding encoding);

} // namespace orx
