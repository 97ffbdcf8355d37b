#pragma once

#include "ui/Theme.h"
#include "ui/WindowMessages.h"
#include "structview/StructViewModel.h"
#include "ui/win/BaseWindow.h"
#include "ui/win/PacedRepaint.h"
#include "ui/win/WinHandles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orx {

// The struct view's tool window "Orlin.StructViewWindow": caption band, four buttons, an
// information panel, a message panel and the table of rows, painted with GDI into a memory
// bitmap. StructViewModel decides; this window measures text, places the controls, paints,
// and tells its owner what the user asked for through the messages above.
class StructViewWindow final : public win::BaseWindow<StructViewWindow> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.StructViewWindow";
    static constexpr int kInitialHeight = 640;
    static constexpr int kDefaultWidth = 700;

    StructViewWindow() = default;
    ~StructViewWindow();
    StructViewWindow(const StructViewWindow&) = delete;
    StructViewWindow& operator=(const StructViewWindow&) = delete;

    // Creates the window, hidden, owned by `owner`. False when the class cannot be
    // registered or the window cannot be made.
    [[nodiscard]] bool Create(HWND owner, HINSTANCE instance, StructViewTexts texts, Theme theme);
    // Destroys the window and its fonts; the width is kept for the next one.
    void Destroy();

    void SetTexts(StructViewTexts texts);
    void SetTheme(Theme theme);
    // New rows of the same pattern are painted when the pacer allows; anything else at once.
    void SetContent(std::u16string fileName, std::vector<StructViewRow> rows, std::u16string info);
    // Whether what the window shows is the newest rows: no repaint waits.
    [[nodiscard]] bool ShowsCurrentRows() const;
    void SetEmptyMessage(std::u16string text);
    void ShowError(std::u16string fileName, std::u16string error);
    void SetOptions(const StructValueOptions& options);
    // Selects row `index` (-1: none) and scrolls it into view; the owner hears of it.
    void SelectRow(int index);
    void SetStaying(bool staying) { model_.SetStaying(staying); }
    void SetOffer(std::u16string button, std::u16string others);
    void SetLibraryMenu(std::vector<LibraryMenuGroup> menu, bool autoApply)
    {
        model_.SetLibraryMenu(std::move(menu), autoApply);
    }
    // The Open button's menu as it opens now.
    [[nodiscard]] win::MenuHandle BuildLibraryMenu() const;
    // Greys Open, Reload and Close and refuses F5 while the owner is modal or busy.
    void SetCommandsEnabled(bool enabled);
    // Puts the whole view on the clipboard as tab-separated text.
    void Copy() const;

    // Moves the window to `frame` (screen pixels) unless it is maximized, then shows it
    // without activating it, or hides it.
    void Dock(const RECT& frame, bool visible);

    // The width docking gives the window: the user's last width, at least 520.
    [[nodiscard]] int Width() const { return windowWidth_; }
    [[nodiscard]] const StructViewModel& Model() const { return model_; }
    [[nodiscard]] Theme CurrentTheme() const { return theme_; }
    [[nodiscard]] HWND MessageEdit() const { return messageEdit_; }
    [[nodiscard]] HWND InfoEdit() const { return infoEdit_; }
    // The value-format menu as it opens now, with the current choices checked.
    [[nodiscard]] win::MenuHandle BuildFormatMenu() const;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnCreate();
    void MakeFonts();
    void Apply(StructViewEffects effects);
    void Layout();
    void UpdateControls();
    void UpdateScrollBars();
    void Paint();
    void ShowFormatMenu();
    void ShowLibraryMenu();
    void OnButton(int id);
    void OnScroll(int bar, WPARAM wParam);
    void Post(UINT message, WPARAM wParam = 0) const;
    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);

    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    Theme theme_ = Theme::Light;
    StructViewModel model_;
    std::array<HWND, 4> buttons_{}; // open, reload, close, information
    HWND offerButton_ = nullptr;
    HWND infoEdit_ = nullptr;
    HWND messageEdit_ = nullptr;
    win::FontHandle regularFont_;
    win::FontHandle smallFont_;
    win::BrushHandle panelBrush_; // the edit panels' background
    COLORREF panelBrushColor_ = 0;
    int windowWidth_ = kDefaultWidth;
    bool inLayout_ = false;
    bool layoutAgain_ = false;
    win::PacedRepaint pacing_;
};

} // namespace orx
