#include "app/win/AppWindow.h"

#include "app/SearchHistory.h"
#include "app/win/SearchDialog.h"
#include "platform/System.h"
#include "search/SearchRules.h"

namespace orx {
namespace {

constexpr std::uint64_t kKeyPollMilliseconds = 15;

} // namespace

void AppWindow::FindNext()
{
    if (!document_.IsOpen()) {
        return;
    }
    // The dialog is modal: the encoding cannot change while it is open.
    const TextEncoding encoding = hexView_.Model().Encoding();
    win::SearchDialogTexts texts{Text("dialog.search.title"),    Text("dialog.search.type"),
                                 Text("dialog.search.query"),    Text("dialog.common.close"),
                                 Text("dialog.search.previous"), Text("dialog.search.next"),
                                 Text("dialog.search.type.hex"), Text("dialog.search.type.text")};
    win::SearchDialog::Run(Host(), std::move(texts), {}, settings_.searchHistory,
                           TextQueryCharacterLimit(encoding),
                           [this, encoding](const SearchDialogResult& request,
                                            SearchDirection direction, win::SearchDialog& dialog) {
                               RunSearch(request, direction, dialog, encoding);
                           });
}

void AppWindow::RunSearch(const SearchDialogResult& request, SearchDirection direction,
                          win::SearchDialog& dialog, TextEncoding encoding)
{
    const std::u16string caption = Text("dialog.search.title");
    const SearchPattern pattern = BuildSearchPattern(request, encoding);
    if (!pattern.errorKey.empty()) {
        environment_.messageBox(dialog.Window(), Text(pattern.errorKey), caption,
                                MB_ICONERROR | MB_OK);
        return;
    }
    const std::u16string_view kind =
        request.kind == kSearchKindText ? kSearchHistoryText : kSearchHistoryHex;
    if (AddSearchHistory(settings_.searchHistory, kind, TrimQuery(request.query),
                         request.ignoreCase)) {
        StampAndSaveSettings();
    }
    if (dialog.Window() != nullptr) {
        dialog.SetHistory(settings_.searchHistory);
    }

    const HexViewModel& view = hexView_.Model();
    const SearchStart start = PlanSearchStart(direction, view.HasSelection(), view.SelectionLow(),
                                              view.CaretOffset(), document_.Size());
    searching_ = true;
    searchProgressText_ = Text("status.searching");
    searchThrottle_.Reset();
    SetBusy(true);
    RefreshStatus();

    SearchOutcome outcome;
    if (start.scan && document_.IsOpen()) {
        std::uint64_t lastKeyPoll = 0;
        const CancelCheck goOn = [&dialog, &lastKeyPoll] {
            // A held Escape counts even when its key message went to a disabled control. The
            // key state is asked for at most every 15 ms: under Wine each query is a round
            // trip that, made for every block, slowed the search by half.
            const std::uint64_t now = platform::TickCount64();
            if (dialog.Window() != nullptr && now - lastKeyPoll >= kKeyPollMilliseconds) {
                lastKeyPoll = now;
                if ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0) {
                    dialog.RequestCancel();
                }
            }
            PumpPendingMessages(); // Close, Escape and the close box set the request here
            return !dialog.CancelRequested();
        };
        const ProgressCallback progress = [this](std::uint64_t done, std::uint64_t total) {
            UpdateSearchProgress(done, total);
        };
        outcome = start.forward ? SearchForward(&document_, pattern, start.offset, goOn, progress)
                                : SearchBackward(&document_, pattern, start.offset, goOn, progress);
    }

    searching_ = false;
    searchProgressText_.clear();
    searchThrottle_.Reset();
    SetBusy(false);
    RefreshStatus();
    switch (outcome.status) {
    case SearchStatus::Cancelled: return;
    case SearchStatus::NotFound:
        environment_.messageBox(dialog.Window(), Text("error.search_not_found"), caption,
                                MB_ICONINFORMATION | MB_OK);
        return;
    case SearchStatus::Found:
        if (hexView_.Model().HasOpenDocument()) {
            hexView_.Apply(hexView_.Model().ShowRange(outcome.offset,
                                                      outcome.offset + pattern.bytes.size() - 1));
        }
        RefreshStatus();
        return;
    }
}

void AppWindow::UpdateSearchProgress(std::uint64_t done, std::uint64_t total)
{
    searching_ = true;
    ShowProgress(searchThrottle_, searchProgressText_, "status.searching", done, total);
}

} // namespace orx
