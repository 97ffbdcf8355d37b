#pragma once

#include "app/win/AppContext.h"
#include "app/win/ListPanel.h"
#include "bookmarks/BookmarkSession.h"
#include "document/EditableDocument.h"
#include "ui/Theme.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

namespace orx {

// The Bookmarks menu: regions of the open file with a colour and a note, painted in the hex
// view through its byte marks, listed in a panel docked under it, following every edit and
// kept per file in the bookmarks file beside the settings (BookmarkSession decides when).
class BookmarksController final : private IEditListener {
public:
    static constexpr const wchar_t* kPanelClassName = L"Orlin.BookmarksPanel";
    enum ControlId : int { kList = 3301, kClose = 3302 };

    explicit BookmarksController(AppContext& context);
    ~BookmarksController();
    BookmarksController(const BookmarksController&) = delete;
    BookmarksController& operator=(const BookmarksController&) = delete;

    // The main window exists: the edits are followed and the regions painted from now on.
    void Attach();
    // Change::File: a file opened, closed, saved or read anew.
    void FileChanged();

    // Ctrl+B: the selection, or the byte at the caret, becomes a region with a note and a
    // colour asked for in a dialog.
    void Add();
    // The region at the caret: its note, its colour, or itself.
    void Rename();
    void Recolour();
    void Remove();
    // F2 and Shift+F2: the next or previous region's start from the caret, selected.
    void Step(bool forward);
    void Export();
    void Import();
    void TogglePanel();

    // Places the panel along the bottom of [0, bottom); returns its height.
    int Place(int width, int bottom) { return panel_.Place(width, bottom); }
    void SetTheme(Theme theme) { panel_.SetTheme(theme); }
    // The language changed.
    void RefreshTexts();
    [[nodiscard]] bool PanelShown() const { return panel_.Window() != nullptr; }
    [[nodiscard]] const RegionList& Regions() const;
    [[nodiscard]] HWND PanelList() const { return panel_.List(); }

private:
    void Inserted(std::uint64_t offset, std::uint64_t count) override;
    void Deleted(std::uint64_t offset, std::uint64_t count) override;

    [[nodiscard]] DocumentState State() const;
    // Tells the user what a step of the session reports.
    void Report(const SessionNews& news);
    // The regions changed: the panel's rows and the view's marks follow.
    void Show(bool repaintView);
    void GoTo(std::size_t index);
    void RemoveRows(std::span<const std::uint64_t> rows);
    [[nodiscard]] std::optional<std::size_t> AtCaret();
    // The note and colour dialog; nothing when cancelled.
    [[nodiscard]] std::optional<std::pair<std::u16string, RegionColour>>
    AskNoteAndColour(const std::u16string& title, const Region& initial, bool withNote);
    [[nodiscard]] std::vector<std::u16string> RowCells(std::uint64_t index) const;
    [[nodiscard]] std::u16string Text(std::string_view key) const { return context_.Text(key); }

    AppContext& context_;
    std::optional<BookmarkSession> session_; // once the settings' folder is known
    win::ListPanel panel_;
    RegionColour lastColour_ = RegionColour::Orange;
    bool writeFailureShown_ = false;
};

} // namespace orx
