#include "checksum/ChecksumNames.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

TEST(ChecksumNames, ShownNamesKeysAndTheNamesUsersMayType)
{
    // clang-format off
    struct Case { DigestAlgorithm algorithm; const char* name; const char* key; std::u16string typed; };
    const Case cases[] = {
        {DigestAlgorithm::Crc32, "CRC-32", "crc32", u"CRC32"},
        {DigestAlgorithm::Adler32, "Adler-32", "adler32", u"Adler-32"},
        {DigestAlgorithm::Md5, "MD5", "md5", u"md5"},
        {DigestAlgorithm::Sha1, "SHA-1", "sha1", u"sha_1"},
        {DigestAlgorithm::Sha256, "SHA-256", "sha256", u"SHA-256"},
        {DigestAlgorithm::Sha512, "SHA-512", "sha512", u"Sha512"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(ChecksumName(c.algorithm), c.name);
        EXPECT_EQ(ChecksumKey(c.algorithm), c.key);
        EXPECT_EQ(ChecksumFromName(c.typed), c.algorithm);
    }
    for (const std::u16string name : {u"", u"sha", u"sha384", u"crc", u"md5 ", u"\u00e9md5"}) {
        EXPECT_FALSE(ChecksumFromName(name)) << platform::DigestSize(DigestAlgorithm::Md5);
    }
}

TEST(ChecksumNames, ValuesAreLowerCaseHexAndLinesNameThem)
{
    const std::uint8_t bytes[] = {0x00, 0x0f, 0xa5, 0xff};
    EXPECT_EQ(LowerHex(bytes), "000fa5ff");
    EXPECT_EQ(LowerHex({}), "");
    EXPECT_EQ(ChecksumLine(DigestAlgorithm::Adler32, bytes), "Adler-32  000fa5ff");
}

} // namespace
} // namespace orx
