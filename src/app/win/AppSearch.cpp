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
                                 Text("dialog.search.type.hex"), Text("dialog.search.type.text"),
                                 Text("dialog.search.all"),      Text("dialog.search.ignore_case")};
    win::SearchDialog::Run(
        Host(), std::move(texts), {}, settings_.searchHistory, TextQueryCharacterLimit(encoding),
        [this, encoding](const SearchDialogResult& request, SearchDirection direction,
                         win::SearchDialog& dialog) {
            RunSearch(request, direction, &dialog, encoding);
        },
        [this, encoding](const SearchDialogResult& request, HWND dialog) {
            return StartFindAll(request, encoding, dialog);
        });
}

// The pattern of a request, recorded in the history; nothing (after a message in `owner`)
// when the query is refused.
std::optional<SearchPattern> AppWindow::AcceptQuery(const SearchDialogResult& request,
                                                    TextEncoding encoding, HWND owner)
{
    SearchPattern pattern = BuildSearchPattern(request, encoding);
    if (!pattern.errorKey.empty()) {
        environment_.messageBox(owner, Text(pattern.errorKey), Text("dialog.search.title"),
                                MB_ICONERROR | MB_OK);
        return std::nullopt;
    }
    const std::u16string_view kind =
        request.kind == kSearchKindText ? kSearchHistoryText : kSearchHistoryHex;
    if (AddSearchHistory(settings_.searchHistory, kind, TrimQuery(request.query),
                         request.kind == kSearchKindText && request.ignoreCase)) {
        StampAndSaveSettings();
    }
    return pattern;
}

bool AppWindow::StartFindAll(const SearchDialogResult& request, TextEncoding encoding, HWND dialog)
{
    const std::optional<SearchPattern> pattern = AcceptQuery(request, encoding, dialog);
    if (!pattern) {
        return false;
    }
    findAll_.Start(*pattern, TrimQuery(request.query));
    return true;
}

void AppWindow::RepeatSearch(SearchDirection direction)
{
    if (!document_.IsOpen()) {
        return;
    }
    if (settings_.searchHistory.empty()) {
        FindNext(); // nothing to repeat yet: ask for a query
        return;
    }
    // The most recent query is the first history entry: every accepted query moves there.
    const SearchHistoryEntry& last = settings_.searchHistory.front();
    const SearchDialogResult request{last.kind == kSearchHistoryText ? kSearchKindText
                                                                     : kSearchKindHex,
                                     last.query, last.ignoreCase};
    RunSearch(request, direction, nullptr, hexView_.Model().Encoding());
}

void AppWindow::RunSearch(const SearchDialogResult& request, SearchDirection direction,
                          win::SearchDialog* dialog, TextEncoding encoding)
{
    const HWND owner = dialog != nullptr ? dialog->Window() : window_;
    const std::optional<SearchPattern> pattern = AcceptQuery(request, encoding, owner);
    if (!pattern) {
        return;
    }
    if (dialog != nullptr && dialog->Window() != nullptr) {
        dialog->SetHistory(settings_.searchHistory);
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
        bool stop = false;
        const CancelCheck goOn = [dialog, &lastKeyPoll, &stop] {
            // The key state and the message queue are looked at every 15 ms, not for every
            // block: under Wine each look is a round trip to the server, and made for every
            // block of a search at memory speed they cost more than the search. A held Escape
            // counts even when its key message went to a disabled control.
            const std::uint64_t now = platform::TickCount64();
            if (now - lastKeyPoll >= kKeyPollMilliseconds) {
                lastKeyPoll = now;
                stop = stop || (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
                PumpPendingMessages(); // Close, Escape and the close box set the request here
            }
            if (dialog == nullptr) {
                return !stop;
            }
            if (stop && dialog->Window() != nullptr) {
                dialog->RequestCancel();
            }
            return !dialog->CancelRequested();
        };
        const ProgressCallback progress = [this](std::uint64_t done, std::uint64_t total) {
            UpdateSearchProgress(done, total);
        };
        outcome = start.forward
                      ? SearchForward(&document_, *pattern, start.offset, goOn, progress)
                      : SearchBackward(&document_, *pattern, start.offset, goOn, progress);
    }

    searching_ = false;
    searchProgressText_.clear();
    searchThrottle_.Reset();
    SetBusy(false);
    RefreshStatus();
    switch (outcome.status) {
    case SearchStatus::Cancelled: return;
    case SearchStatus::NotFound:
        environment_.messageBox(dialog != nullptr ? dialog->Window() : window_,
                                Text("error.search_not_found"), Text("dialog.search.title"),
                                MB_ICONINFORMATION | MB_OK);
        return;
    case SearchStatus::Found:
        if (hexView_.Model().HasOpenDocument()) {
            hexView_.Apply(
                hexView_.Model().ShowRange(outcome.offset, outcome.offset + pattern->Size() - 1));
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
