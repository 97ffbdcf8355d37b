#pragma once

#include "ui/Theme.h"
#include "ui/win/BaseWindow.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace orx::win {

// A panel docked under the hex view (Find All's hits, the bookmarked regions): a caption line
// with buttons on its right, and a virtual list that asks for the rows it shows only, so a
// million rows scroll as ten do. Enter or a double-click activates a row; Ctrl+C and Delete
// hand the selected rows over.
class ListPanel final : public BaseWindow<ListPanel> {
public:
    // What tells one kind of panel from another.
    struct Spec {
        const wchar_t* className = nullptr; // each kind registers a class of its own
        int listId = 0;
        std::vector<int> columnWidths; // at 96 DPI
        std::vector<int> buttonIds;    // right to left
        int height = 220;              // at 96 DPI
    };
    struct Actions {
        // The cells of row `index`, one per column.
        std::function<std::vector<std::u16string>(std::uint64_t index)> row;
        std::function<void(std::uint64_t index)> activate;
        std::function<void(std::span<const std::uint64_t> indices)> copy;
        std::function<void(std::span<const std::uint64_t> indices)> remove;
        std::function<void()> escape;
        std::function<void(int buttonId)> button;
    };

    ListPanel() = default;
    ~ListPanel();
    ListPanel(const ListPanel&) = delete;
    ListPanel& operator=(const ListPanel&) = delete;

    [[nodiscard]] bool Create(HWND parent, Spec spec, Actions actions);
    void Destroy();
    void SetTexts(std::span<const std::u16string> columns, std::span<const std::u16string> buttons);
    void SetCaption(const std::u16string& caption);
    // The number of rows; the rows already shown stay where they are.
    void SetCount(std::uint64_t count);
    void EnableButton(int id, bool enabled);
    void SetTheme(Theme theme);
    // The rows' texts changed: they are asked for again.
    void RefreshRows();
    [[nodiscard]] int Height() const;
    [[nodiscard]] HWND List() const { return list_; }
    // Places the panel along the bottom of [0, bottom) at `width`, at most half of it; returns
    // its height (0 without a panel).
    int Place(int width, int bottom);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnCreate();
    void Layout();
    void Paint();
    // The strip along the top with the caption and the buttons.
    [[nodiscard]] RECT CaptionStrip() const;
    [[nodiscard]] LRESULT OnNotify(const NMHDR& header);
    [[nodiscard]] std::vector<std::uint64_t> SelectedRows() const;
    void ActivateFocused();

    Spec spec_;
    Actions actions_;
    HWND list_ = nullptr;
    std::u16string caption_;
    Theme theme_ = Theme::Light;
    std::vector<std::u16string> cached_; // keeps the text the list was handed alive
    std::uint64_t cachedIndex_ = ~0ull;
};

} // namespace orx::win
