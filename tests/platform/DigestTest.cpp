// Known answers of each digest through the platform interface: zlib's CRC-32 and Adler-32,
// and the system's hashes (OpenSSL natively, CNG under Wine). The vectors are the empty
// input, "abc", a million "a"s and the published test messages (RFC 1321's for MD5, FIPS
// 180's for the SHA family, "123456789" for CRC-32, "Wikipedia" for Adler-32).
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
    {"a", "a", "e8b7be43", "00620062", "0cc175b9c0f1b6a831c399e269772661",
     "86f7e437faa5a7fce15d1ddcb9eaeaea377667b8",
     "ca978112ca1bbdcafac231b39a23dc4da786eff8147c4e72b9807785afee48bb",
     "1f40fc92da241694750979ee6cf582f2d5d7d28e18335de05abc54d0560e0f5302860c652bf08d560252aa5e74210"
     "546f369fbbbce8c12cfc7957b2652fe9a75"},
    {"abc", "abc", "352441c2", "024d0127", "900150983cd24fb0d6963f7d28e17f72",
     "a9993e364706816aba3e25717850c26c9cd0d89d",
     "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
     "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3fee"
     "bbd454d4423643ce80e2a9ac94fa54ca49f"},
    {"message digest", "message digest", "20159d7f", "29750586", "f96b697d7cb7938d525a2f31aaf161d0",
     "c12252ceda8be8994d5fa0290a47231c1d16aae3",
     "f7846f55cf23e14eebeab5b4e1550cad5b509e3348fbc4efa3a1413d393cb650",
     "107dbf389d9e9f71a3a95f6c055b9251bc5268c2be16d6c13492ea45b0199f3309e16455ab1e96118e8a905d5597b"
     "72038ddb372a89826046de66687bb420e7c"},
    {"alphabet", "abcdefghijklmnopqrstuvwxyz", "4c2750bd", "90860b20",
     "c3fcd3d76192e4007dfb496cca67e13b", "32d10c7b8cf96570ca04ce37f2a19d84240d3a89",
     "71c480df93d6ae2f1efad1447c66c9525e316218cf51fc8d9ed832f2daf18b73",
     "4dbff86cc2ca1bae1e16468a05cb9881c97f1753bce3619034898faa1aabe429955a1bf8ec483d7421fe3c1646613"
     "a59ed5441fb0f321389f77f48a879c7b1f1"},
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
    {"fox", "The quick brown fox jumps over the lazy dog", "414fa339", "5bdc0fda",
     "9e107d9d372bb6826bd81d3542a419d6", "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12",
     "d7a8fbb307d7809469ca9abcb0082e4f8d5651e46d3cdb762d02d0bf37c9e592",
     "07e547d9586f6a73f73fbac0435ed76951218fb7d0c8d788a309d785436bbb642e93a252a954f23912547d1e8a3b5"
     "ed6e1bfd7097821233fa0538f3db854fee6"},
    {"check", "123456789", "cbf43926", "091e01de", "25f9e794323b453885f5181f1b624d0b",
     "f7c3bc1d808e04732adf679965ccc34ca7ae3441",
     "15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225",
     "d9e6762dd1c8eaf6d61b3c6192fc408d4d6d5f1176d0c29169bc24e71c3f274ad27fcd5811b313d681f7e55ec02d7"
     "3d499c95455b6b5bb503acf574fba8ffe85"},
    {"Wikipedia", "Wikipedia", "adaac02e", "11e60398", "9c677286866aad38f8e9b660f5411814",
     "664add438097fbd4307f814de8e62a10f8905588",
     "d38b38a2dd476e045c299e8ee5d6466834456d97bd592a71746b423a6a05f386",
     "d83d8b6e18c38434a113775ac1879a3a738222b1dd0b06bd7b7b6e00b99b69a532cd7f06f44621e62047e9ff7107e"
     "655bc2927959a3a9ae3fb2bd47e07e863c0"},
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

// Digests are independent objects: two of one algorithm interleaved keep their own state.
TEST(Digest, InterleavedComputationsStaySeparate)
{
    for (const DigestAlgorithm algorithm : kAllDigestAlgorithms) {
        const std::unique_ptr<Digest> first = CreateDigest(algorithm);
        const std::unique_ptr<Digest> second = CreateDigest(algorithm);
        ASSERT_TRUE(first && second);
        first->Update(Bytes("ab"));
        second->Update(Bytes("The quick brown fox "));
        first->Update(Bytes("c"));
        second->Update(Bytes("jumps over the lazy dog"));
        EXPECT_EQ(Hex(first->Finish()), Expected(kVectors[2], algorithm));
        EXPECT_EQ(Hex(second->Finish()), Expected(kVectors[7], algorithm));
    }
}

} // namespace
} // namespace orx::platform
