// Feeds arbitrary UTF-16 text to the Go to parser and checks that what it accepts is
// what it says: the value printed back in hexadecimal parses to the same value.

#include "app/ParseOffset.h"
#include "text/HexFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    }
    const std::optional<std::uint64_t> value = orx::ParseOffset(text);
    if (!value) {
        return 0;
    }
    for (const std::u16string& form :
         {orx::UpperHex(*value, 1), u"0x" + orx::UpperHex(*value, 16)}) {
        if (orx::ParseOffset(form) != value) {
            std::abort();
        }
    }
    return 0;
}
