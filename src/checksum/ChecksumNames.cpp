#include "checksum/ChecksumNames.h"

#include "text/HexFormat.h"

namespace orx {

std::string_view ChecksumName(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Crc32: return "CRC-32";
    case DigestAlgorithm::Adler32: return "Adler-32";
    case DigestAlgorithm::Md5: return "MD5";
    case DigestAlgorithm::Sha1: return "SHA-1";
    case DigestAlgorithm::Sha256: return "SHA-256";
    case DigestAlgorithm::Sha512: return "SHA-512";
    }
    return {};
}

std::string_view ChecksumKey(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Crc32: return "crc32";
    case DigestAlgorithm::Adler32: return "adler32";
    case DigestAlgorithm::Md5: return "md5";
    case DigestAlgorithm::Sha1: return "sha1";
    case DigestAlgorithm::Sha256: return "sha256";
    case DigestAlgorithm::Sha512: return "sha512";
    }
    return {};
}

std::optional<DigestAlgorithm> ChecksumFromName(std::u16string_view name)
{
    std::string folded;
    for (const char16_t c : name) {
        if (c == u'-' || c == u'_') {
            continue;
        }
        if (c > 0x7F) {
            return std::nullopt;
        }
        const char ascii = static_cast<char>(c);
        folded.push_back(ascii >= 'A' && ascii <= 'Z' ? static_cast<char>(ascii - 'A' + 'a')
                                                      : ascii);
    }
    for (const DigestAlgorithm algorithm : platform::kAllDigestAlgorithms) {
        if (folded == ChecksumKey(algorithm)) {
            return algorithm;
        }
    }
    return std::nullopt;
}

std::string ChecksumLine(DigestAlgorithm algorithm, std::span<const std::uint8_t> value)
{
    return std::string(ChecksumName(algorithm)) + "  " + LowerHex(value);
}

} // namespace orx
