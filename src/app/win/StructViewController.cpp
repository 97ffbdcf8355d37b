#include "app/win/StructViewController.h"

#include "platform/PathText.h"
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "settings/AppSettings.h"
#include "structview/StructRead.h"
#include "ui/win/StartupClock.h"

namespace orx {
namespace {

// Whether `window` is the foreground window or holds the focus, itself or in a child.
bool HoldsUserAttention(HWND window)
{
    if (window == nullptr) {
        return false;
    }
    HWND focus = GetFocus();
    return GetForegroundWindow() == window || focus == window ||
           (focus != nullptr && IsChild(window, focus));
}

void BringBack(HWND window)
{
    SetActiveWindow(window);
    SetForegroundWindow(window);
    SetFocus(window);
}

} // namespace

void StructViewController::StartWorker()
{
    worker_.Start([memory = StructWorkerMemory()](const StructRowsJob& job) mutable {
        return BuildStructRows(job, memory);
    });
}

void StructViewController::Stop()
{
    ClearFieldMark();
    window_.Destroy();
    worker_.Stop();
}

bool StructViewController::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kMsgStructViewClosed: SetVisible(false); return true;
    case kMsgStructOpenPattern: OpenPatternDialog(); return true;
    case kMsgStructResult: OnResult(lParam); return true;
    case kMsgStructClosePattern: ClosePattern(); return true;
    case kMsgStructReloadPattern: ReloadPattern(); return true;
    case kMsgStructValueFormat: ChooseValueFormat(wParam); return true;
    case kMsgStructRowSelected: MarkSelectedRow(); return true;
    case kMsgStructGoToRow: GoToSelectedRow(); return true;
    case kMsgStructApplyLibrary: ApplyLibraryPattern(wParam, std::nullopt); return true;
    case kMsgStructApplyOffer:
        if (offer_.any) {
            ApplyLibraryPattern(offer_.pattern, offer_.offset);
        }
        return true;
    case kMsgStructAutoApply: ToggleAutoApply(); return true;
    default: return false;
    }
}

StructViewTexts StructViewController::Texts() const
{
    return LoadStructViewTexts(context_.Lookup());
}

std::u16string StructViewController::Caption() const
{
    return PlacementCaption(fileName_, placement_, context_.Text(kPlacementAtKey));
}

void StructViewController::SetVisible(bool visible)
{
    StoreSideWindowVisible(context_, &AppSettings::structViewVisible, visible);
    if (!visible) {
        ClearFieldMark();
        window_.Destroy();
        return;
    }
    EnsureWindow();
    ApplyTexts();
    stayingRequest_.reset();
    group_.Place();
    RefreshRows();
    RequestUpdate();
}

void StructViewController::ShowIfOn()
{
    if (context_.settings.structViewVisible) {
        SetVisible(true);
    }
}

void StructViewController::EnsureWindow()
{
    if (!group_.MayCreate() || window_.Window() != nullptr) {
        return;
    }
    if (window_.Create(context_.window, context_.instance, Texts(), context_.settings.theme)) {
        win::MarkStartup(&context_.startup.trace, "struct view created");
        window_.SetOptions(context_.settings.structOptions);
        window_.SetStaying(placement_.stay);
        UpdateCommands();
        group_.Follow();
    }
}

SideWindowSpan StructViewController::Span() const
{
    // A side window that is on takes its room before it is made (at start-up it comes after
    // the first rows), so that the main window does not move when it appears. A maximised
    // struct view is the user's to place: the others do not make room for it.
    HWND view = window_.Window();
    const bool docked = context_.settings.structViewVisible && (view == nullptr || !IsZoomed(view));
    return {docked, window_.Width(), StructViewModel::kMinimumTrackWidth};
}

void StructViewController::ApplyTexts()
{
    if (window_.Window() != nullptr) {
        window_.SetTexts(Texts());
        window_.SetOptions(context_.settings.structOptions);
    }
}

void StructViewController::RefreshTexts()
{
    stayingRequest_.reset(); // the rows carry the language's texts
    ApplyTexts();
    ShowOffer();
    RefreshRows();
}

