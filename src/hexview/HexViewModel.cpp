#include "hexview/HexViewModel.h"

#include "text/HexDigit.h"

#include "document/EditableDocument.h"
#include "text/CaseFold.h"
#include "hexview/RowFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orx {

namespace {

constexpr std::uint64_t kBytesPerRow = 16;
constexpr float kMinZoom = 0.6f;
constexpr float kMaxZoom = 2.5f;
constexpr float kZoomEpsilon = 0.001f;
constexpr float kMinFontPoints = 6.0f;
constexpr float kMaxFontPoints = 48.0f;
constexpr float kMinRowHeight = 17.0f;
constexpr std::int32_t kMaxScrollPosition = std::numeric_limits<std::int32_t>::max();
constexpr std::uint64_t kLargeDocument = 1ull << 32;
constexpr float kInsertBarWidth = 2.0f;

std::int32_t ClampToInt32(std::int64_t value, std::int32_t low, std::int32_t high)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

// Where a scroll bar request leads from `current` (rows or DIPs), before limiting; nothing
// for the end of a drag, which changes nothing.
std::optional<std::int64_t> ScrollTarget(ScrollRequest request, std::int64_t current,
                                         std::int64_t line, std::int64_t page, std::int32_t track,
                                         std::int64_t end)
{
    switch (request) {
    case ScrollRequest::LineBack: return current - line;
    case ScrollRequest::LineForward: return current + line;
    case ScrollRequest::PageBack: return current - page;
    case ScrollRequest::PageForward: return current + page;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack: return track;
    case ScrollRequest::Start: return 0;
    case ScrollRequest::End: return end;
    case ScrollRequest::EndScroll: break;
    }
    return std::nullopt;
}

InputResult Unhandled()
{
    return InputResult{false, {}};
}

InputResult Handled(const ViewEffects& effects)
{
    return InputResult{true, effects};
}

} // namespace

ViewEffects& ViewEffects::operator|=(const ViewEffects& other)
{
    repaint |= other.repaint;
    dropDeviceResources |= other.dropDeviceResources;
    scrollBars |= other.scrollBars;
    viewChanged |= other.viewChanged;
    editBlocked |= other.editBlocked;
    zoomChanged |= other.zoomChanged;
    copyRefused |= other.copyRefused;
    copySelection |= other.copySelection;
    blinkTimer |= other.blinkTimer;
    setFocus |= other.setFocus;
    captureMouse |= other.captureMouse;
    releaseCapture |= other.releaseCapture;
    return *this;
}

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

float HexViewModel::ToDips(std::int32_t pixels) const
{
    const std::uint32_t dpi = dpi_ == 0 ? 96 : dpi_;
    return static_cast<float>(pixels) * 96.0f / static_cast<float>(dpi);
}

float HexViewModel::ClientWidthDips() const
{
    return ToDips(clientWidth_);
}

float HexViewModel::ClientHeightDips() const
{
    return ToDips(clientHeight_);
}

std::uint64_t HexViewModel::VisibleRows() const
{
    const float rows = (ClientHeightDips() - 2.0f * metrics_.margin) / metrics_.rowHeight;
    if (!(rows >= 1.0f)) {
        return 1;
    }
    return static_cast<std::uint64_t>(rows);
}

std::uint64_t HexViewModel::MaxTopRow() const
{
    const std::uint64_t total = TotalRows();
    const std::uint64_t visible = std::max<std::uint64_t>(VisibleRows(), 1);
    return total > visible ? total - visible : 0;
}

std::int32_t HexViewModel::ScrollViewWidth() const
{
    const float width = std::floor(
        ClientWidthDips() - (metrics_.margin + metrics_.offsetColumnWidth + metrics_.columnGap) -
        metrics_.margin);
    return width > 0.0f ? static_cast<std::int32_t>(width) : 0;
}

std::int32_t HexViewModel::ContentWidth() const
{
    const float width =
        std::ceil(metrics_.hexColumnWidth + metrics_.columnGap + metrics_.textColumnWidth);
    return width > 0.0f ? static_cast<std::int32_t>(width) : 0;
}

std::int32_t HexViewModel::MaxHorizontalScroll() const
{
    return std::max(0, ContentWidth() - ScrollViewWidth());
}

float HexViewModel::DataLeft() const
{
    return metrics_.margin + metrics_.offsetColumnWidth + metrics_.columnGap;
}

