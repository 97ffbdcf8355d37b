// Feeds arbitrary text to the search query conversions and arbitrary bytes to the matcher.
// Byte 0 chooses the query kind and encoding, byte 1 how much of the rest is the matcher's
// pattern; the rest is read as UTF-16 LE text and as the matcher's haystack.
#include "platform/CodePage.h"
#include "platform/Utf.h"
#include "search/ByteMatcher.h"
#include "search/SearchQuery.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckHexQuery(std::u16string_view text)
{
    const auto bytes = orx::ParseHexQuery(text);
    if (!bytes) {
        return;
    }
    std::u16string again;
    for (const std::uint8_t b : *bytes) {
        static constexpr char16_t kDigits[] = u"0123456789abcdef";
        again += {u' ', kDigits[b >> 4], kDigits[b & 0xF]};
    }
    Require(orx::ParseHexQuery(again) == bytes);
}

void CheckTextQuery(std::u16string_view text, orx::TextEncoding encoding)
{
    const auto bytes = orx::EncodeTextQuery(text, encoding);
    if (!bytes) {
        return;
    }
    Require(!bytes->empty());
    const std::span<const std::uint8_t> span(*bytes);
    switch (encoding) {
    case orx::TextEncoding::Ascii: Require(bytes->size() == text.size()); break;
    case orx::TextEncoding::Utf16Le:
    case orx::TextEncoding::Utf16Be: Require(bytes->size() == 2 * text.size()); break;
    case orx::TextEncoding::ShiftJis:
        Require(orx::platform::DecodeCodePage(orx::platform::CodePage::ShiftJis, span) == text);
        break;
    case orx::TextEncoding::Windows949:
        Require(orx::platform::DecodeCodePage(orx::platform::CodePage::Windows949, span) == text);
        break;
    case orx::TextEncoding::EucKr:
        Require(orx::platform::DecodeCodePage(orx::platform::CodePage::EucKr, span) == text);
        break;
    case orx::TextEncoding::Utf8:
        Require(orx::platform::Utf8ToUtf16(std::string(bytes->begin(), bytes->end()), true)
                    .has_value());
        break;
    }
}

bool MatchesAt(std::span<const std::uint8_t> text, std::span<const std::uint8_t> pattern,
               std::size_t at)
{
    return at + pattern.size() <= text.size() &&
           std::equal(pattern.begin(), pattern.end(),
                      text.begin() + static_cast<std::ptrdiff_t>(at));
}

void CheckMatcher(std::span<const std::uint8_t> pattern, std::span<const std::uint8_t> text)
{
    if (pattern.empty()) {
        return;
    }
    const orx::ByteMatcher matcher(pattern);
    const std::size_t first = matcher.FindFirst(text, 0);
    const std::size_t last = matcher.FindLast(text, text.size());
    std::size_t naiveFirst = orx::ByteMatcher::npos;
    std::size_t naiveLast = orx::ByteMatcher::npos;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (MatchesAt(text, pattern, at)) {
            naiveFirst = naiveFirst == orx::ByteMatcher::npos ? at : naiveFirst;
            naiveLast = at;
        }
    }
    Require(first == naiveFirst && last == naiveLast);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const std::uint32_t kind = data[0] & 1;
    const auto encoding = static_cast<orx::TextEncoding>((data[0] >> 1) & 7);
    const std::span<const std::uint8_t> rest(data + 2, size - 2);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
        text.push_back(static_cast<char16_t>(rest[i] | rest[i + 1] << 8));
    }

    CheckHexQuery(text);
    CheckTextQuery(text, encoding);
    const orx::SearchPattern pattern = orx::BuildSearchPattern({kind, text}, encoding);
    Require(pattern.errorKey.empty() == !pattern.bytes.empty());
    Require(pattern.bytes.size() <= orx::kMaxSearchPatternBytes);

    const std::size_t split = std::min<std::size_t>(data[1] % 16, rest.size());
    CheckMatcher(rest.subspan(0, split), rest.subspan(split));
    return 0;
}
