#pragma once

#include "hexview/ByteMarks.h"
#include "hexview/PaintModel.h"
#include "hexview/RepaintTracker.h"
#include "hexview/RowGeometry.h"
#include "hexview/SelectionCopy.h"
#include "hexview/TextEncoding.h"
#include "hexview/ViewFont.h"
#include "hexview/ViewInput.h"
#include "ui/Theme.h"

#include <cstdint>
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

// The hex view's state and what input does to it: caret, selection, nibble editing,
// deletion, scrolling and the window's messages. The window holds one, forwards its
// messages here and carries out the returned effects. Where rows sit is RowGeometry's,
// what they show BuildPaintRows', the font and zoom ViewFont's and what to repaint
// RepaintTracker's. Coordinates passed in are client pixels; everything else is in DIPs.
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

    // --- Window messages (HexViewMessages.cpp) ------------------------------------------
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
    [[nodiscard]] ScrollBarInfo VerticalScrollBar() const;
    [[nodiscard]] ScrollBarInfo HorizontalScrollBar() const;
    // Where rows and cells sit now.
    [[nodiscard]] RowGeometry Geometry() const;
    [[nodiscard]] std::uint64_t VisibleRows() const { return Geometry().VisibleRows(); }
    [[nodiscard]] std::optional<std::uint64_t> HitTest(std::int32_t x, std::int32_t y) const
    {
        return Geometry().HitTest(x, y, DocumentSize());
    }
    [[nodiscard]] std::optional<std::pair<std::int32_t, std::int32_t>>
    CellCenterPixels(std::uint64_t offset, bool textColumn) const
    {
        return Geometry().CellCenterPixels(offset, textColumn);
    }
    // The caret's hex and text cells as painted (the bars in Insert mode), in DIPs.
    [[nodiscard]] std::pair<RectF, RectF> CaretCells() const
    {
        return Geometry().CaretCells(caretOffset_, editMode_ == EditMode::Insert);
    }

    // --- Painting ---------------------------------------------------------------------
    // Reads the visible rows only and lays out everything the painter draws.
    [[nodiscard]] PaintModel BuildPaintModel() const;
    // The same for the screen rows [first, end) only.
    [[nodiscard]] PaintModel BuildPaintModel(std::uint64_t firstRow, std::uint64_t endRow) const;
    // What changed on screen since the last call, which then counts as painted.
    [[nodiscard]] RepaintPlan TakeRepaintPlan();
    // Asks for the whole view on the next plan (for a change the model cannot see).
    ViewEffects RepaintAll();
    // True once after SetDocument: the first paint of a new document is followed by another.
    [[nodiscard]] bool TakeRepaintOnce() { return repaints_.TakeRepaintOnce(); }
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
    [[nodiscard]] std::uint32_t Dpi() const { return dpi_; }
    [[nodiscard]] const ViewMetrics& Metrics() const { return font_.Metrics(); }
    [[nodiscard]] FontSpec Font() const { return font_.Zoomed(); } // at its zoomed size
    [[nodiscard]] const std::u16string& FontFamily() const { return font_.Family(); }
    [[nodiscard]] float FontSizePoints() const { return font_.SizePoints(); } // base size
    [[nodiscard]] bool FontBold() const { return font_.Bold(); }
    [[nodiscard]] bool FontItalic() const { return font_.Italic(); }
    [[nodiscard]] float Zoom() const { return font_.Zoom(); }
    [[nodiscard]] std::uint64_t TopRow() const { return topRow_; }
    [[nodiscard]] std::int32_t HorizontalScroll() const { return horizontalScroll_; }

    // Derived quantities, recomputed on every call.
    [[nodiscard]] std::uint64_t LastOffset() const;
    [[nodiscard]] std::uint64_t LastByte() const;
    [[nodiscard]] std::uint64_t TotalRows() const;
    [[nodiscard]] std::uint64_t MaxTopRow() const;

private:
    [[nodiscard]] bool EditorOpen() const;
    [[nodiscard]] ViewSnapshot Snapshot() const;
    // The box in Overwrite mode; in Insert mode the bar while focused, in its visible phase.
    [[nodiscard]] CaretStyle CaretShown() const;
    void NoteEdited(std::uint64_t offset, bool onwards);
    [[nodiscard]] bool IsInsertExtraRow(std::uint64_t row) const;
    void ClampScrollState();
    ViewEffects UpdateScrollBars();
    ViewEffects AfterZoomChange();
    ViewEffects AfterDeletion(std::uint64_t caret);

    const IReadOnlyDocument* document_ = nullptr;
    IEditableDocument* editor_ = nullptr;
    std::vector<const IByteMarks*> marks_;
    ViewFont font_;
    RepaintTracker repaints_;

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
    EditMode editMode_ = EditMode::Overwrite;
    bool editingEnabled_ = false;
    bool editsHeld_ = false;
    std::uint32_t dpi_ = 96;
    std::int32_t clientWidth_ = 0; // physical pixels
    std::int32_t clientHeight_ = 0;
};

} // namespace orx
