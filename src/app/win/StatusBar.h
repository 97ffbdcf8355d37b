#pragma once

#include "app/StatusText.h"
#include "ui/Theme.h"
#include "ui/TimerIds.h"

#include <windows.h>

#include <string>

namespace orx {

// The main window's status bar: one owner-drawn part in the theme's colours, and the flash,
// a short text shown in place of the usual one for a moment.
class StatusBar {
public:
    static constexpr UINT kFlashMilliseconds = 900;

    // Made once the first rows are on screen; until then the text is kept, not shown.
    void Create(HWND parent, HINSTANCE instance, Theme theme);
    void Destroy(HWND parent);
    // Its height, once it has docked itself to the bottom of the parent; 0 without a bar.
    [[nodiscard]] int Dock() const;
    void Show(std::u16string text);
    void SetTheme(Theme theme);
    // WM_DRAWITEM: true when the item was the bar's.
    [[nodiscard]] bool Draw(const DRAWITEMSTRUCT& item) const;
    void Paint() const;

    void StartFlash(HWND parent, std::u16string text);
    // WM_TIMER: true when the timer was the flash's, which has ended.
    [[nodiscard]] bool OnTimer(HWND parent, UINT_PTR id);
    // The flash's part of the status inputs.
    void FillIn(StatusInputs& inputs) const;

    [[nodiscard]] const std::u16string& Text() const { return text_; }
    [[nodiscard]] bool FlashActive() const { return flashActive_; }

private:
    HWND bar_ = nullptr;
    Theme theme_ = Theme::Light;
    std::u16string text_;
    bool flashActive_ = false;
    std::u16string flashText_;
};

} // namespace orx
