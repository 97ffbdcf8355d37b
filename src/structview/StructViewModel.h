#pragma once

#include "structview/PatternOffer.h"
#include "structview/StructRows.h"
#include "structview/StructValueOptions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// The texts the struct view shows, looked up by key in the string table.
struct StructViewTexts {
    std::u16string title;
    std::u16string definition; // "Definition" before the pattern's file name
    std::u16string columnName;
    std::u16string columnSize;
    std::u16string columnOffset;
    std::u16string columnType; // loaded with the others; no column shows it
    std::u16string columnValue;
    std::u16string emptyMessage;
    std::u16string openButton;
    std::u16string reloadButton;
    std::u16string closeButton;
    std::u16string infoButton;
    std::u16string errorPrefix;
    std::u16string byteArray;
    std::u16string byteArrayHex;
    std::u16string byteArrayAscii;
    std::u16string endian;
    std::u16string endianLittle;
    std::u16string endianBig;
    std::u16string numericBase;
    std::u16string numericBaseHex;
    std::u16string numericBaseDec;
    std::u16string placement;
    std::u16string placementFollow;
    std::u16string placementStay;
    std::u16string libraryBrowse;
    std::u16string libraryAutoApply;
};

// Every text of the view through `lookup` (the string table's Lookup).
[[nodiscard]] StructViewTexts
LoadStructViewTexts(const std::function<std::u16string(std::string_view key)>& lookup);

enum class StructViewState : std::uint32_t { Empty = 0, Table = 1, Error = 2 };

// The table's columns, left to right.
enum class StructColumn : std::uint32_t { Offset = 0, Value = 1, Size = 2, Name = 3 };
inline constexpr std::array<int, 4> kStructColumnDefaultWidths = {72, 220, 72, 280};
inline constexpr std::array<int, 4> kStructColumnMinimumWidths = {56, 80, 56, 120};

