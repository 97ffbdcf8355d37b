#pragma once

#include "hexview/ByteMarks.h"
#include "hexview/RepaintPlan.h"
#include "hexview/RowModel.h"
#include "hexview/TextEncoding.h"
#include "hexview/TextMetrics.h"
#include "ui/Theme.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orx {

class IReadOnlyDocument;
class IEditableDocument;

// Typing hex digits replaces bytes (Overwrite) or inserts new ones (Insert). Survives
// opening and closing documents; not stored in the settings.
enum class EditMode : std::uint32_t {
    Overwrite = 0,
    Insert = 1,
};

// What the window has to carry out after a model operation. Flags accumulate over the
// nested steps of one operation; the window acts on each set flag once.
struct ViewEffects {
    bool repaint = false;             // repaint what changed (TakeRepaintPlan says what)
    bool dropDeviceResources = false; // drop the render target and the text format
    bool scrollBars = false;    // SetScrollInfo from VerticalScrollBar()/HorizontalScrollBar()
    bool viewChanged = false;   // post kMsgViewChanged to the parent
    bool editBlocked = false;   // post kMsgEditBlocked to the parent
    bool zoomChanged = false;   // send kMsgZoomChanged to the parent
    bool copyRefused = false;   // post kMsgCopyRefused to the parent
    bool copySelection = false; // put SelectionClipboardText() on the clipboard
    bool blinkTimer = false;    // kill the blink timer, then set it if BlinkTimerRuns()
    bool setFocus = false;      // give the control the keyboard focus
    bool captureMouse = false;
    bool releaseCapture = false;

    ViewEffects& operator|=(const ViewEffects& other);
    friend bool operator==(const ViewEffects&, const ViewEffects&) = default;
};

// Result of an input handler: whether the message was used (false: default processing).
struct [[nodiscard]] InputResult {
    bool handled = true;
    ViewEffects effects;
};

// A scroll bar as SetScrollInfo takes it (range, page and position).
struct ScrollBarInfo {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::uint32_t page = 0;
    std::int32_t position = 0;
    friend bool operator==(const ScrollBarInfo&, const ScrollBarInfo&) = default;
};

// Scroll bar requests, numbered as the SB_* codes of WM_VSCROLL / WM_HSCROLL.
enum class ScrollRequest : std::uint32_t {
    LineBack = 0,    // line up / line left
    LineForward = 1, // line down / line right
    PageBack = 2,
    PageForward = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Start = 6, // top / left
    End = 7,   // bottom / right
    EndScroll = 8,
};

// Virtual-key codes the view reacts to (the Win32 VK_* values).
namespace vk {
inline constexpr std::uint32_t kBack = 0x08;
inline constexpr std::uint32_t kEscape = 0x1B;
inline constexpr std::uint32_t kPageUp = 0x21;
inline constexpr std::uint32_t kPageDown = 0x22;
inline constexpr std::uint32_t kEnd = 0x23;
inline constexpr std::uint32_t kHome = 0x24;
inline constexpr std::uint32_t kLeft = 0x25;
inline constexpr std::uint32_t kUp = 0x26;
inline constexpr std::uint32_t kRight = 0x27;
inline constexpr std::uint32_t kDown = 0x28;
inline constexpr std::uint32_t kInsert = 0x2D;
inline constexpr std::uint32_t kDelete = 0x2E;
inline constexpr std::uint32_t kC = 0x43;
} // namespace vk

// Geometry in device-independent pixels, derived from the metrics and the client size.
struct RectF {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    friend bool operator==(const RectF&, const RectF&) = default;
};

struct ViewMetrics {
    float rowHeight = 19.0f;
    float margin = 8.0f;
    float offsetColumnWidth = 126.0f;
    float hexColumnWidth = 470.0f;
    float textColumnWidth = 160.0f;
    float columnGap = 12.0f;
    float baseFontSize = 16.0f;
    float fontSize = 16.0f;
    float hexCellWidth = 8.0f;
    float textCellWidth = 8.0f;
    friend bool operator==(const ViewMetrics&, const ViewMetrics&) = default;
};

