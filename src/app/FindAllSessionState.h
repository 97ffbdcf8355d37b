#pragma once

#include "app/FindAllText.h"
#include "app/MenuModel.h"
#include "search/HitList.h"
#include "search/SearchEngine.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orx {

// Where one Find All stands: the hits (HitList, also the view's marks), whether the search
// runs, how it ended, whether the document has changed under the list, and when the list,
// caption and status bar show what has come in. The window's session carries out the search
// on its worker and renders this.
class FindAllSessionState {
public:
    // While a search runs, the list and the texts follow its news at most this often: each
    // such refresh costs the window far more than taking the hits in does.
    static constexpr std::uint64_t kRefreshMilliseconds = 100;

    // A search for hits of `hitLength` bytes of `query` in the document at `revision`...
    void Start(std::uint64_t hitLength, std::u16string query, std::uint64_t revision);
    // ...run as the worker's job `job`.
    void RunAs(std::uint64_t job) { job_ = job; }
    // Whether news of the worker's job `job` is the running search's (older news is dropped).
    [[nodiscard]] bool Accepts(std::uint64_t job) const { return running_ && job == job_; }
    // Takes a batch of hits in; true when one meets [first, end) (the bytes the view shows).
    [[nodiscard]] bool Append(std::span<const std::uint64_t> offsets, std::uint64_t first,
                              std::uint64_t end);
    void Progress(std::uint64_t done, std::uint64_t total);
    // Whether what came in shows now (at `now`, in milliseconds): the first news at once,
    // then at most every kRefreshMilliseconds.
    [[nodiscard]] bool RefreshDue(std::uint64_t now);
    void Finish(SearchStatus status);
    // The list was closed: no search, no hits.
    void Close();
    // The document is at `revision` now: true when that empties a finished list, which then
    // says it is out of date.
    [[nodiscard]] bool DocumentChanged(std::uint64_t revision);

    [[nodiscard]] bool Running() const { return running_; }
    [[nodiscard]] bool Listed() const { return listed_; }
    [[nodiscard]] const HitList& Hits() const { return hits_; }
    [[nodiscard]] HitList& Hits() { return hits_; }
    // The offset of hit `index`; nothing past the list's end.
    [[nodiscard]] std::optional<std::uint64_t> HitOffset(std::uint64_t index) const;
    [[nodiscard]] FindAllState CaptionState() const;
    [[nodiscard]] std::u16string Caption(const StringLookup& lookup) const;
    // "1,234 hits" for the status bar; empty without a current list.
    [[nodiscard]] std::u16string StatusText(const StringLookup& lookup) const;

private:
    HitList hits_;
    bool listed_ = false;
    bool running_ = false;
    SearchStatus status_ = SearchStatus::NotFound; // of the last search that ended
    std::u16string query_;
    std::uint64_t revision_ = 0; // the document's when the hits were found
    std::uint64_t percent_ = 0;
    std::uint64_t job_ = 0;
    std::optional<std::uint64_t> refreshed_; // when the running search's news last showed
};

} // namespace orx
