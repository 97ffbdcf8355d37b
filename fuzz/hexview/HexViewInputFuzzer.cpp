// Drives a hex view over a real edited document with arbitrary input and checks that the
// caret, selection and scrolling stay consistent and that painting never reads past the end.

#include "document/EditableDocument.h"
#include "hexview/HexViewInputDriver.h"
#include "hexview/HexViewModel.h"
#include "platform/Utf.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

std::u16string DocumentPath()
{
    static const std::u16string path = [] {
        const std::string name =
            "orx-fuzz-hexview-" + std::to_string(std::random_device{}()) + ".bin";
        const std::filesystem::path file = std::filesystem::temp_directory_path() / name;
        return file.u16string();
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Long scripts only repeat what short ones reach, at the cost of many full paints.
    if (size == 0 || size > 2048) {
        return 0;
    }
    // The first byte picks the file size (0 to 255 bytes), the rest is the input script.
    {
        std::ofstream file(std::filesystem::path(DocumentPath()),
                           std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i < data[0]; ++i) {
            file.put(static_cast<char>(i * 31));
        }
    }
    orx::EditableDocument document;
    if (!document.Open(DocumentPath())) {
        std::abort();
    }
    orx::HexViewModel view;
    view.SetTextMeasurer([](const orx::FontSpec& font) {
        return std::optional<orx::TextMetrics>(
            orx::TextMetrics{font.sizeDips * 1.2f, font.sizeDips * 0.6f, font.sizeDips * 0.6f});
    });
    (void)view.SetClientSize(640, 300);
    (void)view.SetDocument(&document, &document);
    orx::test::HexViewInputDriver driver(std::span<const std::uint8_t>(data + 1, size - 1));
    for (unsigned step = 1; driver.Step(view); ++step) {
        const std::string problem =
            orx::test::HexViewInputDriver::CheckInvariants(view, step % 16 == 0 || driver.Done());
        if (!problem.empty()) {
            std::fprintf(stderr, "%s\n", problem.c_str());
            std::abort();
        }
    }
    return 0;
}
