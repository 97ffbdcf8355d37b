#pragma once

#include <cstdint>
#include <utility>

namespace orx {

// What can change in the main window's world. A controller marks what it changed; once per
// dispatched message the main window brings every surface that shows it up to date.
enum class Change : std::uint32_t {
    None = 0,
    Bytes = 1u << 0,    // the document's bytes (an edit, a reload)
    Caret = 1u << 1,    // the caret or the selection
    File = 1u << 2,     // a file opened, closed, saved, deleted or renamed on disk
    Mode = 1u << 3,     // read-only, insert or overwrite, the encoding, the zoom
    Busy = 1u << 4,     // a save or a search started, progressed or ended
    Language = 1u << 5, // the strings of the user interface
    Theme = 1u << 6,    // the colours
    Commands = 1u << 7, // what the menu offers (the recent files, a side window, a pattern)
    Message = 1u << 8,  // a status text of its own (a flash, a notice, the hit count)
};

[[nodiscard]] constexpr Change operator|(Change a, Change b)
{
    return static_cast<Change>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}

[[nodiscard]] constexpr bool Any(Change set, Change of)
{
    return (static_cast<std::uint32_t>(set) & static_cast<std::uint32_t>(of)) != 0;
}

// The surfaces of the main window that follow the changes.
struct Refreshes {
    bool title = false;
    bool status = false;
    bool menu = false;
    bool sideWindows = false; // the values at the caret: the data inspector and the struct view
    bool sideWindowTexts = false;
    bool sideWindowTheme = false;
    friend bool operator==(const Refreshes&, const Refreshes&) = default;
};

// Which surfaces show what changed. Before the first rows are on screen only the title and
// the view's own paint count: the rest is owed and comes with `startupFinished`.
[[nodiscard]] Refreshes RefreshesFor(Change changes, bool startupFinished);

// The changes marked between two flushes. The owner flushes after every message it
// dispatches; a change marked elsewhere (a child window, a dialog's own message) asks for a
// flush of its own, once until that request is served.
class PendingChanges {
public:
    // True when the owner must ask for a flush (post itself a message).
    [[nodiscard]] bool Mark(Change change)
    {
        pending_ = pending_ | change;
        return !std::exchange(flushRequested_, true);
    }
    // The asked-for flush came.
    void RequestServed() { flushRequested_ = false; }
    // Everything marked since the last take, and nothing left.
    [[nodiscard]] Change Take() { return std::exchange(pending_, Change::None); }
    [[nodiscard]] bool Empty() const { return pending_ == Change::None; }

private:
    Change pending_ = Change::None;
    bool flushRequested_ = false;
};

} // namespace orx
