// Known answers of each digest through the platform interface: zlib's CRC-32 and Adler-32,
// and the system's hashes (OpenSSL natively, CNG under Wine). The vectors are the empty
// input, "abc", a million "a"s and the published test messages (FIPS 180's 448- and 896-bit
// ones, "123456789", the check string of the CRC catalogues).
#include "platform/Digest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace orx::platform {
namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

std::span<const std::uint8_t> Bytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The value of `input` fed in pieces of `piece` bytes (all at once when 0).
std::string Compute(DigestAlgorithm algorithm, std::string_view input, std::size_t piece = 0)
{
    const std::unique_ptr<Digest> digest = CreateDigest(algorithm);
    if (!digest) {
        return "(unavailable)";
    }
    if (piece == 0) {
        digest->Update(Bytes(input));
    }
    for (std::size_t at = 0; piece != 0 && at < input.size(); at += piece) {
        digest->Update(Bytes(input.substr(at, piece)));
    }
    return Hex(digest->Finish());
}

const std::string kMillionA(1000000, 'a');
constexpr std::string_view k448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
constexpr std::string_view k896 = "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmno"
                                  "ijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";

struct Vector {
    std::string_view name;
    std::string_view input;
    const char* crc32;
    const char* adler32;
    const char* md5;
    const char* sha1;
    const char* sha256;
    const char* sha512;
};

const Vector kVectors[] = {
    {"empty", "", "00000000", "00000001", "d41d8cd98f00b204e9800998ecf8427e",
     "da39a3ee5e6b4b0d3255bfef95601890afd80709",
     "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
     "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877ee"
     "c2"
     "f63b931bd47417a81a538327af927da3e"},
    {"abc", "abc", "352441c2", "024d0127", "900150983cd24fb0d6963f7d28e17f72",
     "a9993e364706816aba3e25717850c26c9cd0d89d",
     "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
     "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3fee"
     "bbd454d4423643ce80e2a9ac94fa54ca49f"},
    {"448 bits", k448, "171a3f5f", "807416f9", "8215ef0796a20bcaaae116d3876c664a",
     "84983e441c3bd26ebaae4aa1f95129e5e54670f1",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1",
     "204a8fc6dda82f0a0ced7beb8e08a41657c16ef468b228a8279be331a703c33596fd15c13b1b07f9aa1d3bea57789"
     "ca031ad85c7a71dd70354ec631238ca3445"},
    {"896 bits", k896, "191f3349", "1ac22ed1", "03dd8807a93175fb062dfb55dc7d359c",
     "a49b2446a02c645bf419f995b67091253a04a259",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1",
     "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018501d289e4900f7e4331b99dec4b54"
     "33ac7d329eeb6dd26545e96e55b874be909"},
    {"check", "123456789", "cbf43926", "091e01de", "25f9e794323b453885f5181f1b624d0b",
     "f7c3bc1d808e04732adf679965ccc34ca7ae3441",
     "15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225",
     "d9e6762dd1c8eaf6d61b3c6192fc408d4d6d5f1176d0c29169bc24e71c3f274ad27fcd5811b313d681f7e55ec02d7"
     "3d499c95455b6b5bb503acf574fba8ffe85"},
    {"a million a", kMillionA, "dc25bfbc", "15d870f9", "7707d6ae4e027c70eea2a935c2296f21",
     "34aa973cd4c4daa4f61eeb2bdbad27316534016f",
     "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0",
     "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973ebde0ff244877ea60a4cb0432ce577c"
     "31beb009c5c2c49aa2e4eadb217ad8cc09b"},
};

const char* Expected(const Vector& vector, DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Crc32: return vector.crc32;
    case DigestAlgorithm::Adler32: return vector.adler32;
    case DigestAlgorithm::Md5: return vector.md5;
    case DigestAlgorithm::Sha1: return vector.sha1;
    case DigestAlgorithm::Sha256: return vector.sha256;
    case DigestAlgorithm::Sha512: return vector.sha512;
    }
    return "";
}

TEST(Digest, KnownAnswersOfEveryAlgorithm)
{
    for (const Vector& vector : kVectors) {
        for (const DigestAlgorithm algorithm : kAllDigestAlgorithms) {
            SCOPED_TRACE(std::string(vector.name) + ", algorithm " +
                         std::to_string(static_cast<int>(algorithm)));
            const std::string expected = Expected(vector, algorithm);
            EXPECT_EQ(expected.size(), 2 * DigestSize(algorithm));
            EXPECT_EQ(Compute(algorithm, vector.input), expected);
        }
    }
}

// The value does not depend on how the bytes are cut into updates: single bytes, odd
// pieces across the 64- and 128-byte blocks of the hashes, and empty updates between.
TEST(Digest, PiecesOfAnySizeGiveTheSameValue)
{
    const Vector& vector = kVectors[std::size(kVectors) - 1];
    const std::string_view input = std::string_view(vector.input).substr(0, 100003);
    for (const DigestAlgorithm algorithm : kAllDigestAlgorithms) {
        SCOPED_TRACE(static_cast<int>(algorithm));
        const std::string whole = Compute(algorithm, input);
        for (const std::size_t piece :
             {std::size_t{1}, std::size_t{63}, std::size_t{129}, std::size_t{65536}}) {
            EXPECT_EQ(Compute(algorithm, input, piece), whole) << piece;
        }
        const std::unique_ptr<Digest> digest = CreateDigest(algorithm);
        ASSERT_TRUE(digest);
        digest->Update({});
        digest->Update(Bytes(input));
        digest->Update({});
        EXPECT_EQ(Hex(digest->Finish()), whole);
    }
}

} // namespace
} // namespace orx::platform
