// The hashes through OpenSSL's libcrypto (EVP), which picks the processor's fastest code.
#include "platform/Digest.h"

#include <openssl/evp.h>

namespace orx::platform {
namespace {

const EVP_MD* Method(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Md5: return EVP_md5();
    case DigestAlgorithm::Sha1: return EVP_sha1();
    case DigestAlgorithm::Sha256: return EVP_sha256();
    case DigestAlgorithm::Sha512: return EVP_sha512();
    case DigestAlgorithm::Crc32:
    case DigestAlgorithm::Adler32: break;
    }
    return nullptr;
}

class EvpHash final : public Digest {
public:
    explicit EvpHash(EVP_MD_CTX* context) : context_(context) {}
    ~EvpHash() override { EVP_MD_CTX_free(context_); }

    void Update(std::span<const std::uint8_t> bytes) override
    {
        if (!failed_ && EVP_DigestUpdate(context_, bytes.data(), bytes.size()) != 1) {
            failed_ = true;
        }
    }

    std::vector<std::uint8_t> Finish() override
    {
        std::vector<std::uint8_t> value(EVP_MAX_MD_SIZE);
        unsigned int size = 0;
        if (failed_ || EVP_DigestFinal_ex(context_, value.data(), &size) != 1) {
            return {};
        }
        value.resize(size);
        return value;
    }

private:
    EVP_MD_CTX* context_;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<Digest> CreateSystemHash(DigestAlgorithm algorithm)
{
    const EVP_MD* method = Method(algorithm);
    if (method == nullptr) {
        return nullptr;
    }
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    if (context == nullptr) {
        return nullptr;
    }
    if (EVP_DigestInit_ex(context, method, nullptr) != 1) {
        EVP_MD_CTX_free(context);
        return nullptr;
    }
    return std::make_unique<EvpHash>(context);
}

} // namespace orx::platform
