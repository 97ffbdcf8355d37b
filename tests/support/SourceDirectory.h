#pragma once

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace orx::test {

// The source tree, whose resources/ and patterns/ the shipped layout puts beside the
// executable. ctest sets ORX_SOURCE_DIR; run by hand from the root, "." does as well.
inline std::u16string SourceDirectory()
{
    const char* dir = std::getenv("ORX_SOURCE_DIR");
    return FromPath(std::filesystem::path(dir != nullptr ? dir : "."));
}

} // namespace orx::test
