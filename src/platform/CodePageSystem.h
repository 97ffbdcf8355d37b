#pragma once

// The system conversions behind CodePage.h, one implementation per platform. The portable
// part builds EUC-KR on top of 949 where the system lacks code page 51949.
#include "platform/CodePage.h"

namespace orx::platform::system {

[[nodiscard]] bool HasCodePage(CodePage codePage);
[[nodiscard]] bool IsLeadByte(CodePage codePage, std::uint8_t byte);
[[nodiscard]] std::u16string Decode(CodePage codePage, std::span<const std::uint8_t> bytes);
[[nodiscard]] std::optional<std::vector<std::uint8_t>> Encode(CodePage codePage,
                                                              std::u16string_view text);

} // namespace orx::platform::system
