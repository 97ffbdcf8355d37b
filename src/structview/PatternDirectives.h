#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orx {

// Byte order written in a pattern: file-wide, or on one struct or member.
enum class PatternEndian : std::uint8_t { Inherit = 0, Little = 1, Big = 2 };

// Where a format's magic bytes sit: "@signature 0 89 50 4E 47" or "@signature end-22 50 4B".
struct PatternSignature {
    static constexpr std::int16_t kAnyByte = -1; // written ".."
    bool fromEnd = false;                        // offset counts back from the end of the file
    std::uint64_t offset = 0;
    std::vector<std::int16_t> bytes;
    // Bytes that must match; the longest signature is the most specific.
    [[nodiscard]] std::size_t FixedBytes() const
    {
        std::size_t fixed = 0;
        for (std::int16_t b : bytes) {
            fixed += b != kAnyByte ? 1 : 0;
        }
        return fixed;
    }
};

// The category ids of @category; the pattern library lists patterns under them.
inline constexpr const char16_t* kPatternCategories[] = {u"executables", u"images", u"media",
                                                         u"archives",    u"disks",  u"data"};

// The sizes and alignment a pattern file fixes with its @ directives, with their defaults.
// Global to the file: layout applies the last value of each to every struct.
struct PatternDirectives {
    std::uint64_t sizeof_short = 2;
    std::uint64_t sizeof_int = 4;
    std::uint64_t sizeof_long = 8;
    std::uint64_t sizeof_long_long = 8;
    std::uint64_t sizeof_float = 4;
    std::uint64_t sizeof_double = 8;
    std::uint64_t pointer_size = 8;
    std::uint64_t member_align = 8;                // 0: no alignment and no padding at all
    PatternEndian endian = PatternEndian::Inherit; // Inherit: the session's choice decides
    bool hasAnchor = false;                        // @anchor: the file offset the entry sits at
    std::uint64_t anchor = 0;
    // What the pattern library shows and matches; nothing here changes the layout.
    std::u16string title;                     // @title "PNG image"
    std::u16string category;                  // @category images: one of kPatternCategories
    std::vector<std::u16string> extensions;   // @extensions png apng: lower case, no dot
    std::vector<PatternSignature> signatures; // alternatives, in the order written
};

} // namespace orx
