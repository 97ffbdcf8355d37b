// Differential fuzzing of the edit overlay: the input drives a sequence of edits on a small
// file; every read and the saved file must equal the same edits applied to a vector.
#include "document/EditableDocument.h"
#include "platform/Utf.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    [[nodiscard]] bool Empty() const { return at_ >= size_; }
    std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t Next16() { return static_cast<std::uint16_t>(Next() | (Next() << 8)); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::filesystem::path& WorkFile()
{
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("orlin-fuzz-edit-" + std::to_string(::getpid()) + ".bin");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input(data, size);
    Bytes model(input.Next() % 64);
    for (auto& b : model)
        b = input.Next();
    {
        std::ofstream out(WorkFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(model.data()),
                  static_cast<std::streamsize>(model.size()));
    }
    orx::EditableDocument document;
    Require(document.Open(WorkFile().u16string()));

    while (!input.Empty()) {
        const std::uint8_t op = input.Next();
        const std::uint64_t offset = input.Next16() % (model.size() + 3);
        const std::uint8_t value = input.Next();
        switch (op % 4) {
        case 0:
            Require(document.OverwriteByte(offset, value) == (offset < model.size()));
            if (offset < model.size())
                model[offset] = value;
            break;
        case 1:
            Require(document.InsertByte(offset, value) == (offset <= model.size()));
            if (offset <= model.size())
                model.insert(model.begin() + static_cast<std::ptrdiff_t>(offset), value);
            break;
        case 2:
            Require(document.DeleteByte(offset) == (offset < model.size()));
            if (offset < model.size())
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(offset));
            break;
        default: {
            const std::uint64_t count = value % 16;
            const bool valid = offset < model.size() && count <= model.size() - offset;
            const bool accepted = document.DeleteRange(offset, count);
            Require(accepted == (valid || (count == 0 && offset <= model.size())));
            if (valid) {
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(offset),
                            model.begin() + static_cast<std::ptrdiff_t>(offset + count));
            }
            break;
        }
        }
        Require(document.Size() == model.size());
        Require(!document.VerifyRecords());
        const std::uint64_t from = offset % (model.size() + 1);
        const orx::ReadResult read = document.Read(from, value);
        const std::uint64_t to = std::min<std::uint64_t>(model.size(), from + value);
        Require(read.bytes == Bytes(model.begin() + static_cast<std::ptrdiff_t>(from),
                                    model.begin() + static_cast<std::ptrdiff_t>(to)));
    }
    Require(document.Save());
    Require(ReadFile(WorkFile()) == model);
    Require(!document.IsModified());
    return 0;
}
