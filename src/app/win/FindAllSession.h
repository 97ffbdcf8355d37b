#pragma once

#include "app/FindAllSessionState.h"
#include "app/win/FindAllPanel.h"
#include "app/win/WindowJob.h"
#include "ui/Theme.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

class EditableDocument;
class HexView;

// Find All: runs the search for every hit on a worker while the window stays usable, keeps
// the hits (in FindAllSessionState, which decides what shows when), marks them in the hex
// view and lists them in a panel under it. The main window reaches it through one member
// and forwards the few events it needs.
class FindAllSession {
public:
    struct Host {
        HWND window = nullptr; // the main window: parent of the panel, target of the news
        EditableDocument* document = nullptr;
        HexView* view = nullptr;
        std::function<std::u16string(std::string_view key)> text;
        std::function<void()> stateChanged;  // menus and status bar follow Running()
        std::function<void()> countChanged;  // the status bar follows the count
        std::function<void()> layoutChanged; // the panel came or went
        std::function<void(std::string_view key)> flash;
    };

    explicit FindAllSession(Host host);
    // The main window, once it exists.
    void SetWindow(HWND window);
    ~FindAllSession();
    FindAllSession(const FindAllSession&) = delete;
    FindAllSession& operator=(const FindAllSession&) = delete;

    // Lists every hit of `pattern` (usable) in the document; `query` names it in the caption.
    void Start(const SearchPattern& pattern, const std::u16string& query);
    // Stops a running search; the hits found so far stay.
    void Stop();
    [[nodiscard]] bool Running() const { return state_.Running(); }
    [[nodiscard]] bool PanelShown() const { return panel_.Window() != nullptr; }
    [[nodiscard]] const HitList& Hits() const { return state_.Hits(); }

    // kMsgFindAllNews.
    void OnNews();
    // After anything that may have changed the document's bytes: hits of other bytes are
    // dropped and the list says so.
    void OnDocumentChanged();
    // Places the panel along the bottom of [0, bottom) at `width`; returns its height.
    int Place(int width, int bottom);
    void SetTheme(Theme theme);
    // Language or encoding changed: texts and rows again.
    void RefreshTexts();
    // "1,234 hits" for the status bar; empty without a list.
    [[nodiscard]] std::u16string StatusText() const;
    // Goes to hit `index`: caret on it, selected, scrolled into view.
    void GoToHit(std::uint64_t index);

private:
    void ClosePanel();
    void Finish(const FindAllOutcome& outcome);
    void UpdateCaption();
    // The rows, caption and status bar show the hits taken in so far.
    void ShowCount();
    void CopyRows(std::span<const std::uint64_t> indices);
    void CopyAll();
    [[nodiscard]] std::u16string Text(std::string_view key) const { return host_.text(key); }

    Host host_;
    FindAllSessionState state_;
    win::FindAllPanel panel_;
    // Last: its thread is joined before the members above go.
    WindowJob<FindAllOutcome, std::vector<std::uint64_t>> worker_;
};

} // namespace orx
