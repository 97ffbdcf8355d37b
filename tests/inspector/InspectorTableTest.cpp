#include "inspector/InspectorTable.h"

#include "localization/StringTable.h"
#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orx {
namespace {

std::vector<std::u16string> Values(std::size_t count)
{
    std::vector<std::u16string> values;
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(u"v" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
    }
    return values;
}

TEST(InspectorTable, ClicksSelectOnlyValueCellsOfExistingRows)
{
    // clang-format off
    struct Case { const char* name; float x; float y; float width; std::size_t values; int expected; };
    // clang-format on
    // At 520 DIPs the name column ends at 130; at 300 the quarter (75) is raised to 96, at
    // 800 the quarter (200) is cut to 132.
    const Case cases[] = {
        {"first value cell", 200, 40, 520, 11, 0},
        {"last value cell", 200, 38 + 36 * 10 + 35, 520, 11, 10},
        {"below the last row", 200, 38 + 36 * 11, 520, 11, -1},
        {"name column", 50, 40, 520, 11, -1},
        {"value column's first DIP", 130, 40, 520, 11, 0},
        {"just left of it", 129.9f, 40, 520, 11, -1},
        {"header", 200, 20, 520, 11, -1},
        {"gap under the header", 200, 37, 520, 11, -1},
        {"right edge is outside", 520, 40, 520, 11, -1},
        {"no values yet", 200, 40, 520, 0, -1},
        {"row without a value", 200, 38 + 36 * 3, 520, 3, -1},
        {"narrow window keeps 96", 97, 40, 300, 11, 0},
        {"narrow window, name", 95, 40, 300, 11, -1},
        {"wide window keeps 132", 133, 40, 800, 11, 0},
        {"wide window, name", 131, 40, 800, 11, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InspectorTable table;
        table.SetValues(Values(c.values));
        EXPECT_EQ(table.Click(c.x, c.y, c.width), c.expected != -1);
        EXPECT_EQ(table.SelectedRow(), c.expected);
        EXPECT_FALSE(table.Click(c.x, c.y, c.width)) << "the same click changes nothing";
    }
}

TEST(InspectorTable, SelectionFollowsNewValuesAndGivesTheValueToCopy)
{
    InspectorTable table;
    EXPECT_EQ(table.SelectedValue(), std::nullopt);
    table.SetValues(Values(11));
    ASSERT_TRUE(table.Click(300, 38 + 36 * 9 + 1, 520));
    EXPECT_EQ(table.SelectedValue(), u"vj");

    table.SetValues(Values(11));
    EXPECT_EQ(table.SelectedRow(), 9) << "a row that still exists stays selected";
    table.SetValues(Values(4));
    EXPECT_EQ(table.SelectedRow(), 3) << "moves to the last row";
    EXPECT_EQ(table.SelectedValue(), u"vd");
    table.SetValues({});
    EXPECT_EQ(table.SelectedRow(), -1);
    EXPECT_EQ(table.SelectedValue(), std::nullopt);

    table.SetValues(Values(11));
    ASSERT_TRUE(table.Click(300, 40, 520));
    EXPECT_TRUE(table.Click(10, 40, 520)) << "a click on the label clears it";
    EXPECT_EQ(table.SelectedValue(), std::nullopt);
}

TEST(InspectorTable, NewValuesNameTheRowsWhoseTextChanged)
{
    using Rows = std::vector<std::size_t>;
    InspectorTable table;
    EXPECT_EQ(table.SetValues(Values(3)), (Rows{0, 1, 2}));
    EXPECT_EQ(table.SetValues(Values(11)), (Rows{3, 4, 5, 6, 7, 8, 9, 10}));
    auto values = Values(11);
    values[5] = u"changed";
    EXPECT_EQ(table.SetValues(values), (Rows{5}));
    EXPECT_EQ(table.SetValues(values), Rows{});
    EXPECT_EQ(table.SetValues({}).size(), 11u) << "rows that are gone change too";
}

TEST(InspectorTable, ScrollsByWholeRowsNoFurtherThanTheLastAndClicksFollow)
{
    InspectorTable table;
    table.SetValues(Values(kInspectorRowCount));
    const float height = 38 + 36 * 10 + 20; // ten whole rows
    EXPECT_FALSE(table.ScrollBy(-1, height)) << "already at the top";
    EXPECT_TRUE(table.ScrollBy(100, height));
    EXPECT_EQ(table.FirstRow(), kInspectorRowCount - 10) << "the last row at the bottom";
    ASSERT_TRUE(table.Click(200, 40, 520));
    EXPECT_EQ(table.SelectedRow(), static_cast<int>(kInspectorRowCount - 10));
    EXPECT_EQ(table.ValueCell(kInspectorRowCount - 10, 520).top, 38.0f);
    EXPECT_TRUE(table.ScrollBy(0, 38 + 36.0f * kInspectorRowCount)) << "a taller window shows all";
    EXPECT_EQ(table.FirstRow(), 0u);
}

TEST(InspectorTable, PaintedValueCellsAreWhereClicksSelectThem)
{
    InspectorTexts texts;
    texts.nameColumnTitle = u"Type";
    texts.valueColumnTitle = u"Value";
    for (std::size_t row = 0; row < kInspectorRowCount; ++row) {
        texts.rowLabels[row] = u"label";
    }
    for (const float width : {300.0f, 520.0f, 900.0f}) {
        SCOPED_TRACE(width);
        InspectorTable table;
        table.SetValues(Values(kInspectorRowCount));
        for (std::size_t row = 0; row < kInspectorRowCount; ++row) {
            const InspectorFrame before = table.Layout(texts, width, 600);
            // The value text of the row is the one right of its label.
            const InspectorText& value = before.texts[2 + 2 * row + 1];
            ASSERT_EQ(value.text, table.Values()[row]);
            const InspectorBox cell = table.ValueCell(row, width);
            EXPECT_TRUE(cell.left <= value.box.left && cell.right >= value.box.right &&
                        cell.top <= value.box.top && cell.bottom >= value.box.bottom)
                << "repainting the cell repaints its value";
            const float x = (value.box.left + value.box.right) / 2;
            const float y = (value.box.top + value.box.bottom) / 2;
            (void)table.Click(x, y, width);
            ASSERT_EQ(table.SelectedRow(), static_cast<int>(row));

            const InspectorFrame after = table.Layout(texts, width, 600);
            ASSERT_TRUE(after.selection.has_value());
            EXPECT_LE(after.selection->left, value.box.left) << "the highlight covers the value";
            EXPECT_GE(after.selection->right, value.box.right);
            EXPECT_GE(after.selection->left, InspectorTable::NameColumnWidth(width))
                << "and stays out of the label column";
            EXPECT_LE(after.selection->top, value.box.top);
            EXPECT_GE(after.selection->bottom, value.box.bottom);
        }
    }
}

TEST(InspectorTexts, ComeFromTheShippedStringFilesInEachLanguage)
{
    const char* source = std::getenv("ORX_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    StringTable strings([] { return std::optional<std::u16string>(u"en-US"); });
    strings.SetBaseDirectory(platform::Widen(std::string(source)));
    struct Case {
        UiLanguage language;
        std::u16string_view title;
        std::u16string_view firstRow;
        std::u16string_view unavailable;
    };
    const Case cases[] = {
        {UiLanguage::English, u"Data Inspector", u"Binary", u"N/A"},
        {UiLanguage::Japanese, u"データインスペクター", u"2 進数", u"なし"},
    };
    for (const auto& c : cases) {
        strings.SetLanguage(c.language);
        const InspectorTexts texts = LoadInspectorTexts(strings);
        EXPECT_EQ(texts.title, c.title);
        EXPECT_EQ(texts.rowLabels[0], c.firstRow);
        EXPECT_EQ(InspectorUnavailableText(strings), c.unavailable);
        for (const auto& label : texts.rowLabels) {
            EXPECT_EQ(label.find(u"inspector."), std::u16string::npos) << "every key is defined";
        }
    }
}

} // namespace
} // namespace orx
