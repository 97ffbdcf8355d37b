// Feeds arbitrary queries to the wildcard hex parser and the case-folding pattern builder,
// and arbitrary masked patterns to the matcher. Byte 0 chooses the query kind (bit 0), the
// encoding (bits 1-3) and case folding (bit 4); byte 1 how long the matcher's pattern is.
// The rest is read as the query, one character per byte for hex (so that digits and "?"
// are common) and UTF-16 LE for text, and as pattern, mask and haystack of the matcher.
#include "search/ByteMatcher.h"
#include "search/SearchQuery.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Bits outside the mask are zero, and a mask is either absent or one byte per byte.
void RequireMasked(const Bytes& bytes, const Bytes& mask)
{
    Require(mask.empty() || mask.size() == bytes.size());
    for (std::size_t k = 0; k < mask.size(); ++k) {
        Require((bytes[k] & ~mask[k]) == 0);
    }
}

void CheckWildcardHex(std::u16string_view text)
{
    const auto parsed = orx::ParseWildcardHexQuery(text);
    const auto exact = orx::ParseHexQuery(text);
    Require(parsed.has_value() == exact.has_value() || (parsed && !parsed->mask.empty()));
    if (!parsed) {
        return;
    }
    RequireMasked(parsed->bytes, parsed->mask);
    std::u16string again;
    for (std::size_t k = 0; k < parsed->bytes.size(); ++k) {
        static constexpr char16_t kDigits[] = u"0123456789abcdef";
        const std::uint8_t bits = parsed->mask.empty() ? 0xFF : parsed->mask[k];
        Require((bits & 0xF0) == 0 || (bits & 0xF0) == 0xF0);
        Require((bits & 0x0F) == 0 || (bits & 0x0F) == 0x0F);
        const std::uint8_t b = parsed->bytes[k];
        again += {u' ', (bits & 0xF0) != 0 ? kDigits[b >> 4] : u'?',
                  (bits & 0x0F) != 0 ? kDigits[b & 0xF] : u'?'};
    }
    const auto reparsed = orx::ParseWildcardHexQuery(again);
    Require(reparsed && reparsed->bytes == parsed->bytes && reparsed->mask == parsed->mask);
    Require(!parsed->mask.empty() || exact == parsed->bytes);
}

// Folding only widens the case-sensitive pattern, by one bit per folded byte.
void CheckFolding(const std::u16string& text, orx::TextEncoding encoding)
{
    const orx::SearchPattern folded =
        orx::BuildSearchPattern({orx::kSearchKindText, text, true}, encoding);
    const orx::SearchPattern plain =
        orx::BuildSearchPattern({orx::kSearchKindText, text, false}, encoding);
    Require(folded.errorKey == plain.errorKey && plain.mask.empty());
    for (std::size_t k = 0; k < folded.mask.size(); ++k) {
        Require(std::popcount(folded.mask[k]) >= 7);
        Require((plain.bytes[k] & folded.mask[k]) == folded.bytes[k]);
    }
}

bool MatchesAt(std::span<const std::uint8_t> text, std::span<const std::uint8_t> pattern,
               std::span<const std::uint8_t> mask, std::size_t at)
{
    if (at + pattern.size() > text.size()) {
        return false;
    }
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const std::uint8_t bits = mask.empty() ? 0xFF : mask[k];
        if (((text[at + k] ^ pattern[k]) & bits) != 0) {
            return false;
        }
    }
    return true;
}

void CheckMatcher(std::span<const std::uint8_t> pattern, std::span<const std::uint8_t> mask,
                  std::span<const std::uint8_t> text)
{
    if (pattern.empty()) {
        return;
    }
    const orx::ByteMatcher matcher(pattern, mask);
    std::vector<std::uint64_t> all;
    matcher.FindAll(text, 0, all, 0);
    std::vector<std::uint64_t> naive;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (MatchesAt(text, pattern, mask, at)) {
            naive.push_back(at);
        }
    }
    Require(all == naive);
    const std::size_t none = orx::ByteMatcher::npos;
    Require(matcher.FindFirst(text, 0) == (naive.empty() ? none : naive.front()));
    Require(matcher.FindLast(text, text.size()) == (naive.empty() ? none : naive.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const bool hex = (data[0] & 1) == 0;
    const auto encoding = static_cast<orx::TextEncoding>((data[0] >> 1) & 7);
    const bool ignoreCase = (data[0] & 0x10) != 0;
    const std::span<const std::uint8_t> rest(data + 2, size - 2);
    std::u16string text;
    if (hex) {
        text.assign(rest.begin(), rest.end());
    } else {
        for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
            text.push_back(static_cast<char16_t>(rest[i] | rest[i + 1] << 8));
        }
    }

    if (hex) {
        CheckWildcardHex(text);
    } else {
        CheckFolding(text, encoding);
    }
    const orx::SearchPattern pattern = orx::BuildSearchPattern(
        {hex ? orx::kSearchKindHex : orx::kSearchKindText, text, ignoreCase}, encoding);
    Require(pattern.errorKey.empty() == !pattern.bytes.empty());
    Require(pattern.Size() <= orx::kMaxSearchPatternBytes);
    RequireMasked(pattern.bytes, pattern.mask);

    // Pattern, mask and haystack from the rest: masks of every value, not only the parser's.
    const std::size_t split = std::min<std::size_t>(data[1] % 16, rest.size() / 2);
    CheckMatcher(rest.subspan(0, split), rest.subspan(split, split), rest.subspan(2 * split));
    return 0;
}
