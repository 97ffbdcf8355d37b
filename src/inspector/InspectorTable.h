#pragma once

#include "inspector/InspectorValues.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orx {

class StringTable;

// The bytes read at the caret for one request: enough for every row and the UTF-16
// plausibility test.
inline constexpr std::uint64_t kInspectorReadBytes = 96;

// The inspector window's frame in pixels: its default width, and the smallest size the
// user can drag it to.
inline constexpr int kInspectorDefaultWidth = 520;
inline constexpr int kInspectorMinWidth = 420;
inline constexpr int kInspectorMinHeight = 220;

// Text size of the table in DIPs.
inline constexpr float kInspectorFontDips = 14.0f;

// What the table shows besides the values, in the user's language.
struct InspectorTexts {
    std::u16string title;
    std::u16string nameColumnTitle;
    std::u16string valueColumnTitle;
    std::array<std::u16string, kInspectorRowCount> rowLabels;
    // The byte-order switch in the header: little-endian, big-endian.
    std::array<std::u16string, 2> byteOrder;
    std::u16string leb128Format;
};

[[nodiscard]] InspectorTexts LoadInspectorTexts(StringTable& strings);

// The text shown for a row whose value cannot be computed (no document, too few bytes).
[[nodiscard]] std::u16string InspectorUnavailableText(StringTable& strings);

struct InspectorBox {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    friend bool operator==(const InspectorBox&, const InspectorBox&) = default;
};

struct InspectorText {
    InspectorBox box; // the text is clipped to it and centred vertically
    std::u16string text;
};

// Everything one paint draws, in DIPs, back to front: header band, selected value cell,
// grid lines (1 DIP wide, given by their two end points), texts (the labels and values row by
// row after the two column titles, then the byte-order switch).
struct InspectorFrame {
    InspectorBox header;
    std::optional<InspectorBox> selection;
    std::vector<InspectorBox> gridLines;
    std::vector<InspectorText> texts;
};

// The two-column table of the data inspector: the values of the newest result and the
// one selected row. Layout and hit testing share one geometry, so that a click selects
// exactly the row that was painted under it.
class InspectorTable {
public:
    static constexpr float kHeaderHeight = 36.0f;
    static constexpr float kFirstRowTop = 38.0f;
    static constexpr float kRowHeight = 36.0f;
    static constexpr float kCellMargin = 12.0f;

    // A quarter of the client width, kept between 96 and 132 DIPs.
    [[nodiscard]] static float NameColumnWidth(float clientWidthDips);

    // Replaces the values; a selection beyond the new rows moves to the last one. Returns
    // the rows whose shown value changed: only their cells need painting again.
    std::vector<std::size_t> SetValues(std::vector<std::u16string> values);
    [[nodiscard]] const std::vector<std::u16string>& Values() const { return values_; }

    // A click in the value column selects its row; anywhere else clears the selection.
    // Returns whether the selection changed.
    [[nodiscard]] bool Click(float xDips, float yDips, float clientWidthDips);
    [[nodiscard]] int SelectedRow() const { return selectedRow_; }
    // The value to copy: nothing without a selection.
    [[nodiscard]] std::optional<std::u16string> SelectedValue() const;

    // The value cell of `row`, where Layout puts its text (above the header for a row
    // scrolled out of view).
    [[nodiscard]] InspectorBox ValueCell(std::size_t row, float clientWidthDips) const;

    // A window too short for every row scrolls them by whole rows under the header.
    [[nodiscard]] static std::size_t VisibleRows(float clientHeightDips);
    [[nodiscard]] std::size_t FirstRow() const { return firstRow_; }
    // Moves the first row shown by `rows` (negative: up), no further than needed to show the
    // last row; 0 only clamps it to a new height. Returns whether it moved.
    bool ScrollBy(int rows, float clientHeightDips);

    // The byte-order switch: the header's right part, past the value column's title. A click
    // there flips the order of the rows that follow it.
    [[nodiscard]] static InspectorBox ByteOrderBox(float clientWidthDips);
    [[nodiscard]] static bool HitsByteOrderSwitch(float xDips, float yDips, float clientWidthDips);
    void SetBigEndian(bool bigEndian) { bigEndian_ = bigEndian; }
    [[nodiscard]] bool BigEndian() const { return bigEndian_; }

    [[nodiscard]] InspectorFrame Layout(const InspectorTexts& texts, float clientWidthDips,
                                        float clientHeightDips) const;

private:
    std::vector<std::u16string> values_;
    int selectedRow_ = -1;
    bool bigEndian_ = false;
    std::size_t firstRow_ = 0;
};

} // namespace orx