bool StructViewController::ReadyForRows()
{
    if (!context_.settings.structViewVisible) {
        return false;
    }
    EnsureWindow();
    if (window_.Window() == nullptr) {
        return false;
    }
    MatchOpenFile();
    if (!file_) {
        // A pattern that failed to load keeps its error on screen until Reload, Close or
        // Open: a caret move must not turn it into "no pattern loaded".
        if (error_.empty()) {
            window_.SetEmptyMessage(context_.Text("structview.empty.message"));
        } else {
            window_.ShowError(fileName_, error_);
        }
        return false;
    }
    return true;
}

void StructViewController::RefreshRows()
{
    if (!ReadyForRows()) {
        return;
    }
    std::u16string info = FormatStructInfo(*file_);
    const StructViewModel& shown = window_.Model();
    if (context_.document.IsOpen() && shown.State() == StructViewState::Table &&
        shown.FileName() == Caption() && shown.InfoText() == info) {
        // The same pattern's rows (after a format or language change): they stay, with the
        // selection and scroll position, until the worker's new rows replace them.
        return;
    }
    std::vector<StructViewRow> rows;
    if (!context_.document.IsOpen()) {
        // Nothing to read: the rows show at once, every value unavailable.
        rows = BuildStructRows(Request());
    }
    window_.SetContent(Caption(), std::move(rows), std::move(info));
}

StructRowsInput StructViewController::Request() const
{
    StructRowsInput request;
    request.baseOffset = StructBaseOffset(placement_, context_.view.Model().CaretOffset());
    request.file = file_;
    request.unavailableText = context_.Text("inspector.data.value.unavailable");
    request.options = context_.settings.structOptions;
    // The pattern's own byte order holds until the user picks one in this session.
    request.sessionEndian = endianChosen_;
    request.cutText = context_.Text("structview.row.cut");
    request.elementsText = context_.Text("structview.row.elements");
    request.moreText = context_.Text("structview.row.more");
    request.errorText = context_.Text("structview.error.prefix");
    return request;
}

std::pair<std::uint64_t, std::uint64_t> StructViewController::DocumentState() const
{
    return {context_.document.Revision(), context_.document.File().Generation()};
}

void StructViewController::RequestUpdate()
{
    if (!ReadyForRows()) {
        return;
    }
    if (placement_.stay) {
        FollowCaretInRows(false);
        // Looked at before the read: a staying pattern may read its whole window.
        const std::pair key{placement_.offset, context_.document.Revision()};
        if (stayingRequest_ == key) {
            return; // the same bytes at the same place: the rows shown hold
        }
        stayingRequest_ = key;
    }
    Submit();
}

void StructViewController::Submit()
{
    StructRowsJob job{Request(), {}};
    job.plan = context_.document.PlanRead(job.input.baseOffset, StructBytesToRead(*file_));
    // An evaluation of a whole window that a newer caret has made useless stops early. Asked
    // on the worker, which stops before this controller's members go.
    job.input.stopRequested = [this] { return worker_.Overtaken(); };
    submittedState_ = DocumentState();
    // While the caret runs (a held arrow key) a large read waits for it to rest, rather than
    // keeping a processor busy with windows nobody will see.
    const bool large = job.plan.Size() > kReadAtOnce;
    worker_.Submit(std::move(job), large ? kLargeReadSettle : std::chrono::milliseconds{});
}

void StructViewController::OnResult(LPARAM lParam)
{
    const auto result = decltype(worker_)::Receive(lParam);
    if (result == nullptr || !worker_.IsCurrent(result->number) || !ReadyForRows()) {
        return;
    }
    if (submittedState_ != DocumentState()) {
        // The file was opened anew (a save through a temporary file, a reload) while the
        // worker read it: its read may have stopped short.
        stayingRequest_.reset();
        RequestUpdate();
        return;
    }
    window_.SetContent(Caption(), std::move(result->value), FormatStructInfo(*file_));
    FollowCaretInRows(true);
    MarkSelectedRow(); // the selected row's bytes may lie elsewhere in the new rows
    group_.Follow();
}

void StructViewController::FollowCaretInRows(bool rowsChanged)
{
    if (!placement_.stay || window_.Window() == nullptr || !context_.document.IsOpen()) {
        return;
    }
    const std::uint64_t caret = context_.view.Model().CaretOffset();
    const bool caretMoved = caretSeen_ != caret;
    caretSeen_ = caret;
    const StructViewModel& model = window_.Model();
    const StructViewRow* selected = model.SelectedLocatedRow();
    if (selected != nullptr && caret >= selected->first &&
        caret - selected->first < selected->length) {
        return; // the selected member holds the caret already (a parent row, after Enter)
    }
    // A row the user picked stays picked until the caret moves; new rows only fill an
    // empty selection.
    if (caretMoved || (rowsChanged && selected == nullptr)) {
        const int row = RowHoldingOffset(model.Rows(), caret);
        if (row >= 0 || caretMoved) {
            window_.SelectRow(row);
        }
    }
}

