#include "structview/PatternOffer.h"

#include "platform/Utf.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

using platform::Narrow;

std::u16string Lookup(std::string_view key)
{
    if (key == "structview.offer.apply") {
        return u"{title}: apply {file}";
    }
    if (key == "structview.offer.others") {
        return u"Also: {patterns}";
    }
    return platform::Widen(std::string(key.substr(key.rfind('.') + 1)));
}

PatternLibrary Library()
{
    PatternLibrary library;
    const auto add = [&](std::u16string file, std::u16string title, std::u16string category,
                         std::u16string error = {}) {
        LibraryPattern pattern;
        pattern.fileName = std::move(file);
        pattern.title = std::move(title);
        pattern.category = std::move(category);
        pattern.error = std::move(error);
        library.patterns.push_back(std::move(pattern));
    };
    add(u"zip.orpat", u"ZIP archive", u"archives");
    add(u"png.orpat", u"PNG image", u"images");
    add(u"gif.orpat", u"GIF image", u"images");
    add(u"mine.orpat", u"My records", u"");
    add(u"broken.orpat", u"broken.orpat", u"images", u"line 1: x");
    add(u"odd.orpat", u"Odd", u"no-such-category");
    return library;
}

TEST(PatternOffer, OffersTheBestMatchAndNamesTheOthers)
{
    const PatternLibrary library = Library();
    const std::vector<PatternMatch> matches = {{1, 0, 8, true}, {0, 0x40, 4, false}};
    const PatternOffer offer = MakePatternOffer(library, matches, Lookup);
    ASSERT_TRUE(offer.any);
    EXPECT_EQ(offer.pattern, 1u);
    EXPECT_EQ(Narrow(offer.button), "PNG image: apply png.orpat");
    EXPECT_EQ(Narrow(offer.others), "Also: ZIP archive (zip.orpat)");

    const PatternOffer single = MakePatternOffer(library, {{{0, 0x40, 4, false}}}, Lookup);
    EXPECT_EQ(single.offset, 0x40u);
    EXPECT_TRUE(single.others.empty());
    EXPECT_FALSE(MakePatternOffer(library, {}, Lookup).any);
    EXPECT_FALSE(MakePatternOffer(library, {{{99, 0, 1, false}}}, Lookup).any) << "a stale index";
}

TEST(PatternOffer, TheMenuListsMatchesFirstThenEachCategoryByTitle)
{
    const PatternLibrary library = Library();
    const std::vector<PatternMatch> matches = {{1, 0, 8, true}};
    std::vector<std::string> lines;
    for (const LibraryMenuGroup& group : BuildLibraryMenu(library, matches, Lookup)) {
        // Appends, not a chain of +: GCC 12 warns falsely about overlapping copies there.
        std::string title = "[";
        title.append(Narrow(group.title)).append("]");
        lines.push_back(title);
        for (const LibraryMenuItem& item : group.items) {
            std::string line = Narrow(item.label);
            line.append(" #").append(std::to_string(item.pattern));
            lines.push_back(line);
        }
    }
    // Categories in their fixed order; the broken file left out; an unknown category and
    // none at all go under the last group.
    const std::vector<std::string> expected = {"[]",
                                               "PNG image (png.orpat) #1",
                                               "[images]",
                                               "GIF image (gif.orpat) #2",
                                               "PNG image (png.orpat) #1",
                                               "[archives]",
                                               "ZIP archive (zip.orpat) #0",
                                               "[other]",
                                               "My records (mine.orpat) #3",
                                               "Odd (odd.orpat) #5"};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(BuildLibraryMenu(PatternLibrary{}, {}, Lookup).empty());
}

} // namespace
} // namespace orx
