#pragma once

// The licence the About box shows. Its one source is resources/LICENSE.txt: the build
// embeds that file in orlin.exe and the package ships it beside the executable.
#include <string>

namespace orx::win {

// Resource id of the embedded licence (RCDATA, UTF-8).
inline constexpr int kLicenseResourceId = 201;

// The embedded licence as UTF-16 with CR LF line ends (what a multi-line edit control
// needs); empty when the executable carries no licence resource.
[[nodiscard]] std::u16string LoadLicenseText();

} // namespace orx::win
