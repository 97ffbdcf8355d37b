#pragma once

#include "ui/Theme.h"
#include "ui/WindowMessages.h"
#include "inspector/InspectorTable.h"
#include "ui/win/BaseWindow.h"
#include "ui/win/GlyphRunText.h"
#include "ui/win/PacedRepaint.h"
#include "ui/win/WinHandles.h"

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orx {

// The data inspector's tool window "Orlin.DataInspectorWindow": the name and value table
// of InspectorTable, painted with Direct2D and DirectWrite in the theme's colours. It stays
// where its owner docks it; the user may change its width from its right edge only.
class DataInspectorWindow final : public win::BaseWindow<DataInspectorWindow> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.DataInspectorWindow";

    DataInspectorWindow() = default;
    ~DataInspectorWindow();
    DataInspectorWindow(const DataInspectorWindow&) = delete;
    DataInspectorWindow& operator=(const DataInspectorWindow&) = delete;

    // Creates the window, hidden, owned by `owner`, with an empty value column. False when
    // the class cannot be registered or the window cannot be made.
    [[nodiscard]] bool Create(HWND owner, HINSTANCE instance, InspectorTexts texts, Theme theme);
    // Destroys the window and what it drew with; the width is kept for the next one.
    void Destroy();

    void SetTexts(InspectorTexts texts);
    void SetTheme(Theme theme);
    // The byte order the switch shows.
    void SetBigEndian(bool bigEndian);
    // Shows new values: the cells that changed are painted when the pacer allows.
    void SetValues(std::vector<std::u16string> values);
    // Whether what the window shows is the newest values: no cell waits to be painted.
    [[nodiscard]] bool ShowsCurrentValues() const;

    // Moves the window to `frame` (screen pixels) and shows it without activating it, or
    // hides it.
    void Dock(const RECT& frame, bool visible);

    // The width in pixels that docking gives the window: the user's last width, or the
    // default at its monitor's DPI.
    [[nodiscard]] int Width() const;
    // The least width it can be given, in pixels at its monitor's DPI (its cells are laid
    // out in DIPs).
    [[nodiscard]] int MinimumWidth() const;
    [[nodiscard]] const InspectorTable& Table() const { return table_; }

    // Editing a value in place: F2, Enter or a double-click on a row ask the owner
    // (kMsgInspectorEdit), which opens the edit box over its value cell with `text`
    // selected. Enter hands the text to the owner, which closes the box once it took it;
    // Escape or a click elsewhere closes it without writing.
    void OpenEditor(std::size_t row, const std::u16string& text);
    void CloseEditor();
    [[nodiscard]] HWND Editor() const { return editor_; }
    [[nodiscard]] Theme CurrentTheme() const { return theme_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint();
    [[nodiscard]] bool EnsureResources();
    [[nodiscard]] bool EnsureBrushes();
    void ReleaseResources();
    [[nodiscard]] float ToDips(int pixels) const;
    void DrawTexts(const std::vector<InspectorText>& texts, const InspectorBox& area,
                   ID2D1Brush& brush);
    void OnLButtonDown(int x, int y);
    void RequestEdit() const;
    void ScrollRows(int rows);
    void OnVerticalScroll(WORD request);
    void UpdateScrollBar() const;
    void CommitEdit();
    static LRESULT CALLBACK EditorProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    void CopySelectedValue() const;
    void Repaint() const;
    void RepaintPendingCells();
    [[nodiscard]] UINT MonitorDpi() const;

    HWND owner_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    Theme theme_ = Theme::Light;
    InspectorTexts texts_;
    InspectorTable table_;
    int width_ = 0; // 0 until the window is first sized
    // Where the owner put the window last; other moves are held to it.
    std::optional<RECT> dockedFrame_;
    bool docking_ = false;
    win::PacedRepaint pacing_;
    // Value cells that changed since they were last handed to the window to paint.
    std::array<bool, kInspectorRowCount> pendingRows_{};
    // The last paint could not draw: the next change repaints everything.
    bool paintFailed_ = false;
    HWND editor_ = nullptr; // the in-place edit box, while open
    std::size_t editorRow_ = 0;
    bool committing_ = false; // the owner is looking at the typed text
    int wheelDelta_ = 0;      // wheel movement short of a whole notch
    win::FontHandle editorFont_;

    Microsoft::WRL::ComPtr<ID2D1Factory> d2dFactory_;
    Microsoft::WRL::ComPtr<IDWriteFactory> dwriteFactory_;
    Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> target_;
    // Header, grid, text and selected-row brushes of `brushTheme_`, made with `target_`.
    std::array<Microsoft::WRL::ComPtr<ID2D1SolidColorBrush>, 4> brushes_;
    Theme brushTheme_ = Theme::Light;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> textFormat_;
    // The face behind textFormat_, for drawing by glyph runs; null when it cannot be found.
    std::unique_ptr<win::GridFont> gridFont_;
};

} // namespace orx
