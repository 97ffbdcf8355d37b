#include "app/FontChoice.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

TEST(FontFamilyList, KeepsFixedPitchFamiliesOnceSortedWithoutCase)
{
    FontFamilyList list;
    list.Add(u"Liberation Mono", false);
    list.Add(u"DejaVu Sans", true); // proportional
    list.Add(u"@MS Gothic", false); // vertical writing
    list.Add(u"", false);
    list.Add(u"courier New", false);
    list.Add(u"DejaVu Sans Mono", false);
    list.Add(u"LIBERATION MONO", false); // reported again for another character set
    list.Add(u"Courier", false);
    EXPECT_EQ(list.Sorted(),
              (std::vector<std::u16string>{u"Courier", u"courier New", u"DejaVu Sans Mono",
                                           u"Liberation Mono"}));
}

TEST(FontChoice, PreselectsTheCurrentFamilyAndRoundedSize)
{
    const std::vector<std::u16string> families = {u"Courier", u"DejaVu Sans Mono"};
    EXPECT_EQ(PreselectFamily(families, u"dejavu sans mono"), 1u);
    EXPECT_EQ(PreselectFamily(families, u"Consolas"), 0u);
    const std::pair<float, int> sizes[] = {
        {12.0f, 12},  // 16 px
        {11.25f, 11}, // 15 px
        {13.5f, 14},  // halves round up
        {40.0f, 8},   // not offered
        {27.6f, 28},
    };
    for (const auto& [points, shown] : sizes) {
        EXPECT_EQ(kFontDialogSizes[PreselectSize(points)], shown) << points;
    }
}

TEST(FontChoice, FamilyListFollowsTheWidthDownToItsMinimum)
{
    EXPECT_EQ(LayoutFontDialog(620, 320).familyListWidth, 506);
    EXPECT_EQ(LayoutFontDialog(374, 320).familyListWidth, 260);
    EXPECT_EQ(LayoutFontDialog(kFontDialogMinWidth, 220).familyListWidth, 386);
    const FontDialogLayout wide = LayoutFontDialog(900, 400);
    EXPECT_EQ(wide.cancelX + 108, 900 - 12); // buttons keep to the bottom-right corner
    EXPECT_EQ(wide.buttonY + 26, 400 - 12);
}

} // namespace
} // namespace orx