// Everything the painter draws, already positioned. Rows are painted top to bottom:
// marks, selection, caret, offset cells, hex cells, text cells, each inside its clip.
struct PaintCell {
    std::u16string text;
    RectF box; // the text is drawn into this box (leading, near)
};

struct PaintTextCell {
    std::u16string text;
    float x = 0.0f; // layout origin
    float y = 0.0f;
    float maxWidth = 0.0f; // layout box; a wide glyph may run into the following cells
    float maxHeight = 0.0f;
};

enum class CaretStyle {
    None, // not on this row, or the insert bar is in its hidden phase
    Box,  // fill both rectangles with the selection colour, outline them with the caret colour (1
          // DIP)
    Bar,  // fill both rectangles (2 DIPs wide bars) with the caret colour
};

struct PaintCaret {
    CaretStyle style = CaretStyle::None;
    RectF hex;
    RectF text;
};

// A marked run's band in one column, filled with its kind's colour.
struct PaintMark {
    RectF box;
    MarkKind kind = MarkKind::Hit;
    friend bool operator==(const PaintMark&, const PaintMark&) = default;
};

struct PaintRow {
    std::uint64_t rowIndex = 0;
    float top = 0.0f;
    RectF offsetClip;                     // offset cells
    RectF dataClip;                       // selection, caret, hex cells
    RectF glyphClip;                      // text cells (taller, so that tall glyphs are not cut)
    std::vector<PaintMark> marks;         // under the selection, inside dataClip
    std::vector<RectF> selection;         // filled with the selection colour, inside dataClip
    PaintCaret caret;                     // inside dataClip
    std::vector<PaintCell> offsetCells;   // one per character, offset colour
    std::vector<PaintCell> hexCells;      // one per byte, text colour
    std::vector<PaintTextCell> textCells; // non-empty cells only, text colour
};

struct PaintModel {
    ThemePalette palette; // the target is first cleared with palette.background
    std::vector<PaintRow> rows;
};

// What a copy of the selection yields.
struct ClipboardText {
    enum class Status {
        Nothing,  // no selection, no document, or nothing could be read
        Ready,    // `text` goes on the clipboard
        TooLarge, // refused: the text would exceed kMaxClipboardTextBytes
    };
    Status status = Status::Nothing;
    std::u16string text;
};

// Largest clipboard text (UTF-16 with its terminating zero) a copy builds: 64 MiB. A copy
// needs three characters per byte, so a huge selection would otherwise exhaust memory and
// end the process with the user's edits unsaved.
inline constexpr std::uint64_t kMaxClipboardTextBytes = 64ull * 1024 * 1024;

// Measures a font for the metrics; nothing when the text system is unavailable.
using TextMeasureFunction = std::function<std::optional<TextMetrics>(const FontSpec&)>;

// The hex view's state and every decision it makes: caret, selection, nibble editing,
// deletion, hit testing, scrolling, zoom, metrics and what to paint. The window holds
// one, forwards its messages here and carries out the returned effects. Coordinates
// passed in are client pixels; everything else is in DIPs.
class HexViewModel {
public:
    HexViewModel();

