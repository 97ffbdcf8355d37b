#pragma once

#include "platform/Digest.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orx {

using platform::DigestAlgorithm;

// The name shown for an algorithm and written before its value: "CRC-32", "Adler-32", "MD5",
// "SHA-1", "SHA-256", "SHA-512".
[[nodiscard]] std::string_view ChecksumName(DigestAlgorithm algorithm);

// The short lower-case name that `orlin-cli hash --algorithm` and the JSON output use:
// "crc32", "adler32", "md5", "sha1", "sha256", "sha512".
[[nodiscard]] std::string_view ChecksumKey(DigestAlgorithm algorithm);

// The algorithm a user's name stands for, ignoring case, hyphens and underscores, so that
// "sha256", "SHA-256" and "Sha_256" all name SHA-256; nothing for any other name.
[[nodiscard]] std::optional<DigestAlgorithm> ChecksumFromName(std::u16string_view name);

// "NAME  VALUE": the name, two spaces, the lower-case hexadecimal value.
[[nodiscard]] std::string ChecksumLine(DigestAlgorithm algorithm,
                                       std::span<const std::uint8_t> value);

} // namespace orx
