#include "hexview/HexViewModel.h"

#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orx::test {
namespace {

// The view shows rows 100 to 109 of 4096 (ten rows on screen); the caret starts on screen
// row 5 unless a case puts it elsewhere.
constexpr std::uint64_t kTop = 100;
constexpr std::uint64_t kCaret = (kTop + 5) * 16 + 3;

using Input = std::function<void(HexViewModel&)>;

struct Case {
    const char* name;
    EditMode mode;
    Input setup; // before the plan is taken
    Input input;
    RepaintPlan expected;
};

RepaintPlan Rows(std::vector<std::uint64_t> rows, std::int64_t scrolled = 0)
{
    return RepaintPlan{false, scrolled, std::move(rows), false};
}

const RepaintPlan kAll{true, 0, {}, false}; // all, scrolled rows, rows, caret cells
// clang-format off
const auto CaretAt = [](std::uint64_t at) -> Input { return [=](HexViewModel& v) { (void)v.SetCaret(at); }; };
const auto Press = [](std::uint32_t key) -> Input { return [=](HexViewModel& v) { (void)v.OnKeyDown(key, false); }; };
const auto Typed = [](std::u16string digits) -> Input { return [=](HexViewModel& v) { Type(v, digits); }; };
// clang-format on

// A click on one byte and a drag to the other.
Input Drag(std::uint64_t from, std::uint64_t to)
{
    return [=](HexViewModel& view) {
        const auto start = view.CellCenterPixels(from, false);
        const auto end = view.CellCenterPixels(to, false);
        ASSERT_TRUE(start && end);
        (void)view.OnLButtonDown(start->first, start->second);
        (void)view.OnMouseMove(end->first, end->second);
        (void)view.OnLButtonUp();
    };
}

TEST(HexViewRepaint, AnInputRepaintsTheRowsItChanged)
{
    using enum EditMode;
    const Input none = [](HexViewModel&) {};
    const Input focus = [](HexViewModel& v) { (void)v.OnSetFocus(); };
    const Input blink = [](HexViewModel& v) { (void)v.OnBlinkTimer(); };
    // clang-format off
    const Case cases[] = {
        {"caret step inside a row", Overwrite, none, Press(vk::kRight), Rows({5})},
        {"caret step to the next row", Overwrite, CaretAt((kTop + 5) * 16 + 15), Press(vk::kRight), Rows({5, 6})},
        {"Down on the bottom row scrolls one row", Overwrite, CaretAt((kTop + 9) * 16), Press(vk::kDown),
         Rows({0, 8, 9}, 1)},
        {"Up on the top row scrolls one row back", Overwrite, CaretAt(kTop * 16), Press(vk::kUp), Rows({0, 1, 9}, -1)},
        {"a wheel notch scrolls three rows", Overwrite, none,
         [](HexViewModel& v) { (void)v.OnMouseWheel(-120, false); }, Rows({0, 6, 7, 8, 9}, 3)},
        {"Page Down from mid-view scrolls six rows", Overwrite, none, Press(vk::kPageDown),
         Rows({0, 3, 4, 5, 6, 7, 8, 9}, 6)},
        {"Page Down from the top row moves every row", Overwrite, CaretAt((kTop + 9) * 16), Press(vk::kPageDown), kAll},
        {"the file read anew: rows that look the same hold other bytes", Overwrite, none,
         [](HexViewModel& v) { (void)v.DocumentReplaced(); }, kAll},
        {"first digit, ASCII: the byte's row", Overwrite, none, Typed(u"4"), Rows({5})},
        {"byte completed at a row end: that row and the caret's next", Overwrite, CaretAt((kTop + 5) * 16 + 15),
         Typed(u"41"), Rows({5, 6})},
        {"digit, UTF-8: neighbours decode across the row edges", Overwrite,
         [](HexViewModel& v) { (void)v.SetEncoding(TextEncoding::Utf8); }, Typed(u"4"), Rows({4, 5, 6})},
        {"digit, EUC-KR: pairs may shift to the end of the view", Overwrite,
         [](HexViewModel& v) { (void)v.SetEncoding(TextEncoding::EucKr); }, Typed(u"4"), Rows({4, 5, 6, 7, 8, 9})},
        {"inserted byte shifts the rows after it", Insert, none, Typed(u"41"), Rows({5, 6, 7, 8, 9})},
        {"a pending first digit in Insert mode changes nothing yet", Insert, none, Typed(u"4"), Rows({})},
        {"Backspace shifts from the deleted byte on", Overwrite, CaretAt((kTop + 7) * 16), Press(vk::kBack),
         Rows({6, 7, 8, 9})},
        {"drag: the rows of the bytes whose shading changed", Overwrite, Drag((kTop + 2) * 16 + 4, (kTop + 3) * 16),
         Drag((kTop + 2) * 16 + 4, (kTop + 6) * 16 + 1), Rows({3, 4, 5, 6})},
        {"Escape clears a selection over three rows", Overwrite,
         [](HexViewModel& v) { (void)v.SetSelection((kTop + 2) * 16, (kTop + 4) * 16 + 1); }, Press(vk::kEscape),
         Rows({2, 3, 4})},
        {"Escape without a selection paints nothing", Overwrite, none, Press(vk::kEscape), Rows({})},
        {"a blink tick: the caret's cells only", Insert, focus, blink, RepaintPlan{false, 0, {}, true}},
        {"a blink tick with the caret off screen paints nothing", Insert,
         [](HexViewModel& v) { (void)v.OnSetFocus(), (void)v.SetTopRow(kTop + 20); }, blink, Rows({})},
        {"theme", Overwrite, none, [](HexViewModel& v) { (void)v.SetTheme(Theme::Black); }, kAll},
        {"encoding", Overwrite, none, [](HexViewModel& v) { (void)v.SetEncoding(TextEncoding::ShiftJis); }, kAll},
        {"zoom", Overwrite, none, [](HexViewModel& v) { (void)v.ZoomBy(0.1f); }, kAll},
        {"horizontal scroll", Overwrite, none,
         [](HexViewModel& v) { (void)v.OnHorizontalScroll(ScrollRequest::LineForward, 0); }, kAll},
        {"asked for by the shell", Overwrite, none, [](HexViewModel& v) { (void)v.RepaintAll(); }, kAll},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileView file(Sequence(64 * 1024));
        // Narrow enough that the hex column scrolls sideways.
        (void)file.view.SetClientSize(600, kClientHeight);
        HexViewModel& view = file.view;
        file.EnableEditing(c.mode);
        (void)view.SetTopRow(kTop);
        (void)view.SetCaret(kCaret);
        c.setup(view);
        (void)view.TakeRepaintPlan();
        c.input(view);
        EXPECT_EQ(view.TakeRepaintPlan(), c.expected);
        EXPECT_TRUE(view.TakeRepaintPlan().Empty()) << "a plan counts as painted";
    }
}

TEST(HexViewRepaint, RowsAreWholePixelsHighAtEveryScale)
{
    for (std::uint32_t dpi : {96u, 120u, 144u, 168u, 192u}) {
        for (float zoom : {0.6f, 1.0f, 1.3f, 2.5f}) {
            SizedView sized(4096);
            sized.view.SetDpi(dpi);
            (void)sized.view.ZoomBy(zoom - 1.0f);
            (void)sized.view.Relayout();
            EXPECT_TRUE(sized.view.Geometry().WholePixelRows()) << dpi << " DPI, zoom " << zoom;
        }
    }
}

} // namespace
} // namespace orx::test
