// The view paints only what an input changed; the picture must be the one a full repaint
// gives. Drives a real view with random inputs and compares the window's pixels after each
// one with the pixels of a forced full repaint.
#include "bookmarks/RegionList.h"
#include "compare/DifferenceMarks.h"
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "support/TempDir.h"
#include "ui/TimerIds.h"
#include "win/hexview/Canvas.h"
#include "win/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace orx::test {
namespace {

// The window's client pixels as they are on screen.
std::vector<std::uint32_t> Capture(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    Canvas canvas(client.right, client.bottom);
    HDC screen = GetDC(window);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    GdiFlush();
    return canvas.Pixels();
}

// Bytes that give the text column wide glyphs reaching into the rows beside them: ASCII,
// UTF-8 kana and kanji, Shift_JIS pairs, Hangul pairs, and control bytes.
std::vector<std::uint8_t> MixedBytes(std::size_t size, std::uint32_t seed = 7)
{
    const std::vector<std::uint8_t> pieces[] = {
        {'H', 'e', 'x', ' ', 'v', 'i', 'e', 'w', ' '},
        {0xE3, 0x81, 0x82, 0xE6, 0xBC, 0xA2, 0xE5, 0xAD, 0x97},
        {0x82, 0xA0, 0x8A, 0xBF},
        {0xB0, 0xA1, 0xC7, 0xD1},
        {0x00, 0x01, 0x7F, 0xFF},
    };
    std::vector<std::uint8_t> bytes;
    std::mt19937 random(seed);
    while (bytes.size() < size) {
        const auto& piece = pieces[random() % std::size(pieces)];
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    }
    bytes.resize(size);
    return bytes;
}

// Marked runs of both kinds, as Find All's hits and a comparison's differences give them.
struct RandomMarks final : IByteMarks {
    void MarksIn(std::uint64_t first, std::uint64_t end,
                 std::vector<MarkedRange>& out) const override
    {
        for (const MarkedRange& range : ranges) {
            if (range.first < end && range.first + range.length > first) {
                out.push_back(range);
            }
        }
    }
    std::vector<MarkedRange> ranges;
};

// Bookmarked regions, following the edits as the editor's do: their marks move with the
// bytes and are painted without a repaint of their own.
struct FollowingRegions final : IEditListener {
    void Inserted(std::uint64_t offset, std::uint64_t count) override
    {
        list.Inserted(offset, count);
    }
    void Deleted(std::uint64_t offset, std::uint64_t count) override
    {
        (void)list.Deleted(offset, count);
    }
    RegionList list;
};

class HexViewIncrementalPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        HexView::RegisterWindowClass(GetModuleHandleW(nullptr));
        ASSERT_TRUE(document.Open(dir.Write(u"mixed.bin", MixedBytes(6000))));
        // The differences from another file are marked: every edit moves marks with the
        // bytes it changes or shifts.
        std::vector<std::uint8_t> other = MixedBytes(5000);
        for (std::size_t i = 0; i < other.size(); i += 1 + i % 97) {
            other[i] = static_cast<std::uint8_t>(other[i] + 1);
        }
        ASSERT_TRUE(otherDocument.Open(dir.Write(u"other.bin", other)));
        view.Model().AddMarks(&marks);
        ASSERT_TRUE(view.Create(parent.window, GetModuleHandleW(nullptr)));
        // Narrower than the columns, so that sideways scrolling is reachable.
        MoveWindow(view.Window(), 10, 24, 620, 250, TRUE);
        view.SetDocument(&document, &document);
        view.Apply(view.Model().ToggleEditingEnabled());
        view.Model().AddMarks(&hits);
        document.SetEditListener(&regions);
        view.Model().AddMarks(&regions.list);
        SetForegroundWindow(parent.window);
        SetFocus(view.Window());
        Pump();
    }

    // One random input as a user (or the shell) gives it; returns what it was.
    std::string RandomInput(std::mt19937& random)
    {
        HWND window = view.Window();
        const HexViewModel& model = view.Model();
        const auto key = [window](WPARAM code) { SendMessageW(window, WM_KEYDOWN, code, 0); };
        const auto point = [&random, &model] {
            const auto x = static_cast<int>(random() % 620);
            const auto y = static_cast<int>(
                random() %
                static_cast<unsigned>(std::max(1.0f, model.Geometry().ClientHeightDips())));
            return MAKELPARAM(x, y);
        };
        switch (random() % 22) {
        case 21: {
            hits.ranges.clear();
            for (auto count = random() % 40; count > 0; --count) {
                hits.ranges.push_back({random() % 6100, 1 + random() % 40,
                                       random() % 2 ? MarkKind::Hit : MarkKind::Difference});
            }
            // Drawn from a generator of their own, so that the inputs stay the sequence they were.
            std::vector<Region> regionList;
            for (auto count = regionRandom() % 8; count > 0; --count) {
                regionList.push_back(
                    {regionRandom() % 6100, 1 + regionRandom() % 300,
                     static_cast<RegionColour>(regionRandom() % kRegionColourCount), u""});
            }
            regions.list.Assign(std::move(regionList));
            view.Apply(view.Model().MarksChanged());
            return "marks";
        }
        case 0: key(VK_LEFT); return "Left";
        case 1: key(VK_RIGHT); return "Right";
        case 2: key(VK_UP); return "Up";
        case 3: key(VK_DOWN); return "Down";
        case 4: key(random() % 2 ? VK_NEXT : VK_PRIOR); return "Page Down/Up";
        case 5: key(random() % 2 ? VK_HOME : VK_END); return "Home/End";
        case 6: {
            const LPARAM from = point();
            const LPARAM to = point();
            SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, from);
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, to);
            SendMessageW(window, WM_LBUTTONUP, 0, to);
            return "drag";
        }
        case 7:
        case 8:
        case 9: {
            const char16_t digit = u"0123456789abcdef"[random() % 16];
            SendMessageW(window, WM_CHAR, digit, 0);
            return "digit";
        }
        case 10: key(random() % 2 ? VK_DELETE : VK_BACK); return "Delete/Backspace";
        case 11: key(VK_INSERT); return "Insert";
        case 12:
            SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, random() % 2 ? -120 : 120), 0);
            return "wheel";
        case 13:
            SendMessageW(window, WM_VSCROLL, random() % 2 ? SB_LINEDOWN : SB_LINEUP, 0);
            return "line scroll";
        case 14:
        case 15: SendMessageW(window, WM_TIMER, kTimerCaretBlink, 0); return "blink";
        case 16: key(VK_ESCAPE); return "Escape";
        case 17:
            if (random() % 4 == 0) {
                SendMessageW(window, WM_MOUSEWHEEL,
                             MAKEWPARAM(MK_CONTROL, random() % 2 ? -120 : 120), 0);
                return "zoom";
            }
            SendMessageW(window, WM_HSCROLL, random() % 2 ? SB_LINERIGHT : SB_LINELEFT, 0);
            return "sideways scroll";
        case 18:
            if (random() % 3 == 0) {
                view.Apply(view.Model().SetTheme(static_cast<Theme>(random() % 3)));
                return "theme";
            }
            view.Apply(view.Model().SetEncoding(static_cast<TextEncoding>(random() % 7)));
            return "encoding";
        case 19: {
            // Another file of the same size, a larger or a smaller one, opened in the same
            // document object: every row must be painted anew.
            const std::size_t sizes[] = {6000, 6000 + 4099, 2001};
            const std::size_t size = sizes[random() % 3];
            document.Close();
            EXPECT_TRUE(document.Open(dir.Write(u"mixed.bin", MixedBytes(size, random()))));
            (void)regions.list.ClampTo(document.Size());
            view.SetDocument(&document, &document);
            view.Apply(view.Model().ToggleEditingEnabled());
            return "reopen at " + std::to_string(size) + " bytes";
        }
        default:
            if (random() % 2 == 0) {
                SetFocus(parent.window);
                SetFocus(window);
                return "focus away and back";
            }
            SendMessageW(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
            return "scroll to top";
        }
    }

    TempDir dir;
    EditableDocument document;
    EditableDocument otherDocument;
    DifferenceMarks marks{document, otherDocument};
    // A caption and the view away from the parent's corner, as in the main window: moved
    // pixels must land in the view's own coordinates.
    ParentWindow parent{{40, 30, 700, 360}};
    RandomMarks hits;
    FollowingRegions regions;
    std::mt19937 regionRandom{32};
    HexView view;
};

