// Feeds arbitrary bytes to the string-file reader and checks the shape of what it keeps.

#include "localization/StringTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const orx::StringMap map =
        orx::ParseStringFile(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& [key, text] : map) {
        for (const char c : key) {
            if (static_cast<unsigned char>(c) > 0x7F || c == '\n') {
                std::abort();
            }
        }
        if (text.find(u'\n') != std::u16string::npos) {
            std::abort();
        }
    }
    return 0;
}