float HexViewModel::HexStart() const
{
    return DataLeft() - static_cast<float>(horizontalScroll_);
}

float HexViewModel::HexEnd() const
{
    return HexStart() + metrics_.hexColumnWidth;
}

float HexViewModel::TextStart() const
{
    return HexEnd() + metrics_.columnGap;
}

std::uint64_t HexViewModel::SelectionLow() const
{
    return std::min(selectionStart_, selectionEnd_);
}

std::uint64_t HexViewModel::SelectionHigh() const
{
    return std::max(selectionStart_, selectionEnd_);
}

FontSpec HexViewModel::Font() const
{
    return FontSpec{fontFamily_, metrics_.baseFontSize * zoom_, fontBold_, fontItalic_};
}

float HexViewModel::FontSizePoints() const
{
    return metrics_.baseFontSize * 72.0f / 96.0f;
}

// ---------------------------------------------------------------------------------------
// Set-up, metrics and layout

void HexViewModel::ComputeMetrics(const std::optional<TextMetrics>& measured)
{
    const ViewMetrics before = metrics_;
    ApplyMetrics(measured);
    if (!(metrics_ == before)) {
        ++layoutChanges_;
    }
}

void HexViewModel::ApplyMetrics(const std::optional<TextMetrics>& measured)
{
    metrics_.margin = 8.0f;
    metrics_.columnGap = 12.0f;
    metrics_.rowHeight = kMinRowHeight;
    metrics_.offsetColumnWidth = 0.0f;
    metrics_.hexColumnWidth = 0.0f;
    metrics_.textColumnWidth = 0.0f;
    metrics_.hexCellWidth = 8.0f;
    metrics_.textCellWidth = 8.0f;
    metrics_.fontSize = zoom_ * metrics_.baseFontSize;
    if (!measured) {
        return; // no text system: the view stays usable but shows nothing useful
    }
    const float lineHeight =
        measured->lineHeight > 0.0f ? measured->lineHeight : metrics_.rowHeight;
    metrics_.hexCellWidth = std::max(measured->hexCellWidth, 1.0f);
    metrics_.textCellWidth = std::max(measured->textCellWidth, 1.0f);
    const bool wideOffsets = HasOpenDocument() && document_->Size() >= kLargeDocument;
    metrics_.offsetColumnWidth = metrics_.hexCellWidth * (wideOffsets ? 17.0f : 9.0f);
    metrics_.hexColumnWidth = metrics_.hexCellWidth * 3.0f * 16.0f;
    metrics_.textColumnWidth = metrics_.textCellWidth * 16.0f;
    const float fontSize = metrics_.fontSize;
    const float rowHeight =
        std::max({kMinRowHeight, lineHeight + std::max(0.15f * fontSize, 0.75f), 1.35f * fontSize});
    // Rounded up to whole physical pixels: every row then sits at the same place within a
    // pixel, so a row moved as pixels looks exactly as the same row painted there.
    const float pixelsPerDip = static_cast<float>(dpi_) / 96.0f;
    metrics_.rowHeight = std::ceil(rowHeight * pixelsPerDip - 1e-3f) / pixelsPerDip;
}

bool HexViewModel::WholePixelRows() const
{
    const float pixels = metrics_.rowHeight * static_cast<float>(dpi_) / 96.0f;
    return std::fabs(pixels - std::round(pixels)) < 1e-3f;
}

ViewEffects HexViewModel::Relayout()
{
    std::optional<TextMetrics> measured;
    if (measurer_) {
        const FontSpec font = Font();
        // Measuring lays out over a hundred probe strings; size-changing edits relayout on
        // every keystroke, so the last measurement is kept while the font stays the same.
        if (cachedMetrics_ && cachedFont_.family == font.family &&
            cachedFont_.sizeDips == font.sizeDips && cachedFont_.bold == font.bold &&
            cachedFont_.italic == font.italic) {
            measured = cachedMetrics_;
        } else {
            measured = measurer_(font);
            cachedFont_ = font;
            cachedMetrics_ = measured;
        }
    }
    ComputeMetrics(measured);
    ViewEffects effects = UpdateScrollBars();
    effects.dropDeviceResources = true;
    effects.repaint = true;
    return effects;
}

