#pragma once

#include <cstdint>

namespace orx {

// Every row of the hex view, of its dump and of the windows that follow its rows holds this
// many bytes.
inline constexpr std::uint64_t kBytesPerRow = 16;

} // namespace orx
