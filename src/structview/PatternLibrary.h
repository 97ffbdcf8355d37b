#pragma once

// The pattern library: the .orpat files of one or more folders, described by their @title,
// @category, @extensions and @signature directives, and matched against a file from a few
// bytes of its start and end.
//
//   PatternLibrary library = ScanPatternFolders({shippedFolder, userFolder});
//   FileSample sample = ...;  // size, the first library.headBytes and the last
//                             // library.tailBytes of the file (or more), extension
//   for (const PatternMatch& match : MatchPatterns(library, sample)) {
//       const LibraryPattern& pattern = library.patterns[match.pattern];
//       // "PNG image: apply png.orpat", laid at match.offset
//   }

#include "platform/FileSystem.h"
#include "structview/PatternDirectives.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// The most a match looks at from each end of a file.
inline constexpr std::size_t kPatternSampleBytes = 64 * 1024;

// One pattern file of the library.
struct LibraryPattern {
    std::u16string path;     // the .orpat file
    std::u16string fileName; // "png.orpat"
    std::u16string title;    // @title, else the file name
    std::u16string category; // an id of kPatternCategories, or empty
    std::vector<std::u16string> extensions;
    std::vector<PatternSignature> signatures;
    bool hasAnchor = false;
    std::uint64_t anchor = 0;
    std::u16string error; // why the file did not load; it never matches then
};

struct PatternLibrary {
    std::vector<LibraryPattern> patterns; // by folder, then by file name
    // How many bytes of a file's start and end the signatures look at (each at most
    // kPatternSampleBytes): a sample need hold no more.
    std::size_t headBytes = 0;
    std::size_t tailBytes = 0;
};

// Loads every .orpat file of `folders` in order. A file of the same name in a later folder
// (the user's own) replaces the earlier one. A missing folder adds nothing; a file that does
// not load is listed with its error.
[[nodiscard]] PatternLibrary ScanPatternFolders(std::span<const std::u16string> folders);

// What a match needs to know of a file.
struct FileSample {
    std::uint64_t size = 0;
    std::span<const std::uint8_t> head; // the first bytes, up to kPatternSampleBytes
    std::span<const std::uint8_t> tail; // the last bytes, up to kPatternSampleBytes
    std::u16string_view extension;      // without the dot, any case; may be empty
};

struct PatternMatch {
    std::size_t pattern = 0;     // index into PatternLibrary::patterns
    std::uint64_t offset = 0;    // file offset where the entry struct applies
    std::size_t specificity = 0; // bytes of the signature that matched, wildcards excluded
    bool extensionMatches = false;
};

// The patterns whose signatures match, best first: the longest signature, then a matching
// extension, then library order. A pattern with several signatures counts its longest
// match. The offset is the pattern's @anchor, else 0 for a signature counted from the start
// and the signature's place for one counted from the end. Reads only `sample`.
[[nodiscard]] std::vector<PatternMatch> MatchPatterns(const PatternLibrary& library,
                                                      const FileSample& sample);

// The string-table key of a category's display name; empty for an unknown id.
[[nodiscard]] std::string_view PatternCategoryKey(std::u16string_view category);

// A file's sample read from disk: the first `headBytes` and the last `tailBytes` (a library's
// needs; at most kPatternSampleBytes each).
struct FileSampleBuffer {
    std::uint64_t size = 0;
    std::vector<std::uint8_t> head;
    std::vector<std::uint8_t> tail;
    std::u16string extension;
    [[nodiscard]] FileSample Sample() const { return {size, head, tail, extension}; }
};
// False when the file cannot be opened or read.
[[nodiscard]] bool ReadFileSample(platform::FileSystem& fs, const std::u16string& path,
                                  FileSampleBuffer& out,
                                  std::size_t headBytes = kPatternSampleBytes,
                                  std::size_t tailBytes = kPatternSampleBytes);

} // namespace orx
