#include "app/CompareReport.h"

#include "localization/StringLookup.h"
#include "app/StatusText.h"
#include "platform/PathText.h"

#include <algorithm>

namespace orx {
namespace {

constexpr std::u16string_view kGap = u"   ";

void Append(std::u16string& line, const std::u16string& part)
{
    if (!part.empty()) {
        line += line.empty() ? u"" : kGap;
        line += part;
    }
}

} // namespace

std::u16string CompareStatusText(const CompareStatusInputs& inputs, const StringLookup& lookup)
{
    using Job = CompareStatusInputs::Job;
    const std::u16string percent = GroupedDecimal(inputs.percent);
    std::u16string line;
    if (inputs.job == Job::Searching) {
        Append(line, FillIn(lookup("compare.status.searching"), u"percent", percent));
    } else if (!inputs.notice.empty()) {
        Append(line, lookup(inputs.notice));
    }
    if (inputs.atCaret) {
        const Difference& run = inputs.atCaret->run;
        const bool open = inputs.atCaret->openStart || inputs.atCaret->openEnd;
        // Appended piece by piece: prepending to a returned string trips GCC 12's -Wrestrict.
        std::u16string first(inputs.atCaret->openStart ? u"…" : u"");
        first += FormatStatusOffset(run.offset, inputs.size);
        std::u16string last = FormatStatusOffset(run.End() - 1, inputs.size);
        last += inputs.atCaret->openEnd ? u"…" : u"";
        std::u16string count(open ? u"≥" : u"");
        count += GroupedDecimal(run.length);
        const bool one = run.length == 1 && !open;
        std::u16string text =
            FillIn(lookup(one ? "compare.status.difference_byte" : "compare.status.difference"),
                   u"first", first);
        text = FillIn(std::move(text), u"last", last);
        text = FillIn(std::move(text), u"count", count);
        Append(line, text);
        if (inputs.number && inputs.total) {
            text =
                FillIn(lookup("compare.status.number"), u"number", GroupedDecimal(*inputs.number));
            Append(line, FillIn(std::move(text), u"total", GroupedDecimal(*inputs.total)));
        }
    } else {
        Append(line, lookup("compare.status.same"));
    }
    if (inputs.job == Job::Counting) {
        Append(line, FillIn(lookup("compare.status.counting"), u"percent", percent));
    } else if (inputs.total) {
        Append(line, *inputs.total == 0 ? lookup("compare.status.identical")
                                        : FillIn(lookup("compare.status.total"), u"count",
                                                 GroupedDecimal(*inputs.total)));
    }
    return line;
}

std::u16string CompareTitle(std::u16string_view leftPath, std::u16string_view rightPath,
                            const StringLookup& lookup)
{
    std::u16string title =
        FillIn(lookup("compare.title"), u"left", platform::FileNameOfPath(leftPath));
    return FillIn(std::move(title), u"right", platform::FileNameOfPath(rightPath));
}

ComparePlacement PlaceCompareWindow(const ScreenRect& workArea, const WindowGroup& group,
                                    std::int32_t width, std::int32_t height)
{
    width = std::clamp(width, 0, workArea.Width());
    height = std::clamp(height, 0, workArea.Height());
    const ScreenRect& main = group.main;
    const std::int32_t centred = main.left + (main.Width() - width) / 2;
    const std::int32_t left = std::clamp(centred, workArea.left, workArea.right - width);
    // The side windows are as tall as the main window, but an empty frame is no window.
    std::int32_t top = main.top;
    std::int32_t bottom = main.bottom;
    for (const ScreenRect& side : {group.left, group.right}) {
        if (!side.IsEmpty()) {
            top = std::min(top, side.top);
            bottom = std::max(bottom, side.bottom);
        }
    }
    // One pixel apart from the group, as the side windows are from the main window.
    const auto at = [&](std::int32_t frameTop, std::int32_t moveBy) {
        const ScreenRect moved{main.left, main.top + moveBy, main.right, main.bottom + moveBy};
        return ComparePlacement{{left, frameTop, left + width, frameTop + height}, moved};
    };
    if (workArea.bottom - bottom > height) {
        return at(bottom + 1, 0);
    }
    if (top - workArea.top > height) {
        return at(top - 1 - height, 0);
    }
    const std::int32_t groupHeight = bottom - top;
    if (groupHeight + 1 + height <= workArea.Height()) {
        const std::int32_t frameTop = workArea.bottom - height;
        return at(frameTop, frameTop - 1 - bottom);
    }
    return at(workArea.bottom - height, 0);
}

} // namespace orx
