#include "checksum/ChecksumNames.h"

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

std::string LowerHex(std::span<const std::uint8_t> bytes)
{
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

std::string ChecksumLine(DigestAlgorithm algorithm, std::span<const std::uint8_t> value)
{
    return std::string(ChecksumName(algorithm)) + "  " + LowerHex(value);
}

} // namespace orx