// The view's own button identifiers and the value-format menu's commands.
namespace svid {
inline constexpr int kOpenButton = 4101;
inline constexpr int kInfoButton = 4102;
inline constexpr int kCloseButton = 4103;
inline constexpr int kReloadButton = 4104;
inline constexpr int kOfferButton = 4105;
// The Open button's menu: the file dialog, the setting, then one command per library pattern.
inline constexpr int kLibraryBrowse = 4290;
inline constexpr int kLibraryAutoApply = 4291;
inline constexpr int kLibraryFirst = 4300;
inline constexpr int kLibraryLast = 4999;
inline constexpr int kFormatFirst = 4201; // 4201..4208: value-format choices 1..8
inline constexpr int kFormatLast = 4208;
} // namespace svid

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    [[nodiscard]] bool Contains(int x, int y) const
    {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where everything of the view lies for the current client size, in device pixels.
struct StructViewGeometry {
    int width = 0;
    int height = 0;
    int infoHeight = 0;               // information panel below the caption band; 0 when hidden
    int headerTop = 0;                // column header band: headerTop .. rowsTop
    int rowsTop = 0;                  // first row
    int rowsHeight = 0;               // visible rows area, not below 0
    PixelRect title;                  // caption text
    PixelRect subtitle;               // "Definition: file"
    std::array<PixelRect, 4> columns; // offset, value, size, name: left..right over all rows
    std::array<int, 4> dividers{};    // the draggable lines, 8 pixels right of each column
    PixelRect dropDown;               // the value-format box on the value column's header
    // Buttons in the order open, reload, close, information.
    std::array<PixelRect, 4> buttons;
    PixelRect infoEdit;
    bool infoEditVisible = false;
    PixelRect messageEdit;
    bool messageEditVisible = false;
    PixelRect offerButton; // above the message panel while there is no pattern and an offer
    bool offerVisible = false;
};

// A scroll bar as SetScrollInfo takes it.
struct StructScrollBar {
    int minimum = 0;
    int maximum = 0;
    unsigned page = 0;
    int position = 0;
    friend bool operator==(const StructScrollBar&, const StructScrollBar&) = default;
};

// Scroll bar requests, numbered as the SB_* codes of WM_VSCROLL / WM_HSCROLL.
enum class StructScrollRequest : std::uint32_t {
    LineBack = 0,
    LineForward = 1,
    PageBack = 2,
    PageForward = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Start = 6,
    End = 7,
    EndScroll = 8,
};

// What the window must carry out after a model operation.
enum StructViewEffect : std::uint32_t {
    kSvRepaint = 1u << 0,        // invalidate the client area (no erase)
    kSvScrollBars = 1u << 1,     // SetScrollInfo from the model's bars
    kSvLayout = 1u << 2,         // place buttons and edits, update their texts, then bars
    kSvCapture = 1u << 3,        // capture the mouse (a column drag starts)
    kSvReleaseCapture = 1u << 4, // a drag ended
    kSvFormatMenu = 1u << 5,     // open the value-format menu below the drop-down box
    kSvReload = 1u << 6,         // ask the owner to reload the pattern
    kSvCopy = 1u << 7,           // put BuildCopyText() on the clipboard
    kSvSelection = 1u << 8,      // another row is selected: its bytes are marked anew
    kSvGoToRow = 1u << 9,        // move the caret to the selected row's bytes
};

struct [[nodiscard]] StructViewEffects {
    std::uint32_t bits = 0;
    [[nodiscard]] bool Has(std::uint32_t effect) const { return (bits & effect) != 0; }
    StructViewEffects& operator|=(StructViewEffects other)
    {
        bits |= other.bits;
        return *this;
    }
};

// Virtual-key codes the view reacts to (the Win32 VK_* values).
namespace svkey {
inline constexpr std::uint32_t kPageUp = 0x21;
inline constexpr std::uint32_t kPageDown = 0x22;
inline constexpr std::uint32_t kReturn = 0x0D;
inline constexpr std::uint32_t kEnd = 0x23;
inline constexpr std::uint32_t kHome = 0x24;
inline constexpr std::uint32_t kUp = 0x26;
inline constexpr std::uint32_t kDown = 0x28;
inline constexpr std::uint32_t kInsert = 0x2D;
inline constexpr std::uint32_t kC = 0x43;
inline constexpr std::uint32_t kF5 = 0x74;
} // namespace svkey

// One submenu of the value-format menu: a title and two exclusive choices.
struct StructFormatMenuGroup {
    std::u16string title;
    struct Item {
        std::u16string label;
        int command = 0;
        bool checked = false;
    };
    std::array<Item, 2> items;
};

// The menu's choices 7 and 8: where the pattern lies, not how values show.
inline constexpr std::uint64_t kPlacementFollowChoice = 7;
inline constexpr std::uint64_t kPlacementStayChoice = 8;

// Applies value-format choice 1..6 (hex bytes, text bytes, little, big, hex, decimal) to
// `options`. False when the choice is unknown or the option already had that value.
[[nodiscard]] bool ApplyStructValueFormat(StructValueOptions& options, std::uint64_t choice);

// The struct view's state and every decision it makes: content, geometry, scrolling,
// selection, column dragging, keys and the copied text. The window measures the wrapped
// information text for it and carries out the effects.
class StructViewModel {
public:
    static constexpr int kRowHeight = 32;
    static constexpr int kCaptionHeight = 62;
    static constexpr int kHeaderHeight = 34;
    static constexpr int kMinimumTrackWidth = 520;
    static constexpr int kMinimumTrackHeight = 260;

    // --- Content -------------------------------------------------------------------------
    void SetTexts(StructViewTexts texts) { texts_ = std::move(texts); }
    [[nodiscard]] const StructViewTexts& Texts() const { return texts_; }
    StructViewEffects SetContent(std::u16string fileName, std::vector<StructViewRow> rows,
                                 std::u16string info);
    StructViewEffects SetEmptyMessage(std::u16string text);
    StructViewEffects ShowError(std::u16string fileName, std::u16string error);
    StructViewEffects SetOptions(const StructValueOptions& options);
    // The library's best match for the file, shown as a button while no pattern is loaded,
    // and the other matches, named below the empty message. Empty texts: no offer.
    StructViewEffects SetOffer(std::u16string button, std::u16string others);
    [[nodiscard]] const std::u16string& OfferText() const { return offer_; }
    // What the Open button lists; empty: it opens the file dialog at once.
    void SetLibraryMenu(std::vector<LibraryMenuGroup> menu, bool autoApply)
    {
        libraryMenu_ = std::move(menu);
        autoApply_ = autoApply;
    }
    [[nodiscard]] const std::vector<LibraryMenuGroup>& LibraryMenu() const { return libraryMenu_; }
    [[nodiscard]] bool AutoApply() const { return autoApply_; }
    // The library index a menu command stands for, or -1.
    [[nodiscard]] static int LibraryPatternOfCommand(int command);
    // Off while a dialog, a save or a search runs in the owner: opening, reloading and
    // closing a pattern are refused then, and their buttons grey.
    StructViewEffects SetCommandsEnabled(bool enabled);

    [[nodiscard]] StructViewState State() const { return state_; }
    [[nodiscard]] const std::u16string& FileName() const { return fileName_; }
    [[nodiscard]] const std::u16string& InfoText() const { return info_; }
    [[nodiscard]] const std::vector<StructViewRow>& Rows() const { return rows_; }
    [[nodiscard]] const StructValueOptions& Options() const { return options_; }
    [[nodiscard]] int SelectedRow() const { return selectedRow_; }
    [[nodiscard]] bool InfoVisible() const { return infoVisible_; }

    // Texts of the controls: the subtitle, the message panel, and which buttons work.
    [[nodiscard]] std::u16string SubtitleText() const;
    [[nodiscard]] std::u16string MessagePanelText() const;
    [[nodiscard]] bool OpenEnabled() const { return commandsEnabled_; }
    [[nodiscard]] bool ReloadEnabled() const { return commandsEnabled_ && !fileName_.empty(); }
    [[nodiscard]] bool CloseEnabled() const { return commandsEnabled_ && !fileName_.empty(); }
    [[nodiscard]] bool InfoEnabled() const { return !info_.empty(); }
    [[nodiscard]] std::array<StructFormatMenuGroup, 4> FormatMenu() const;
    // Whether the pattern stays at one offset; checks the menu's placement choice.
    void SetStaying(bool staying) { staying_ = staying; }
    [[nodiscard]] bool Staying() const { return staying_; }
    // The selected row when it stands for bytes of the document.
    [[nodiscard]] const StructViewRow* SelectedLocatedRow() const;
    // The text Ctrl+C puts on the clipboard: title, subtitle, then the table or message.
    [[nodiscard]] std::u16string BuildCopyText() const;

    // --- Geometry and scrolling ----------------------------------------------------------
    StructViewEffects SetClientSize(int width, int height);
    // Height of the information text word-wrapped in InfoTextWidth(), as the window
    // measured it with the regular font.
    StructViewEffects SetInfoTextHeight(int height);
    [[nodiscard]] int InfoTextWidth() const { return std::max(width_ - 24, 1); }
    [[nodiscard]] StructViewGeometry Geometry() const;
    [[nodiscard]] int ContentWidth() const;
    [[nodiscard]] int ContentHeight() const;
    [[nodiscard]] const std::array<int, 4>& ColumnWidths() const { return widths_; }
    [[nodiscard]] int ScrollX() const { return scrollX_; }
    [[nodiscard]] int ScrollY() const { return scrollY_; }
    [[nodiscard]] StructScrollBar HorizontalScrollBar() const;
    [[nodiscard]] StructScrollBar VerticalScrollBar() const;
    StructViewEffects ScrollTo(int x, int y);
    StructViewEffects OnHorizontalScroll(StructScrollRequest request, int trackPosition);
    StructViewEffects OnVerticalScroll(StructScrollRequest request, int trackPosition);
    StructViewEffects OnMouseWheel(int delta);
    // The rows whose band meets the visible rows area: [first, last).
    [[nodiscard]] std::pair<std::size_t, std::size_t> VisibleRows() const;
    // Top of row `index` in client pixels.
    [[nodiscard]] int RowTop(std::size_t index) const;

    // --- Input ---------------------------------------------------------------------------
    StructViewEffects ToggleInfo();
    StructViewEffects SelectRow(int index);
    StructViewEffects OnLButtonDown(int x, int y);
    StructViewEffects OnLButtonDoubleClick(int x, int y);
    StructViewEffects OnMouseMove(int x, int y);
    StructViewEffects OnLButtonUp();
    StructViewEffects OnCaptureLost();
    // Whether the pointer at (x, y) shows the west-east sizing arrow.
    [[nodiscard]] bool SizingCursorAt(int x, int y) const;
    [[nodiscard]] bool Dragging() const { return dragColumn_ >= 0; }
    // Keys of the view window; `handled` false sends the key to the default procedure.
    struct [[nodiscard]] KeyResult {
        bool handled = false;
        StructViewEffects effects;
    };
    KeyResult OnKeyDown(std::uint32_t virtualKey, bool ctrl);
    // The value-format choice (1..8) a menu command stands for, 0 for another command.
    [[nodiscard]] static int FormatChoiceOfCommand(int command);

private:
    [[nodiscard]] int InfoHeight() const;
    [[nodiscard]] int RowsAreaHeight() const;
    [[nodiscard]] int DividerAt(int x, int y) const; // column index, -1 for none
    [[nodiscard]] bool ClampScroll();
    StructViewEffects ContentChanged();

    StructViewTexts texts_;
    StructViewState state_ = StructViewState::Empty;
    std::u16string fileName_;
    std::u16string message_;
    std::u16string info_;
    std::u16string offer_;
    std::u16string offerOthers_;
    std::vector<LibraryMenuGroup> libraryMenu_;
    bool autoApply_ = false;
    std::vector<StructViewRow> rows_;
    StructValueOptions options_;
    int width_ = 0;
    int height_ = 0;
    int infoTextHeight_ = 0;
    bool infoVisible_ = false;
    bool commandsEnabled_ = true;
    bool staying_ = false;
    int selectedRow_ = -1;
    int scrollX_ = 0;
    int scrollY_ = 0;
    std::array<int, 4> widths_ = kStructColumnDefaultWidths;
    int dragColumn_ = -1;
    int dragStartX_ = 0;
    std::array<int, 4> dragStartWidths_{};
};

} // namespace orx
