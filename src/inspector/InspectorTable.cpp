#include "inspector/InspectorTable.h"

#include "localization/StringTable.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace orx {
namespace {

// The row labels' keys, in the rows' order; spelled out so that each key is found where
// it is used.
constexpr std::array<std::string_view, kInspectorRowCount> kRowLabelKeys = {
    "inspector.data.row.binary",
    "inspector.data.row.uint8_dec",
    "inspector.data.row.uint16_le",
    "inspector.data.row.uint16_be",
    "inspector.data.row.uint32_le",
    "inspector.data.row.uint32_be",
    "inspector.data.row.uint64_le",
    "inspector.data.row.uint64_be",
    "inspector.data.row.utf8",
    "inspector.data.row.utf16le",
    "inspector.data.row.utf16be",
    "value.type.int8",
    "value.type.int16",
    "value.type.int32",
    "value.type.int64",
    "value.type.float16",
    "value.type.float32",
    "value.type.float64",
    "value.type.unix32",
    "value.type.unix64",
    "value.type.filetime",
    "value.type.dos_datetime",
    "value.type.guid",
    "inspector.data.row.uleb128",
    "inspector.data.row.sleb128",
};

// Where the byte-order switch starts right of the name column: past the value column's
// title ("Value") in either language.
constexpr float kByteOrderInset = 72.0f;

} // namespace

InspectorTexts LoadInspectorTexts(StringTable& strings)
{
    InspectorTexts texts;
    texts.title = strings.Lookup("inspector.data.title");
    texts.nameColumnTitle = strings.Lookup("inspector.data.column.name");
    texts.valueColumnTitle = strings.Lookup("inspector.data.column.value");
    for (std::size_t row = 0; row < kInspectorRowCount; ++row) {
        texts.rowLabels[row] = strings.Lookup(kRowLabelKeys[row]);
    }
    const std::u16string label = strings.Lookup("value.byte_order") + u" ";
    texts.byteOrder = {label + strings.Lookup("value.byte_order.little"),
                       label + strings.Lookup("value.byte_order.big")};
    texts.leb128Format = strings.Lookup("inspector.data.value.leb128");
    return texts;
}

std::u16string InspectorUnavailableText(StringTable& strings)
{
    return strings.Lookup("inspector.data.value.unavailable");
}

float InspectorTable::NameColumnWidth(float clientWidthDips)
{
    return std::clamp(clientWidthDips / 4.0f, 96.0f, 132.0f);
}

std::vector<std::size_t> InspectorTable::SetValues(std::vector<std::u16string> values)
{
    std::vector<std::size_t> changed;
    const std::u16string none;
    for (std::size_t row = 0; row < kInspectorRowCount; ++row) {
        const auto& before = row < values_.size() ? values_[row] : none;
        const auto& after = row < values.size() ? values[row] : none;
        if (before != after) {
            changed.push_back(row);
        }
    }
    values_ = std::move(values);
    if (selectedRow_ >= static_cast<int>(values_.size())) {
        selectedRow_ = static_cast<int>(values_.size()) - 1;
    }
    return changed;
}

bool InspectorTable::Click(float xDips, float yDips, float clientWidthDips)
{
    int row = -1;
    const bool inValueColumn = xDips >= NameColumnWidth(clientWidthDips) && xDips < clientWidthDips;
    if (inValueColumn && yDips >= kFirstRowTop) {
        const auto candidate = static_cast<int>(std::floor((yDips - kFirstRowTop) / kRowHeight)) +
                               static_cast<int>(firstRow_);
        if (candidate < static_cast<int>(values_.size())) {
            row = candidate;
        }
    }
    if (row == selectedRow_) {
        return false;
    }
    selectedRow_ = row;
    return true;
}

std::optional<std::u16string> InspectorTable::SelectedValue() const
{
    if (selectedRow_ < 0 || selectedRow_ >= static_cast<int>(values_.size())) {
        return std::nullopt;
    }
    return values_[static_cast<std::size_t>(selectedRow_)];
}

InspectorBox InspectorTable::ValueCell(std::size_t row, float clientWidthDips) const
{
    const float top =
        kFirstRowTop + kRowHeight * (static_cast<float>(row) - static_cast<float>(firstRow_));
    return {NameColumnWidth(clientWidthDips), top, clientWidthDips, top + kRowHeight};
}

std::size_t InspectorTable::VisibleRows(float clientHeightDips)
{
    const float rows = std::floor((clientHeightDips - kFirstRowTop) / kRowHeight);
    return rows < 1.0f ? 1 : static_cast<std::size_t>(rows);
}

bool InspectorTable::ScrollBy(int rows, float clientHeightDips)
{
    const std::size_t visible = VisibleRows(clientHeightDips);
    const auto last = static_cast<std::ptrdiff_t>(
        kInspectorRowCount > visible ? kInspectorRowCount - visible : 0);
    const auto wanted =
        std::clamp<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(firstRow_) + rows, 0, last);
    const bool moved = static_cast<std::size_t>(wanted) != firstRow_;
    firstRow_ = static_cast<std::size_t>(wanted);
    return moved;
}

InspectorBox InspectorTable::ByteOrderBox(float clientWidthDips)
{
    const float left = NameColumnWidth(clientWidthDips) + kByteOrderInset;
    return {left, 0.0f, std::max(left, clientWidthDips - kCellMargin), kHeaderHeight};
}

bool InspectorTable::HitsByteOrderSwitch(float xDips, float yDips, float clientWidthDips)
{
    const InspectorBox box = ByteOrderBox(clientWidthDips);
    return xDips >= box.left && xDips < box.right && yDips >= box.top && yDips < box.bottom;
}

InspectorFrame InspectorTable::Layout(const InspectorTexts& texts, float clientWidthDips,
                                      float clientHeightDips) const
{
    const float width = clientWidthDips;
    const float nameWidth = NameColumnWidth(width);
    InspectorFrame frame;
    frame.header = {0.0f, 0.0f, width, kHeaderHeight};
    frame.gridLines.push_back({nameWidth, 0.0f, nameWidth, clientHeightDips});
    frame.gridLines.push_back({0.0f, kHeaderHeight, width, kHeaderHeight});
    frame.texts.push_back(
        {{kCellMargin, 0.0f, nameWidth - kCellMargin, kHeaderHeight}, texts.nameColumnTitle});
    const InspectorBox switchBox = ByteOrderBox(width);
    frame.texts.push_back(
        {{nameWidth + kCellMargin, 0.0f, switchBox.left - kCellMargin, kHeaderHeight},
         texts.valueColumnTitle});
    for (std::size_t row = firstRow_; row < kInspectorRowCount; ++row) {
        const InspectorBox cell = ValueCell(row, width);
        if (static_cast<int>(row) == selectedRow_) {
            frame.selection = cell;
        }
        frame.gridLines.push_back({0.0f, cell.bottom, width, cell.bottom});
        frame.texts.push_back(
            {{kCellMargin, cell.top, nameWidth - kCellMargin, cell.bottom}, texts.rowLabels[row]});
        frame.texts.push_back(
            {{cell.left + kCellMargin, cell.top, cell.right - kCellMargin, cell.bottom},
             row < values_.size() ? values_[row] : std::u16string()});
    }
    frame.texts.push_back({switchBox, texts.byteOrder[bigEndian_ ? 1 : 0]});
    return frame;
}

} // namespace orx
