#include "hexview/HexViewModel.h"

#include "document/EditableDocument.h"
#include "hexview/PaintRows.h"
#include "text/HexDigit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orx {

namespace {

constexpr std::uint64_t kLargeDocument = 1ull << 32;

std::int32_t ClampToInt32(std::int64_t value, std::int32_t low, std::int32_t high)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

} // namespace

HexViewModel::HexViewModel() = default;

// ---------------------------------------------------------------------------------------
// Derived quantities

bool HexViewModel::HasOpenDocument() const
{
    return document_ != nullptr && document_->IsOpen();
}

bool HexViewModel::EditorOpen() const
{
    return editor_ != nullptr && editor_->IsOpen();
}

std::uint64_t HexViewModel::DocumentSize() const
{
    return HasOpenDocument() ? document_->Size() : 0;
}

std::uint64_t HexViewModel::LastOffset() const
{
    if (!HasOpenDocument()) {
        return 0;
    }
    const std::uint64_t size = document_->Size();
    if (editMode_ == EditMode::Insert) {
        return size;
    }
    return size == 0 ? 0 : size - 1;
}

std::uint64_t HexViewModel::LastByte() const
{
    const std::uint64_t size = DocumentSize();
    return size == 0 ? 0 : size - 1;
}

bool HexViewModel::IsInsertExtraRow(std::uint64_t row) const
{
    if (!HasOpenDocument() || editMode_ != EditMode::Insert) {
        return false;
    }
    const std::uint64_t size = document_->Size();
    return size != 0 && size % kBytesPerRow == 0 && caretOffset_ == size &&
           row == size / kBytesPerRow;
}

std::uint64_t HexViewModel::TotalRows() const
{
    const std::uint64_t size = DocumentSize();
    std::uint64_t rows = size / kBytesPerRow + (size % kBytesPerRow != 0 ? 1 : 0);
    if (size != 0 && IsInsertExtraRow(size / kBytesPerRow)) {
        ++rows;
    }
    return rows;
}

std::uint64_t HexViewModel::MaxTopRow() const
{
    const std::uint64_t total = TotalRows();
    const std::uint64_t visible = std::max<std::uint64_t>(VisibleRows(), 1);
    return total > visible ? total - visible : 0;
}

RowGeometry HexViewModel::Geometry() const
{
    return RowGeometry{font_.Metrics(), dpi_,    clientWidth_,
                       clientHeight_,   topRow_, horizontalScroll_};
}

std::uint64_t HexViewModel::SelectionLow() const
{
    return std::min(selectionStart_, selectionEnd_);
}

std::uint64_t HexViewModel::SelectionHigh() const
{
    return std::max(selectionStart_, selectionEnd_);
}

// ---------------------------------------------------------------------------------------
// Set-up, metrics and layout

ViewEffects HexViewModel::Relayout()
{
    const bool wideOffsets = HasOpenDocument() && document_->Size() >= kLargeDocument;
    if (font_.Measure(wideOffsets, dpi_)) {
        repaints_.NoteLayoutChanged();
    }
    ViewEffects effects = UpdateScrollBars();
    effects.dropDeviceResources = true;
    effects.repaint = true;
    return effects;
}

void HexViewModel::SetTextMeasurer(TextMeasureFunction measurer)
{
    font_.SetMeasurer(std::move(measurer));
}

ViewEffects HexViewModel::SetDocument(const IReadOnlyDocument* document, IEditableDocument* editor)
{
    document_ = document;
    editor_ = editor;
    topRow_ = 0;
    horizontalScroll_ = 0;
    caretOffset_ = 0;
    selectionStart_ = 0;
    selectionEnd_ = 0;
    hasSelection_ = false;
    dragAnchorValid_ = false;
    hasPendingNibble_ = false;
    mouseCaptured_ = false;
    editingEnabled_ = false;
    repaints_.NewDocument();
    ViewEffects effects = Relayout();
    effects.setFocus = true;
    return effects;
}

