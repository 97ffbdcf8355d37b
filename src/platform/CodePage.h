#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orx::platform {

// The double-byte code pages of the text column and the text search. UTF-8 (65001) goes
// through Utf.h.
enum class CodePage : std::uint32_t {
    ShiftJis = 932,
    Windows949 = 949,
    EucKr = 51949,
};

// IsDBCSLeadByteEx: whether `byte` starts a two-byte character in `codePage`.
[[nodiscard]] bool IsLeadByte(CodePage codePage, std::uint8_t byte);

// MultiByteToWideChar without flags: undefined sequences become the code page's default
// character. Empty when the system yields nothing or the converted length differs from the
// measured one.
[[nodiscard]] std::u16string DecodeCodePage(CodePage codePage, std::span<const std::uint8_t> bytes);

// WideCharToMultiByte with WC_NO_BEST_FIT_CHARS: nothing when the text is empty, when the
// system yields nothing, or when a character has no exact representation (the system would
// have substituted its default character).
[[nodiscard]] std::optional<std::vector<std::uint8_t>> EncodeCodePage(CodePage codePage,
                                                                      std::u16string_view text);

} // namespace orx::platform
