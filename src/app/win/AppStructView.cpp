// The struct view beside the main window: loading patterns, the requests to its worker and
// the messages its window sends.
#include "app/win/AppWindow.h"

#include "structview/StructRead.h"
#include "ui/win/StartupClock.h"

namespace orx {
namespace {

// The last path component: the text after the last backslash or slash.
std::u16string FileNameOf(const std::u16string& path)
{
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

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

StructViewTexts AppWindow::StructTexts()
{
    return LoadStructViewTexts([this](std::string_view key) { return Text(key); });
}

void AppWindow::SetStructViewVisible(bool visible)
{
    SetSideWindowVisible(&AppSettings::structViewVisible, visible);
    if (!visible) {
        structView_.Destroy();
        return;
    }
    EnsureStructViewWindow();
    RefreshStructViewTexts();
    PlaceWindowGroup();
    RefreshStructView();
    RequestStructViewUpdate();
}

void AppWindow::EnsureStructViewWindow()
{
    if (window_ == nullptr || structView_.Window() != nullptr || !startup_.finished) {
        return;
    }
    if (structView_.Create(window_, instance_, StructTexts(), settings_.theme)) {
        win::MarkStartup(&startup_.trace, "struct view created");
        structView_.SetOptions(settings_.structOptions);
        structView_.SetCommandsEnabled(PatternCommandsAllowed());
        PositionSideWindows();
    }
}

void AppWindow::RefreshStructViewTexts()
{
    if (structView_.Window() == nullptr) {
        return;
    }
    structView_.SetTexts(StructTexts());
    structView_.SetOptions(settings_.structOptions);
}

bool AppWindow::StructViewReadyForRows()
{
    if (!settings_.structViewVisible) {
        return false;
    }
    EnsureStructViewWindow();
    if (structView_.Window() == nullptr) {
        return false;
    }
    if (!patternFile_) {
        // A pattern that failed to load keeps its error on screen until Reload, Close or
        // Open: a caret move must not turn it into "no pattern loaded".
        if (patternError_.empty()) {
            structView_.SetEmptyMessage(Text("structview.empty.message"));
        } else {
            structView_.ShowError(patternFileName_, patternError_);
        }
        return false;
    }
    return true;
}

void AppWindow::RefreshStructView()
{
    if (!StructViewReadyForRows()) {
        return;
    }
    std::u16string info = FormatStructInfo(*patternFile_);
    const StructViewModel& shown = structView_.Model();
    if (document_.IsOpen() && shown.State() == StructViewState::Table &&
        shown.FileName() == patternFileName_ && shown.InfoText() == info) {
        // The same pattern's rows (after a format or language change): they stay, with the
        // selection and scroll position, until the worker's new rows replace them.
        return;
    }
    std::vector<StructViewRow> rows;
    if (!document_.IsOpen()) {
        // Nothing to read: the rows show at once, every value unavailable.
        rows = BuildStructRows(StructRequest());
    }
    structView_.SetContent(patternFileName_, std::move(rows), std::move(info));
}

StructRowsInput AppWindow::StructRequest()
{
    StructRowsInput request;
    request.baseOffset = hexView_.Model().CaretOffset();
    request.file = patternFile_;
    request.unavailableText = Text("inspector.data.value.unavailable");
    request.options = settings_.structOptions;
    if (patternFile_) {
        request.bytes = ReadStructBytes(document_, request.baseOffset, *patternFile_);
    }
    return request;
}

void AppWindow::RequestStructViewUpdate()
{
    if (StructViewReadyForRows()) {
        structWorker_.Submit(StructRequest());
    }
}

void AppWindow::OnStructResult(LPARAM lParam)
{
    const auto result = decltype(structWorker_)::Receive(lParam);
    if (result == nullptr || !structWorker_.IsCurrent(result->number)) {
        return; // stale: a newer request is on its way
    }
    if (StructViewReadyForRows()) {
        structView_.SetContent(patternFileName_, std::move(result->value),
                               FormatStructInfo(*patternFile_));
        PositionSideWindows();
    }
}

bool AppWindow::LoadPatternIntoView(const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    auto loaded = std::make_shared<StructPatternFile>();
    std::u16string error;
    const bool ok = LoadStructPatternFile(path, *loaded, error);
    patternPath_ = path; // kept on failure too, so that reload retries once the file is fixed
    patternFileName_ = FileNameOf(path);
    patternError_ = ok ? std::u16string() : error;
    if (!ok) {
        patternFile_.reset();
        structWorker_.DropPending();
        EnsureStructViewWindow();
        structView_.ShowError(patternFileName_, error);
        return false;
    }
    patternFile_ = std::move(loaded);
    RebuildMenu();
    RefreshStructView();
    RequestStructViewUpdate();
    return true;
}

bool AppWindow::PatternCommandsAllowed() const
{
    return !busy_ && window_ != nullptr && IsWindowEnabled(window_);
}

void AppWindow::UpdatePatternCommands()
{
    structView_.SetCommandsEnabled(PatternCommandsAllowed());
}

void AppWindow::OpenPatternDialog()
{
    if (!PatternCommandsAllowed()) {
        return;
    }
    const bool fromView = HoldsUserAttention(structView_.Window());
    HWND owner = fromView ? structView_.Window() : window_;
    // Beside the executable, where the shipped patterns are.
    const std::u16string directory = environment_.baseDirectory + u"\\patterns";
    // The file dialog disables only its owner. The main window goes too, as under every
    // other modal dialog, so that nothing can switch the view off under its own dialog or
    // end the editor meanwhile.
    const bool disableMain = owner != window_;
    if (disableMain) {
        EnableWindow(window_, FALSE);
    }
    const auto path =
        environment_.choosePattern(owner, Text("dialog.struct_definition.title"), directory);
    if (disableMain) {
        EnableWindow(window_, TRUE);
    }
    if (path) {
        (void)LoadPatternIntoView(*path); // a failure shows in the view
    }
    if (fromView && structView_.Window() != nullptr) {
        BringBack(structView_.Window());
    }
}

void AppWindow::ClosePattern()
{
    if (!PatternCommandsAllowed()) {
        return;
    }
    patternFile_.reset();
    patternPath_.clear();
    patternFileName_.clear();
    patternError_.clear();
    structWorker_.DropPending();
    (void)StructViewReadyForRows(); // shows the empty message
}

void AppWindow::ReloadPattern()
{
    if (patternPath_.empty() || !PatternCommandsAllowed()) {
        return;
    }
    const bool hadAttention = HoldsUserAttention(structView_.Window());
    const std::u16string path = patternPath_; // loading replaces it
    (void)LoadPatternIntoView(path);
    if (hadAttention && structView_.Window() != nullptr) {
        BringBack(structView_.Window());
    }
}

void AppWindow::ChooseStructValueFormat(WPARAM choice)
{
    if (!ApplyStructValueFormat(settings_.structOptions, choice)) {
        return;
    }
    StampAndSaveSettings();
    if (structView_.Window() != nullptr) {
        structView_.SetOptions(settings_.structOptions);
    }
    RefreshStructView();
    RequestStructViewUpdate();
}

} // namespace orx