ViewEffects HexViewModel::SetEncoding(TextEncoding encoding)
{
    if (encoding == encoding_) {
        return {};
    }
    encoding_ = encoding;
    return ViewEffects{.repaint = true};
}

ViewEffects HexViewModel::SetTheme(Theme theme)
{
    if (theme == theme_) {
        return {};
    }
    theme_ = theme;
    return ViewEffects{.repaint = true};
}

ViewEffects HexViewModel::SetFont(const std::u16string& family, float sizePoints, bool bold,
                                  bool italic)
{
    if (!font_.Set(family, sizePoints, bold, italic)) {
        return {};
    }
    ViewEffects effects = Relayout();
    effects |= EnsureCaretVisible();
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

ViewEffects HexViewModel::AfterZoomChange()
{
    ViewEffects effects = Relayout();
    effects |= EnsureCaretVisible();
    effects.repaint = true;
    effects.zoomChanged = true;
    return effects;
}

ViewEffects HexViewModel::ZoomBy(float delta)
{
    return font_.ZoomBy(delta) ? AfterZoomChange() : ViewEffects{};
}

ViewEffects HexViewModel::ResetZoom()
{
    return font_.ResetZoom() ? AfterZoomChange() : ViewEffects{};
}

void HexViewModel::SetDpi(std::uint32_t dpi)
{
    dpi_ = dpi == 0 ? 96 : dpi;
}

ViewEffects HexViewModel::SetClientSize(std::int32_t widthPixels, std::int32_t heightPixels)
{
    clientWidth_ = std::max(widthPixels, 0);
    clientHeight_ = std::max(heightPixels, 0);
    ViewEffects effects = UpdateScrollBars();
    effects.dropDeviceResources = true;
    effects.repaint = true;
    return effects;
}

// ---------------------------------------------------------------------------------------
// Scrolling

void HexViewModel::ClampScrollState()
{
    caretOffset_ = std::min(caretOffset_, LastOffset());
    topRow_ = std::min(topRow_, MaxTopRow());
    horizontalScroll_ = std::clamp(horizontalScroll_, 0, Geometry().MaxHorizontalScroll());
}

ViewEffects HexViewModel::UpdateScrollBars()
{
    ClampScrollState();
    return ViewEffects{.scrollBars = true};
}

ScrollBarInfo HexViewModel::VerticalScrollBar() const
{
    return Geometry().VerticalScrollBar(TotalRows());
}

ScrollBarInfo HexViewModel::HorizontalScrollBar() const
{
    return Geometry().HorizontalScrollBar();
}

ViewEffects HexViewModel::SetTopRow(std::uint64_t row)
{
    topRow_ = std::min(row, MaxTopRow());
    ViewEffects effects = UpdateScrollBars();
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

ViewEffects HexViewModel::EnsureCaretVisible()
{
    const std::uint64_t oldTop = topRow_;
    const std::int32_t oldScroll = horizontalScroll_;
    const std::uint64_t caretRow = caretOffset_ / kBytesPerRow;
    const std::uint64_t visible = VisibleRows();
    if (caretRow < topRow_) {
        topRow_ = caretRow;
    } else if (caretRow - topRow_ >= visible) {
        topRow_ = caretRow - visible + 1;
    }
    const float cell = font_.Metrics().hexCellWidth;
    const auto left =
        static_cast<std::int64_t>(std::floor(cell * 3.0f * static_cast<float>(caretOffset_ % 16)));
    const auto right = static_cast<std::int64_t>(std::ceil(2.0f * cell + static_cast<float>(left)));
    const std::int64_t viewWidth = Geometry().ScrollViewWidth();
    if (left < horizontalScroll_) {
        horizontalScroll_ = ClampToInt32(left, 0, kMaxScrollPosition);
    } else if (right > horizontalScroll_ + viewWidth) {
        horizontalScroll_ = ClampToInt32(right - viewWidth, 0, kMaxScrollPosition);
    }
    ViewEffects effects = UpdateScrollBars();
    effects.repaint = topRow_ != oldTop || horizontalScroll_ != oldScroll;
    return effects;
}

ViewEffects HexViewModel::OnVerticalScroll(ScrollRequest request, std::int32_t trackPosition)
{
    const std::optional<std::int64_t> row = ScrollTarget(
        request, static_cast<std::int64_t>(topRow_), 1, static_cast<std::int64_t>(VisibleRows()),
        trackPosition, static_cast<std::int64_t>(MaxTopRow()));
    if (!row) {
        return {};
    }
    return SetTopRow(static_cast<std::uint64_t>(std::max<std::int64_t>(*row, 0)));
}

ViewEffects HexViewModel::OnHorizontalScroll(ScrollRequest request, std::int32_t trackPosition)
{
    const RowGeometry geometry = Geometry();
    const std::int64_t step = std::max<std::int64_t>(1, std::lround(geometry.metrics.hexCellWidth));
    const std::optional<std::int64_t> position =
        ScrollTarget(request, horizontalScroll_, step, geometry.ScrollViewWidth(), trackPosition,
                     geometry.MaxHorizontalScroll());
    if (!position) {
        return {};
    }
    horizontalScroll_ = ClampToInt32(*position, 0, geometry.MaxHorizontalScroll());
    ViewEffects effects = UpdateScrollBars();
    effects.repaint = true;
    return effects;
}

ViewEffects HexViewModel::OnMouseWheel(std::int32_t distance, bool ctrl)
{
    if (ctrl) {
        return ZoomBy(distance > 0 ? 0.1f : -0.1f);
    }
    if (distance > 0) {
        return SetTopRow(topRow_ < 3 ? 0 : topRow_ - 3);
    }
    return SetTopRow(topRow_ + 3);
}

// ---------------------------------------------------------------------------------------
// Caret, selection and editing

ViewEffects HexViewModel::SetCaret(std::uint64_t offset)
{
    caretOffset_ = std::min(offset, LastOffset());
    if (!mouseCaptured_) {
        hasSelection_ = false;
        dragAnchorValid_ = false;
    }
    hasPendingNibble_ = false;
    ViewEffects effects = EnsureCaretVisible();
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

ViewEffects HexViewModel::MoveCaretBy(std::int64_t delta)
{
    std::uint64_t target = caretOffset_;
    if (delta < 0) {
        const std::uint64_t magnitude = 0 - static_cast<std::uint64_t>(delta);
        target = caretOffset_ > magnitude ? caretOffset_ - magnitude : 0;
    } else {
        const auto magnitude = static_cast<std::uint64_t>(delta);
        const std::uint64_t last = LastOffset();
        target = caretOffset_ >= last || last - caretOffset_ < magnitude ? last
                                                                         : caretOffset_ + magnitude;
    }
    return SetCaret(target);
}

ViewEffects HexViewModel::SetSelection(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t lastByte = LastByte();
    selectionStart_ = std::min(a, lastByte);
    selectionEnd_ = std::min(b, lastByte);
    hasSelection_ = true;
    // The status bar measures the selection: it follows.
    return ViewEffects{.repaint = true, .viewChanged = true};
}

ViewEffects HexViewModel::ClearSelection()
{
    const bool had = hasSelection_;
    hasSelection_ = false;
    dragAnchorValid_ = false;
    return ViewEffects{.repaint = had, .viewChanged = had};
}

InputResult HexViewModel::TypeHexDigit(char16_t character)
{
    if (!EditorOpen()) {
        return Unhandled();
    }
    const std::optional<std::uint8_t> digit = HexDigitValue(character);
    if (!digit) {
        return Unhandled();
    }
    if (editMode_ == EditMode::Overwrite) {
        const ReadResult current = editor_->Read(caretOffset_, 1);
        if (current.bytes.empty()) {
            return Unhandled();
        }
        const bool pending = hasPendingNibble_;
        const auto value =
            static_cast<std::uint8_t>(pending ? pendingNibbleValue_ * 16 + *digit
                                              : (current.bytes[0] & 0x0F) | (*digit << 4));
        if (!editor_->OverwriteByte(caretOffset_, value)) {
            return Unhandled();
        }
        NoteEdited(caretOffset_, false);
        if (!pending) {
            pendingNibbleValue_ = *digit;
            hasPendingNibble_ = true;
            return Handled(ViewEffects{.repaint = true, .viewChanged = true});
        }
        hasPendingNibble_ = false;
        const std::uint64_t size = editor_->Size();
        if (size != 0 && caretOffset_ < size - 1) {
            return Handled(SetCaret(caretOffset_ + 1));
        }
        return Handled(ViewEffects{.repaint = true, .viewChanged = true});
    }
    if (!hasPendingNibble_) {
        pendingNibbleValue_ = *digit;
        hasPendingNibble_ = true;
        return Handled(ViewEffects{.repaint = true, .viewChanged = true});
    }
    if (!editor_->InsertByte(caretOffset_,
                             static_cast<std::uint8_t>(pendingNibbleValue_ * 16 + *digit))) {
        return Unhandled(); // the first digit stays pending
    }
    NoteEdited(caretOffset_, true);
    hasPendingNibble_ = false;
    ViewEffects effects = Relayout(); // the offset column may widen at 4 GiB
    effects |= SetCaret(caretOffset_ + 1);
    return Handled(effects);
}

InputResult HexViewModel::DeleteAtCaret(bool backward)
{
    if (!EditorOpen() || editor_->Size() == 0) {
        return Unhandled();
    }
    if (hasSelection_) {
        return DeleteSelection();
    }
    std::uint64_t position = caretOffset_;
    if (backward) {
        if (caretOffset_ == 0) {
            return Handled({});
        }
        position = caretOffset_ - 1;
    } else if (caretOffset_ >= editor_->Size()) {
        return Handled({});
    }
    if (!editor_->DeleteByte(position)) {
        return Unhandled();
    }
    NoteEdited(position, true);
    return Handled(AfterDeletion(backward ? position : caretOffset_));
}

InputResult HexViewModel::DeleteSelection()
{
    if (!hasSelection_ || !EditorOpen()) {
        return Unhandled();
    }
    const std::uint64_t low = SelectionLow();
    const std::uint64_t high = SelectionHigh();
    const bool deleted = editor_->DeleteRange(low, high - low + 1);
    NoteEdited(low, true); // a failed range may have gone part of the way
    if (!deleted) {
        return Unhandled();
    }
    return Handled(AfterDeletion(low));
}

ViewEffects HexViewModel::AfterDeletion(std::uint64_t caret)
{
    hasPendingNibble_ = false;
    ViewEffects effects = Relayout(); // the offset column may narrow below 4 GiB
    hasSelection_ = false;
    dragAnchorValid_ = false;
    caretOffset_ = std::min(LastOffset(), caret);
    effects |= EnsureCaretVisible();
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

ViewEffects HexViewModel::ToggleEditMode()
{
    editMode_ = editMode_ == EditMode::Overwrite ? EditMode::Insert : EditMode::Overwrite;
    if (editMode_ == EditMode::Overwrite && HasOpenDocument()) {
        const std::uint64_t size = document_->Size();
        caretOffset_ = std::min(caretOffset_, size == 0 ? 0 : size - 1);
    }
    hasPendingNibble_ = false;
    caretBlinkOn_ = true;
    // The Insert-mode extra row comes and goes with the mode.
    ViewEffects effects = UpdateScrollBars();
    effects.blinkTimer = true;
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

ViewEffects HexViewModel::ToggleEditingEnabled()
{
    editingEnabled_ = !editingEnabled_;
    hasPendingNibble_ = false;
    return ViewEffects{.repaint = true, .viewChanged = true};
}

ViewEffects HexViewModel::ShowRange(std::uint64_t first, std::uint64_t last)
{
    ViewEffects effects;
    effects.releaseCapture = mouseCaptured_;
    dragAnchorValid_ = false;
    mouseCaptured_ = false;
    effects |= SetSelection(first, last);
    caretOffset_ = std::min(first, LastByte());
    hasPendingNibble_ = false;
    effects |= EnsureCaretVisible();
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

ClipboardText HexViewModel::SelectionClipboardText() const
{
    if (!hasSelection_ || !HasOpenDocument()) {
        return {};
    }
    return CopyAsHex(*document_, SelectionLow(), SelectionHigh());
}

// ---------------------------------------------------------------------------------------
// Painting

CaretStyle HexViewModel::CaretShown() const
{
    if (editMode_ == EditMode::Overwrite) {
        return CaretStyle::Box;
    }
    return focused_ && caretBlinkOn_ ? CaretStyle::Bar : CaretStyle::None;
}

PaintModel HexViewModel::BuildPaintModel() const
{
    return BuildPaintModel(0, VisibleRows());
}

PaintModel HexViewModel::BuildPaintModel(std::uint64_t firstRow, std::uint64_t endRow) const
{
    PaintInputs inputs;
    inputs.document = HasOpenDocument() ? document_ : nullptr;
    inputs.marks = marks_;
    inputs.theme = theme_;
    inputs.encoding = encoding_;
    inputs.hasSelection = hasSelection_;
    inputs.selectionLow = SelectionLow();
    inputs.selectionHigh = SelectionHigh();
    inputs.caretOffset = caretOffset_;
    inputs.caret = CaretShown();
    const std::uint64_t size = DocumentSize();
    if (IsInsertExtraRow(size / kBytesPerRow)) {
        inputs.extraRow = size / kBytesPerRow;
    }
    return BuildPaintRows(Geometry(), inputs, firstRow, endRow);
}

ViewSnapshot HexViewModel::Snapshot() const
{
    ViewSnapshot snapshot;
    // The layout and forced-repaint counts are the tracker's to fill in.
    snapshot.frame = {document_, HasOpenDocument(), horizontalScroll_, theme_, encoding_,
                      dpi_,      clientWidth_,      clientHeight_};
    snapshot.visibleRows = VisibleRows();
    snapshot.topRow = topRow_;
    snapshot.documentSize = DocumentSize();
    snapshot.caretOffset = caretOffset_;
    snapshot.insertBar = editMode_ == EditMode::Insert;
    snapshot.caretShown = CaretShown() != CaretStyle::None;
    snapshot.hasSelection = hasSelection_;
    snapshot.selectionLow = hasSelection_ ? SelectionLow() : 0;
    snapshot.selectionHigh = hasSelection_ ? SelectionHigh() : 0;
    return snapshot;
}

void HexViewModel::NoteEdited(std::uint64_t offset, bool onwards)
{
    repaints_.NoteEdited(EditedRows(offset, onwards, encoding_));
}

RepaintPlan HexViewModel::TakeRepaintPlan()
{
    return repaints_.Take(Snapshot(), Geometry().WholePixelRows());
}

ViewEffects HexViewModel::RepaintAll()
{
    repaints_.RepaintAll();
    return ViewEffects{.repaint = true};
}

void HexViewModel::AddMarks(const IByteMarks* marks)
{
    if (marks != nullptr && std::find(marks_.begin(), marks_.end(), marks) == marks_.end()) {
        marks_.push_back(marks);
        repaints_.RepaintAll();
    }
}

void HexViewModel::RemoveMarks(const IByteMarks* marks)
{
    if (std::erase(marks_, marks) != 0) {
        repaints_.RepaintAll();
    }
}

ViewEffects HexViewModel::MarksChanged()
{
    return RepaintAll();
}

ViewEffects HexViewModel::DocumentReplaced()
{
    hasPendingNibble_ = false;
    const std::uint64_t lastByte = LastByte();
    if (hasSelection_ && DocumentSize() == 0) {
        hasSelection_ = false;
    }
    selectionStart_ = std::min(selectionStart_, lastByte);
    selectionEnd_ = std::min(selectionEnd_, lastByte);
    dragAnchor_ = std::min(dragAnchor_, lastByte);
    ViewEffects effects = UpdateScrollBars(); // clamps the caret and both scroll positions
    repaints_.RepaintAll();
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

} // namespace orx
