#include "app/win/FindAllSession.h"

#include "app/FindAllText.h"
#include "app/ProgressThrottle.h"
#include "document/EditableDocument.h"
#include "hexview/BytesPerRow.h"
#include "hexview/win/HexView.h"
#include "ui/WindowMessages.h"
#include "ui/win/ClipboardText.h"

#include <limits>
#include <utility>

namespace orx {
namespace {

// What one copy may put on the clipboard, as the hex view's copy.
constexpr std::uint64_t kMaxCopyChars = kMaxClipboardTextBytes / sizeof(char16_t) - 1;

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
        host_.view->Model().RemoveMarks(&state_.Hits());
    }
}

void FindAllSession::Start(const SearchPattern& pattern, const std::u16string& query)
{
    worker_.Stop(); // a search still running is replaced
    worker_.SetTarget(host_.window);
    state_.Start(pattern.Size(), query, host_.document->Revision());
    HexViewModel& view = host_.view->Model();
    view.HoldEdits(true);
    view.AddMarks(&state_.Hits());
    host_.view->Apply(view.MarksChanged());

    if (panel_.Window() == nullptr) {
        win::FindAllPanel::Actions actions;
        actions.row = [this](std::uint64_t index) {
            const std::optional<std::uint64_t> offset = state_.HitOffset(index);
            return offset ? FormatHitRow(*host_.document, *offset, state_.Hits().HitLength(),
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
    state_.RunAs(worker_.Start([document, pattern](auto& context) {
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
    }));
}

void FindAllSession::Stop()
{
    if (state_.Running()) {
        worker_.RequestStop(); // the result comes as news, with the hits found so far
    }
}

void FindAllSession::OnNews()
{
    auto news = worker_.Collect();
    if (!state_.Accepts(news.job)) {
        return;
    }
    const HexViewModel& view = host_.view->Model();
    const std::uint64_t first = view.TopRow() * kBytesPerRow;
    const std::uint64_t end = (view.TopRow() + view.VisibleRows()) * kBytesPerRow;
    bool visibleHits = false;
    for (const std::vector<std::uint64_t>& batch : news.items) {
        visibleHits = state_.Append(batch, first, end) || visibleHits;
    }
    if (news.progress) {
        state_.Progress(news.progress->done, news.progress->total);
    }
    if (visibleHits) {
        host_.view->Apply(host_.view->Model().MarksChanged());
    }
    if (news.result) {
        Finish(*news.result);
    } else if (state_.RefreshDue(GetTickCount64())) {
        ShowCount();
    }
}

void FindAllSession::ShowCount()
{
    panel_.SetCount(state_.Hits().Count());
    UpdateCaption();
    host_.countChanged();
}

void FindAllSession::Finish(const FindAllOutcome& outcome)
{
    state_.Finish(outcome.status);
    host_.view->Model().HoldEdits(false);
    panel_.SetRunning(false);
    panel_.SetCount(state_.Hits().Count());
    UpdateCaption();
    host_.stateChanged();
}

void FindAllSession::OnDocumentChanged()
{
    if (panel_.Window() == nullptr || !state_.DocumentChanged(host_.document->Revision())) {
        return;
    }
    panel_.SetCount(0);
    host_.view->Apply(host_.view->Model().MarksChanged());
    UpdateCaption();
    host_.stateChanged();
}

int FindAllSession::Place(int width, int bottom)
{
    return panel_.Place(width, bottom);
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
    return panel_.Window() == nullptr ? std::u16string{} : state_.StatusText(host_.text);
}

void FindAllSession::UpdateCaption()
{
    panel_.SetCaption(state_.Caption(host_.text));
}

void FindAllSession::GoToHit(std::uint64_t index)
{
    const std::optional<std::uint64_t> offset = state_.HitOffset(index);
    if (!offset) {
        return;
    }
    HexViewModel& view = host_.view->Model();
    host_.view->Apply(view.ShowRange(*offset, *offset + state_.Hits().HitLength() - 1));
    host_.stateChanged();
}

void FindAllSession::CopyRows(std::span<const std::uint64_t> indices)
{
    if (indices.empty()) {
        return;
    }
    const std::u16string text =
        HitLinesText(*host_.document, state_.Hits(), indices, kMaxCopyChars);
    if (text.empty()) {
        host_.flash("status.copy_too_large");
        return;
    }
    (void)win::CopyTextToClipboard(host_.window, text);
}

void FindAllSession::CopyAll()
{
    std::vector<std::uint64_t> all(state_.Hits().Count());
    for (std::uint64_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    CopyRows(all);
}

void FindAllSession::ClosePanel()
{
    worker_.Stop();
    if (state_.Running()) {
        host_.view->Model().HoldEdits(false);
    }
    state_.Close();
    HexViewModel& view = host_.view->Model();
    view.RemoveMarks(&state_.Hits());
    host_.view->Apply(view.MarksChanged());
    panel_.Destroy();
    SetFocus(host_.view->Window());
    host_.layoutChanged();
    host_.stateChanged();
}

} // namespace orx
