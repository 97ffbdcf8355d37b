#include "app/win/SearchController.h"

#include "app/SearchHistory.h"
#include "app/win/ModalDialog.h"
#include "app/win/SearchDialog.h"
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "localization/StringTable.h"
#include "platform/System.h"
#include "search/SearchRules.h"
#include "settings/AppSettings.h"
#include "ui/win/MessagePump.h"

namespace orx {
namespace {

constexpr std::uint64_t kKeyPollMilliseconds = 15;

} // namespace

SearchController::SearchController(AppContext& context, BusyIndicator& busy)
    : context_(context), busy_(busy),
      findAll_({.document = &context.document,
                .view = &context.view,
                .text = context.Lookup(),
                .stateChanged = [&context] { context.events.Changed(Change::Commands); },
                .countChanged = [&context] { context.events.Changed(Change::Message); },
                .layoutChanged = [&context] { context.events.LayoutChanged(); },
                .flash = [&context](std::string_view key) { context.events.Flash(key); }})
{}

void SearchController::Find()
{
    if (!context_.document.IsOpen()) {
        return;
    }
    // The dialog is modal: the encoding cannot change while it is open.
    const TextEncoding encoding = context_.view.Model().Encoding();
    const auto text = [this](std::string_view key) { return context_.Text(key); };
    win::SearchDialogTexts texts{text("dialog.search.title"),    text("dialog.search.type"),
                                 text("dialog.search.query"),    text("dialog.common.close"),
                                 text("dialog.search.previous"), text("dialog.search.next"),
                                 text("dialog.search.type.hex"), text("dialog.search.type.text"),
                                 text("dialog.search.all"),      text("dialog.search.ignore_case")};
    for (const ValueType type : kSearchValueTypes) {
        texts.valueTypeItems.push_back(ValueTypeName(type, context_.Lookup()));
    }
    texts.byteOrderLabel = text("value.byte_order");
    texts.littleItem = text("value.byte_order.little");
    texts.bigItem = text("value.byte_order.big");
    texts.eitherItem = text("value.byte_order.either");
    win::SearchDialog::Run(
        context_.Host(), std::move(texts), {}, context_.settings.searchHistory,
        TextQueryCharacterLimit(encoding),
        [this, encoding](const SearchDialogResult& request, SearchDirection direction,
                         win::SearchDialog& dialog) { Run(request, direction, &dialog, encoding); },
        [this, encoding](const SearchDialogResult& request, HWND dialog) {
            return StartFindAll(request, encoding, dialog);
        });
}

std::optional<SearchPattern> SearchController::AcceptQuery(const SearchDialogResult& request,
                                                           TextEncoding encoding, HWND owner)
{
    SearchPattern pattern = BuildSearchPattern(request, encoding);
    if (!pattern.errorKey.empty()) {
        context_.environment.messageBox(owner, SearchErrorText(pattern, request, context_.Lookup()),
                                        context_.Text("dialog.search.title"), MB_ICONERROR | MB_OK);
        return std::nullopt;
    }
    const std::u16string kind =
        request.kind == kSearchKindValue
            ? SearchHistoryValueKind(request.valueType, request.byteOrder)
            : std::u16string(request.kind == kSearchKindText ? kSearchHistoryText
                                                             : kSearchHistoryHex);
    if (AddSearchHistory(context_.settings.searchHistory, kind, TrimQuery(request.query),
                         request.kind == kSearchKindText && request.ignoreCase)) {
        context_.events.SettingsChanged();
    }
    return pattern;
}

bool SearchController::StartFindAll(const SearchDialogResult& request, TextEncoding encoding,
                                    HWND dialog)
{
    const std::optional<SearchPattern> pattern = AcceptQuery(request, encoding, dialog);
    if (!pattern) {
        return false;
    }
    // A value is listed with its type: "UInt32 1024".
    const std::u16string label =
        request.kind == kSearchKindValue
            ? ValueTypeName(request.valueType, context_.Lookup()) + u" " + TrimQuery(request.query)
            : TrimQuery(request.query);
    findAll_.Start(*pattern, label);
    return true;
}

void SearchController::Repeat(SearchDirection direction)
{
    if (!context_.document.IsOpen()) {
        return;
    }
    if (context_.settings.searchHistory.empty()) {
        Find(); // nothing to repeat yet: ask for a query
        return;
    }
    // The most recent query is the first history entry: every accepted query moves there.
    const SearchHistoryEntry& last = context_.settings.searchHistory.front();
    SearchDialogResult request{last.kind == kSearchHistoryText ? kSearchKindText : kSearchKindHex,
                               last.query, last.ignoreCase};
    if (const auto value = ParseSearchHistoryValueKind(last.kind)) {
        request = *value;
        request.query = last.query;
    }
    Run(request, direction, nullptr, context_.view.Model().Encoding());
}

void SearchController::Run(const SearchDialogResult& request, SearchDirection direction,
                           win::SearchDialog* dialog, TextEncoding encoding)
{
    const HWND owner = dialog != nullptr ? dialog->Window() : context_.window;
    const std::optional<SearchPattern> pattern = AcceptQuery(request, encoding, owner);
    if (!pattern) {
        return;
    }
    if (dialog != nullptr && dialog->Window() != nullptr) {
        dialog->SetHistory(context_.settings.searchHistory);
    }

    EditableDocument& document = context_.document;
    const HexViewModel& view = context_.view.Model();
    const SearchStart start = PlanSearchStart(direction, view.HasSelection(), view.SelectionLow(),
                                              view.CaretOffset(), document.Size());
    SearchOutcome outcome;
    {
        BusyTask task(busy_, BusyKind::Searching, "status.searching");
        if (start.scan && document.IsOpen()) {
            std::uint64_t lastKeyPoll = 0;
            bool stop = false;
            const CancelCheck goOn = [dialog, &lastKeyPoll, &stop] {
                // The key state and the message queue are looked at every 15 ms, not for
                // every block: under Wine each look is a round trip to the server, and made
                // for every block of a search at memory speed they cost more than the search.
                // A held Escape counts even when its key message went to a disabled control.
                const std::uint64_t now = platform::TickCount64();
                if (now - lastKeyPoll >= kKeyPollMilliseconds) {
                    lastKeyPoll = now;
                    stop = stop || (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
                    win::PumpPendingMessages(); // Close, Escape and the close box ask here
                }
                if (dialog == nullptr) {
                    return !stop;
                }
                if (stop && dialog->Window() != nullptr) {
                    dialog->RequestCancel();
                }
                return !dialog->CancelRequested();
            };
            const ProgressCallback progress = [&task](std::uint64_t done, std::uint64_t total) {
                task.Progress(done, total);
            };
            outcome = start.forward
                          ? SearchForward(&document, *pattern, start.offset, goOn, progress)
                          : SearchBackward(&document, *pattern, start.offset, goOn, progress);
        }
    }
    switch (outcome.status) {
    case SearchStatus::Cancelled: return;
    case SearchStatus::NotFound:
        context_.environment.messageBox(dialog != nullptr ? dialog->Window() : context_.window,
                                        context_.Text("error.search_not_found"),
                                        context_.Text("dialog.search.title"),
                                        MB_ICONINFORMATION | MB_OK);
        return;
    case SearchStatus::Found:
        if (view.HasOpenDocument()) {
            HexViewModel& model = context_.view.Model();
            context_.view.Apply(
                model.ShowRange(outcome.offset, outcome.offset + pattern->Size() - 1));
        }
        context_.events.Changed(Change::Caret);
        return;
    }
}

} // namespace orx