void HexViewModel::SetTextMeasurer(TextMeasureFunction measurer)
{
    measurer_ = std::move(measurer);
    cachedMetrics_.reset();
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
    repaintOnce_ = true;
    // The document object may be the same one opened on other bytes: nothing in the view's
    // state says the pixels are stale, so the whole view is painted anew.
    ++forcedRepaints_;
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
    if (family.empty()) {
        return {};
    }
    float points = sizePoints;
    if (!(points >= kMinFontPoints)) {
        points = kMinFontPoints; // also a size that is not a number
    }
    points = std::min(points, kMaxFontPoints);
    const float dips = points * 96.0f / 72.0f;
    if (EqualsIgnoringCase(family, fontFamily_) &&
        std::fabs(dips - metrics_.baseFontSize) < 0.01f && bold == fontBold_ &&
        italic == fontItalic_) {
        return {};
    }
    fontFamily_ = family;
    metrics_.baseFontSize = dips;
    fontBold_ = bold;
    fontItalic_ = italic;
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
    const float zoom = std::clamp(zoom_ + delta, kMinZoom, kMaxZoom);
    if (!(std::fabs(zoom - zoom_) >= kZoomEpsilon)) {
        return {};
    }
    zoom_ = zoom;
    return AfterZoomChange();
}

ViewEffects HexViewModel::ResetZoom()
{
    if (std::fabs(zoom_ - 1.0f) < kZoomEpsilon) {
        return {};
    }
    zoom_ = 1.0f;
    return AfterZoomChange();
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
    horizontalScroll_ = std::clamp(horizontalScroll_, 0, MaxHorizontalScroll());
}

ViewEffects HexViewModel::UpdateScrollBars()
{
    ClampScrollState();
    return ViewEffects{.scrollBars = true};
}

ScrollBarInfo HexViewModel::VerticalScrollBar() const
{
    const std::uint64_t total = TotalRows();
    ScrollBarInfo info;
    info.maximum =
        total == 0
            ? 0
            : static_cast<std::int32_t>(std::min<std::uint64_t>(total - 1, kMaxScrollPosition));
    info.page =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(VisibleRows(), kMaxScrollPosition));
    info.position = static_cast<std::int32_t>(std::min<std::uint64_t>(topRow_, kMaxScrollPosition));
    return info;
}

