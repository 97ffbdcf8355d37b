#pragma once

#include "platform/Utf.h"
#include "support/SourceDirectory.h"
#include "structview/StructPatternFile.h"
#include "structview/StructRows.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orx::test {

// Loads pattern text; nothing on failure, with the message in `error`.
inline std::shared_ptr<const StructPatternFile> LoadPattern(std::u16string_view text,
                                                            std::u16string* error = nullptr)
{
    auto file = std::make_shared<StructPatternFile>();
    std::u16string message;
    if (!LoadStructPatternText(text, *file, message)) {
        if (error) {
            *error = message;
        }
        return nullptr;
    }
    return file;
}

// Builds sample files field by field.
class ByteWriter {
public:
    ByteWriter& U8(std::uint64_t v) { return Put(v, 1, false); }
    ByteWriter& Le16(std::uint64_t v) { return Put(v, 2, false); }
    ByteWriter& Le32(std::uint64_t v) { return Put(v, 4, false); }
    ByteWriter& Le64(std::uint64_t v) { return Put(v, 8, false); }
    ByteWriter& Be16(std::uint64_t v) { return Put(v, 2, true); }
    ByteWriter& Be32(std::uint64_t v) { return Put(v, 4, true); }
    ByteWriter& Text(std::string_view text)
    {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return *this;
    }
    // `text` then zeros up to `width` bytes.
    ByteWriter& Field(std::string_view text, std::size_t width)
    {
        Text(text);
        bytes_.resize(bytes_.size() + width - text.size(), 0);
        return *this;
    }
    ByteWriter& Zeros(std::size_t count)
    {
        bytes_.resize(bytes_.size() + count, 0);
        return *this;
    }
    [[nodiscard]] const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    [[nodiscard]] std::size_t Size() const { return bytes_.size(); }

private:
    ByteWriter& Put(std::uint64_t v, int width, bool bigEndian)
    {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (bigEndian ? width - 1 - i : i);
            bytes_.push_back(static_cast<std::uint8_t>(v >> shift));
        }
        return *this;
    }

    std::vector<std::uint8_t> bytes_;
};

} // namespace orx::test
