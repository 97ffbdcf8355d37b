#pragma once

#include "search/HitRows.h"
#include "ui/Theme.h"
#include "ui/win/BaseWindow.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace orx::win {

struct FindAllPanelTexts {
    std::u16string offsetColumn;
    std::u16string bytesColumn;
    std::u16string textColumn;
    std::u16string stop;
    std::u16string copyAll;
    std::u16string close;
};

// "Orlin.FindAllPanel": the hits of Find All, docked under the hex view. A caption line with
// the count and the search's state, Stop / Copy all / Close, and a virtual list (offset, the
// hit's bytes, the text around it) that asks for the rows it shows only, so a million hits
// scroll as ten do. Enter or a double-click goes to a hit; Ctrl+C copies the selected rows.
class FindAllPanel final : public BaseWindow<FindAllPanel> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.FindAllPanel";
    enum ControlId : int { kList = 3201, kStop = 3202, kCopyAll = 3203, kClose = 3204 };
    // Height at 96 DPI.
    static constexpr int kHeight = 220;

    struct Actions {
        std::function<HitRowText(std::uint64_t index)> row;
        std::function<void(std::uint64_t index)> activate;
        std::function<void(std::span<const std::uint64_t> indices)> copy;
        std::function<void()> copyAll;
        std::function<void()> stop;
        std::function<void()> close;
    };

    FindAllPanel() = default;
    ~FindAllPanel();
    FindAllPanel(const FindAllPanel&) = delete;
    FindAllPanel& operator=(const FindAllPanel&) = delete;

    [[nodiscard]] bool Create(HWND parent, Actions actions);
    void Destroy();
    void SetTexts(const FindAllPanelTexts& texts);
    void SetCaption(const std::u16string& caption);
    // The number of rows; the rows already shown stay where they are.
    void SetCount(std::uint64_t count);
    void SetRunning(bool running);
    void SetTheme(Theme theme);
    // The rows' texts changed (encoding, out of date): they are asked for again.
    void RefreshRows();
    [[nodiscard]] int Height() const;
    [[nodiscard]] HWND List() const { return list_; }

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

    Actions actions_;
    HWND list_ = nullptr;
    std::u16string caption_;
    Theme theme_ = Theme::Light;
    HitRowText cached_; // keeps the text the list was handed alive
    std::uint64_t cachedIndex_ = ~0ull;
};

} // namespace orx::win
