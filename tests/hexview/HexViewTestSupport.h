#pragma once

#include "document/EditableDocument.h"
#include "hexview/HexViewModel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

namespace orx::test {

// A read-only document of any size without a file: byte o is (o * 7) & 0xFF. Counts the
// bytes handed out so tests can see how much a paint or a copy reads.
class SizedDocument final : public IReadOnlyDocument {
public:
    explicit SizedDocument(std::uint64_t size) : size_(size) {}
    [[nodiscard]] bool IsOpen() const override { return true; }
    [[nodiscard]] std::uint64_t Size() const override { return size_; }
    [[nodiscard]] std::u16string Path() const override { return u"sized.bin"; }
    [[nodiscard]] ReadResult Read(std::uint64_t offset, std::uint64_t count) const override
    {
        ReadResult result{offset, {}};
        if (offset < size_) {
            const std::uint64_t n = std::min(count, size_ - offset);
            bytesRead += n;
            for (std::uint64_t i = 0; i < n; ++i) {
                result.bytes.push_back(static_cast<std::uint8_t>((offset + i) * 7));
            }
        }
        return result;
    }
    mutable std::uint64_t bytesRead = 0;

private:
    std::uint64_t size_;
};

// Metrics that scale with the font like a real monospace font: at 16 DIPs a cell is 10 DIPs
// wide and a row 22 DIPs high. The layout at zoom 1 is then:
//   offset column 8..98, hex column 110..590 (30 per byte), text column 602..762 (10 per byte).
inline TextMetrics FakeMetrics(const FontSpec& font)
{
    return TextMetrics{font.sizeDips * 1.225f, font.sizeDips * 0.625f, font.sizeDips * 0.625f};
}

inline constexpr float kRow = 22.0f;
inline constexpr float kHexStart = 110.0f;
inline constexpr float kTextStart = 602.0f;
// Client height showing exactly ten rows.
inline constexpr std::int32_t kClientHeight = 8 + 10 * 22 + 8;
inline constexpr std::int32_t kClientWidth = 800;

inline void PrepareView(HexViewModel& view, std::int32_t width = kClientWidth,
                        std::int32_t height = kClientHeight)
{
    view.SetTextMeasurer(
        [](const FontSpec& font) { return std::optional<TextMetrics>(FakeMetrics(font)); });
    (void)view.SetClientSize(width, height);
}

// A hex view over a SizedDocument, laid out with the fake metrics.
struct SizedView {
    explicit SizedView(std::uint64_t size, std::int32_t width = kClientWidth,
                       std::int32_t height = kClientHeight)
        : document(size)
    {
        PrepareView(view, width, height);
        (void)view.SetDocument(&document, nullptr);
    }
    SizedDocument document;
    HexViewModel view;
};

// A hex view over a real document on a temporary file.
class FileView {
public:
    explicit FileView(const std::vector<std::uint8_t>& bytes)
    {
        PrepareView(view);
        path = dir.Write(u"data.bin", bytes);
        EXPECT_TRUE(document.Open(path));
        (void)view.SetDocument(&document, &document);
    }

    [[nodiscard]] std::vector<std::uint8_t> Bytes() const
    {
        return document.Read(0, document.Size()).bytes;
    }

    void EnableEditing(EditMode mode)
    {
        if (!view.EditingEnabled()) {
            (void)view.ToggleEditingEnabled();
        }
        if (view.Mode() != mode) {
            (void)view.ToggleEditMode();
        }
    }

    TempDir dir;
    std::u16string path;
    EditableDocument document;
    HexViewModel view;
};

// Feeds characters one by one as WM_CHAR would.
inline void Type(HexViewModel& view, std::u16string_view text)
{
    for (const char16_t c : text) {
        (void)view.OnChar(c);
    }
}

inline std::vector<std::uint8_t> Sequence(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0}); // wraps after 0xFF
    return bytes;
}

} // namespace orx::test
