#include "app/win/FileOnDiskWatch.h"

#include "ui/TimerIds.h"

namespace orx {
namespace {

// Set while a question about the file is up: the checks that the box's own message loop
// dispatches wait until it is answered, so that no second box opens over it.
class QuestionScope {
public:
    explicit QuestionScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~QuestionScope() { flag_ = false; }
    QuestionScope(const QuestionScope&) = delete;
    QuestionScope& operator=(const QuestionScope&) = delete;

private:
    bool& flag_;
};

} // namespace

void FileOnDiskWatch::OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        KillTimer(host_.window, kTimerFileCheck);
        return;
    }
    SetTimer(host_.window, kTimerFileCheck, kExternalCheckMilliseconds, nullptr);
    // A box shown from inside the activation would fight it: posted, the check comes after.
    PostMessageW(host_.window, kMsgCheckFileOnDisk, 0, 0);
}

bool FileOnDiskWatch::OnTimer(UINT_PTR id, bool busy)
{
    if (id == kTimerFileCheck) {
        Check(busy);
        return true;
    }
    if (id == kTimerReloadNotice) {
        KillTimer(host_.window, kTimerReloadNotice);
        reloadedGeneration_.reset();
        host_.refresh();
        return true;
    }
    return false;
}

void FileOnDiskWatch::Stop()
{
    KillTimer(host_.window, kTimerFileCheck);
    KillTimer(host_.window, kTimerReloadNotice);
}

void FileOnDiskWatch::Check(bool busy)
{
    // Not while a save (which changes the file itself) or a search reads the document, while
    // a question is up, or while a modal window has disabled the main window.
    EditableDocument* document = host_.document;
    if (busy || questionOpen_ || document == nullptr || !document->IsOpen() ||
        !IsWindowEnabled(host_.window)) {
        return;
    }
    const FileChange change = document->CheckFile();
    if ((change == FileChange::Changed || change == FileChange::Shortened) &&
        document->IsModified()) {
        ShowCurrentBytes(); // before any question, behind it
    }
    switch (watch_.Decide(document->File().Generation(), change, document->IsModified())) {
    case ExternalAction::None: break;
    case ExternalAction::Reload: Reload(); break;
    case ExternalAction::AskReload: {
        const QuestionScope question(questionOpen_);
        const int answer =
            host_.messageBox(host_.window, Question(change, "external.reload_question"),
                             host_.text("app.title"), MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON2);
        if (answer == IDYES) {
            Reload();
        } else {
            host_.refresh(); // a deletion shown before may be over
        }
        break;
    }
    case ExternalAction::ShowDeleted:
    case ExternalAction::ShowPresent: host_.refresh(); break;
    }
}

void FileOnDiskWatch::ShowCurrentBytes()
{
    // The document reads the file through its handle, so another program's writes into it
    // show between the edits; rows painted before would hide what a save would now write.
    host_.view->Apply(host_.view->Model().RepaintAll());
}

void FileOnDiskWatch::Reload()
{
    if (!host_.document->Reload()) {
        return; // unreadable now (another program may hold it): the next check tries again
    }
    host_.view->Apply(host_.view->Model().DocumentReplaced());
    reloadedGeneration_ = host_.document->File().Generation();
    SetTimer(host_.window, kTimerReloadNotice, kNoticeMilliseconds, nullptr);
    host_.refresh();
}

std::optional<SaveMode> FileOnDiskWatch::SaveModeFor(FileChange change)
{
    // Unchanged, or changed with nothing to write into the same file: the usual save.
    if (change == FileChange::None || (!host_.document->IsModified() && !LostIdentity(change))) {
        return SaveMode::Checked;
    }
    ShowCurrentBytes();
    const QuestionScope question(questionOpen_);
    const int answer =
        host_.messageBox(host_.window, Question(change, ExternalSaveQuestionKey(change)),
                         host_.text("app.title"), MB_ICONWARNING | MB_OKCANCEL | MB_DEFBUTTON2);
    if (answer != IDOK) {
        return std::nullopt;
    }
    return SaveMode::Anyway;
}

std::u16string FileOnDiskWatch::Question(FileChange change, std::string_view questionKey) const
{
    std::u16string text = host_.document->Path();
    text += u"\r\n\r\n";
    text += host_.text(ExternalChangeTextKey(change));
    text += u"\r\n\r\n";
    text += host_.text(questionKey);
    return text;
}

bool FileOnDiskWatch::FileDeleted() const
{
    const EditableDocument* document = host_.document;
    return document != nullptr && document->IsOpen() &&
           watch_.ShownDeleted(document->File().Generation());
}

std::u16string FileOnDiskWatch::Notice() const
{
    if (FileDeleted()) {
        return host_.text("status.file_deleted");
    }
    const EditableDocument* document = host_.document;
    if (document != nullptr && document->IsOpen() &&
        reloadedGeneration_ == document->File().Generation()) {
        return host_.text("status.reloaded");
    }
    return {};
}

} // namespace orx
