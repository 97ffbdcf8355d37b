#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace orx::platform {

// The checksums and hashes the editor computes. The numbering is the order they are listed
// in everywhere (the dialog, `orlin-cli hash`, the copied lines).
enum class DigestAlgorithm : std::uint8_t {
    Crc32 = 0, // the zlib / PNG / Ethernet polynomial, reflected, 0xEDB88320
    Adler32 = 1,
    Md5 = 2,
    Sha1 = 3,
    Sha256 = 4,
    Sha512 = 5,
};

inline constexpr std::size_t kDigestAlgorithmCount = 6;

inline constexpr DigestAlgorithm kAllDigestAlgorithms[kDigestAlgorithmCount] = {
    DigestAlgorithm::Crc32, DigestAlgorithm::Adler32, DigestAlgorithm::Md5,
    DigestAlgorithm::Sha1,  DigestAlgorithm::Sha256,  DigestAlgorithm::Sha512,
};

// The length of a value in bytes: 4 for the two checksums, 16, 20, 32 and 64 for the hashes.
[[nodiscard]] std::size_t DigestSize(DigestAlgorithm algorithm);

// One running computation of one algorithm, done by a library the system keeps: zlib for
// CRC-32 and Adler-32 everywhere, the system's cryptography for the hashes (CNG's
// BCryptHashData on Windows, OpenSSL's libcrypto elsewhere). Feed the bytes in order with
// Update, in pieces of any size, then take the value once with Finish. One object belongs
// to one thread at a time; different objects may run on different threads at once.
class Digest {
public:
    virtual ~Digest() = default;
    Digest() = default;
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    virtual void Update(std::span<const std::uint8_t> bytes) = 0;
    // The value in the byte order its standard prints it in (the two checksums big-endian,
    // as zlib's 32-bit value is written out in hex). Empty when the system failed to compute
    // it. After Finish the object takes no more bytes.
    [[nodiscard]] virtual std::vector<std::uint8_t> Finish() = 0;
};

// A new computation; nothing when the system cannot provide the algorithm.
[[nodiscard]] std::unique_ptr<Digest> CreateDigest(DigestAlgorithm algorithm);

// The system's digest for the algorithms that are not zlib's (the hashes); the platform
// folder provides it. Nothing when the system cannot provide one.
[[nodiscard]] std::unique_ptr<Digest> CreateSystemHash(DigestAlgorithm algorithm);

} // namespace orx::platform
