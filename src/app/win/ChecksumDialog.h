#pragma once

#include "app/ChecksumReport.h"
#include "localization/StringLookup.h"
#include "app/win/ModalDialog.h"
#include "app/win/WindowJob.h"
#include "checksum/ChecksumEngine.h"
#include "ui/win/BaseWindow.h"
#include "ui/win/WinHandles.h"

#include "ui/WindowMessages.h"

#include <windows.h>

#include <optional>

namespace orx::win {

// "Orlin.ChecksumDialog": the checksums and hashes of a range of the document. It opens at
// once and computes on a worker (WindowJob) while showing the range, its length and the
// progress; then each algorithm's value in a read-only box that can be selected and copied,
// and Copy All puts every value on the clipboard as "NAME  VALUE" lines. While it computes,
// Cancel, Escape and the close box stop the computation, which leaves no value shown; once
// it has ended they close the dialog. The document must stay unchanged while it runs: the
// dialog is modal, so nothing can edit it.
class ChecksumDialog final : public BaseWindow<ChecksumDialog> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.ChecksumDialog";
    enum ControlId : int {
        kRangeLabel = 3401,
        kRangeText = 3402,
        kLengthLabel = 3403,
        kLengthText = 3404,
        kProgress = 3405,
        kStatus = 3406,
        kCopyAll = 3407,
        kNameFirst = 3410,  // 3410..3415: the algorithms' names, in kAllDigestAlgorithms order
        kValueFirst = 3420, // 3420..3425: their values
        kClose = IDCANCEL,
    };
    // Runs the dialog until it is closed. `selection` tells whether the range is the
    // selection (or the whole document).
    static void Run(const DialogHost& host, const StringLookup& lookup,
                    const IReadOnlyDocument& document, ChecksumRange range, bool selection);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    ChecksumDialog(const StringLookup& lookup, const IReadOnlyDocument& document,
                   ChecksumRange range, bool selection);
    void OnCreate();
    void OnNews();
    void OnCancelOrClose();
    void CopyAll();
    void Refresh();

    const StringLookup& lookup_;
    const IReadOnlyDocument& document_;
    ChecksumDialogState state_;
    bool done_ = false;
    FontHandle valueFont_;
    // Last: its thread stops before the state and the document reference go.
    WindowJob<ChecksumOutcome> job_{kMsgChecksumNews};
};

} // namespace orx::win
