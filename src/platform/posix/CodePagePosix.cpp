#include "platform/CodePageSystem.h"

#include <iconv.h>

#include <array>
#include <cerrno>

// glibc's CP932 and CP949 converters carry the double-byte tables; what they lack is the
// behaviour of the Windows code pages around them, added here so that both platforms give
// the same cells: how undefined bytes and pairs decode, the single bytes that Windows maps
// into the private use area, the user-defined areas, and exact-round-trip encoding.
namespace orx::platform::system {
namespace {

struct Rules {
    const char* iconvName;
    char16_t defaultChar; // what an undefined or truncated pair decodes to
    bool (*isLead)(std::uint8_t);
    char16_t (*single)(std::uint8_t); // a byte from 0x80 that is not a lead byte
    char16_t (*userDefined)(std::uint8_t lead, std::uint8_t trail); // 0: not in the area
};

bool IsLead932(std::uint8_t b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsLead949(std::uint8_t b)
{
    return b >= 0x81 && b <= 0xFE;
}

char16_t Single932(std::uint8_t b)
{
    if (b >= 0xA1 && b <= 0xDF) {
        return static_cast<char16_t>(0xFF61 + (b - 0xA1)); // half-width katakana
    }
    switch (b) {
    case 0xA0: return 0xF8F0;
    case 0xFD: return 0xF8F1;
    case 0xFE: return 0xF8F2;
    case 0xFF: return 0xF8F3;
    default: return b; // 0x80
    }
}

char16_t Single949(std::uint8_t b)
{
    return b == 0xFF ? char16_t{0xF8F7} : char16_t{b};
}

// 932's user-defined characters: leads 0xF0 to 0xF9, 188 trails each, from U+E000 on.
char16_t UserDefined932(std::uint8_t lead, std::uint8_t trail)
{
    if (lead < 0xF0 || lead > 0xF9 || trail < 0x40 || trail > 0xFC || trail == 0x7F) {
        return 0;
    }
    const int column = trail < 0x7F ? trail - 0x40 : trail - 0x41;
    return static_cast<char16_t>(0xE000 + (lead - 0xF0) * 188 + column);
}

// 949's user-defined characters: leads 0xC9 and 0xFE with trails 0xA1 to 0xFE.
char16_t UserDefined949(std::uint8_t lead, std::uint8_t trail)
{
    if ((lead != 0xC9 && lead != 0xFE) || trail < 0xA1 || trail > 0xFE) {
        return 0;
    }
    return static_cast<char16_t>(0xE000 + (lead == 0xFE ? 94 : 0) + (trail - 0xA1));
}

const Rules& RulesFor(CodePage codePage)
{
    static const Rules k932{"CP932", 0x30FB, IsLead932, Single932, UserDefined932};
    static const Rules k949{"CP949", 0x003F, IsLead949, Single949, UserDefined949};
    return codePage == CodePage::ShiftJis ? k932 : k949;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (IsOpen()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    [[nodiscard]] bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; false when any of it does not convert.
    [[nodiscard]] bool Convert(const void* in, std::size_t inSize, std::array<char, 16>& out,
                               std::size_t& outSize)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(static_cast<const char*>(in));
        std::size_t inLeft = inSize;
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
        outSize = out.size() - outLeft;
        return result != static_cast<std::size_t>(-1) && inLeft == 0;
    }

private:
    iconv_t cd_;
};

// Appends the text of one lead/trail pair, or the default character.
void DecodePair(const Rules& rules, Converter& converter, std::uint8_t lead, std::uint8_t trail,
                std::u16string& text)
{
    if (const char16_t user = rules.userDefined(lead, trail)) {
        text.push_back(user);
        return;
    }
    const std::uint8_t pair[2] = {lead, trail};
    std::array<char, 16> out{};
    std::size_t outSize = 0;
    if (!converter.Convert(pair, 2, out, outSize) || outSize == 0 || outSize % 2 != 0) {
        text.push_back(rules.defaultChar);
        return;
    }
    for (std::size_t k = 0; k + 1 < outSize; k += 2) {
        text.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(out[k]) |
                                             (static_cast<std::uint8_t>(out[k + 1]) << 8)));
    }
}

std::u16string DecodeWith(const Rules& rules, Converter& converter,
                          std::span<const std::uint8_t> bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) {
            text.push_back(b);
            ++i;
        } else if (!rules.isLead(b)) {
            text.push_back(rules.single(b));
            ++i;
        } else if (i + 1 >= bytes.size() || bytes[i + 1] == 0) {
            // A lead byte with nothing after it; a zero byte is never taken as its trail.
            text.push_back(rules.defaultChar);
            ++i;
        } else {
            DecodePair(rules, converter, b, bytes[i + 1], text);
            i += 2;
        }
    }
    return text;
}