void StructViewController::MarkSelectedRow()
{
    const StructViewRow* row =
        window_.Window() != nullptr && file_ ? window_.Model().SelectedLocatedRow() : nullptr;
    std::optional<MarkedRange> range;
    if (row != nullptr && context_.document.IsOpen()) {
        range = MarkedRange{row->first, row->length, MarkKind::Field};
    }
    SetFieldMark(range);
}

void StructViewController::ClearFieldMark()
{
    SetFieldMark(std::nullopt);
}

void StructViewController::SetFieldMark(std::optional<MarkedRange> range)
{
    const bool wasEmpty = fieldMark_.Empty();
    if (!fieldMark_.Set(range)) {
        return;
    }
    HexViewModel& view = context_.view.Model();
    if (wasEmpty) {
        view.AddMarks(&fieldMark_);
    } else if (fieldMark_.Empty()) {
        view.RemoveMarks(&fieldMark_);
    }
    context_.view.Apply(view.MarksChanged());
}

void StructViewController::GoToSelectedRow()
{
    const StructViewRow* row =
        window_.Window() != nullptr ? window_.Model().SelectedLocatedRow() : nullptr;
    if (row == nullptr || !context_.document.IsOpen() || row->first >= context_.document.Size()) {
        return;
    }
    HexViewModel& view = context_.view.Model();
    ViewEffects effects = view.SetCaret(row->first);
    effects.setFocus = false; // the keys stay with the rows
    context_.view.Apply(effects);
    context_.events.Changed(Change::Caret);
}

void StructViewController::MatchOpenFile()
{
    const std::u16string path = context_.document.IsOpen() ? context_.document.Path() : u"";
    if (library_ && path == matchedPath_) {
        return;
    }
    if (!library_) {
        const std::u16string folders[] = {context_.environment.baseDirectory + u"\\patterns"};
        library_ = ScanPatternFolders(folders);
    }
    matchedPath_ = path;
    matches_.clear();
    if (!path.empty()) {
        // The document's bytes, as the rows show them; the library says how far it looks.
        const std::uint64_t size = context_.document.Size();
        const std::vector<std::uint8_t> head =
            context_.document.Read(0, std::min<std::uint64_t>(size, library_->headBytes)).bytes;
        const std::uint64_t tailCount = std::min<std::uint64_t>(size, library_->tailBytes);
        const std::vector<std::uint8_t> tail =
            context_.document.Read(size - tailCount, tailCount).bytes;
        const std::u16string name = platform::FileNameOfPath(path);
        const std::size_t dot = name.rfind(u'.');
        const std::u16string extension = dot == std::u16string::npos ? u"" : name.substr(dot + 1);
        matches_ = MatchPatterns(*library_, FileSample{size, head, tail, extension});
    }
    ShowOffer();
    if (offer_.any && context_.settings.structApplyMatches && (!file_ || appliedByMatch_)) {
        ApplyLibraryPattern(offer_.pattern, offer_.offset);
    }
}

void StructViewController::ShowOffer()
{
    if (!library_) {
        return;
    }
    offer_ = MakePatternOffer(*library_, matches_, context_.Lookup());
    window_.SetOffer(offer_.button, offer_.others);
    window_.SetLibraryMenu(BuildLibraryMenu(*library_, matches_, context_.Lookup()),
                           context_.settings.structApplyMatches);
}

void StructViewController::ApplyLibraryPattern(std::size_t index,
                                               std::optional<std::uint64_t> offset)
{
    if (!library_ || index >= library_->patterns.size() || !CommandsAllowed()) {
        return;
    }
    if (!LoadPattern(library_->patterns[index].path)) {
        return;
    }
    appliedByMatch_ = offset.has_value();
    if (offset) {
        placement_ = StructPlacement{true, *offset};
        window_.SetStaying(true);
        stayingRequest_.reset();
        RefreshRows();
        RequestUpdate();
    }
}

