#include "app/FindAllText.h"
#include "app/StatusText.h"

#include "app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace orx::test {
namespace {

StatusInputs OpenDocument()
{
    StatusInputs in;
    in.documentOpen = true;
    in.documentSize = 100;
    in.caretOffset = 26;
    return in;
}

TEST(StatusText, FirstApplicableRuleWins)
{
    // clang-format off
    struct Case { const char* name; std::function<void(StatusInputs&)> change; std::u16string expected; };
    const Case cases[] = {
        {"read-only", [](StatusInputs&) {},
         u"[status.offset]: 0x0000001A (26)  [status.encoding]: ASCII  [status.readonly]  [status.zoom]: 100%"},
        {"editing, overwrite, modified",
         [](StatusInputs& in) { in.editingEnabled = in.modified = true; in.encoding = TextEncoding::ShiftJis; },
         u"[status.offset]: 0x0000001A (26)  [status.encoding]: Shift_JIS  [status.mode]: [status.mode.overwrite]  "
         u"[status.modified]  [status.zoom]: 100%"},
        {"editing, insert", [](StatusInputs& in) { in.editingEnabled = in.insertMode = true; in.zoom = 1.25f; },
         u"[status.offset]: 0x0000001A (26)  [status.encoding]: ASCII  [status.mode]: [status.mode.insert]  "
         u"[status.zoom]: 125%"},
        {"no mode while read-only", [](StatusInputs& in) { in.insertMode = true; in.zoom = 0.6f; },
         u"[status.offset]: 0x0000001A (26)  [status.encoding]: ASCII  [status.readonly]  [status.zoom]: 60%"},
        {"4 GiB shows 16 digits", [](StatusInputs& in) { in.documentSize = 1ull << 32; in.caretOffset = 0x123456789; },
         u"[status.offset]: 0x0000000123456789 (4,886,718,345)  [status.encoding]: ASCII  [status.readonly]  [status.zoom]: 100%"},
        {"no file", [](StatusInputs& in) { in.documentOpen = false; }, u"[status.no_file]"},
        {"searching beats the normal text",
         [](StatusInputs& in) { in.searching = true; in.searchProgressText = u"S 5%"; }, u"S 5%"},
        {"saving beats searching",
         [](StatusInputs& in) { in.searching = in.saving = true; in.searchProgressText = u"S 5%"; in.saveProgressText = u"W 7%"; },
         u"W 7%"},
        {"a notice stands before the fields",
         [](StatusInputs& in) { in.notice = u"reloaded"; in.modified = in.editingEnabled = true; },
         u"reloaded  [status.offset]: 0x0000001A (26)  [status.encoding]: ASCII  [status.mode]: "
         u"[status.mode.overwrite]  [status.modified]  [status.zoom]: 100%"},
        {"the flash beats everything",
         [](StatusInputs& in) { in.saving = in.flashActive = true; in.saveProgressText = u"W 7%"; in.flashText = u"blocked"; },
         u"blocked"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StatusInputs in = OpenDocument();
        c.change(in);
        EXPECT_EQ(BuildStatusText(in, kBracketLookup), c.expected);
    }
}

TEST(StatusText, SelectionInBothBases)
{
    const KeyText texts[] = {
        {"status.selection", u"Selection: {first}\u2013{last}, {count} bytes ({hexcount})"},
        {"status.selection.one", u"Selection: {first}\u2013{last}, {count} byte ({hexcount})"}};
    const StringLookup lookup = [&](std::string_view key) { return TextFrom(texts, key); };
    const struct {
        std::uint64_t low, high;
        std::u16string expected;
    } cases[] = {
        {0x10, 0x1F, u"Selection: 0x10\u20130x1F, 16 bytes (0x10)"},
        {0, 0, u"Selection: 0x0\u20130x0, 1 byte (0x1)"},
        {0xFFF, 0x100FFE, u"Selection: 0xFFF\u20130x100FFE, 1,048,576 bytes (0x100000)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSelection(c.low, c.high, lookup), c.expected);
    }
    StatusInputs in = OpenDocument();
    in.hasSelection = true;
    in.selectionLow = 0x10;
    in.selectionHigh = 0x1F;
    EXPECT_EQ(BuildStatusText(in, lookup).substr(0, 64),
              u"[status.offset]: 0x0000001A (26)  Selection: 0x10\u20130x1F, 16 bytes");
}

// Plain offsets and zooms are in the rule table above.
TEST(StatusText, OffsetDigitsAndZoomRounding)
{
    // clang-format off
    struct OffsetCase { std::uint64_t offset, size; std::u16string expected; };
    const OffsetCase offsets[] = {
        {0xFFFFFFFE, (1ull << 32) - 1, u"0xFFFFFFFE"},
        {~0ull, ~0ull, u"0xFFFFFFFFFFFFFFFF"},
    };
    for (const OffsetCase& c : offsets) {
        EXPECT_EQ(FormatStatusOffset(c.offset, c.size), c.expected);
    }
    struct ZoomCase { float zoom; std::u16string expected; };
    // clang-format on
    // Zoom steps of 0.1 accumulate float error; the percentage still reads as the step.
    const ZoomCase zooms[] = {{1.0f + 0.1f + 0.1f, u"120%"}, {2.5f, u"250%"}, {0.625f, u"63%"}};
    for (const ZoomCase& c : zooms) {
        EXPECT_EQ(FormatZoomPercent(c.zoom), c.expected);
    }
}

TEST(TitleText, NameOfTheOpenFileTheDeletedAndTheModifiedMark)
{
    // clang-format off
    struct Case { bool open; std::u16string path; bool modified; std::u16string expected; bool deleted = false; };
    // clang-format on
    const Case cases[] = {
        {false, u"", false, u"[app.title]"},
        // A failed open leaves the document closed: no stale file name.
        {false, u"C:\\old\\previous.bin", true, u"[app.title]"},
        {true, u"C:\\data\\dump.bin", false, u"[app.title] - dump.bin"},
        {true, u"C:\\data\\dump.bin", true, u"[app.title] - dump.bin *"},
        {true, u"C:/mixed\\sep/z.bin", false, u"[app.title] - z.bin"},
        {true, u"D:relative.bin", false, u"[app.title] - relative.bin"},
        {true, u"plain.bin", false, u"[app.title] - plain.bin"},
        // A file that lost its name says so, before the modified mark.
        {true, u"C:\\data\\dump.bin", true, u"[app.title] - dump.bin [title.deleted] *", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.open << " " << c.modified << " " << c.deleted);
        EXPECT_EQ(BuildTitleText(c.open, c.path, c.modified, kBracketLookup, c.deleted),
                  c.expected);
    }
}

TEST(FindAllText, CaptionsFillInTheQueryTheCountAndTheState)
{
    const StringLookup lookup = [](std::string_view key) -> std::u16string {
        if (key == "status.hits.one" || key == "status.hits.many") {
            return key == "status.hits.one" ? u"{count} hit" : u"{count} hits";
        }
        return BracketKey(key) + u" {query}|{hits}|{percent}";
    };
    // clang-format off
    struct Case { FindAllState state; std::uint64_t count, percent; const char16_t* caption; };
    const Case cases[] = {
        {FindAllState::Running, 1234, 42, u"[findall.caption.running] {p}|1,234 hits|42"},
        {FindAllState::Running, 1, 250, u"[findall.caption.running] {p}|1 hit|100"},
        {FindAllState::Done, 0, 100, u"[findall.caption.none] {p}|0 hits|{percent}"},
        {FindAllState::Done, 7, 100, u"[findall.caption.done] {p}|7 hits|{percent}"},
        {FindAllState::Stopped, 1000000, 3, u"[findall.caption.stopped] {p}|1,000,000 hits|{percent}"},
        {FindAllState::OutOfDate, 5, 0, u"[findall.caption.out_of_date] {query}|{hits}|{percent}"},
    };
    // clang-format on
    for (const Case& c : cases) {
        // A query that looks like a placeholder stays as typed.
        EXPECT_EQ(FindAllCaption(c.state, u"{p}", c.count, c.percent, lookup), c.caption);
    }
    StatusInputs inputs;
    inputs.documentOpen = true;
    inputs.hits = HitCountText(2, lookup);
    EXPECT_TRUE(BuildStatusText(inputs, kBracketLookup).ends_with(u"  2 hits"));
}

} // namespace
} // namespace orx::test
