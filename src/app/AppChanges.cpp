#include "app/AppChanges.h"

namespace orx {

Refreshes RefreshesFor(Change changes, bool startupFinished)
{
    Refreshes r;
    r.title = Any(changes, Change::Bytes | Change::File | Change::Language);
    r.status = changes != Change::None;
    if (!startupFinished) {
        return r; // the menu and the side windows are brought up to date when it finishes
    }
    r.menu = Any(changes, Change::File | Change::Mode | Change::Busy | Change::Language |
                              Change::Theme | Change::Commands);
    r.sideWindowTexts = Any(changes, Change::Language);
    r.sideWindowTheme = Any(changes, Change::Theme);
    r.sideWindows = Any(changes, Change::Bytes | Change::Caret | Change::File | Change::Language |
                                     Change::Theme);
    return r;
}

} // namespace orx
