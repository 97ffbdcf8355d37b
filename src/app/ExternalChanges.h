#pragma once

// What the main window does when another program changes, replaces or deletes the open file:
// the decisions, apart from the window that carries them out.
#include "document/FileChange.h"

#include <cstdint>
#include <string_view>

namespace orx {

// The main window's answer to one check of the file (on activation and on the check timer).
enum class ExternalAction {
    None,        // nothing new to show
    Reload,      // no unsaved edits: read the file anew in place
    AskReload,   // unsaved edits, told once: reload (discarding them) or keep editing
    ShowDeleted, // the file has no name any more: the title and the status bar say so
    ShowPresent, // a name leads to a file again after a deletion was shown
};

// Remembers, for one opened version of the file, what the user has been shown: a deletion,
// and whether the question about a change has been asked. A new generation (every open,
// reload and save reads the file anew) starts afresh.
class ExternalChangeWatch {
public:
    [[nodiscard]] ExternalAction Decide(std::uint64_t generation, FileChange change, bool modified);
    // The file of this generation has been shown as deleted and has not come back.
    [[nodiscard]] bool ShownDeleted(std::uint64_t generation) const
    {
        return generation == generation_ && deleted_;
    }

private:
    std::uint64_t generation_ = 0;
    bool asked_ = false;
    bool deleted_ = false;
};

// The string key of the sentence that names what happened (external.changed, ...); None has
// no sentence and takes the one for Changed.
[[nodiscard]] std::string_view ExternalChangeTextKey(FileChange change);

// The question a save asks after `change`: write the document anew at the path (the file was
// replaced or deleted) or save anyway over what is there.
[[nodiscard]] std::string_view ExternalSaveQuestionKey(FileChange change);

// The check timer's period while the main window is active: never faster than once a second.
inline constexpr std::uint32_t kExternalCheckMilliseconds = 1000;

} // namespace orx
