#pragma once

#include "app/win/AppContext.h"
#include "app/win/BusyTask.h"
#include "app/win/FindAllSession.h"
#include "hexview/TextEncoding.h"
#include "search/SearchQuery.h"

#include <windows.h>

#include <optional>

namespace orx {

enum class SearchDirection : std::uint32_t;
namespace win {
class SearchDialog;
}

// Find: the Find dialog and its search on the UI thread, F3 and Shift+F3 repeating the last
// query, and the Find All session with its panel under the view.
class SearchController {
public:
    SearchController(AppContext& context, BusyIndicator& busy);

    // The main window, once it exists: the panel's parent.
    void SetWindow(HWND window) { findAll_.SetWindow(window); }
    // The Find dialog.
    void Find();
    // F3 and Shift+F3: the last query again, or the dialog when there is none yet.
    void Repeat(SearchDirection direction);
    [[nodiscard]] FindAllSession& FindAll() { return findAll_; }
    [[nodiscard]] const FindAllSession& FindAll() const { return findAll_; }

private:
    // `dialog` is null for F3 / Shift+F3, which repeat the last query.
    void Run(const SearchDialogResult& request, SearchDirection direction,
             win::SearchDialog* dialog, TextEncoding encoding);
    [[nodiscard]] bool StartFindAll(const SearchDialogResult& request, TextEncoding encoding,
                                    HWND dialog);
    // The pattern of a request, recorded in the history; nothing (after a message in
    // `owner`) when the query is refused.
    [[nodiscard]] std::optional<SearchPattern> AcceptQuery(const SearchDialogResult& request,
                                                           TextEncoding encoding, HWND owner);

    AppContext& context_;
    BusyIndicator& busy_;
    FindAllSession findAll_;
};

} // namespace orx
