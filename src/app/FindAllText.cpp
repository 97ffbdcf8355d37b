#include "app/FindAllText.h"

#include <algorithm>

namespace orx {

std::u16string HitCountText(std::uint64_t count, const StringLookup& lookup)
{
    return FillIn(lookup(count == 1 ? "status.hits.one" : "status.hits.many"), u"count",
                  GroupedDecimal(count));
}

std::u16string FindAllCaption(FindAllState state, std::u16string_view query, std::uint64_t count,
                              std::uint64_t percent, const StringLookup& lookup)
{
    std::u16string text;
    switch (state) {
    case FindAllState::Running:
        text = FillIn(lookup("findall.caption.running"), u"percent",
                      GroupedDecimal(std::min<std::uint64_t>(percent, 100)));
        break;
    case FindAllState::Done:
        text = lookup(count == 0 ? "findall.caption.none" : "findall.caption.done");
        break;
    case FindAllState::Stopped: text = lookup("findall.caption.stopped"); break;
    case FindAllState::OutOfDate: return lookup("findall.caption.out_of_date");
    }
    text = FillIn(std::move(text), u"hits", HitCountText(count, lookup));
    return FillIn(std::move(text), u"query", query);
}

} // namespace orx
