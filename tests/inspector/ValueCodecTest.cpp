#include "inspector/ValueCodec.h"

#include "localization/StringTable.h"
#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace orx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using enum ValueType;
using enum ValueError;

TEST(EncodeValue, ParsesEachNotationAndChecksTheRange)
{
    // Expected bytes from Python's struct (little-endian unless `big`), datetime and uuid.
    // clang-format off
    struct Case { ValueType type; std::u16string_view text; bool big; Bytes bytes; ValueError error; };
    const Case cases[] = {
        {Int8, u"127", false, {0x7F}, None},
        {Int8, u"-0x80", false, {0x80}, None},
        {Int8, u"+5", false, {0x05}, None},
        {Int8, u"300", false, {}, Range},
        {Int8, u"0xFF", false, {}, Range},
        {Int8, u"five", false, {}, Syntax},
        {Int8, u"", false, {}, Syntax},
        {Int8, u"--1", false, {}, Syntax},
        {Int16, u"-32768", true, {0x80, 0x00}, None},
        {Int32, u"2147483648", false, {}, Range},
        {UInt32, u"0xDEADBEEF", false, {0xEF, 0xBE, 0xAD, 0xDE}, None},
        {UInt32, u"99999999999999999999999", false, {}, Range},
        {UInt32, u"99999999999999999999999x", false, {}, Syntax},
        {UInt64, u"-0", false, Bytes(8, 0), None},
        {Float16, u"65504", false, {0xFF, 0x7B}, None},
        {Float16, u"65519.99", false, {0xFF, 0x7B}, None},
        {Float16, u"65520", false, {}, Range},
        {Float16, u"0.1", false, {0x66, 0x2E}, None},
        {Float16, u"-inf", false, {0x00, 0xFC}, None},
        {Float32, u"NaN", true, {0x7F, 0xC0, 0x00, 0x00}, None},
        {Float32, u"1.5e", false, {}, Syntax},
        {Float64, u"1e400", false, {}, Range},
        {Float64, u"3.141592653589793", false, {0x18, 0x2D, 0x44, 0x54, 0xFB, 0x21, 0x09, 0x40}, None},
        {UnixTime32, u"1901-12-13 20:45:52", false, {0x00, 0x00, 0x00, 0x80}, None},
        {UnixTime32, u"1901-12-13 20:45:51", false, {}, Range},
        {UnixTime32, u"2038-01-19T03:14:07Z", true, {0x7F, 0xFF, 0xFF, 0xFF}, None},
        {UnixTime32, u"1970-01-01 00:00:00.5", false, {}, Range},
        {UnixTime64, u"1970-01-01", false, Bytes(8, 0), None},
        {UnixTime64, u"2023-02-29 00:00:00", false, {}, Syntax},
        {UnixTime64, u"2024-01-01 24:00:00", false, {}, Syntax},
        {FileTime, u"2024-01-17 21:20:00.1234567 UTC", false, {0x87, 0x96, 0x96, 0xED, 0x8A, 0x49, 0xDA, 0x01}, None},
        {FileTime, u"1600-12-31 23:59:59", false, {}, Range},
        {DosDateTime, u"1980-02-29 00:00:00", false, {0x00, 0x00, 0x5D, 0x00}, None},
        {DosDateTime, u"2107-12-31 23:59:58", true, {0xFF, 0x9F, 0xBF, 0x7D}, None},
        {DosDateTime, u"1979-12-31 00:00:00", false, {}, Range},
        {DosDateTime, u"2000-01-01 00:00:01", false, {}, Range},
        {Guid, u"{00112233-4455-6677-8899-AABBCCDDEEFF}", false,
         {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}, None},
        {Guid, u"00112233445566778899aabbccddeeff", true,
         {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}, None},
        {Guid, u"{00112233-4455-6677-8899-AABBCCDDEEF}", false, {}, Syntax},
        {Guid, u"001122334-455-6677-8899-AABBCCDDEEFF", false, {}, Syntax},
    };
    // clang-format on
    for (const Case& c : cases) {
        const EncodedValue encoded = EncodeValue(c.type, c.text, c.big);
        EXPECT_EQ(encoded.error, c.error) << platform::Narrow(std::u16string(c.text));
        EXPECT_EQ(encoded.bytes, c.bytes) << platform::Narrow(std::u16string(c.text));
    }
}

TEST(EncodeValue, ReadsBackWhatFormatValueShows)
{
    const Bytes bytes = {0x87, 0x96, 0x96, 0xED, 0x8A, 0x49, 0xDA, 0x01,
                         0x9E, 0x5A, 0x4B, 0x58, 0x00, 0x00, 0xC0, 0x7F};
    for (int t = 0; t <= static_cast<int>(Guid); ++t) {
        const auto type = static_cast<ValueType>(t);
        for (const bool big : {false, true}) {
            const std::optional<std::u16string> shown = FormatValue(type, bytes, big);
            if (!shown) {
                continue; // not a valid value in this order
            }
            const EncodedValue encoded = EncodeValue(type, *shown, big);
            EXPECT_EQ(
                encoded.bytes,
                Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(ValueSize(type))))
                << platform::Narrow(*shown);
        }
    }
}

TEST(DescribeValueError, NamesTheTypeAndItsRangeInEachLanguage)
{
    const char* source = std::getenv("ORX_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    StringTable strings([] { return std::optional<std::u16string>(u"en-US"); });
    strings.SetBaseDirectory(platform::Widen(std::string(source)));
    const StringLookup lookup = [&strings](std::string_view key) { return strings.Lookup(key); };
    strings.SetLanguage(UiLanguage::English);
    EXPECT_EQ(DescribeValueError(Range, Int8, u" 300 ", lookup),
              u"300 does not fit Int8 (-128 to 127).");
    EXPECT_EQ(DescribeValueError(Syntax, UInt16, u"abc", lookup),
              u"\"abc\" is not a valid UInt16 value (0 to 65535).");
    EXPECT_EQ(DescribeValueError(Range, DosDateTime, u"2000-01-01 00:00:01", lookup),
              u"DOS date/time holds even seconds only: 2000-01-01 00:00:01 cannot be written.");
    strings.SetLanguage(UiLanguage::Japanese);
    EXPECT_EQ(DescribeValueError(Range, Int8, u"300", lookup),
              u"300 は Int8 の範囲 (-128 ～ 127) に収まりません。");
    EXPECT_NE(DescribeValueError(Syntax, Guid, u"x", lookup).find(u"GUID"), std::u16string::npos);
}

} // namespace
} // namespace orx
