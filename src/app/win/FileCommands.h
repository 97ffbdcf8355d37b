#pragma once

#include "app/win/AppContext.h"
#include "app/win/BusyTask.h"
#include "app/win/FileOnDiskWatch.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace orx {

// The open file: Open, Close, Save, the recent files, dropped files, a second instance, the
// question before unsaved edits go, and what other programs do to the file meanwhile.
class FileCommands {
public:
    FileCommands(AppContext& context, BusyIndicator& busy) : context_(context), busy_(busy) {}

    // The main window exists: the watch of the file on disk starts.
    void Attach();
    [[nodiscard]] bool Open(const std::u16string& path);
    void ChooseAndOpen();
    void OpenRecent(std::size_t index);
    void Close();
    [[nodiscard]] bool Save();
    // True when the document may go: no unsaved edits, or the user saved or discarded them.
    [[nodiscard]] bool ConfirmSaveChanges();
    [[nodiscard]] bool OpenInNewInstance(const std::u16string& path);
    // WM_DROPFILES: the first file opens here when none is open, every other one in a new
    // instance; nothing replaces the open document.
    void OnDrop(HDROP drop);
    [[nodiscard]] FileOnDiskWatch& OnDisk() { return onDisk_; }
    [[nodiscard]] const FileOnDiskWatch& OnDisk() const { return onDisk_; }

private:
    AppContext& context_;
    BusyIndicator& busy_;
    FileOnDiskWatch onDisk_;
};

} // namespace orx
