#pragma once

#include "app/win/ListPanel.h"
#include "search/HitRows.h"
#include "ui/Theme.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

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
// the count and the search's state, Stop / Copy all / Close, and the list of hits (offset, the
// hit's bytes, the text around it). Enter or a double-click goes to a hit; Ctrl+C copies the
// selected rows.
class FindAllPanel {
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

    [[nodiscard]] bool Create(HWND parent, Actions actions);
    void Destroy() { panel_.Destroy(); }
    void SetTexts(const FindAllPanelTexts& texts);
    void SetCaption(const std::u16string& caption) { panel_.SetCaption(caption); }
    void SetCount(std::uint64_t count) { panel_.SetCount(count); }
    void SetRunning(bool running) { panel_.EnableButton(kStop, running); }
    void SetTheme(Theme theme) { panel_.SetTheme(theme); }
    void RefreshRows() { panel_.RefreshRows(); }
    int Place(int width, int bottom) { return panel_.Place(width, bottom); }
    [[nodiscard]] HWND Window() const { return panel_.Window(); }
    [[nodiscard]] HWND List() const { return panel_.List(); }

private:
    ListPanel panel_;
};

} // namespace orx::win