    // --- Set-up by the shell ---------------------------------------------------------
    // How fonts are measured (DirectWrite on Windows). Without one, metrics keep their
    // fallback values as when DirectWrite is unavailable.
    void SetTextMeasurer(TextMeasureFunction measurer);
    // Attaches a document (or none) and resets the position: caret, selection, scrolling,
    // pending nibble and drag all cleared, editing disabled. Keeps encoding, theme, edit
    // mode, zoom and font. Recomputes metrics; asks for focus.
    ViewEffects SetDocument(const IReadOnlyDocument* document, IEditableDocument* editor);
    ViewEffects SetEncoding(TextEncoding encoding);
    ViewEffects SetTheme(Theme theme);
    // Size in points, limited to 6..48. An empty family is ignored; the same font (family
    // compared ignoring case) changes nothing.
    ViewEffects SetFont(const std::u16string& family, float sizePoints, bool bold, bool italic);
    ViewEffects ZoomBy(float delta);
    ViewEffects ResetZoom();
    // A DPI of 0 counts as 96. Follow with Relayout().
    void SetDpi(std::uint32_t dpi);
    ViewEffects Relayout();
    // Client size in physical pixels (WM_SIZE).
    ViewEffects SetClientSize(std::int32_t widthPixels, std::int32_t heightPixels);
    // Applies measured metrics (or the fallback values when nothing was measured).
    void ComputeMetrics(const std::optional<TextMetrics>& measured);

    // --- Caret, selection and editing -------------------------------------------------
    ViewEffects SetCaret(std::uint64_t offset);
    ViewEffects MoveCaretBy(std::int64_t delta);
    ViewEffects SetSelection(std::uint64_t a, std::uint64_t b);
    ViewEffects ClearSelection();
    InputResult TypeHexDigit(char16_t character);
    InputResult DeleteAtCaret(bool backward);
    InputResult DeleteSelection();
    ViewEffects ToggleEditMode();
    // The shell's read-only toggle (Ctrl+R): flips editing, the next digit starts a byte afresh.
    ViewEffects ToggleEditingEnabled();
    // Shows a search hit: selects [first, last] and puts the caret on `first`.
    ViewEffects ShowRange(std::uint64_t first, std::uint64_t last);
    // The selection as upper-case hex bytes separated by spaces ("4D 5A 90 00").
    [[nodiscard]] ClipboardText SelectionClipboardText() const;

    // --- Window messages --------------------------------------------------------------
    InputResult OnKeyDown(std::uint32_t virtualKey, bool ctrl);
    InputResult OnChar(char16_t character);
    ViewEffects OnLButtonDown(std::int32_t x, std::int32_t y);
    ViewEffects OnMouseMove(std::int32_t x, std::int32_t y);
    ViewEffects OnLButtonUp();
    ViewEffects OnCaptureChanged();
    // One step per message whatever the distance: Ctrl zooms, otherwise three rows.
    ViewEffects OnMouseWheel(std::int32_t distance, bool ctrl);
    // `trackPosition` is the scroll bar's drag position (used by the thumb requests).
    ViewEffects OnVerticalScroll(ScrollRequest request, std::int32_t trackPosition);
    ViewEffects OnHorizontalScroll(ScrollRequest request, std::int32_t trackPosition);
    ViewEffects OnSetFocus();
    ViewEffects OnKillFocus();
    ViewEffects OnBlinkTimer();
    [[nodiscard]] bool BlinkTimerRuns() const { return editMode_ == EditMode::Insert && focused_; }
    // The blink interval for the system's caret blink time: never faster than 200 ms.
    [[nodiscard]] static std::uint32_t BlinkIntervalMs(std::uint32_t systemBlinkTime);

    // --- Scrolling and geometry ---------------------------------------------------------
    ViewEffects SetTopRow(std::uint64_t row);
    ViewEffects EnsureCaretVisible();
    [[nodiscard]] std::optional<std::uint64_t> HitTest(std::int32_t x, std::int32_t y) const;
    [[nodiscard]] ScrollBarInfo VerticalScrollBar() const;
    [[nodiscard]] ScrollBarInfo HorizontalScrollBar() const;
    // Client-pixel centre of the hex cell (or text cell) of `offset` when it is on screen.
    [[nodiscard]] std::optional<std::pair<std::int32_t, std::int32_t>>
    CellCenterPixels(std::uint64_t offset, bool textColumn) const;

