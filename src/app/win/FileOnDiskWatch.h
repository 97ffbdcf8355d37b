#pragma once

// The open file as other programs leave it: looked at when the main window is activated and
// on a timer while it is active; read anew in place when there are no unsaved edits, asked
// about once when there are; a deletion shown in the title and the status bar; and the
// question a save asks before it writes over another program's change.
#include "app/ExternalChanges.h"
#include "localization/StringLookup.h"
#include "app/win/AppEnvironment.h"
#include "document/EditableDocument.h"
#include "ui/WindowMessages.h"
#include "hexview/win/HexView.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orx {

class FileOnDiskWatch {
public:
    static constexpr UINT kNoticeMilliseconds = 5000;

    // What the watch uses of the main window.
    struct Host {
        HWND window = nullptr;
        EditableDocument* document = nullptr;
        HexView* view = nullptr;
        MessageBoxFunction messageBox;
        StringLookup text;
        std::function<void()> refresh; // title, status bar and side windows, after a change
    };

    void Attach(Host host) { host_ = std::move(host); }

    // WM_ACTIVATE: a check once the activation is done, and the timer while active.
    void OnActivate(WPARAM wParam);
    // WM_TIMER: true when the timer was the watch's. `busy`: a save or a search runs.
    bool OnTimer(UINT_PTR id, bool busy);
    // Looks at the file and reloads, asks or shows a deletion.
    void Check(bool busy);
    // Before a save over `change`: asks when it would write over another program's change;
    // nothing when the user cancels.
    [[nodiscard]] std::optional<SaveMode> SaveModeFor(FileChange change);
    void Stop();

    // The file has lost its name, and the title says so.
    [[nodiscard]] bool FileDeleted() const;
    // What the status bar says of the file on disk; empty: nothing.
    [[nodiscard]] std::u16string Notice() const;

private:
    void Reload();
    void ShowCurrentBytes();
    [[nodiscard]] std::u16string Question(FileChange change, std::string_view questionKey) const;

    Host host_;
    ExternalChangeWatch watch_;
    bool questionOpen_ = false;
    std::optional<std::uint64_t> reloadedGeneration_; // the "reloaded" notice is about it
};

} // namespace orx