TEST_F(HexViewIncrementalPaint, EveryInputLooksAsAFullRepaint)
{
    std::mt19937 random(20261206);
    RECT client{};
    GetClientRect(view.Window(), &client);
    for (int step = 0; step < 200; ++step) {
        // Now and then several inputs come before the view gets to paint.
        std::string input = RandomInput(random);
        for (auto more = random() % 6; more >= 3; --more) {
            input += ", " + RandomInput(random);
        }
        UpdateWindow(view.Window()); // paints what the inputs invalidated
        const std::vector<std::uint32_t> incremental = Capture(view.Window());
        RedrawWindow(view.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const std::vector<std::uint32_t> full = Capture(view.Window());
        const auto first =
            std::mismatch(incremental.begin(), incremental.end(), full.begin()).first;
        const auto at = static_cast<int>(first - incremental.begin());
        ASSERT_TRUE(incremental == full)
            << "step " << step << " (" << input << "): pixel " << at % client.right << ","
            << at / client.right << " differs first; caret " << view.Model().CaretOffset()
            << ", top row " << view.Model().TopRow();
        Pump();
    }
}

} // namespace
} // namespace orx::test

namespace orx::test {
namespace {

// The first frame is GDI's, drawn before Direct2D is ready; Direct2D's frame, which follows
// at once, must leave the characters' pixels as they were.
TEST(HexViewFirstFrame, DirectTwoDRepaintsTheRowsAsTheGdiFrameDrewThem)
{
    HexView::RegisterWindowClass(GetModuleHandleW(nullptr));
    TempDir dir;
    EditableDocument document;
    std::vector<std::uint8_t> bytes(3000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(0x20 + i * 7 % 95); // printable: glyph runs only
    }
    ASSERT_TRUE(document.Open(dir.Write(u"text.bin", bytes)));
    ParentWindow parent{{40, 30, 940, 400}};
    HexView view;
    ASSERT_TRUE(view.Create(parent.window, GetModuleHandleW(nullptr)));
    MoveWindow(view.Window(), 0, 0, 860, 320, FALSE);
    view.SetDocument(&document, nullptr);
    UpdateWindow(view.Window());
    const std::vector<std::uint32_t> gdi = Capture(view.Window());
    UpdateWindow(view.Window());
    const std::vector<std::uint32_t> direct2d = Capture(view.Window());
    ASSERT_EQ(gdi.size(), direct2d.size());
    // From the second row on (the caret's box in the first is drawn differently), the pixels
    // that are not the background, the commonest colour, in either frame.
    RECT client{};
    GetClientRect(view.Window(), &client);
    std::map<std::uint32_t, std::size_t> colours;
    for (const std::uint32_t pixel : gdi) {
        ++colours[pixel];
    }
    const std::uint32_t background =
        std::max_element(colours.begin(), colours.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    std::size_t ink = 0;
    std::size_t same = 0;
    for (std::size_t i = static_cast<std::size_t>(client.right) * 24; i < gdi.size(); ++i) {
        if (gdi[i] != background || direct2d[i] != background) {
            ++ink;
            same += gdi[i] == direct2d[i] ? 1 : 0;
        }
    }
    std::printf("%zu of %zu pixels of the characters unchanged\n", same, ink);
    EXPECT_GT(ink, 5000u);
    EXPECT_GE(same * 1000, ink * 995);
}

} // namespace
} // namespace orx::test