void StructViewController::ToggleAutoApply()
{
    context_.settings.structApplyMatches = !context_.settings.structApplyMatches;
    context_.events.SettingsChanged();
    ShowOffer();
    if (context_.settings.structApplyMatches && offer_.any && !file_) {
        ApplyLibraryPattern(offer_.pattern, offer_.offset);
    }
}

bool StructViewController::LoadPattern(const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    auto loaded = std::make_shared<StructPatternFile>();
    std::u16string error;
    const bool ok = LoadStructPatternFile(path, *loaded, error);
    path_ = path; // kept on failure too, so that reload retries once the file is fixed
    fileName_ = platform::FileNameOfPath(path);
    error_ = ok ? std::u16string() : error;
    if (!ok) {
        file_.reset();
        ClearFieldMark();
        worker_.DropPending();
        EnsureWindow();
        window_.ShowError(fileName_, error);
        return false;
    }
    file_ = std::move(loaded);
    appliedByMatch_ = false;
    placement_ = InitialPlacement(*file_);
    window_.SetStaying(placement_.stay);
    stayingRequest_.reset();
    caretSeen_.reset();
    context_.events.Changed(Change::Commands);
    RefreshRows();
    RequestUpdate();
    return true;
}

bool StructViewController::CommandsAllowed() const
{
    return !context_.events.Busy() && context_.window != nullptr &&
           IsWindowEnabled(context_.window);
}

void StructViewController::OpenPatternDialog()
{
    if (!CommandsAllowed()) {
        return;
    }
    const bool fromView = HoldsUserAttention(window_.Window());
    HWND owner = fromView ? window_.Window() : context_.window;
    // Beside the executable, where the shipped patterns are.
    const std::u16string directory = context_.environment.baseDirectory + u"\\patterns";
    // The file dialog disables only its owner. The main window goes too, as under every
    // other modal dialog, so that nothing can switch the view off under its own dialog or
    // end the editor meanwhile.
    const bool disableMain = owner != context_.window;
    if (disableMain) {
        EnableWindow(context_.window, FALSE);
    }
    const auto path = context_.environment.choosePattern(
        owner, context_.Text("dialog.struct_definition.title"), directory);
    if (disableMain) {
        EnableWindow(context_.window, TRUE);
    }
    if (path) {
        (void)LoadPattern(*path); // a failure shows in the view
    }
    if (fromView && window_.Window() != nullptr) {
        BringBack(window_.Window());
    }
}

void StructViewController::ClosePattern()
{
    if (!CommandsAllowed()) {
        return;
    }
    file_.reset();
    placement_ = {};
    window_.SetStaying(false);
    stayingRequest_.reset();
    ClearFieldMark();
    path_.clear();
    fileName_.clear();
    error_.clear();
    worker_.DropPending();
    (void)ReadyForRows(); // shows the empty message
}

void StructViewController::ReloadPattern()
{
    if (path_.empty() || !CommandsAllowed()) {
        return;
    }
    const bool hadAttention = HoldsUserAttention(window_.Window());
    const std::u16string path = path_; // loading replaces it
    (void)LoadPattern(path);
    if (hadAttention && window_.Window() != nullptr) {
        BringBack(window_.Window());
    }
}

void StructViewController::ChooseValueFormat(WPARAM choice)
{
    if (choice == kPlacementFollowChoice || choice == kPlacementStayChoice) {
        ChoosePlacement(choice == kPlacementStayChoice);
        return;
    }
    const bool changed = ApplyStructValueFormat(context_.settings.structOptions, choice);
    // Choosing a byte order, even the one shown, overrides the pattern's for the session.
    const bool firstEndianChoice =
        !endianChosen_ && (choice == kEndianLittleChoice || choice == kEndianBigChoice);
    if (!changed && !firstEndianChoice) {
        return;
    }
    endianChosen_ = endianChosen_ || firstEndianChoice;
    stayingRequest_.reset();
    context_.events.SettingsChanged();
    if (window_.Window() != nullptr) {
        window_.SetOptions(context_.settings.structOptions);
    }
    RefreshRows();
    RequestUpdate();
}

void StructViewController::ChoosePlacement(bool stay)
{
    if (!file_ || placement_.stay == stay) {
        return;
    }
    placement_ = TogglePlacement(placement_, context_.view.Model().CaretOffset());
    window_.SetStaying(placement_.stay);
    stayingRequest_.reset();
    caretSeen_.reset();
    RefreshRows();
    RequestUpdate();
}

} // namespace orx
