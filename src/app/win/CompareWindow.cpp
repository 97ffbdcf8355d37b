#include "app/win/CompareWindow.h"

#include "app/ProgressThrottle.h"
#include "app/win/ModalDialog.h"
#include "app/win/ScreenRects.h"
#include "ui/TimerIds.h"
#include "platform/win32/WinString.h"
#include "ui/win/Dpi.h"
#include "ui/win/ThemeColors.h"

#include <algorithm>
#include <utility>

namespace orx {
namespace {

constexpr int kStatusHeight = 24; // at 96 DPI
constexpr int kPaneGap = 4;
constexpr int kPaneMargin = 40; // beyond the columns' width: the text column's last glyphs
constexpr int kInitialHeight = 460;

// Keys that only move the caret or scroll: the worker may go on reading through them.
bool MovesOnly(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_F6: return true;
    default: return false;
    }
}

// Whether a message to the main window may change its document once dispatched: typing,
// editing and command keys, the menu bar, dropped files, the look at the file on disk.
bool MayEdit(const MSG& message)
{
    switch (message.message) {
    case WM_KEYDOWN: return !MovesOnly(message.wParam);
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_DROPFILES:
    case kMsgCheckFileOnDisk: return true;
    default: return false;
    }
}

int Scale(int value, HWND window)
{
    return MulDiv(value, static_cast<int>(win::WindowDpi(window)), 96);
}

} // namespace

CompareWindow::CompareWindow(EditableDocument& document, HexView& mainView, StringLookup text,
                             std::function<bool()> busy)
    : document_(document), mainView_(mainView), text_(std::move(text)), busy_(std::move(busy))
{}

CompareWindow::~CompareWindow()
{
    Close();
}

bool CompareWindow::Create(HWND owner, HINSTANCE instance, const WindowGroup& group)
{
    if (!RegisterWindowClass(instance, {.windowColour = false})) {
        return false;
    }

    // Two panes as wide as the main view's rows, as tall as fits, on the main window's screen.
    const RowGeometry main = mainView_.Model().Geometry();
    const int pane =
        Scale(static_cast<int>(main.DataLeft()) + main.ContentWidth() + kPaneMargin, owner) +
        GetSystemMetrics(SM_CXVSCROLL);
    RECT frame{0, 0, 2 * pane + Scale(kPaneGap, owner), Scale(kInitialHeight, owner)};
    AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0, win::WindowDpi(owner));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const ComparePlacement place = PlaceCompareWindow(
        ToScreenRect(monitor.rcWork), group, frame.right - frame.left, frame.bottom - frame.top);
    if (place.main != group.main) { // the side windows follow on WM_MOVE
        SetWindowPos(owner, nullptr, place.main.left, place.main.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.frame.left,
                    place.frame.top, place.frame.Width(), place.frame.Height(), owner, nullptr,
                    instance, this);
    if (window_ == nullptr) {
        return false;
    }
    font_ = win::MessageFont();
    left_ = std::make_unique<HexView>();
    right_ = std::make_unique<HexView>();
    return left_->Create(window_, instance) && right_->Create(window_, instance);
}

bool CompareWindow::Open(HWND owner, HINSTANCE instance, const std::u16string& path,
                         const WindowGroup& group)
{
    Pause(false);
    if (!other_.Open(path)) {
        Close();
        return false;
    }
    if (window_ == nullptr && !Create(owner, instance, group)) {
        Close();
        return false;
    }
    const HexViewModel& main = mainView_.Model();
    for (HexView* pane : {left_.get(), right_.get()}) {
        HexViewModel& model = pane->Model();
        pane->SetDocument(pane == left_.get() ? &document_ : &other_, nullptr);
        pane->Apply(model.SetEncoding(main.Encoding()));
        pane->Apply(model.SetTheme(main.CurrentTheme()));
        pane->Apply(model.SetFont(main.FontFamily(), main.FontSizePoints(), main.FontBold(),
                                  main.FontItalic()));
        model.RemoveMarks(&marks_);
        model.AddMarks(&marks_);
    }
    theme_ = main.CurrentTheme();
    schedule_.Opened();
    synced_ = {0, 0};
    Layout();
    ShowWindow(window_, SW_SHOWNORMAL);
    SetFocus(left_->Window());
    Resume();
    return true;
}

