#include "app/win/BookmarksController.h"

#include "app/win/PromptDialog.h"
#include "bookmarks/BookmarksJson.h"
#include "hexview/win/HexView.h"
#include "localization/FileText.h"
#include "platform/PathText.h"
#include "settings/SettingsFile.h"
#include "text/HexFormat.h"

#include <commctrl.h>

#include <algorithm>

namespace orx {
namespace {

// An export is a few kilobytes; anything this large is not one.
constexpr std::uint64_t kMaxImportBytes = 64u << 20;

} // namespace

BookmarksController::BookmarksController(AppContext& context) : context_(context)
{}

BookmarksController::~BookmarksController()
{
    context_.document.SetEditListener(nullptr);
    if (session_) {
        context_.view.Model().RemoveMarks(&session_->Regions());
    }
}

void BookmarksController::Attach()
{
    session_.emplace(BookmarkStore(BookmarksPathBeside(context_.environment.settingsPath)));
    context_.document.SetEditListener(this);
    context_.view.Model().AddMarks(&session_->Regions());
}

const RegionList& BookmarksController::Regions() const
{
    static const RegionList none;
    return session_ ? session_->Regions() : none;
}

DocumentState BookmarksController::State() const
{
    const EditableDocument& document = context_.document;
    DocumentState state;
    state.open = document.IsOpen();
    if (state.open) {
        state.path = AbsolutePath(document.Path(), platform::SystemFileSystem().CurrentDirectory());
        if (const auto& stamp = document.File().OpenedStamp()) {
            state.identity = {stamp->size, stamp->lastWrite};
        }
        state.size = document.Size();
        state.modified = document.IsModified();
    }
    return state;
}

void BookmarksController::FileChanged()
{
    if (!session_) {
        return;
    }
    const SessionNews news = session_->FileChanged(State());
    Show(true);
    Report(news);
}

void BookmarksController::Inserted(std::uint64_t offset, std::uint64_t count)
{
    // Inside the view's edit: the rows from the edit on repaint anyway, so only the panel
    // follows here.
    Report(session_->Inserted(State(), offset, count));
    Show(false);
}

void BookmarksController::Deleted(std::uint64_t offset, std::uint64_t count)
{
    Report(session_->Deleted(State(), offset, count));
    Show(false);
}

void BookmarksController::Report(const SessionNews& news)
{
    const std::u16string storePath = session_->Store().Path();
    if (news.storeTrouble == BookmarksRead::Status::Damaged && !news.keptAs.empty()) {
        context_.events.ShowError(FillIn(Text("bookmarks.error.damaged"), u"path", news.keptAs));
    } else if (news.storeTrouble) {
        context_.events.ShowError(FillIn(Text("bookmarks.error.unreadable"), u"path", storePath));
    } else if (news.writeFailed && !std::exchange(writeFailureShown_, true)) {
        context_.events.ShowError(FillIn(Text("bookmarks.error.write"), u"path", storePath));
    }
    if (news.removed > 0) {
        context_.events.Flash("status.bookmark_removed");
    } else if (news.fileChangedSince) {
        context_.events.Flash("status.bookmark_changed_file");
    }
}

void BookmarksController::Show(bool repaintView)
{
    if (repaintView) {
        HexView& view = context_.view;
        view.Apply(view.Model().MarksChanged());
    }
    panel_.SetCount(Regions().Count());
    panel_.SetCaption(
        FillIn(Text("bookmarks.caption"), u"count", GroupedDecimal(Regions().Count())));
    panel_.RefreshRows();
}

std::optional<std::pair<std::u16string, RegionColour>>
BookmarksController::AskNoteAndColour(const std::u16string& title, const Region& initial,
                                      bool withNote)
{
    win::PromptChoice colours;
    colours.label = Text("bookmarks.dialog.colour");
    for (const char* key : kRegionColourKeys) {
        colours.items.push_back(Text(key));
    }
    colours.selected = static_cast<std::size_t>(initial.colour);
    const std::optional<win::PromptAnswer> answer = win::PromptDialog::Run(
        context_.Host(), title, Text("bookmarks.dialog.note"), initial.note, colours);
    if (!answer) {
        return std::nullopt;
    }
    const auto colour = static_cast<RegionColour>(answer->choice % kRegionColourCount);
    return std::pair{withNote ? answer->text : initial.note, colour};
}

void BookmarksController::Add()
{
    const HexViewModel& view = context_.view.Model();
    const std::uint64_t size = context_.document.Size();
    if (!session_ || !context_.document.IsOpen() || size == 0) {
        return;
    }
    const std::uint64_t first =
        view.HasSelection() ? view.SelectionLow() : std::min(view.CaretOffset(), size - 1);
    const std::uint64_t last = view.HasSelection() ? view.SelectionHigh() : first;
    std::u16string title = FillIn(Text("bookmarks.dialog.add"), u"first", u"0x" + UpperHex(first));
    title = FillIn(std::move(title), u"last", u"0x" + UpperHex(last));
    const auto answer = AskNoteAndColour(title, {first, last - first + 1, lastColour_, {}}, true);
    if (!answer) {
        return;
    }
    lastColour_ = answer->second;
    Report(session_->Add(State(), {first, last - first + 1, answer->second, answer->first}));
    Show(true);
}

std::optional<std::size_t> BookmarksController::AtCaret()
{
    const std::optional<std::size_t> index =
        session_ ? Regions().At(context_.view.Model().CaretOffset()) : std::nullopt;
    if (!index) {
        context_.events.Flash("status.bookmark_none");
    }
    return index;
}

void BookmarksController::Rename()
{
    const std::optional<std::size_t> index = AtCaret();
    if (!index) {
        return;
    }
    const Region region = Regions().Items()[*index];
    const std::optional<std::u16string> note =
        win::PromptDialog::Run(context_.Host(), Text("bookmarks.dialog.rename"),
                               Text("bookmarks.dialog.note"), region.note);
    if (note) {
        Report(session_->Rename(State(), *index, *note));
        Show(false);
    }
}

void BookmarksController::Recolour()
{
    const std::optional<std::size_t> index = AtCaret();
    if (!index) {
        return;
    }
    const Region region = Regions().Items()[*index];
    if (const auto answer = AskNoteAndColour(Text("bookmarks.dialog.recolour"), region, false)) {
        lastColour_ = answer->second;
        Report(session_->Recolour(State(), *index, answer->second));
        Show(true);
    }
}

void BookmarksController::Remove()
{
    if (const std::optional<std::size_t> index = AtCaret()) {
        const std::uint64_t row = *index;
        RemoveRows({&row, 1});
    }
}

void BookmarksController::RemoveRows(std::span<const std::uint64_t> rows)
{
    std::vector<std::uint64_t> sorted(rows.begin(), rows.end());
    std::sort(sorted.rbegin(), sorted.rend()); // from the back, so the others keep their index
    for (const std::uint64_t row : sorted) {
        Report(session_->Remove(State(), static_cast<std::size_t>(row)));
    }
    if (panel_.List() != nullptr) {
        ListView_SetItemState(panel_.List(), -1, 0, LVIS_SELECTED);
    }
    Show(true);
}

void BookmarksController::Step(bool forward)
{
    if (!session_) {
        return;
    }
    const std::uint64_t caret = context_.view.Model().CaretOffset();
    const std::optional<std::size_t> index =
        forward ? Regions().Next(caret) : Regions().Previous(caret);
    if (!index) {
        context_.events.Flash(forward ? "status.bookmark_none_next"
                                      : "status.bookmark_none_previous");
        return;
    }
    GoTo(*index);
}

void BookmarksController::GoTo(std::size_t index)
{
    if (index >= Regions().Count()) {
        return;
    }
    const Region& region = Regions().Items()[index];
    HexView& view = context_.view;
    view.Apply(view.Model().ShowRange(region.offset, region.offset + region.length - 1));
    context_.events.Changed(Change::Caret);
}

void BookmarksController::Export()
{
    if (!session_ || !context_.document.IsOpen()) {
        return;
    }
    const std::u16string name =
        platform::FileNameOfPath(context_.document.Path()) + u".regions.json";
    const auto path =
        context_.environment.chooseSaveFile(context_.window, Text("bookmarks.export_title"), name);
    if (path && !ReplaceFileContents(*path, SerializeRegions(Regions().Items()))) {
        context_.events.ShowError(FillIn(Text("bookmarks.error.write"), u"path", *path));
    }
}

void BookmarksController::Import()
{
    if (!session_ || !context_.document.IsOpen()) {
        return;
    }
    const auto path =
        context_.environment.chooseFile(context_.window, Text("bookmarks.import_title"));
    if (!path) {
        return;
    }
    const std::optional<std::string> text = ReadFileBytes(*path, kMaxImportBytes);
    std::optional<std::vector<Region>> imported = text ? ParseRegions(*text) : std::nullopt;
    if (!imported) {
        context_.events.ShowError(FillIn(Text("bookmarks.error.import"), u"path", *path));
        return;
    }
    // Added to the regions there are; one already there is not doubled.
    std::vector<Region> regions = Regions().Items();
    for (Region& region : *imported) {
        if (std::find(regions.begin(), regions.end(), region) == regions.end()) {
            regions.push_back(std::move(region));
        }
    }
    Report(session_->Replace(State(), std::move(regions)));
    Show(true);
}

void BookmarksController::TogglePanel()
{
    if (panel_.Window() != nullptr) {
        panel_.Destroy();
        SetFocus(context_.view.Window());
        context_.events.LayoutChanged();
        context_.events.Changed(Change::Commands);
        return;
    }
    win::ListPanel::Actions actions;
    actions.row = [this](std::uint64_t index) { return RowCells(index); };
    actions.activate = [this](std::uint64_t index) { GoTo(static_cast<std::size_t>(index)); };
    actions.remove = [this](std::span<const std::uint64_t> rows) { RemoveRows(rows); };
    actions.escape = [this] { SetFocus(context_.view.Window()); };
    actions.button = [this](int) { TogglePanel(); };
    if (panel_.Create(context_.window,
                      {.className = kPanelClassName,
                       .listId = kList,
                       .columnWidths = {150, 110, 110, 420},
                       .buttonIds = {kClose},
                       .height = 180},
                      std::move(actions))) {
        panel_.SetTheme(context_.view.Model().CurrentTheme());
        RefreshTexts();
        context_.events.LayoutChanged();
    }
    context_.events.Changed(Change::Commands);
}

void BookmarksController::RefreshTexts()
{
    const std::u16string columns[] = {
        Text("bookmarks.column.offset"), Text("bookmarks.column.length"),
        Text("bookmarks.column.colour"), Text("bookmarks.column.note")};
    const std::u16string buttons[] = {Text("dialog.common.close")};
    panel_.SetTexts(columns, buttons);
    Show(false);
}

std::vector<std::u16string> BookmarksController::RowCells(std::uint64_t index) const
{
    if (index >= Regions().Count()) {
        return {};
    }
    const Region& region = Regions().Items()[index];
    return {u"0x" + UpperHex(region.offset, 8), GroupedDecimal(region.length),
            Text(kRegionColourKeys[static_cast<std::size_t>(region.colour) % kRegionColourCount]),
            region.note};
}

} // namespace orx
