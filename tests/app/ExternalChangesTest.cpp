#include "app/ExternalChanges.h"
#include "document/FileChange.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

namespace orx::test {
namespace {

using enum FileChange;
using Action = ExternalAction;

// Checks one after the other: the generation of the open file, what the check found, unsaved
// edits or not; what the main window does about it, and whether a deletion shows afterwards.
TEST(ExternalChangeWatch, ReloadsWithoutEditsAsksOnceWithEditsAndShowsADeletionOnce)
{
    // clang-format off
    struct Step { std::uint64_t generation; FileChange change; bool modified; Action expected; bool deleted = false; };
    struct Case { const char* name; std::vector<Step> steps; };
    const Case cases[] = {
        {"without edits every change reloads", {
            {1, None, false, Action::None}, {1, Changed, false, Action::Reload},
            {2, Shortened, false, Action::Reload}, {3, Replaced, false, Action::Reload}}},
        {"with edits the question comes once per generation", {
            {1, Changed, true, Action::AskReload}, {1, Shortened, true, Action::None},
            {1, Replaced, true, Action::None}, {2, Changed, true, Action::AskReload}}},
        {"a deletion is shown once, and forgotten by a new generation", {
            {1, Deleted, true, Action::ShowDeleted, true}, {1, Deleted, false, Action::None, true},
            {2, None, false, Action::None}}},
        {"a deleted file that comes back", {
            {1, Deleted, false, Action::ShowDeleted, true}, {1, Replaced, false, Action::Reload},
            {2, Deleted, true, Action::ShowDeleted, true}, {2, None, true, Action::ShowPresent},
            {2, Replaced, true, Action::AskReload}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExternalChangeWatch watch;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(watch.Decide(step.generation, step.change, step.modified), step.expected);
            EXPECT_EQ(watch.ShownDeleted(step.generation), step.deleted);
        }
    }
}

// A file replaced or deleted behind the editor is written anew; one changed in place is saved
// over.
TEST(ExternalChangeWatch, SaveQuestionAfterEachKindOfChange)
{
    const std::pair<FileChange, std::string_view> cases[] = {
        {Changed, "external.save_anyway"},
        {Shortened, "external.save_anyway"},
        {Replaced, "external.save_anew"},
        {Deleted, "external.save_anew"},
    };
    for (const auto& [change, key] : cases) {
        EXPECT_EQ(ExternalSaveQuestionKey(change), key);
    }
}

} // namespace
} // namespace orx::test