void CompareWindow::Close()
{
    job_.Stop();
    schedule_.Closed();
    if (window_ != nullptr) {
        KillTimer(window_, kTimerCompareResume);
        DestroyWindow(window_);
    }
    left_.reset();
    right_.reset();
    other_.Close();
}

void CompareWindow::Step(bool forward)
{
    if (window_ == nullptr) {
        return;
    }
    // From the caret of the pane last used when the comparison is the active window.
    const bool here = GetActiveWindow() == window_;
    const HexView& from = !here ? mainView_ : GetFocus() == right_->Window() ? *right_ : *left_;
    const std::uint64_t caret = from.Model().CaretOffset();
    Pause(false);
    Start(schedule_.Step(forward, caret));
}

void CompareWindow::SetTheme(Theme theme)
{
    theme_ = theme;
    if (window_ == nullptr) {
        return;
    }
    left_->Apply(left_->Model().SetTheme(theme));
    right_->Apply(right_->Model().SetTheme(theme));
    InvalidateRect(window_, nullptr, TRUE);
}

bool CompareWindow::PreTranslate(const MSG& message)
{
    if (window_ == nullptr) {
        return false;
    }
    const bool ours = message.hwnd == window_ || IsChild(window_, message.hwnd);
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && schedule_.Searching()) {
        job_.RequestStop();
        return ours;
    }
    if (ours) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_F6) {
            Step(GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        return false;
    }
    if (GetAncestor(message.hwnd, GA_ROOT) == GetWindow(window_, GW_OWNER) && MayEdit(message)) {
        Pause(true);
    }
    return false;
}

void CompareWindow::Pause(bool edit)
{
    if (schedule_.Busy()) {
        job_.Stop(); // waits for the block being read, no more
    }
    schedule_.Paused(edit);
    if (window_ != nullptr) {
        PostMessageW(window_, kMsgCompareResume, 0, 0);
        Refresh();
    }
}

void CompareWindow::Resume()
{
    if (window_ == nullptr) {
        return;
    }
    KillTimer(window_, kTimerCompareResume);
    if (!document_.IsOpen()) {
        Close();
        return;
    }
    if (busy_ && busy_()) {
        // A save or a search pumps messages: the worker must not read while it runs.
        SetTimer(window_, kTimerCompareResume, kResumeRetryMilliseconds, nullptr);
        return;
    }
    // The document may have been edited or opened anew: the title, the left pane and both
    // panes' marks show it now.
    SetWindowTextW(window_, win::W(CompareTitle(document_.Path(), other_.Path(), text_)));
    left_->Apply(left_->Model().DocumentReplaced());
    left_->Apply(left_->Model().MarksChanged());
    right_->Apply(right_->Model().MarksChanged());
    if (const std::optional<CompareTask> task = schedule_.Resume()) {
        Start(*task);
        return; // Start refreshes the line
    }
    Refresh();
}

void CompareWindow::Start(const CompareTask& task)
{
    job_.SetTarget(window_);
    job_.Start([this, task](WindowJob<CompareResult>::Runner::Context& context) {
        // Progress only when the tenth of a percent changes: a message per block would keep
        // the window busy with hundreds of thousands of them over a large file.
        std::uint64_t shown = ~std::uint64_t{0};
        const auto progress = [&context, &shown](std::uint64_t done, std::uint64_t total) {
            const std::uint64_t permille = done * 1000 / total;
            if (std::exchange(shown, permille) != permille) {
                context.Progress(done, total);
            }
        };
        return RunCompareTask(task, {document_, other_, context.StopToken(), progress});
    });
    Refresh();
}

void CompareWindow::OnNews()
{
    auto news = job_.Collect();
    if (news.progress) {
        schedule_.Progress(news.progress->done, news.progress->total);
    }
    if (news.result) {
        const CompareSchedule::Outcome outcome = schedule_.Finished(*news.result);
        if (outcome.show) {
            ShowFound(*outcome.show);
        }
        if (outcome.next) {
            Start(*outcome.next);
            return; // Start refreshes the line
        }
    }
    Refresh();
}

