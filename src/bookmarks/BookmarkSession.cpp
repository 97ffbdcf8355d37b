#include "bookmarks/BookmarkSession.h"

namespace orx {
namespace {

void NoteRead(SessionNews& news, const BookmarksRead& read)
{
    if (read.status == BookmarksRead::Status::Damaged ||
        read.status == BookmarksRead::Status::Unreadable) {
        news.storeTrouble = read.status;
        news.keptAs = read.keptAs;
    }
}

} // namespace

SessionNews BookmarkSession::FileChanged(const DocumentState& document)
{
    if (!document.open) {
        regions_.Clear();
        path_.clear();
        unstored_ = false;
        return {};
    }
    if (!SamePath(document.path, path_)) {
        return Load(document);
    }
    if (document.identity != storedIdentity_) {
        // Saved by us (the regions already follow the saved bytes) or read anew after another
        // program's change (they are kept, cut to the new size): stored with the new identity.
        SessionNews news;
        news.removed = regions_.ClampTo(document.size);
        unstored_ = true;
        return Store(document, news);
    }
    if (unstored_ && !document.modified) {
        return Load(document); // opened again without the edits the changes waited for
    }
    return {};
}

SessionNews BookmarkSession::Load(const DocumentState& document)
{
    SessionNews news;
    path_ = document.path;
    unstored_ = false;
    const BookmarksRead read = store_.Read(true);
    NoteRead(news, read);
    std::vector<Region> regions;
    storedIdentity_ = document.identity;
    for (const FileRegions& file : read.files) {
        if (SamePath(file.path, document.path)) {
            regions = file.regions;
            news.fileChangedSince = file.identity != document.identity;
        }
    }
    regions_.Assign(std::move(regions));
    if (regions_.ClampTo(document.size) > 0 || news.fileChangedSince) {
        unstored_ = true;
        news = Store(document, news);
    }
    return news;
}

SessionNews BookmarkSession::Inserted(const DocumentState& document, std::uint64_t offset,
                                      std::uint64_t count)
{
    if (regions_.Empty()) {
        return {};
    }
    regions_.Inserted(offset, count);
    unstored_ = true;
    return Store(document);
}

SessionNews BookmarkSession::Deleted(const DocumentState& document, std::uint64_t offset,
                                     std::uint64_t count)
{
    if (regions_.Empty()) {
        return {};
    }
    SessionNews news;
    news.removed = regions_.Deleted(offset, count);
    unstored_ = true;
    return Store(document, news);
}

SessionNews BookmarkSession::Add(const DocumentState& document, Region region)
{
    if (!regions_.Add(std::move(region))) {
        return {};
    }
    unstored_ = true;
    return Store(document);
}

SessionNews BookmarkSession::Rename(const DocumentState& document, std::size_t index,
                                    std::u16string note)
{
    regions_.Rename(index, std::move(note));
    unstored_ = true;
    return Store(document);
}

SessionNews BookmarkSession::Recolour(const DocumentState& document, std::size_t index,
                                      RegionColour colour)
{
    regions_.Recolour(index, colour);
    unstored_ = true;
    return Store(document);
}

SessionNews BookmarkSession::Remove(const DocumentState& document, std::size_t index)
{
    regions_.Remove(index);
    unstored_ = true;
    return Store(document);
}

SessionNews BookmarkSession::Replace(const DocumentState& document, std::vector<Region> regions)
{
    regions_.Assign(std::move(regions));
    (void)regions_.ClampTo(document.size);
    unstored_ = true;
    return Store(document);
}

SessionNews BookmarkSession::Store(const DocumentState& document, SessionNews news)
{
    if (!document.open || document.modified || !unstored_) {
        return news; // the regions follow unsaved bytes: stored with the save
    }
    const std::optional<BookmarksRead> read =
        store_.Put({document.path, document.identity, regions_.Items()});
    if (!read) {
        news.writeFailed = true;
        return news;
    }
    NoteRead(news, *read);
    storedIdentity_ = document.identity;
    unstored_ = false;
    return news;
}

} // namespace orx
