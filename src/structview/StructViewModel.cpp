#include "structview/StructViewModel.h"

#include <algorithm>
#include <cstdlib>

namespace orx {
namespace {

constexpr int kMargin = 12;
constexpr int kOfferHeight = 32; // the offer button, above the message panel
constexpr int kColumnGap = 16;
constexpr int kDividerReach = 5;
constexpr int kHorizontalLine = 24;
constexpr int kWheelStep = 48;
constexpr int kWheelDelta = 120;

StructViewEffects Effects(std::uint32_t bits)
{
    return StructViewEffects{bits};
}

} // namespace

StructViewTexts
LoadStructViewTexts(const std::function<std::u16string(std::string_view key)>& lookup)
{
    StructViewTexts texts;
    texts.title = lookup("structview.title");
    texts.definition = lookup("structview.header.definition");
    texts.columnName = lookup("structview.column.name");
    texts.columnSize = lookup("structview.column.size");
    texts.columnOffset = lookup("structview.column.offset");
    texts.columnType = lookup("structview.column.type");
    texts.columnValue = lookup("structview.column.value");
    texts.emptyMessage = lookup("structview.empty.message");
    texts.openButton = lookup("structview.open.button");
    texts.reloadButton = lookup("structview.reload.button");
    texts.closeButton = lookup("structview.close.button");
    texts.infoButton = lookup("structview.info.button");
    texts.errorPrefix = lookup("structview.error.prefix");
    texts.byteArray = lookup("structview.valueformat.bytearray");
    texts.byteArrayHex = lookup("structview.valueformat.bytearray.hex");
    texts.byteArrayAscii = lookup("structview.valueformat.bytearray.ascii");
    texts.endian = lookup("structview.valueformat.endian");
    texts.endianLittle = lookup("structview.valueformat.endian.little");
    texts.endianBig = lookup("structview.valueformat.endian.big");
    texts.numericBase = lookup("structview.valueformat.numericbase");
    texts.numericBaseHex = lookup("structview.valueformat.numericbase.hex");
    texts.numericBaseDec = lookup("structview.valueformat.numericbase.dec");
    texts.placement = lookup("structview.placement");
    texts.placementFollow = lookup("structview.placement.follow");
    texts.placementStay = lookup("structview.placement.stay");
    texts.libraryBrowse = lookup("structview.library.browse");
    texts.libraryAutoApply = lookup("structview.library.autoapply");
    return texts;
}

bool ApplyStructValueFormat(StructValueOptions& options, std::uint64_t choice)
{
    if (choice < 1 || choice > 6) {
        return false;
    }
    std::uint32_t StructValueOptions::*const fields[] = {&StructValueOptions::byteArrayFormat,
                                                         &StructValueOptions::endian,
                                                         &StructValueOptions::numericBase};
    std::uint32_t& field = options.*fields[(choice - 1) / 2];
    const std::uint32_t value = (choice - 1) % 2;
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

// --- Content -----------------------------------------------------------------------------

StructViewEffects StructViewModel::SetContent(std::u16string fileName,
                                              std::vector<StructViewRow> rows, std::u16string info)
{
    // Every caret move brings new rows; the controls only change with the file and its
    // information, so rows alone need no layout.
    const bool sameControls =
        state_ == StructViewState::Table && fileName_ == fileName && info_ == info;
    if (sameControls && rows_ == rows) {
        return {};
    }
    const bool sameRowCount = rows_.size() == rows.size();
    state_ = StructViewState::Table;
    fileName_ = std::move(fileName);
    rows_ = std::move(rows);
    info_ = std::move(info);
    message_.clear();
    if (selectedRow_ >= static_cast<int>(rows_.size())) {
        selectedRow_ = static_cast<int>(rows_.size()) - 1;
    }
    if (sameControls) {
        // The scroll ranges follow the number of rows only.
        (void)ClampScroll();
        return Effects(sameRowCount ? kSvRepaint : kSvScrollBars | kSvRepaint);
    }
    return ContentChanged();
}

StructViewEffects StructViewModel::SetEmptyMessage(std::u16string text)
{
    if (state_ == StructViewState::Empty && message_ == text) {
        return {};
    }
    state_ = StructViewState::Empty;
    fileName_.clear();
    rows_.clear();
    info_.clear();
    message_ = std::move(text);
    selectedRow_ = -1;
    return ContentChanged();
}

StructViewEffects StructViewModel::ShowError(std::u16string fileName, std::u16string error)
{
    if (state_ == StructViewState::Error && fileName_ == fileName && message_ == error) {
        return {}; // shown again on every caret move: nothing to lay out
    }
    state_ = StructViewState::Error;
    fileName_ = std::move(fileName);
    rows_.clear();
    info_.clear();
    message_ = std::move(error);
    selectedRow_ = -1;
    return ContentChanged();
}

StructViewEffects StructViewModel::SetOptions(const StructValueOptions& options)
{
    options_ = options;
    return Effects(kSvRepaint);
}

StructViewEffects StructViewModel::SetCommandsEnabled(bool enabled)
{
    if (commandsEnabled_ == enabled) {
        return {};
    }
    commandsEnabled_ = enabled;
    return Effects(kSvLayout); // the buttons' states
}

StructViewEffects StructViewModel::ContentChanged()
{
    (void)ClampScroll(); // the content may have shrunk under the scroll position
    return Effects(kSvLayout | kSvScrollBars | kSvRepaint);
}

std::u16string StructViewModel::SubtitleText() const
{
    return texts_.definition + u": " + (fileName_.empty() ? u"-" : fileName_);
}

std::u16string StructViewModel::MessagePanelText() const
{
    if (state_ == StructViewState::Error) {
        return texts_.errorPrefix + u": " + message_;
    }
    if (state_ == StructViewState::Empty && !offerOthers_.empty()) {
        std::u16string text = message_;
        text += u"\r\n\r\n";
        text += offerOthers_;
        return text;
    }
    return message_;
}

StructViewEffects StructViewModel::SetOffer(std::u16string button, std::u16string others)
{
    if (offer_ == button && offerOthers_ == others) {
        return {};
    }
    offer_ = std::move(button);
    offerOthers_ = std::move(others);
    return Effects(kSvLayout | kSvRepaint);
}

int StructViewModel::LibraryPatternOfCommand(int command)
{
    return command >= svid::kLibraryFirst && command <= svid::kLibraryLast
               ? command - svid::kLibraryFirst
               : -1;
}

std::array<StructFormatMenuGroup, 4> StructViewModel::FormatMenu() const
{
    const auto group = [](const std::u16string& title, const std::u16string& first,
                          const std::u16string& second, int command, std::uint32_t value) {
        StructFormatMenuGroup result;
        result.title = title;
        result.items[0] = {first, command, value != 1};
        result.items[1] = {second, command + 1, value == 1};
        return result;
    };
    return {group(texts_.byteArray, texts_.byteArrayHex, texts_.byteArrayAscii, svid::kFormatFirst,
                  options_.byteArrayFormat),
            group(texts_.endian, texts_.endianLittle, texts_.endianBig, svid::kFormatFirst + 2,
                  options_.endian),
            group(texts_.numericBase, texts_.numericBaseHex, texts_.numericBaseDec,
                  svid::kFormatFirst + 4, options_.numericBase),
            group(texts_.placement, texts_.placementFollow, texts_.placementStay,
                  svid::kFormatFirst + 6, staying_ ? 1 : 0)};
}

const StructViewRow* StructViewModel::SelectedLocatedRow() const
{
    if (state_ != StructViewState::Table || selectedRow_ < 0 ||
        selectedRow_ >= static_cast<int>(rows_.size())) {
        return nullptr;
    }
    const StructViewRow& row = rows_[static_cast<std::size_t>(selectedRow_)];
    return row.located ? &row : nullptr;
}

std::u16string StructViewModel::BuildCopyText() const
{
    std::u16string text = texts_.title + u"\r\n" + SubtitleText() + u"\r\n\r\n";
    switch (state_) {
    case StructViewState::Table: {
        const auto line = [&text](std::initializer_list<const std::u16string*> cells) {
            bool first = true;
            for (const std::u16string* cell : cells) {
                if (!first) {
                    text += u'\t';
                }
                text += *cell;
                first = false;
            }
        };
        line({&texts_.columnOffset, &texts_.columnValue, &texts_.columnSize, &texts_.columnName});
        for (const StructViewRow& row : rows_) {
            text += u"\r\n";
            line({&row.offset, &row.value, &row.size, &row.name});
        }
        break;
    }
    case StructViewState::Error: text += MessagePanelText(); break;
    case StructViewState::Empty: text += message_; break;
    }
    return text;
}

// --- Geometry and scrolling --------------------------------------------------------------

StructViewEffects StructViewModel::SetClientSize(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    (void)ClampScroll();
    return Effects(kSvLayout | kSvScrollBars | kSvRepaint);
}

StructViewEffects StructViewModel::SetInfoTextHeight(int height)
{
    if (infoTextHeight_ == height) {
        return {};
    }
    infoTextHeight_ = std::max(height, 0);
    (void)ClampScroll();
    return Effects(kSvLayout | kSvScrollBars | kSvRepaint);
}

int StructViewModel::InfoHeight() const
{
    return infoVisible_ && !info_.empty() ? infoTextHeight_ + 20 : 0;
}

int StructViewModel::RowsAreaHeight() const
{
    return std::max(height_ - InfoHeight() - (kCaptionHeight + kHeaderHeight), 0);
}

int StructViewModel::ContentWidth() const
{
    if (state_ != StructViewState::Table) {
        return 0;
    }
    return widths_[0] + widths_[1] + widths_[2] + widths_[3] + 72;
}

int StructViewModel::ContentHeight() const
{
    if (state_ != StructViewState::Table) {
        return 0;
    }
    return kRowHeight * static_cast<int>(rows_.size());
}

StructViewGeometry StructViewModel::Geometry() const
{
    StructViewGeometry g;
    const int w = width_;
    const int h = InfoHeight();
    g.width = w;
    g.height = height_;
    g.infoHeight = h;
    g.headerTop = kCaptionHeight + h;
    g.rowsTop = g.headerTop + kHeaderHeight;
    g.rowsHeight = RowsAreaHeight();
    g.title = {kMargin, 0, w - 200, 30};
    g.subtitle = {kMargin, 28, w - 200, kCaptionHeight};
    int left = kMargin - scrollX_;
    for (std::size_t i = 0; i < widths_.size(); ++i) {
        g.columns[i] = {left, g.rowsTop, left + widths_[i], height_};
        g.dividers[i] = g.columns[i].right + 8;
        left = g.columns[i].right + kColumnGap;
    }
    const int valueRight = g.columns[1].right;
    g.dropDown = {valueRight - 20, h + 70, valueRight, h + 88};
    // Right-aligned from W - 12, 8 pixels apart: information, close, reload, open.
    g.buttons[3] = {w - 82, 10, w - 12, 36};
    g.buttons[2] = {w - 170, 10, w - 90, 36};
    g.buttons[1] = {w - 306, 10, w - 178, 36};
    g.buttons[0] = {w - 404, 10, w - 314, 36};
    g.infoEditVisible = h > 0;
    g.infoEdit = {kMargin, 72, kMargin + std::max(w - 24, 1), 72 + std::max(h - 20, 1)};
    g.messageEditVisible = state_ != StructViewState::Table;
    g.offerVisible = state_ == StructViewState::Empty && !offer_.empty();
    const int messageTop = h + 74 + (g.offerVisible ? kOfferHeight + kMargin : 0);
    g.offerButton = {kMargin, h + 74, kMargin + std::max(w - 24, 1), h + 74 + kOfferHeight};
    g.messageEdit = {kMargin, messageTop, kMargin + std::max(w - 24, 1),
                     messageTop + std::max(height_ - messageTop - kMargin, 1)};
    return g;
}

StructScrollBar StructViewModel::HorizontalScrollBar() const
{
    return {0, std::max(ContentWidth() - 1, 0), static_cast<unsigned>(width_), scrollX_};
}

StructScrollBar StructViewModel::VerticalScrollBar() const
{
    return {0, std::max(ContentHeight() - 1, 0), static_cast<unsigned>(RowsAreaHeight()), scrollY_};
}

bool StructViewModel::ClampScroll()
{
    const int x = std::clamp(scrollX_, 0, std::max(ContentWidth() - width_, 0));
    const int y = std::clamp(scrollY_, 0, std::max(ContentHeight() - RowsAreaHeight(), 0));
    const bool changed = x != scrollX_ || y != scrollY_;
    scrollX_ = x;
    scrollY_ = y;
    return changed;
}

StructViewEffects StructViewModel::ScrollTo(int x, int y)
{
    scrollX_ = x;
    scrollY_ = y;
    (void)ClampScroll();
    return Effects(kSvScrollBars | kSvRepaint);
}

namespace {

// The new position of one bar after a scroll request.
int ScrollTarget(StructScrollRequest request, int position, int line, int page, int track,
                 int maximum)
{
    switch (request) {
    case StructScrollRequest::LineBack: return position - line;
    case StructScrollRequest::LineForward: return position + line;
    case StructScrollRequest::PageBack: return position - page;
    case StructScrollRequest::PageForward: return position + page;
    case StructScrollRequest::ThumbPosition:
    case StructScrollRequest::ThumbTrack: return track;
    case StructScrollRequest::Start: return 0;
    case StructScrollRequest::End: return maximum;
    case StructScrollRequest::EndScroll: return position;
    }
    return position;
}

} // namespace

StructViewEffects StructViewModel::OnHorizontalScroll(StructScrollRequest request,
                                                      int trackPosition)
{
    if (request == StructScrollRequest::EndScroll) {
        return {};
    }
    return ScrollTo(
        ScrollTarget(request, scrollX_, kHorizontalLine, width_, trackPosition, ContentWidth()),
        scrollY_);
}

StructViewEffects StructViewModel::OnVerticalScroll(StructScrollRequest request, int trackPosition)
{
    if (request == StructScrollRequest::EndScroll) {
        return {};
    }
    return ScrollTo(scrollX_, ScrollTarget(request, scrollY_, kRowHeight, RowsAreaHeight(),
                                           trackPosition, ContentHeight()));
}

StructViewEffects StructViewModel::OnMouseWheel(int delta)
{
    const int steps = std::max(std::abs(delta) / kWheelDelta, 1);
    const int distance = steps * kWheelStep;
    return ScrollTo(scrollX_, delta > 0 ? scrollY_ - distance : scrollY_ + distance);
}

std::pair<std::size_t, std::size_t> StructViewModel::VisibleRows() const
{
    if (state_ != StructViewState::Table || rows_.empty()) {
        return {0, 0};
    }
    const auto first = static_cast<std::size_t>(scrollY_ / kRowHeight);
    const auto last =
        static_cast<std::size_t>((scrollY_ + RowsAreaHeight() + kRowHeight - 1) / kRowHeight);
    return {std::min(first, rows_.size()), std::min(last, rows_.size())};
}

int StructViewModel::RowTop(std::size_t index) const
{
    return Geometry().rowsTop - scrollY_ + kRowHeight * static_cast<int>(index);
}

// --- Input -------------------------------------------------------------------------------

StructViewEffects StructViewModel::ToggleInfo()
{
    if (info_.empty()) {
        return {};
    }
    infoVisible_ = !infoVisible_;
    (void)ClampScroll();
    return Effects(kSvLayout | kSvScrollBars | kSvRepaint);
}

StructViewEffects StructViewModel::SelectRow(int index)
{
    if (index < -1 || index >= static_cast<int>(rows_.size())) {
        index = -1;
    }
    if (index == selectedRow_) {
        return {};
    }
    selectedRow_ = index;
    if (index < 0) {
        return Effects(kSvRepaint | kSvSelection);
    }
    const int top = kRowHeight * index;
    int y = scrollY_;
    if (top < y) {
        y = top;
    } else if (top + kRowHeight > y + RowsAreaHeight()) {
        y = top + kRowHeight - RowsAreaHeight();
    }
    StructViewEffects effects = ScrollTo(scrollX_, y);
    effects.bits |= kSvRepaint | kSvSelection;
    return effects;
}

int StructViewModel::DividerAt(int x, int y) const
{
    if (state_ != StructViewState::Table) {
        return -1;
    }
    const StructViewGeometry g = Geometry();
    if (y < g.headerTop || y >= g.rowsTop) {
        return -1;
    }
    for (std::size_t i = 0; i < g.dividers.size(); ++i) {
        if (std::abs(x - g.dividers[i]) <= kDividerReach) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool StructViewModel::SizingCursorAt(int x, int y) const
{
    return Dragging() || DividerAt(x, y) >= 0;
}

StructViewEffects StructViewModel::OnLButtonDown(int x, int y)
{
    if (state_ != StructViewState::Table) {
        return {};
    }
    const StructViewGeometry g = Geometry();
    if (g.dropDown.Contains(x, y)) {
        return Effects(kSvFormatMenu);
    }
    if (const int column = DividerAt(x, y); column >= 0) {
        dragColumn_ = column;
        dragStartX_ = x;
        dragStartWidths_ = widths_;
        return Effects(kSvCapture);
    }
    if (y < g.rowsTop) {
        return SelectRow(-1);
    }
    const int row = (y - g.rowsTop + scrollY_) / kRowHeight;
    return SelectRow(row < static_cast<int>(rows_.size()) ? row : -1);
}

StructViewEffects StructViewModel::OnLButtonDoubleClick(int x, int y)
{
    const int column = DividerAt(x, y);
    if (column < 0) {
        StructViewEffects effects = OnLButtonDown(x, y);
        const StructViewGeometry g = Geometry();
        if (y >= g.rowsTop && !g.dropDown.Contains(x, y) && SelectedLocatedRow() != nullptr) {
            effects.bits |= kSvGoToRow;
        }
        return effects;
    }
    const bool wasDragging = Dragging();
    dragColumn_ = -1;
    widths_[column] = kStructColumnDefaultWidths[column];
    (void)ClampScroll();
    return Effects(kSvLayout | kSvScrollBars | kSvRepaint | (wasDragging ? kSvReleaseCapture : 0u));
}

StructViewEffects StructViewModel::OnMouseMove(int x, int /*y*/)
{
    if (!Dragging()) {
        return {};
    }
    const auto column = static_cast<std::size_t>(dragColumn_);
    const int width =
        std::max(dragStartWidths_[column] + (x - dragStartX_), kStructColumnMinimumWidths[column]);
    if (width == widths_[column]) {
        return {};
    }
    widths_[column] = width;
    (void)ClampScroll();
    return Effects(kSvScrollBars | kSvRepaint);
}

StructViewEffects StructViewModel::OnLButtonUp()
{
    if (!Dragging()) {
        return {};
    }
    dragColumn_ = -1;
    return Effects(kSvReleaseCapture);
}

StructViewEffects StructViewModel::OnCaptureLost()
{
    dragColumn_ = -1;
    return {};
}

StructViewModel::KeyResult StructViewModel::OnKeyDown(std::uint32_t virtualKey, bool ctrl)
{
    const int pageHeight = std::max(RowsAreaHeight(), kRowHeight);
    const int rowCount = static_cast<int>(rows_.size());
    switch (virtualKey) {
    case svkey::kUp:
        return {true, selectedRow_ > 0 ? SelectRow(selectedRow_ - 1) : StructViewEffects{}};
    case svkey::kDown:
        return {true,
                selectedRow_ + 1 < rowCount ? SelectRow(selectedRow_ + 1) : StructViewEffects{}};
    case svkey::kPageUp: return {true, ScrollTo(scrollX_, scrollY_ - pageHeight)};
    case svkey::kPageDown: return {true, ScrollTo(scrollX_, scrollY_ + pageHeight)};
    case svkey::kHome: return {true, ScrollTo(0, 0)};
    case svkey::kEnd: return {true, ScrollTo(ContentWidth(), ContentHeight())};
    case svkey::kF5: return {true, ReloadEnabled() ? Effects(kSvReload) : StructViewEffects{}};
    case svkey::kReturn:
        return {true, SelectedLocatedRow() != nullptr ? Effects(kSvGoToRow) : StructViewEffects{}};
    case svkey::kC:
    case svkey::kInsert:
        if (ctrl) {
            return {true, Effects(kSvCopy)};
        }
        return {};
    default: return {};
    }
}

int StructViewModel::FormatChoiceOfCommand(int command)
{
    return command >= svid::kFormatFirst && command <= svid::kFormatLast
               ? command - (svid::kFormatFirst - 1)
               : 0;
}

} // namespace orx