ScrollBarInfo HexViewModel::HorizontalScrollBar() const
{
    ScrollBarInfo info;
    info.maximum = std::max(0, ContentWidth() - 1);
    info.page = static_cast<std::uint32_t>(ScrollViewWidth());
    info.position = horizontalScroll_;
    return info;
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
    const float cell = metrics_.hexCellWidth;
    const auto left =
        static_cast<std::int64_t>(std::floor(cell * 3.0f * static_cast<float>(caretOffset_ % 16)));
    const auto right = static_cast<std::int64_t>(std::ceil(2.0f * cell + static_cast<float>(left)));
    const std::int64_t viewWidth = ScrollViewWidth();
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
    const std::int64_t step = std::max<std::int64_t>(1, std::lround(metrics_.hexCellWidth));
    const std::optional<std::int64_t> position = ScrollTarget(
        request, horizontalScroll_, step, ScrollViewWidth(), trackPosition, MaxHorizontalScroll());
    if (!position) {
        return {};
    }
    horizontalScroll_ = ClampToInt32(*position, 0, MaxHorizontalScroll());
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

std::optional<std::uint64_t> HexViewModel::HitTest(std::int32_t x, std::int32_t y) const
{
    // An empty document has no byte to hit, so a click there makes no selection.
    if (DocumentSize() == 0) {
        return std::nullopt;
    }
    const float xd = ToDips(x);
    const float yd = ToDips(y);
    const float margin = metrics_.margin;
    if (yd < margin || yd >= ClientHeightDips() - margin) {
        return std::nullopt;
    }
    const auto screenRow = static_cast<std::uint64_t>((yd - margin) / metrics_.rowHeight);
    // Only what is painted can be hit: the full rows, and the scrolling data area between the
    // offset column and the right margin (cells scrolled under either are not drawn).
    if (screenRow >= VisibleRows() || xd < DataLeft() || xd >= ClientWidthDips() - margin) {
        return std::nullopt;
    }
    const std::uint64_t rowStart = (topRow_ + screenRow) * kBytesPerRow;
    const std::uint64_t lastByte = LastByte();
    if (rowStart > lastByte) {
        return std::nullopt;
    }
    std::uint64_t column = 0;
    if (xd >= HexStart() && xd < HexEnd()) {
        column = static_cast<std::uint64_t>((xd - HexStart()) / (3.0f * metrics_.hexCellWidth));
    } else if (xd >= TextStart() && xd < TextStart() + metrics_.textColumnWidth) {
        column = static_cast<std::uint64_t>((xd - TextStart()) / metrics_.textCellWidth);
    } else {
        return std::nullopt;
    }
    const std::uint64_t offset = rowStart + std::min<std::uint64_t>(column, 15);
    if (offset > lastByte) {
        return std::nullopt;
    }
    return offset;
}

std::optional<std::pair<std::int32_t, std::int32_t>>
HexViewModel::CellCenterPixels(std::uint64_t offset, bool textColumn) const
{
    const std::uint64_t row = offset / kBytesPerRow;
    if (row < topRow_ || row - topRow_ >= VisibleRows()) {
        return std::nullopt;
    }
    const auto column = static_cast<float>(offset % kBytesPerRow);
    const float y = metrics_.margin + static_cast<float>(row - topRow_) * metrics_.rowHeight +
                    metrics_.rowHeight / 2;
    const float x =
        textColumn ? TextStart() + (column + 0.5f) * metrics_.textCellWidth
                   : HexStart() + column * 3.0f * metrics_.hexCellWidth + metrics_.hexCellWidth;
    const float scale = static_cast<float>(dpi_) / 96.0f;
    return std::make_pair(static_cast<std::int32_t>(std::lround(x * scale)),
                          static_cast<std::int32_t>(std::lround(y * scale)));
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
    return ViewEffects{.repaint = true};
}

ViewEffects HexViewModel::ClearSelection()
{
    const bool had = hasSelection_;
    hasSelection_ = false;
    dragAnchorValid_ = false;
    return ViewEffects{.repaint = had};
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
    const std::uint64_t low = SelectionLow();
    const std::uint64_t count = SelectionHigh() - low + 1;
    // Three UTF-16 units per byte (the last one's space is the terminating zero).
    if (count > kMaxClipboardTextBytes / 6) {
        return ClipboardText{ClipboardText::Status::TooLarge, {}};
    }
    const ReadResult read = document_->Read(low, count);
    if (read.bytes.empty()) {
        return {};
    }
    ClipboardText result{ClipboardText::Status::Ready, {}};
    result.text.reserve(read.bytes.size() * 3);
    for (std::size_t i = 0; i < read.bytes.size(); ++i) {
        if (i != 0) {
            result.text.push_back(u' ');
        }
        AppendHexByte(result.text, read.bytes[i]);
    }
    return result;
}

// ---------------------------------------------------------------------------------------
// Window messages

InputResult HexViewModel::OnKeyDown(std::uint32_t virtualKey, bool ctrl)
{
    if (!HasOpenDocument() || virtualKey < vk::kBack || virtualKey > vk::kC) {
        return Unhandled();
    }
    const std::uint64_t rowStart = caretOffset_ - caretOffset_ % kBytesPerRow;
    const auto page = static_cast<std::int64_t>(std::min<std::uint64_t>(
        VisibleRows() * kBytesPerRow,
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())));
    switch (virtualKey) {
    case vk::kBack:
    case vk::kDelete:
        if (!CanEdit()) {
            return Handled(ViewEffects{.editBlocked = true});
        }
        return DeleteAtCaret(virtualKey == vk::kBack);
    case vk::kEscape: return Handled(ClearSelection());
    case vk::kPageUp: return Handled(MoveCaretBy(-page));
    case vk::kPageDown: return Handled(MoveCaretBy(page));
    case vk::kEnd:
        return Handled(SetCaret(ctrl ? LastOffset() : std::min(LastOffset(), rowStart + 15)));
    case vk::kHome: return Handled(SetCaret(ctrl ? 0 : rowStart));
    case vk::kLeft: return Handled(MoveCaretBy(-1));
    case vk::kRight: return Handled(MoveCaretBy(1));
    case vk::kUp: return Handled(MoveCaretBy(-static_cast<std::int64_t>(kBytesPerRow)));
    case vk::kDown: return Handled(MoveCaretBy(static_cast<std::int64_t>(kBytesPerRow)));
    case vk::kInsert:
        if (!CanEdit()) {
            return Handled(ViewEffects{.editBlocked = true});
        }
        return Handled(ToggleEditMode());
    case vk::kC: {
        if (!ctrl) {
            return Unhandled();
        }
        if (!hasSelection_) {
            return Handled({});
        }
        const std::uint64_t count = SelectionHigh() - SelectionLow() + 1;
        if (count > kMaxClipboardTextBytes / 6) {
            return Handled(ViewEffects{.copyRefused = true});
        }
        return Handled(ViewEffects{.copySelection = true});
    }
    default: return Unhandled();
    }
}

