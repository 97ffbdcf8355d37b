#pragma once

#include "bookmarks/BookmarkStore.h"
#include "bookmarks/RegionList.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orx {

// What the open document looks like to the bookmarks.
struct DocumentState {
    bool open = false;
    std::u16string path;    // full path
    FileIdentity identity;  // of the file as opened, saved or reloaded
    std::uint64_t size = 0; // edited size
    bool modified = false;
};

// What the user should be told after a step; all empty when nothing.
struct SessionNews {
    std::optional<BookmarksRead::Status> storeTrouble; // Damaged or Unreadable
    std::u16string keptAs;                             // where a damaged file went
    bool writeFailed = false;
    bool fileChangedSince = false; // the regions were saved for another version of the file
    std::size_t removed = 0;       // regions that lost all their bytes
};

// The regions of the open document and when they go to the store. They are stored against
// the file as it is on disk: while the document has unsaved edits, changes wait for the save
// (a save stores them with the file's new identity; closing without saving leaves the store
// as the file is). Every step reports what the user should hear of.
class BookmarkSession {
public:
    explicit BookmarkSession(BookmarkStore store) : store_(std::move(store)) {}

    [[nodiscard]] const RegionList& Regions() const { return regions_; }
    [[nodiscard]] const BookmarkStore& Store() const { return store_; }

    // The document's file changed (opened, closed, saved, reloaded).
    SessionNews FileChanged(const DocumentState& document);
    // Edits of the document (edited offsets).
    SessionNews Inserted(const DocumentState& document, std::uint64_t offset, std::uint64_t count);
    SessionNews Deleted(const DocumentState& document, std::uint64_t offset, std::uint64_t count);

    // The user's changes; each stores the regions when the document has no unsaved edits.
    SessionNews Add(const DocumentState& document, Region region);
    SessionNews Rename(const DocumentState& document, std::size_t index, std::u16string note);
    SessionNews Recolour(const DocumentState& document, std::size_t index, RegionColour colour);
    SessionNews Remove(const DocumentState& document, std::size_t index);
    // Imported regions replace the current ones, clamped to the document.
    SessionNews Replace(const DocumentState& document, std::vector<Region> regions);

private:
    SessionNews Load(const DocumentState& document);
    // Stores the regions now, or once the edits are saved.
    SessionNews Store(const DocumentState& document, SessionNews news = {});

    BookmarkStore store_;
    RegionList regions_;
    std::u16string path_;         // the document the regions belong to; empty: none
    FileIdentity storedIdentity_; // what the store holds them against
    bool unstored_ = false;       // changed since they were last stored
};

} // namespace orx