    // --- Painting ---------------------------------------------------------------------
    // Reads the visible rows only and lays out everything the painter draws.
    [[nodiscard]] PaintModel BuildPaintModel() const;
    // The same for the screen rows [first, end) only.
    [[nodiscard]] PaintModel BuildPaintModel(std::uint64_t firstRow, std::uint64_t endRow) const;
    // What changed on screen since the last call, which then counts as painted.
    [[nodiscard]] RepaintPlan TakeRepaintPlan();
    // Asks for the whole view on the next plan (for a change the model cannot see).
    ViewEffects RepaintAll();
    // Sources of marked bytes, painted under the selection until removed; not owned. Adding
    // or removing one repaints the view on the next plan.
    void AddMarks(const IByteMarks* marks);
    void RemoveMarks(const IByteMarks* marks);
    // What a source marks changed: the whole view is painted again.
    ViewEffects MarksChanged();
    // The attached document's bytes were replaced from outside (its file was read anew in
    // place): caret, selection, scrolling, encoding, mode and editing stay, clamped to the new
    // size; a half-typed byte is dropped. The whole view repaints, since a row the plan sees
    // as unchanged may hold other bytes now, and the change is notified.
    ViewEffects DocumentReplaced();
    // The strip of the client area, in DIPs, that screen row `row` owns: the first and the
    // last visible row also own the margin beside them.
    [[nodiscard]] RectF RowBand(std::uint64_t row) const;
    // The screen rows [first, end) whose drawing can reach into [top, bottom) (DIPs): a
    // row's glyphs may run one row up or down.
    [[nodiscard]] std::pair<std::uint64_t, std::uint64_t> RowsReaching(float top,
                                                                       float bottom) const;
    // The caret's hex and text cells as painted (the bars in Insert mode), in DIPs.
    [[nodiscard]] std::pair<RectF, RectF> CaretCells() const;
    // The row height is a whole number of physical pixels, so rows can move as pixels.
    [[nodiscard]] bool WholePixelRows() const;
    // True once after SetDocument: the first paint of a new document is followed by another.
    [[nodiscard]] bool TakeRepaintOnce();

    // --- State read by the shell, the status bar and tests --------------------------------
    [[nodiscard]] bool HasOpenDocument() const;
    [[nodiscard]] std::uint64_t DocumentSize() const;
    [[nodiscard]] std::uint64_t CaretOffset() const { return caretOffset_; }
    [[nodiscard]] bool HasSelection() const { return hasSelection_; }
    [[nodiscard]] std::uint64_t SelectionLow() const;
    [[nodiscard]] std::uint64_t SelectionHigh() const;
    [[nodiscard]] bool HasPendingNibble() const { return hasPendingNibble_; }
    [[nodiscard]] std::uint8_t PendingNibble() const { return pendingNibbleValue_; }
    [[nodiscard]] bool MouseCaptured() const { return mouseCaptured_; }
    [[nodiscard]] bool Focused() const { return focused_; }
    [[nodiscard]] bool CaretBlinkOn() const { return caretBlinkOn_; }
    [[nodiscard]] EditMode Mode() const { return editMode_; }
    [[nodiscard]] bool EditingEnabled() const { return editingEnabled_; }
    // While held (a search reads the document on another thread), edits are refused as in
    // read-only mode, without changing the mode the user chose.
    void HoldEdits(bool held) { editsHeld_ = held; }
    [[nodiscard]] bool CanEdit() const { return editingEnabled_ && !editsHeld_; }
    [[nodiscard]] TextEncoding Encoding() const { return encoding_; }
    [[nodiscard]] Theme CurrentTheme() const { return theme_; }
    [[nodiscard]] float Zoom() const { return zoom_; }
    [[nodiscard]] std::uint32_t Dpi() const { return dpi_; }
    [[nodiscard]] const ViewMetrics& Metrics() const { return metrics_; }
    [[nodiscard]] FontSpec Font() const; // family, zoomed size, bold, italic
    [[nodiscard]] const std::u16string& FontFamily() const { return fontFamily_; }
    [[nodiscard]] float FontSizePoints() const; // base size in points
    [[nodiscard]] bool FontBold() const { return fontBold_; }
    [[nodiscard]] bool FontItalic() const { return fontItalic_; }
    [[nodiscard]] std::uint64_t TopRow() const { return topRow_; }
    [[nodiscard]] std::int32_t HorizontalScroll() const { return horizontalScroll_; }