InputResult HexViewModel::OnChar(char16_t character)
{
    if (CanEdit()) {
        if (!HasOpenDocument()) {
            return Unhandled();
        }
        return TypeHexDigit(character);
    }
    if (HexDigitValue(character)) {
        return Handled(ViewEffects{.editBlocked = true});
    }
    return Unhandled();
}

ViewEffects HexViewModel::OnLButtonDown(std::int32_t x, std::int32_t y)
{
    ViewEffects effects{.setFocus = true};
    if (!HasOpenDocument()) {
        return effects;
    }
    const std::optional<std::uint64_t> hit = HitTest(x, y);
    if (!hit) {
        return effects;
    }
    dragAnchor_ = *hit;
    dragAnchorValid_ = true;
    mouseCaptured_ = true;
    effects.captureMouse = true;
    effects |= SetSelection(*hit, *hit);
    effects |= SetCaret(*hit);
    return effects;
}

ViewEffects HexViewModel::OnMouseMove(std::int32_t x, std::int32_t y)
{
    if (!mouseCaptured_ || !dragAnchorValid_) {
        return {};
    }
    const std::optional<std::uint64_t> hit = HitTest(x, y);
    if (!hit) {
        return {};
    }
    return SetSelection(dragAnchor_, *hit);
}

ViewEffects HexViewModel::OnLButtonUp()
{
    if (!mouseCaptured_) {
        return {};
    }
    mouseCaptured_ = false;
    return ViewEffects{.releaseCapture = true};
}

ViewEffects HexViewModel::OnCaptureChanged()
{
    mouseCaptured_ = false;
    dragAnchorValid_ = false;
    return {};
}

ViewEffects HexViewModel::OnSetFocus()
{
    focused_ = true;
    caretBlinkOn_ = true;
    return ViewEffects{.repaint = true, .blinkTimer = true};
}

ViewEffects HexViewModel::OnKillFocus()
{
    focused_ = false;
    caretBlinkOn_ = false;
    return ViewEffects{.repaint = true, .blinkTimer = true};
}

ViewEffects HexViewModel::OnBlinkTimer()
{
    caretBlinkOn_ = !caretBlinkOn_;
    return ViewEffects{.repaint = true};
}

std::uint32_t HexViewModel::BlinkIntervalMs(std::uint32_t systemBlinkTime)
{
    return std::max<std::uint32_t>(systemBlinkTime, 200);
}

// ---------------------------------------------------------------------------------------
// Painting

bool HexViewModel::TakeRepaintOnce()
{
    const bool once = repaintOnce_;
    repaintOnce_ = false;
    return once;
}

PaintModel HexViewModel::BuildPaintModel() const
{
    return BuildPaintModel(0, VisibleRows());
}

PaintModel HexViewModel::BuildPaintModel(std::uint64_t firstRow, std::uint64_t endRow) const
{
    PaintModel model;
    model.palette = HexViewPalette(theme_);
    if (!HasOpenDocument()) {
        return model;
    }
    const std::uint64_t end = std::min(endRow, VisibleRows());
    // One question per source for all the rows painted, not one per row.
    std::vector<MarkedRange> marks;
    if (firstRow < end) {
        for (const IByteMarks* source : marks_) {
            source->MarksIn((topRow_ + firstRow) * kBytesPerRow, (topRow_ + end) * kBytesPerRow,
                            marks);
        }
    }
    for (std::uint64_t r = firstRow; r < end; ++r) {
        const std::uint64_t rowIndex = topRow_ + r;
        ReadResult read = document_->Read(rowIndex * kBytesPerRow, kBytesPerRow);
        if (read.bytes.empty() && !IsInsertExtraRow(rowIndex)) {
            break;
        }
        model.rows.push_back(BuildPaintRow(rowIndex, r, read.bytes, marks));
    }
    return model;
}

