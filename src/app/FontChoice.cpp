#include "app/FontChoice.h"

#include "text/CaseFold.h"

#include <algorithm>
#include <cmath>

namespace orx {
namespace {

bool LessIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

} // namespace

void FontFamilyList::Add(std::u16string_view name, bool variablePitch)
{
    if (name.empty() || name.front() == u'@' || variablePitch) {
        return;
    }
    const bool known = std::any_of(names_.begin(), names_.end(), [&](const std::u16string& n) {
        return EqualsIgnoringCase(n, name);
    });
    if (!known) {
        names_.emplace_back(name);
    }
}

std::vector<std::u16string> FontFamilyList::Sorted() const
{
    std::vector<std::u16string> sorted = names_;
    std::stable_sort(sorted.begin(), sorted.end(), LessIgnoringCase);
    return sorted;
}

std::size_t PreselectFamily(const std::vector<std::u16string>& families,
                            std::u16string_view current)
{
    for (std::size_t i = 0; i < families.size(); ++i) {
        if (EqualsIgnoringCase(families[i], current)) {
            return i;
        }
    }
    return 0;
}

std::size_t PreselectSize(float currentPoints)
{
    const long rounded = std::lround(currentPoints);
    for (std::size_t i = 0; i < kFontDialogSizes.size(); ++i) {
        if (kFontDialogSizes[i] == rounded) {
            return i;
        }
    }
    return 0;
}

FontDialogLayout LayoutFontDialog(int clientWidth, int clientHeight)
{
    FontDialogLayout layout;
    layout.familyListWidth = std::max(260, clientWidth - 114);
    layout.okX = clientWidth - 240;
    layout.cancelX = clientWidth - 120;
    layout.buttonY = clientHeight - 38;
    return layout;
}

} // namespace orx