    // Derived quantities, recomputed on every call.
    [[nodiscard]] std::uint64_t LastOffset() const;
    [[nodiscard]] std::uint64_t LastByte() const;
    [[nodiscard]] std::uint64_t TotalRows() const;
    [[nodiscard]] std::uint64_t VisibleRows() const;
    [[nodiscard]] std::uint64_t MaxTopRow() const;
    [[nodiscard]] std::int32_t ScrollViewWidth() const;
    [[nodiscard]] std::int32_t ContentWidth() const;
    [[nodiscard]] std::int32_t MaxHorizontalScroll() const;
    [[nodiscard]] float ClientWidthDips() const;
    [[nodiscard]] float ClientHeightDips() const;
    [[nodiscard]] float DataLeft() const;
    [[nodiscard]] float HexStart() const;
    [[nodiscard]] float HexEnd() const;
    [[nodiscard]] float TextStart() const;

private:
    [[nodiscard]] bool EditorOpen() const;
    [[nodiscard]] ViewSnapshot Snapshot() const;
    // The rows whose text may change with the byte at `offset`; `onwards`: every row after
    // it too (an insertion or deletion shifts them).
    void NoteEdited(std::uint64_t offset, bool onwards);
    [[nodiscard]] bool IsInsertExtraRow(std::uint64_t row) const;
    [[nodiscard]] float ToDips(std::int32_t pixels) const;
    void ApplyMetrics(const std::optional<TextMetrics>& measured);
    void ClampScrollState();
    ViewEffects UpdateScrollBars();
    ViewEffects AfterZoomChange();
    ViewEffects AfterDeletion(std::uint64_t caret);
    [[nodiscard]] PaintRow BuildPaintRow(std::uint64_t rowIndex, std::uint64_t screenRow,
                                         const std::vector<std::uint8_t>& bytes,
                                         const std::vector<MarkedRange>& marks) const;

    const IReadOnlyDocument* document_ = nullptr;
    IEditableDocument* editor_ = nullptr;
    std::vector<const IByteMarks*> marks_;
    TextMeasureFunction measurer_;
    FontSpec cachedFont_;
    std::optional<TextMetrics> cachedMetrics_;

    std::uint64_t topRow_ = 0;
    std::int32_t horizontalScroll_ = 0;
    std::uint64_t caretOffset_ = 0;
    std::uint64_t selectionStart_ = 0;
    std::uint64_t selectionEnd_ = 0;
    bool hasSelection_ = false;
    TextEncoding encoding_ = TextEncoding::Ascii;
    Theme theme_ = Theme::Light;
    std::uint64_t dragAnchor_ = 0;
    bool dragAnchorValid_ = false;
    std::uint8_t pendingNibbleValue_ = 0;
    bool hasPendingNibble_ = false;
    bool mouseCaptured_ = false;
    bool focused_ = false;
    bool caretBlinkOn_ = true;
    bool repaintOnce_ = false;
    EditMode editMode_ = EditMode::Overwrite;
    bool editingEnabled_ = false;
    bool editsHeld_ = false;
    std::uint32_t dpi_ = 96;
    ViewMetrics metrics_;
    float zoom_ = 1.0f;
    std::u16string fontFamily_ = u"Consolas";
    bool fontBold_ = false;
    bool fontItalic_ = false;
    std::int32_t clientWidth_ = 0; // physical pixels
    std::int32_t clientHeight_ = 0;
    std::uint64_t layoutChanges_ = 0;
    std::uint64_t forcedRepaints_ = 0;
    ViewSnapshot painted_;        // what the last plan left on screen
    std::vector<RowSpan> edited_; // rows edited since then
};

} // namespace orx
