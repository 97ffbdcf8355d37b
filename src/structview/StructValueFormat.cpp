#include "structview/StructValueFormat.h"

#include "platform/Utf.h"
#include "text/HexFormat.h"

#include <bit>
#include <cmath>
#include <locale>
#include <sstream>

namespace orx {
namespace {

constexpr std::size_t kMaxArrayBytes = 16;
constexpr std::size_t kMaxChars = 64;
std::uint64_t ReadUnsigned(ByteSpan bytes, std::uint32_t endian)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t byte = endian == 1 ? bytes[i] : bytes[bytes.size() - 1 - i];
        value = (value << 8) | byte;
    }
    return value;
}

// The standard stream's general format with 6 significant digits. NaN is spelled out here
// because the C runtimes disagree on its sign and decoration.
std::u16string FormatReal(double value)
{
    if (std::isnan(value)) {
        return std::signbit(value) ? u"-nan" : u"nan";
    }
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return platform::Widen(stream.str());
}

template <typename Real, typename Bits>
std::u16string FormatIeee(ByteSpan bytes, std::uint32_t endian, std::uint32_t base)
{
    if (bytes.size() != sizeof(Bits)) {
        return FormatInteger(bytes, endian, base);
    }
    const auto bits = static_cast<Bits>(ReadUnsigned(bytes, endian));
    return FormatReal(static_cast<double>(std::bit_cast<Real>(bits))) + u" (" +
           FormatInteger(bytes, endian, 0) + u")";
}

} // namespace

std::u16string HexDump(ByteSpan bytes)
{
    std::u16string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += u' ';
        }
        AppendHexByte(out, bytes[i]);
    }
    return out;
}

std::u16string FormatByteArray(ByteSpan bytes)
{
    if (bytes.empty()) {
        return u"0 bytes";
    }
    if (bytes.size() <= kMaxArrayBytes) {
        return HexDump(bytes);
    }
    return HexDump(bytes.first(kMaxArrayBytes)) + u" ...";
}

std::u16string FormatCharArray(ByteSpan bytes)
{
    if (bytes.empty()) {
        return u"0 bytes";
    }
    std::u16string out = u"\"";
    bool cut = false;
    std::size_t taken = 0;
    for (const std::uint8_t byte : bytes) {
        if (byte == 0) {
            break;
        }
        if (byte < 0x20 || byte > 0x7E || taken == kMaxChars) {
            cut = true;
            break;
        }
        out += static_cast<char16_t>(byte);
        ++taken;
    }
    if (cut) {
        out += u"...";
    }
    out += u'"';
    return out;
}

std::u16string FormatInteger(ByteSpan bytes, std::uint32_t endian, std::uint32_t base)
{
    if (bytes.empty()) {
        return {};
    }
    if (bytes.size() > 8) {
        return u"0x" + HexDump(bytes);
    }
    const std::uint64_t value = ReadUnsigned(bytes, endian);
    if (base == 1) {
        return platform::Widen(std::to_string(value));
    }
    std::u16string out = u"0x";
    for (std::size_t i = bytes.size(); i-- > 0;) {
        AppendHexByte(out, static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return out;
}

std::u16string FormatFloat(ByteSpan bytes, std::uint32_t endian, std::uint32_t base)
{
    return FormatIeee<float, std::uint32_t>(bytes, endian, base);
}

std::u16string FormatDouble(ByteSpan bytes, std::uint32_t endian, std::uint32_t base)
{
    return FormatIeee<double, std::uint64_t>(bytes, endian, base);
}

} // namespace orx
