#pragma once

#include "bookmarks/RegionList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// Which version of a file the regions were put on: what tells it from the next one. The
// size and last-write time, not the file's id on its volume: a save through a temporary
// file gives the same contents a new id.
struct FileIdentity {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The regions of one file, as the bookmarks file keeps them.
struct FileRegions {
    std::u16string path; // full path
    FileIdentity identity;
    std::vector<Region> regions;
    friend bool operator==(const FileRegions&, const FileRegions&) = default;
};

// The bookmarks file's text: UTF-8, one entry per file with regions.
[[nodiscard]] std::string SerializeBookmarks(const std::vector<FileRegions>& files);
// Every entry of a bookmarks file; nothing when the text is damaged (not JSON, or not laid out
// as SerializeBookmarks writes it).
[[nodiscard]] std::optional<std::vector<FileRegions>> ParseBookmarks(std::string_view text);

// The array of `regions` as the bookmarks file writes it, one region a line, the lines after
// the first starting with `indent`.
void AppendRegionsJson(std::string& out, const std::vector<Region>& regions,
                       std::string_view indent);

// One file's regions alone, as exported: {"regions": [...]}.
[[nodiscard]] std::string SerializeRegions(const std::vector<Region>& regions);
// The regions of an exported file, or of the first entry of a whole bookmarks file.
[[nodiscard]] std::optional<std::vector<Region>> ParseRegions(std::string_view text);

// Whether two full paths name the same file as Windows compares them: letters in either
// case, and either separator.
[[nodiscard]] bool SamePath(std::u16string_view a, std::u16string_view b);

// `path` made absolute against `currentDirectory` when it is relative.
[[nodiscard]] std::u16string AbsolutePath(const std::u16string& path,
                                          const std::u16string& currentDirectory);

} // namespace orx
