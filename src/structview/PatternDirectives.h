#pragma once

#include <cstdint>

namespace orx {

// Byte order written in a pattern: file-wide, or on one struct or member.
enum class PatternEndian : std::uint8_t { Inherit = 0, Little = 1, Big = 2 };

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
};

} // namespace orx