// The bytes of one character (one unit or a surrogate pair), or nothing when it has no exact
// representation: a candidate must decode back to the same character (no best fit).
std::optional<std::vector<std::uint8_t>>
EncodeOne(const Rules& rules, Converter& encoder, Converter& decoder, std::u16string_view character)
{
    const char16_t c = character[0];
    if (character.size() == 1 && c < 0x80) {
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(c)};
    }
    if (character.size() == 1) {
        for (unsigned b = 0x80; b <= 0xFF; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            if (!rules.isLead(byte) && rules.single(byte) == c) {
                return std::vector<std::uint8_t>{byte};
            }
        }
        if (c >= 0xE000 && c <= 0xF8FF) {
            for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
                for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                    const auto l = static_cast<std::uint8_t>(lead);
                    const auto t = static_cast<std::uint8_t>(trail);
                    if (rules.userDefined(l, t) == c) {
                        return std::vector<std::uint8_t>{l, t};
                    }
                }
            }
        }
    }
    std::array<char, 16> out{};
    std::size_t outSize = 0;
    char16_t units[2] = {character[0], character.size() > 1 ? character[1] : char16_t{0}};
    std::uint8_t in[4];
    for (std::size_t k = 0; k < character.size(); ++k) {
        in[2 * k] = static_cast<std::uint8_t>(units[k] & 0xFF);
        in[2 * k + 1] = static_cast<std::uint8_t>(units[k] >> 8);
    }
    if (!encoder.Convert(in, 2 * character.size(), out, outSize) || outSize == 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(out.begin(),
                                    out.begin() + static_cast<std::ptrdiff_t>(outSize));
    if (DecodeWith(rules, decoder, bytes) != character) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

bool HasCodePage(CodePage codePage)
{
    // EUC-KR is always built on 949 here, as on systems without 51949, so that both
    // platforms agree on the bytes outside the EUC-KR pairs.
    return codePage != CodePage::EucKr;
}

bool IsLeadByte(CodePage codePage, std::uint8_t byte)
{
    return RulesFor(codePage).isLead(byte);
}

std::u16string Decode(CodePage codePage, std::span<const std::uint8_t> bytes)
{
    const Rules& rules = RulesFor(codePage);
    Converter converter("UTF-16LE", rules.iconvName);
    if (!converter.IsOpen()) {
        return {};
    }
    return DecodeWith(rules, converter, bytes);
}

std::optional<std::vector<std::uint8_t>> Encode(CodePage codePage, std::u16string_view text)
{
    const Rules& rules = RulesFor(codePage);
    Converter encoder(rules.iconvName, "UTF-16LE");
    Converter decoder("UTF-16LE", rules.iconvName);
    if (text.empty() || !encoder.IsOpen() || !decoder.IsOpen()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const std::size_t length = pair ? 2 : 1;
        const auto one = EncodeOne(rules, encoder, decoder, text.substr(i, length));
        if (!one) {
            return std::nullopt;
        }
        bytes.insert(bytes.end(), one->begin(), one->end());
        i += length;
    }
    return bytes;
}

} // namespace orx::platform::system
