// Feeds arbitrary bytes to the bookmarks file's reader and checks that whatever it accepts
// is written in a form that reads back to the same entries.

#include "bookmarks/BookmarksJson.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)orx::ParseRegions(text);
    const auto files = orx::ParseBookmarks(text);
    if (!files) {
        return 0;
    }
    // A note with an unpaired surrogate (a \uD800 escape) is written as U+FFFD.
    const auto again = orx::ParseBookmarks(orx::SerializeBookmarks(*files));
    if (!again || again->size() != files->size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < files->size(); ++i) {
        if ((*again)[i].identity != (*files)[i].identity ||
            (*again)[i].regions.size() != (*files)[i].regions.size()) {
            std::abort();
        }
    }
    return 0;
}
