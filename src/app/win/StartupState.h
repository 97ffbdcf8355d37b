#pragma once

#include "ui/StartupTrace.h"

namespace orx {

// What the main window's start-up keeps until the first rows are on screen: everything the
// rows do not need waits for them.
struct StartupState {
    StartupTrace trace;
    bool finished = false;     // the side windows are created once it is
    bool settingsOwed = false; // a settings write asked for meanwhile
    bool menuOwed = false;     // a menu bar rebuild (the recent files) asked for meanwhile
};

} // namespace orx
