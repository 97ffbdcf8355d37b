// CRC-32 and Adler-32 through zlib on every platform; the hashes go to the platform's file.
#include "platform/Digest.h"

#include <zlib.h>

namespace orx::platform {
namespace {

// zlib's running value of either checksum, fed through crc32_z or adler32_z.
class ZlibChecksum final : public Digest {
public:
    using Function = uLong (*)(uLong, const Bytef*, z_size_t);

    explicit ZlibChecksum(Function function) : function_(function), value_(function(0, nullptr, 0))
    {}

    void Update(std::span<const std::uint8_t> bytes) override
    {
        // Given no buffer, zlib returns the initial value instead of the running one.
        if (bytes.empty()) {
            return;
        }
        value_ = function_(value_, bytes.data(), static_cast<z_size_t>(bytes.size()));
    }

    std::vector<std::uint8_t> Finish() override
    {
        const auto value = static_cast<std::uint32_t>(value_);
        return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    }

private:
    Function function_;
    uLong value_;
};

} // namespace

std::size_t DigestSize(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Crc32:
    case DigestAlgorithm::Adler32: return 4;
    case DigestAlgorithm::Md5: return 16;
    case DigestAlgorithm::Sha1: return 20;
    case DigestAlgorithm::Sha256: return 32;
    case DigestAlgorithm::Sha512: return 64;
    }
    return 0;
}

std::unique_ptr<Digest> CreateDigest(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Crc32: return std::make_unique<ZlibChecksum>(&crc32_z);
    case DigestAlgorithm::Adler32: return std::make_unique<ZlibChecksum>(&adler32_z);
    case DigestAlgorithm::Md5:
    case DigestAlgorithm::Sha1:
    case DigestAlgorithm::Sha256:
    case DigestAlgorithm::Sha512: return CreateSystemHash(algorithm);
    }
    return nullptr;
}

} // namespace orx::platform
