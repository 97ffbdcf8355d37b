#include "app/ExternalChanges.h"

namespace orx {

ExternalAction ExternalChangeWatch::Decide(std::uint64_t generation, FileChange change,
                                           bool modified)
{
    if (generation != generation_) {
        generation_ = generation;
        asked_ = false;
        deleted_ = false;
    }
    if (change == FileChange::Deleted) {
        if (deleted_) {
            return ExternalAction::None;
        }
        deleted_ = true;
        return ExternalAction::ShowDeleted;
    }
    const bool wasDeleted = deleted_;
    deleted_ = false;
    if (change != FileChange::None) {
        if (!modified) {
            return ExternalAction::Reload;
        }
        if (!asked_) {
            asked_ = true;
            return ExternalAction::AskReload;
        }
    }
    return wasDeleted ? ExternalAction::ShowPresent : ExternalAction::None;
}

std::string_view ExternalChangeTextKey(FileChange change)
{
    switch (change) {
    case FileChange::Shortened: return "external.shortened";
    case FileChange::Replaced: return "external.replaced";
    case FileChange::Deleted: return "external.deleted";
    case FileChange::None:
    case FileChange::Changed: break;
    }
    return "external.changed";
}

std::string_view ExternalSaveQuestionKey(FileChange change)
{
    return LostIdentity(change) ? "external.save_anew" : "external.save_anyway";
}

} // namespace orx
