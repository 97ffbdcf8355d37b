#pragma once

#include "app/win/AppContext.h"

namespace orx {

// The main window's modal dialogs that act on the view: Go to, Font, About, and Checksums
// and Hashes.
class DialogCommands {
public:
    explicit DialogCommands(AppContext& context) : context_(context) {}

    void GoTo();
    void ChooseFont();
    void ShowAbout();
    // The checksums of the selection, or of the whole document without one.
    void ShowChecksums();

private:
    AppContext& context_;
};

} // namespace orx