void CompareWindow::ShowFound(const Difference& difference)
{
    // Each view shows as much of it as its document holds; none takes the keyboard.
    const auto show = [&](HexView& view, std::uint64_t size) {
        if (difference.offset < size) {
            ViewEffects effects =
                view.Model().ShowRange(difference.offset, std::min(difference.End(), size) - 1);
            effects.setFocus = false;
            view.Apply(effects);
        }
    };
    show(*left_, document_.Size());
    show(*right_, other_.Size());
    show(mainView_, document_.Size());
}

void CompareWindow::FollowScroll()
{
    // The pane whose top row moved since the last look leads; the other follows as far as
    // its own length lets it (a shorter file stops early without pulling the other back).
    const std::uint64_t left = left_->Model().TopRow();
    const std::uint64_t right = right_->Model().TopRow();
    if (left != synced_.first) {
        right_->Apply(right_->Model().SetTopRow(left));
    } else if (right != synced_.second) {
        left_->Apply(left_->Model().SetTopRow(right));
    }
    synced_ = {left_->Model().TopRow(), right_->Model().TopRow()};
}

void CompareWindow::Refresh()
{
    if (window_ == nullptr) {
        return;
    }
    const HexView& pane = GetFocus() == right_->Window() ? *right_ : *left_;
    const std::optional<DifferenceMarks::Nearby> atCaret =
        schedule_.AtCaret(pane.Model().CaretOffset());
    // The difference's number, once counted, from the index: a short scan on the worker.
    if (const std::optional<CompareTask> locate = schedule_.Locate(atCaret)) {
        Start(*locate);
        return; // Start refreshes the line again
    }
    CompareStatusInputs inputs = schedule_.Status(atCaret);
    inputs.size = std::max(document_.Size(), other_.Size());
    std::u16string status = CompareStatusText(inputs, text_);
    if (status != status_) {
        status_ = std::move(status);
        const RECT strip = StatusRect();
        InvalidateRect(window_, &strip, FALSE);
    }
}

RECT CompareWindow::StatusRect() const
{
    RECT client{};
    GetClientRect(window_, &client);
    client.top = std::max(client.top, client.bottom - Scale(kStatusHeight, window_));
    return client;
}

void CompareWindow::Layout()
{
    if (window_ == nullptr || !left_) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    const int height = std::max(0, static_cast<int>(StatusRect().top));
    const int gap = Scale(kPaneGap, window_);
    const int half = std::max(0, (static_cast<int>(client.right) - gap) / 2);
    MoveWindow(left_->Window(), 0, 0, half, height, TRUE);
    MoveWindow(right_->Window(), half + gap, 0, client.right - half - gap, height, TRUE);
}

void CompareWindow::Paint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window_, &paint);
    const ThemePalette palette = HexViewPalette(theme_);
    RECT client{};
    GetClientRect(window_, &client);
    win::FillSolid(dc, client, win::ToColorRef(palette.background));
    RECT strip = StatusRect();
    strip.left += Scale(6, window_);
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, win::ToColorRef(palette.text));
    DrawTextW(dc, win::W(status_), static_cast<int>(status_.size()), &strip,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    EndPaint(window_, &paint);
}

LRESULT CompareWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE: Layout(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1; // WM_PAINT fills every pixel the panes leave
    case WM_CLOSE: Close(); return 0;
    case WM_TIMER:
        if (wParam == kTimerCompareResume) {
            Resume();
            return 0;
        }
        break;
    case kMsgViewChanged:
        FollowScroll();
        Refresh();
        return 0;
    case kMsgCompareNews: OnNews(); return 0;
    case kMsgCompareResume: Resume(); return 0;
    // A pane's notices that only the main window acts on.
    case kMsgEditBlocked:
    case kMsgCopyRefused:
    case kMsgZoomChanged:
    case kMsgViewPainted: return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

} // namespace orx
