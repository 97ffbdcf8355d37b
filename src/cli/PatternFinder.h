#pragma once

#include "structview/PatternLibrary.h"

#include <optional>
#include <ostream>
#include <string>

namespace orx::cli {

// The folders the commands take patterns from: the shipped patterns/ beside the executable
// (Windows) or in ../share/orlin/ (an installed tree), then `extra` when given, whose files
// replace shipped ones of the same name.
[[nodiscard]] std::vector<std::u16string> PatternFolders(const std::u16string* extra);

// The library's matches for the file at `path`, best first, from as many bytes of each end
// as its signatures need (at most kPatternSampleBytes); nothing (with "cannot open: PATH" on `err`)
// when the file cannot be read.
[[nodiscard]] std::optional<std::vector<PatternMatch>>
IdentifyFile(const PatternLibrary& library, const std::u16string& path, std::ostream& err);

} // namespace orx::cli
