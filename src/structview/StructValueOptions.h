#pragma once

#include <cstdint>

namespace orx {

// Value-format options of the struct view. Kept as three plain 32-bit fields because the
// settings file stores them as such; any value other than 1 means the default (0).
struct StructValueOptions {
    uint32_t byteArrayFormat = 0; // 0 hex dump, 1 text for char arrays
    uint32_t endian = 0;          // 0 little-endian, 1 big-endian
    uint32_t numericBase = 0;     // 0 hexadecimal, 1 decimal

    friend bool operator==(const StructValueOptions&, const StructValueOptions&) = default;
};

} // namespace orx