ViewSnapshot HexViewModel::Snapshot() const
{
    ViewSnapshot snapshot;
    snapshot.frame = {
        document_, HasOpenDocument(), horizontalScroll_, theme_,         encoding_,
        dpi_,      clientWidth_,      clientHeight_,     layoutChanges_, forcedRepaints_};
    snapshot.visibleRows = VisibleRows();
    snapshot.topRow = topRow_;
    snapshot.documentSize = DocumentSize();
    snapshot.caretOffset = caretOffset_;
    snapshot.insertBar = editMode_ == EditMode::Insert;
    snapshot.caretShown = !snapshot.insertBar || (focused_ && caretBlinkOn_);
    snapshot.hasSelection = hasSelection_;
    snapshot.selectionLow = hasSelection_ ? SelectionLow() : 0;
    snapshot.selectionHigh = hasSelection_ ? SelectionHigh() : 0;
    return snapshot;
}

void HexViewModel::NoteEdited(std::uint64_t offset, bool onwards)
{
    const DecodeReach reach = TextDecodeReach(encoding_);
    const std::uint64_t row = offset / kBytesPerRow;
    const std::uint64_t first = row > reach.rowsBefore ? row - reach.rowsBefore : 0;
    constexpr std::uint64_t kEnd = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t last =
        onwards || kEnd - row < reach.rowsAfter ? kEnd : row + reach.rowsAfter;
    edited_.push_back({first, last});
}

RepaintPlan HexViewModel::TakeRepaintPlan()
{
    const ViewSnapshot now = Snapshot();
    RepaintPlan plan = PlanRepaint(painted_, now, edited_, WholePixelRows());
    painted_ = now;
    edited_.clear();
    return plan;
}

ViewEffects HexViewModel::RepaintAll()
{
    ++forcedRepaints_;
    return ViewEffects{.repaint = true};
}

void HexViewModel::AddMarks(const IByteMarks* marks)
{
    if (marks != nullptr && std::find(marks_.begin(), marks_.end(), marks) == marks_.end()) {
        marks_.push_back(marks);
        ++forcedRepaints_;
    }
}

