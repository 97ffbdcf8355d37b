// The hashes through CNG (bcrypt.dll), the system's own cryptography.
#include "platform/Digest.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <limits>

namespace orx::platform {
namespace {

bool Succeeded(NTSTATUS status)
{
    return status >= 0;
}

const wchar_t* AlgorithmId(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Md5: return BCRYPT_MD5_ALGORITHM;
    case DigestAlgorithm::Sha1: return BCRYPT_SHA1_ALGORITHM;
    case DigestAlgorithm::Sha256: return BCRYPT_SHA256_ALGORITHM;
    case DigestAlgorithm::Sha512: return BCRYPT_SHA512_ALGORITHM;
    case DigestAlgorithm::Crc32:
    case DigestAlgorithm::Adler32: break;
    }
    return nullptr;
}

// The algorithm providers, opened once per process on first use and kept: opening one is
// the expensive step, and a provider handle may be shared by threads.
class Providers {
public:
    ~Providers()
    {
        for (BCRYPT_ALG_HANDLE& provider : providers_) {
            if (provider != nullptr) {
                BCryptCloseAlgorithmProvider(provider, 0);
            }
        }
    }

    static BCRYPT_ALG_HANDLE For(DigestAlgorithm algorithm)
    {
        static Providers instance;
        return instance.providers_[static_cast<std::size_t>(algorithm)];
    }

private:
    Providers()
    {
        for (DigestAlgorithm algorithm : kAllDigestAlgorithms) {
            if (const wchar_t* id = AlgorithmId(algorithm)) {
                BCRYPT_ALG_HANDLE provider = nullptr;
                if (Succeeded(BCryptOpenAlgorithmProvider(&provider, id, nullptr, 0))) {
                    providers_[static_cast<std::size_t>(algorithm)] = provider;
                }
            }
        }
    }

    BCRYPT_ALG_HANDLE providers_[kDigestAlgorithmCount] = {};
};

class CngHash final : public Digest {
public:
    CngHash(BCRYPT_HASH_HANDLE hash, std::size_t size) : hash_(hash), size_(size) {}
    ~CngHash() override { BCryptDestroyHash(hash_); }

    void Update(std::span<const std::uint8_t> bytes) override
    {
        // BCryptHashData takes a 32-bit count.
        constexpr std::size_t kMaxPiece = std::numeric_limits<ULONG>::max();
        while (!failed_ && !bytes.empty()) {
            const std::size_t piece = std::min(bytes.size(), kMaxPiece);
            failed_ = !Succeeded(BCryptHashData(hash_, const_cast<PUCHAR>(bytes.data()),
                                                static_cast<ULONG>(piece), 0));
            bytes = bytes.subspan(piece);
        }
    }

    std::vector<std::uint8_t> Finish() override
    {
        std::vector<std::uint8_t> value(size_);
        if (failed_ ||
            !Succeeded(BCryptFinishHash(hash_, value.data(), static_cast<ULONG>(size_), 0))) {
            return {};
        }
        return value;
    }

private:
    BCRYPT_HASH_HANDLE hash_;
    std::size_t size_;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<Digest> CreateSystemHash(DigestAlgorithm algorithm)
{
    BCRYPT_ALG_HANDLE provider = Providers::For(algorithm);
    if (provider == nullptr) {
        return nullptr;
    }
    // CNG allocates the hash object itself when given no buffer (Windows 7 and later).
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!Succeeded(BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0))) {
        return nullptr;
    }
    return std::make_unique<CngHash>(hash, DigestSize(algorithm));
}

} // namespace orx::platform
