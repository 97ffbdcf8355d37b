#include "app/win/FindAllSession.h"

#include "app/FindAllText.h"
#include "app/ProgressThrottle.h"
#include "document/EditableDocument.h"
#include "hexview/BytesPerRow.h"
#include "hexview/win/HexView.h"
#include "ui/WindowMessages.h"
#include "ui/win/ClipboardText.h"

#include <limits>

namespace orx {
namespace {

// What one copy may put on the clipboard, as the hex view's copy.
constexpr std::uint64_t kMaxCopyChars = kMaxClipboardTextBytes / sizeof(char16_t) - 1;

FindAllState ToCaptionState(bool running, bool outOfDate, SearchStatus status)
{
    if (running) {
        return FindAllState::Running;
    }
    if (outOfDate) {
        return FindAllState::OutOfDate;
    }
    return status == SearchStatus::Cancelled ? FindAllState::Stopped : FindAllState::Done;
}

} // namespace

FindAllSession::FindAllSession(Host host) : host_(std::move(host)), worker_(kMsgFindAllNews)
{}

void FindAllSession::SetWindow(HWND window)
{
    host_.window = window;
}

FindAllSession::~FindAllSession()
{
    worker_.Stop();
    if (host_.view != nullptr) {
        host_.view->Model().RemoveMarks(&hits_);
    }
}

void FindAllSession::Start(const SearchPattern& pattern, const std::u16string& query)
{
    worker_.Stop(); // a search still running is replaced
    worker_.SetTarget(host_.window);
    hits_.Reset(pattern.Size());
    query_ = query;
    status_ = SearchStatus::NotFound;
    percent_ = 0;
    revision_ = host_.document->Revision();
    running_ = true;
    HexViewModel& view = host_.view->Model();
    view.HoldEdits(true);
    view.AddMarks(&hits_);
    host_.view->Apply(view.MarksChanged());

    if (panel_.Window() == nullptr) {
        win::FindAllPanel::Actions actions;
        actions.row = [this](std::uint64_t index) {
            return index < hits_.Count()
                       ? FormatHitRow(*host_.document, hits_.At(index), hits_.HitLength(),
                                      host_.view->Model().Encoding())
                       : HitRowText{};
        };
        actions.activate = [this](std::uint64_t index) { GoToHit(index); };
        actions.copy = [this](std::span<const std::uint64_t> indices) { CopyRows(indices); };
        actions.copyAll = [this] { CopyAll(); };
        actions.stop = [this] { Stop(); };
        actions.close = [this] { ClosePanel(); };
        if (panel_.Create(host_.window, std::move(actions))) {
            panel_.SetTheme(host_.view->Model().CurrentTheme());
            RefreshTexts();
            host_.layoutChanged();
        }
    }
    panel_.SetCount(0);
    panel_.SetRunning(true);
    UpdateCaption();
    host_.stateChanged();

    const IReadOnlyDocument* document = host_.document;
    job_ = worker_.Start([document, pattern](auto& context) {
        const CancelCheck goOn = [&context] { return !context.StopRequested(); };
        const ProgressCallback progress = [&context](std::uint64_t done, std::uint64_t total) {
            context.Progress(done, total);
        };
        const HitBatchCallback take = [&context](std::span<const std::uint64_t> offsets) {
            context.Hand(std::vector<std::uint64_t>(offsets.begin(), offsets.end()));
            return true;
        };
        return FindAll(document, pattern, std::numeric_limits<std::uint64_t>::max(), goOn, progress,
                       take);
    });
}

void FindAllSession::Stop()
{
    if (running_) {
        worker_.RequestStop(); // the result comes as news, with the hits found so far
    }
}

void FindAllSession::OnNews()
{
    auto news = worker_.Collect();
    if (news.job != job_ || !running_) {
        return;
    }
    bool visibleHits = false;
    for (const std::vector<std::uint64_t>& batch : news.items) {
        hits_.Append(batch);
        visibleHits = visibleHits || HitsInView(batch);
    }
    if (!news.items.empty()) {
        panel_.SetCount(hits_.Count());
    }
    if (news.progress && news.progress->total > 0) {
        percent_ = ProgressPercent(news.progress->done, news.progress->total);
    }
    if (visibleHits) {
        host_.view->Apply(host_.view->Model().MarksChanged());
    }
    if (news.result) {
        Finish(*news.result);
        return;
    }
    UpdateCaption();
    host_.stateChanged();
}

void FindAllSession::Finish(const FindAllOutcome& outcome)
{
    running_ = false;
    status_ = outcome.status;
    host_.view->Model().HoldEdits(false);
    panel_.SetRunning(false);
    UpdateCaption();
    host_.stateChanged();
}

bool FindAllSession::HitsInView(std::span<const std::uint64_t> offsets) const
{
    if (offsets.empty()) {
        return false;
    }
    const HexViewModel& view = host_.view->Model();
    const std::uint64_t first = view.TopRow() * kBytesPerRow;
    const std::uint64_t end = (view.TopRow() + view.VisibleRows()) * kBytesPerRow;
    // Ascending: the batch meets the view unless it lies wholly before or after it.
    return offsets.front() < end && offsets.back() + hits_.HitLength() > first;
}

void FindAllSession::OnDocumentChanged()
{
    if (running_ || hits_.OutOfDate() || host_.document->Revision() == revision_ ||
        panel_.Window() == nullptr) {
        return;
    }
    hits_.Reset(hits_.HitLength());
    hits_.MarkOutOfDate();
    panel_.SetCount(0);
    host_.view->Apply(host_.view->Model().MarksChanged());
    UpdateCaption();
    host_.stateChanged();
}

int FindAllSession::Place(int width, int bottom)
{
    if (panel_.Window() == nullptr) {
        return 0;
    }
    const int height = std::min(panel_.Height(), bottom / 2);
    MoveWindow(panel_.Window(), 0, bottom - height, width, height, TRUE);
    return height;
}

void FindAllSession::SetTheme(Theme theme)
{
    panel_.SetTheme(theme);
}

void FindAllSession::RefreshTexts()
{
    panel_.SetTexts({Text("findall.column.offset"), Text("findall.column.bytes"),
                     Text("findall.column.text"), Text("findall.stop"), Text("findall.copy_all"),
                     Text("dialog.common.close")});
    UpdateCaption();
    panel_.RefreshRows();
}

std::u16string FindAllSession::StatusText() const
{
    if (panel_.Window() == nullptr || hits_.OutOfDate()) {
        return {};
    }
    return HitCountText(hits_.Count(), host_.text);
}

void FindAllSession::UpdateCaption()
{
    panel_.SetCaption(FindAllCaption(ToCaptionState(running_, hits_.OutOfDate(), status_), query_,
                                     hits_.Count(), percent_, host_.text));
}

void FindAllSession::GoToHit(std::uint64_t index)
{
    if (index >= hits_.Count()) { // an out-of-date list is empty
        return;
    }
    const std::uint64_t offset = hits_.At(index);
    HexViewModel& view = host_.view->Model();
    host_.view->Apply(view.ShowRange(offset, offset + hits_.HitLength() - 1));
    host_.stateChanged();
}

void FindAllSession::CopyRows(std::span<const std::uint64_t> indices)
{
    if (indices.empty()) {
        return;
    }
    const std::u16string text = HitLinesText(*host_.document, hits_, indices, kMaxCopyChars);
    if (text.empty()) {
        host_.flash("status.copy_too_large");
        return;
    }
    (void)win::CopyTextToClipboard(host_.window, text);
}

void FindAllSession::CopyAll()
{
    std::vector<std::uint64_t> all(hits_.Count());
    for (std::uint64_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    CopyRows(all);
}

void FindAllSession::ClosePanel()
{
    worker_.Stop();
    if (running_) {
        running_ = false;
        host_.view->Model().HoldEdits(false);
    }
    hits_.Reset(1);
    HexViewModel& view = host_.view->Model();
    view.RemoveMarks(&hits_);
    host_.view->Apply(view.MarksChanged());
    panel_.Destroy();
    SetFocus(host_.view->Window());
    host_.layoutChanged();
    host_.stateChanged();
}

} // namespace orx
