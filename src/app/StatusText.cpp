#include "app/StatusText.h"

#include "platform/PathText.h"
#include "platform/Utf.h"
#include "text/HexFormat.h"

#include <cmath>
#include <string>

namespace orx {

std::u16string FormatStatusOffset(std::uint64_t offset, std::uint64_t documentSize)
{
    return u"0x" + UpperHex(offset, documentSize < (1ull << 32) ? 8 : 16);
}

std::u16string FormatSelection(std::uint64_t low, std::uint64_t high, const StringLookup& lookup)
{
    const std::uint64_t count = high - low + 1;
    std::u16string text = lookup(count == 1 ? "status.selection.one" : "status.selection");
    text = FillIn(std::move(text), u"first", u"0x" + UpperHex(low));
    text = FillIn(std::move(text), u"last", u"0x" + UpperHex(high));
    text = FillIn(std::move(text), u"count", GroupedDecimal(count));
    return FillIn(std::move(text), u"hexcount", u"0x" + UpperHex(count));
}

std::u16string FormatZoomPercent(float zoom)
{
    // Halves round away from zero, as std::lround does.
    return platform::Widen(std::to_string(std::lround(static_cast<double>(zoom) * 100.0))) + u"%";
}

std::u16string BuildStatusText(const StatusInputs& in, const StringLookup& lookup)
{
    if (in.flashActive) {
        return in.flashText;
    }
    if (in.saving) {
        return in.saveProgressText;
    }
    if (in.searching) {
        return in.searchProgressText;
    }
    if (!in.documentOpen) {
        return lookup("status.no_file");
    }
    std::u16string text = in.notice;
    if (!text.empty()) {
        text += u"  ";
    }
    text += lookup("status.offset") + u": " + FormatStatusOffset(in.caretOffset, in.documentSize) +
            u" (" + GroupedDecimal(in.caretOffset) + u")";
    if (in.hasSelection) {
        text += u"  " + FormatSelection(in.selectionLow, in.selectionHigh, lookup);
    }
    text += u"  " + lookup("status.encoding") + u": " + TextEncodingName(in.encoding);
    if (in.editingEnabled) {
        text += u"  " + lookup("status.mode") + u": " +
                lookup(in.insertMode ? "status.mode.insert" : "status.mode.overwrite");
    } else {
        text += u"  " + lookup("status.readonly");
    }
    if (in.modified) {
        text += u"  " + lookup("status.modified");
    }
    text += u"  " + lookup("status.zoom") + u": " + FormatZoomPercent(in.zoom);
    if (!in.hits.empty()) {
        text += u"  " + in.hits;
    }
    return text;
}

std::u16string BuildTitleText(bool documentOpen, const std::u16string& path, bool modified,
                              const StringLookup& lookup, bool fileDeleted)
{
    std::u16string title = lookup("app.title");
    if (documentOpen) {
        title += u" - " + platform::FileNameOfPath(path);
        if (fileDeleted) {
            title += u' ';
            title += lookup("title.deleted");
        }
        if (modified) {
            title += u" *";
        }
    }
    return title;
}

StatusBarColors StatusBarColorsFor(Theme theme, bool flashActive)
{
    if (flashActive) {
        return {0x2020B4, 0xFFFFFF};
    }
    switch (ThemeFromValue(static_cast<std::uint32_t>(theme))) {
    case Theme::DarkBlue: return {0x2A1B0D, 0xF3EDE6};
    case Theme::Black: return {0x111111, 0xF3F3F3};
    case Theme::Light: break;
    }
    return {std::nullopt, 0x202020};
}

} // namespace orx
