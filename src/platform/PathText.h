#pragma once

#include <string>
#include <string_view>

namespace orx::platform {

// The directory part of a path: the text before the last '\' or '/', without trailing
// separators except the one of a root ("C:\", "/"). Empty when the path has no separator.
[[nodiscard]] std::u16string DirectoryOfPath(std::u16string_view path);

// The file name of a path: the text after the last '\' or '/'. A drive prefix is not part of
// it ("C:name" gives "name", "C:" alone gives "").
[[nodiscard]] std::u16string FileNameOfPath(std::u16string_view path);

} // namespace orx::platform
