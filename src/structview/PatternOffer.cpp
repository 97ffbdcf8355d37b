#include "structview/PatternOffer.h"

#include <algorithm>

namespace orx {
namespace {

std::u16string Label(const LibraryPattern& pattern)
{
    std::u16string label = pattern.title;
    label += u" (";
    label += pattern.fileName;
    label += u')';
    return label;
}

void ReplaceAll(std::u16string& text, std::u16string_view field, std::u16string_view value)
{
    for (std::size_t at = text.find(field); at != std::u16string::npos;
         at = text.find(field, at + value.size())) {
        text.replace(at, field.size(), value);
    }
}

constexpr std::u16string_view kCategories[] = {u"executables", u"images", u"media",
                                               u"archives",    u"disks",  u"data"};

} // namespace

PatternOffer MakePatternOffer(const PatternLibrary& library, std::span<const PatternMatch> matches,
                              const TextLookup& lookup)
{
    PatternOffer offer;
    if (matches.empty() || matches.front().pattern >= library.patterns.size()) {
        return offer;
    }
    const LibraryPattern& best = library.patterns[matches.front().pattern];
    offer.any = true;
    offer.pattern = matches.front().pattern;
    offer.offset = matches.front().offset;
    offer.button = lookup("structview.offer.apply");
    ReplaceAll(offer.button, u"{title}", best.title);
    ReplaceAll(offer.button, u"{file}", best.fileName);
    std::u16string names;
    for (const PatternMatch& match : matches.subspan(1)) {
        if (match.pattern < library.patterns.size()) {
            names += names.empty() ? u"" : u", ";
            names += Label(library.patterns[match.pattern]);
        }
    }
    if (!names.empty()) {
        offer.others = lookup("structview.offer.others");
        ReplaceAll(offer.others, u"{patterns}", names);
    }
    return offer;
}

std::vector<LibraryMenuGroup> BuildLibraryMenu(const PatternLibrary& library,
                                               std::span<const PatternMatch> matches,
                                               const TextLookup& lookup)
{
    std::vector<LibraryMenuGroup> menu;
    LibraryMenuGroup top;
    for (const PatternMatch& match : matches) {
        if (match.pattern < library.patterns.size()) {
            top.items.push_back({Label(library.patterns[match.pattern]), match.pattern});
        }
    }
    if (!top.items.empty()) {
        menu.push_back(std::move(top));
    }
    const auto group = [&](std::u16string title, auto belongs) {
        LibraryMenuGroup result{std::move(title), {}};
        for (std::size_t i = 0; i < library.patterns.size(); ++i) {
            const LibraryPattern& pattern = library.patterns[i];
            if (pattern.error.empty() && belongs(pattern)) {
                result.items.push_back({Label(pattern), i});
            }
        }
        std::sort(
            result.items.begin(), result.items.end(),
            [](const LibraryMenuItem& a, const LibraryMenuItem& b) { return a.label < b.label; });
        if (!result.items.empty()) {
            menu.push_back(std::move(result));
        }
    };
    for (const std::u16string_view category : kCategories) {
        group(lookup(PatternCategoryKey(category)),
              [&](const LibraryPattern& pattern) { return pattern.category == category; });
    }
    group(lookup("structview.category.other"), [&](const LibraryPattern& pattern) {
        return PatternCategoryKey(pattern.category).empty();
    });
    return menu;
}

} // namespace orx
