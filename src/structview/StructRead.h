#pragma once

#include "document/ReadOnlyDocument.h"
#include "structview/StructPatternFile.h"

#include <cstdint>
#include <vector>

namespace orx {

// The most the view reads at the caret for one request. A pattern may declare members far
// larger than memory (`char data[4000000000];`); reading them whole at every caret move
// would stall the editor, so members that end past this limit show as unavailable.
inline constexpr std::uint64_t kMaxStructRead = 16u << 20;
// Bytes read beyond a struct that ends in a flexible array, for that array to show.
inline constexpr std::uint64_t kFlexibleTailRead = 256;

// How many bytes from the entry struct's start the rows need: the struct, plus the
// flexible tail, at most `limit`. When the struct is larger than the limit, only as far as
// the last member that ends within it: members cut short show as unavailable either way.
[[nodiscard]] std::uint64_t StructBytesToRead(const StructPatternFile& file,
                                              std::uint64_t limit = kMaxStructRead);

// The entry struct's bytes at `offset` of an open document (fewer at its end); none when
// the document is closed or the file has no entry struct.
[[nodiscard]] std::vector<std::uint8_t> ReadStructBytes(const IReadOnlyDocument& document,
                                                        std::uint64_t offset,
                                                        const StructPatternFile& file);

} // namespace orx