void HexViewModel::RemoveMarks(const IByteMarks* marks)
{
    if (std::erase(marks_, marks) != 0) {
        ++forcedRepaints_;
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
    ++forcedRepaints_;
    effects.repaint = true;
    effects.viewChanged = true;
    return effects;
}

RectF HexViewModel::RowBand(std::uint64_t row) const
{
    const float top = metrics_.margin + static_cast<float>(row) * metrics_.rowHeight;
    const std::uint64_t visible = VisibleRows();
    return {0.0f, row == 0 ? 0.0f : top, ClientWidthDips(),
            row + 1 >= visible ? std::max(ClientHeightDips(), top + metrics_.rowHeight)
                               : top + metrics_.rowHeight};
}

std::pair<std::uint64_t, std::uint64_t> HexViewModel::RowsReaching(float top, float bottom) const
{
    const std::uint64_t visible = VisibleRows();
    const float rowHeight = metrics_.rowHeight;
    // Row r draws within [top(r) - rowHeight, top(r) + 2 rowHeight).
    const float firstReach = std::floor((top - metrics_.margin) / rowHeight) - 1.0f;
    const float endReach = std::floor((bottom - metrics_.margin) / rowHeight) + 2.0f;
    const auto clamp = [visible](float row) {
        return row <= 0.0f ? std::uint64_t{0} : std::min(static_cast<std::uint64_t>(row), visible);
    };
    return {clamp(firstReach), clamp(endReach)};
}

std::pair<RectF, RectF> HexViewModel::CaretCells() const
{
    const ViewMetrics& m = metrics_;
    const std::uint64_t row = caretOffset_ / kBytesPerRow;
    // As the row's own top is computed, so that both land on the same pixels.
    const auto screenRow = static_cast<float>(static_cast<std::int64_t>(row - topRow_));
    const float y = m.margin + screenRow * m.rowHeight;
    const auto column = static_cast<float>(caretOffset_ % kBytesPerRow);
    const float hexLeft = HexStart() + 3.0f * m.hexCellWidth * column;
    const float textLeft = TextStart() + column * m.textCellWidth;
    const bool bar = editMode_ == EditMode::Insert;
    return {
        {hexLeft, y, hexLeft + (bar ? kInsertBarWidth : 2.0f * m.hexCellWidth), y + m.rowHeight},
        {textLeft, y, textLeft + (bar ? kInsertBarWidth : m.textCellWidth), y + m.rowHeight}};
}

PaintRow HexViewModel::BuildPaintRow(std::uint64_t rowIndex, std::uint64_t screenRow,
                                     const std::vector<std::uint8_t>& bytes,
                                     const std::vector<MarkedRange>& marks) const
{
    const ViewMetrics& m = metrics_;
    const std::uint64_t rowStart = rowIndex * kBytesPerRow;
    const float y = m.margin + static_cast<float>(screenRow) * m.rowHeight;
    const float bottom = y + m.rowHeight;
    const float hexStart = HexStart();
    const float textStart = TextStart();
    const float hexPitch = 3.0f * m.hexCellWidth;
    const float dataRight = std::max(ClientWidthDips() - m.margin, DataLeft());

    PaintRow row;
    row.rowIndex = rowIndex;
    row.top = y;
    row.offsetClip = {m.margin, y, m.margin + m.offsetColumnWidth, bottom};
    row.dataClip = {DataLeft(), y, dataRight, bottom};
    row.glyphClip = {DataLeft(), std::max(y - m.rowHeight, 0.0f), dataRight,
                     y + 2.0f * m.rowHeight};

    constexpr std::uint64_t kNoOffset = std::numeric_limits<std::uint64_t>::max();
    // The hex and text bands of the row's bytes [low, high). A selected hex cell includes the
    // space after it, so that a selection is one band; a marked run's hex band ends at its
    // last digit, so that runs side by side stay apart.
    const auto bands = [&](std::uint64_t low, std::uint64_t high, bool trailingSpace) {
        const auto first = static_cast<float>(low - rowStart);
        const auto end = static_cast<float>(high - rowStart);
        const float hexRight = trailingSpace
                                   ? hexStart + end * hexPitch
                                   : hexStart + (end - 1.0f) * hexPitch + 2.0f * m.hexCellWidth;
        return std::pair<RectF, RectF>{
            {hexStart + first * hexPitch, y, hexRight, bottom},
            {textStart + first * m.textCellWidth, y, textStart + end * m.textCellWidth, bottom}};
    };
    const std::uint64_t rowEnd = rowStart + bytes.size();
    for (const MarkedRange& mark : marks) {
        const std::uint64_t markEnd =
            mark.length > kNoOffset - mark.first ? kNoOffset : mark.first + mark.length;
        const std::uint64_t low = std::max(mark.first, rowStart);
        const std::uint64_t high = std::min(markEnd, rowEnd);
        if (low < high) {
            const auto [hex, text] = bands(low, high, false);
            row.marks.push_back({hex, mark.kind});
            row.marks.push_back({text, mark.kind});
        }
    }
    if (hasSelection_) {
        const std::uint64_t low = std::max(SelectionLow(), rowStart);
        const std::uint64_t high = std::min(SelectionHigh() + 1, rowEnd);
        if (low < high) {
            const auto [hex, text] = bands(low, high, true);
            row.selection = {hex, text};
        }
    }

    if (caretOffset_ / kBytesPerRow == rowIndex) {
        const auto [hex, text] = CaretCells();
        if (editMode_ == EditMode::Overwrite) {
            row.caret = {CaretStyle::Box, hex, text};
        } else if (focused_ && caretBlinkOn_) {
            row.caret = {CaretStyle::Bar, hex, text};
        }
    }

    RowModel texts = BuildRowModel(document_, rowStart, bytes, encoding_);
    for (std::size_t k = 0; k < texts.offsetText.size(); ++k) {
        const float left = m.margin + static_cast<float>(k) * m.hexCellWidth;
        row.offsetCells.push_back(
            {std::u16string(1, texts.offsetText[k]), {left, y, left + m.hexCellWidth, bottom}});
    }
    for (std::size_t j = 0; j < texts.hexCells.size(); ++j) {
        const float left = hexStart + static_cast<float>(j) * hexPitch;
        row.hexCells.push_back(
            {std::move(texts.hexCells[j]), {left, y, left + 2.0f * m.hexCellWidth, bottom}});
    }
    for (std::size_t j = 0; j < texts.textCells.size(); ++j) {
        std::u16string& text = texts.textCells[j];
        if (text.empty()) {
            continue;
        }
        const float width =
            std::max(static_cast<float>(text.size()) * m.textCellWidth, m.textCellWidth);
        row.textCells.push_back(
            {std::move(text), textStart + static_cast<float>(j) * m.textCellWidth, y,
             std::max(4.0f * m.textCellWidth, 2.0f * width), 3.0f * m.rowHeight});
    }
    return row;
}

} // namespace orx
