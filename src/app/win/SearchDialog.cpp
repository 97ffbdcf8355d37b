#include "app/win/SearchDialog.h"

#include "platform/win32/WinString.h"
#include "search/SearchRules.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace orx::win {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

} // namespace

void SearchDialog::Run(const DialogHost& host, SearchDialogTexts texts, std::u16string initialQuery,
                       std::vector<SearchHistoryEntry> history, std::uint32_t textLimit,
                       const Handler& handler, const FindAllHandler& findAll)
{
    assert(handler && "the search dialog needs a handler for its requests");
    if (!RegisterWindowClass(host.instance)) {
        return;
    }
    SearchDialog dialog;
    dialog.texts_ = std::move(texts);
    dialog.initialQuery_ = std::move(initialQuery);
    dialog.history_ = std::move(history);
    dialog.textLimit_ = textLimit;
    if (CreateDialogWindow(host, kClassName, dialog.texts_.title, kStyle, kExStyle, 420, 202,
                           &dialog) == nullptr) {
        return;
    }
    RunModalLoop(host, dialog.window_, dialog.closed_,
                 [&dialog, &handler, &findAll] { dialog.RunPendingRequest(handler, findAll); });
}

SearchDialogResult SearchDialog::CurrentRequest() const
{
    return {kind_, query_, kind_ == kSearchKindText && ignoreCase_, valueType_, byteOrder_};
}

std::uint32_t SearchDialog::SelectedKind() const
{
    const LRESULT index = typeList_ != nullptr ? SendMessageW(typeList_, CB_GETCURSEL, 0, 0) : 0;
    return index <= 0 ? kSearchKindHex : index == 1 ? kSearchKindText : kSearchKindValue;
}

ValueType SearchDialog::SelectedValueType() const
{
    const LRESULT index = typeList_ != nullptr ? SendMessageW(typeList_, CB_GETCURSEL, 0, 0) : 0;
    const auto value = static_cast<std::size_t>(std::max<LRESULT>(index - 2, 0));
    return kSearchValueTypes[std::min(value, kSearchValueTypes.size() - 1)];
}

bool SearchDialog::ListsEntry(const SearchHistoryEntry& entry) const
{
    switch (SelectedKind()) {
    case kSearchKindHex: return entry.kind == kSearchHistoryHex;
    case kSearchKindText: return entry.kind == kSearchHistoryText;
    default: {
        const std::optional<SearchDialogResult> value = ParseSearchHistoryValueKind(entry.kind);
        return value && value->valueType == SelectedValueType();
    }
    }
}

void SearchDialog::RunPendingRequest(const Handler& handler, const FindAllHandler& findAll)
{
    if (std::exchange(findAllRequested_, false) && findAll) {
        if (findAll(CurrentRequest(), window_)) {
            closed_ = true;
        }
        return;
    }
    if (request_ == SearchDirection::None) {
        return;
    }
    const SearchDirection direction = std::exchange(request_, SearchDirection::None);
    searching_ = true;
    cancelRequested_ = false;
    EnableInputs(false);
    // The dialog itself takes the keys meanwhile, so that Escape reaches it as a stop request
    // (the disabled query box would otherwise leave no window with the focus).
    SetFocus(window_);
    handler(CurrentRequest(), direction, *this);
    searching_ = false;
    if (window_ != nullptr) {
        EnableInputs(true);
        SetFocus(queryBox_);
    }
}

void SearchDialog::EnableInputs(bool enable)
{
    for (int id : {kTypeList, kQueryBox, kIgnoreCase, kByteOrderList, kPrevious, kNext, kFindAll}) {
        EnableWindow(GetDlgItem(window_, id), enable ? TRUE : FALSE);
    }
    if (enable) {
        UpdateIgnoreCase(false);
    }
}

void SearchDialog::SetHistory(std::vector<SearchHistoryEntry> history)
{
    history_ = std::move(history);
    RefreshHistoryList();
}

LRESULT SearchDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kNext: Request(SearchDirection::Next); return 0;
        case kPrevious: Request(SearchDirection::Previous); return 0;
        case kFindAll:
            if (!searching_) {
                ReadSearchInputs();
                findAllRequested_ = true;
            }
            return 0;
        case kIgnoreCase: ReadSearchInputs(); return 0;
        case kByteOrderList:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                ReadSearchInputs();
            }
            return 0;
        case kClose: OnCloseRequest(); return 0;
        case kTypeList:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                RefreshHistoryList();
                ApplyQueryLimit();
                UpdateIgnoreCase(false);
            }
            return 0;
        case kQueryBox:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                UpdateIgnoreCase(true);
            }
            if (HIWORD(wParam) == CBN_SELCHANGE || HIWORD(wParam) == CBN_EDITCHANGE) {
                ReadSearchInputs();
            }
            return 0;
        default: break;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            OnCloseRequest();
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: return WindowColourStatic(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE: OnCloseRequest(); return 0;
    case WM_DESTROY:
        closed_ = true;
        typeList_ = queryBox_ = queryEdit_ = ignoreCaseBox_ = byteOrderList_ = nullptr;
        return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

void SearchDialog::OnCreate()
{
    CreateControl(window_, L"STATIC", texts_.typeLabel, 0, 0, {12, 12, 396, 20}, kTypeLabel);
    typeList_ = CreateControl(window_, L"COMBOBOX", {}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                              0, {12, 36, 396, 240}, kTypeList);
    CreateControl(window_, L"STATIC", texts_.queryLabel, 0, 0, {12, 66, 396, 20}, kQueryLabel);
    queryBox_ = CreateControl(window_, L"COMBOBOX", {},
                              CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                              WS_EX_CLIENTEDGE, {12, 90, 396, 220}, kQueryBox);
    ignoreCaseBox_ =
        CreateControl(window_, L"BUTTON", texts_.ignoreCaseText, BS_AUTOCHECKBOX | WS_TABSTOP, 0,
                      {12, 124, 180, 22}, kIgnoreCase);
    CreateControl(window_, L"STATIC", texts_.byteOrderLabel, 0, 0, {196, 127, 72, 20},
                  kByteOrderLabel);
    byteOrderList_ =
        CreateControl(window_, L"COMBOBOX", {}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
                      {268, 122, 140, 200}, kByteOrderList);
    CreateControl(window_, L"BUTTON", texts_.allText, BS_PUSHBUTTON | WS_TABSTOP, 0,
                  {32, 160, 88, 26}, kFindAll);
    CreateControl(window_, L"BUTTON", texts_.previousText, BS_PUSHBUTTON | WS_TABSTOP, 0,
                  {128, 160, 88, 26}, kPrevious);
    CreateControl(window_, L"BUTTON", texts_.nextText, BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
                  {224, 160, 88, 26}, kNext);
    CreateControl(window_, L"BUTTON", texts_.closeText, BS_PUSHBUTTON | WS_TABSTOP, 0,
                  {320, 160, 88, 26}, kClose);

    SendMessageW(typeList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(texts_.hexItem)));
    SendMessageW(typeList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(texts_.textItem)));
    for (const std::u16string& item : texts_.valueTypeItems) {
        SendMessageW(typeList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
    }
    SendMessageW(typeList_, CB_SETCURSEL, kSearchKindHex, 0);
    for (const std::u16string* item : {&texts_.littleItem, &texts_.bigItem, &texts_.eitherItem}) {
        SendMessageW(byteOrderList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(*item)));
    }
    SendMessageW(byteOrderList_, CB_SETCURSEL, 0, 0);
    SetWindowTextW(queryBox_, W(initialQuery_));
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(queryBox_, &info)) {
        queryEdit_ = info.hwndItem;
    }
    if (queryEdit_ != nullptr) {
        SendMessageW(queryEdit_, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    }
    RefreshHistoryList();
    ApplyQueryLimit();
    UpdateIgnoreCase(false);
    ReadSearchInputs();
    SetFocus(queryBox_);
}

void SearchDialog::UpdateIgnoreCase(bool fromHistory)
{
    if (ignoreCaseBox_ == nullptr || typeList_ == nullptr) {
        return;
    }
    const std::uint32_t kind = SelectedKind();
    EnableWindow(ignoreCaseBox_, kind == kSearchKindText && !searching_ ? TRUE : FALSE);
    const bool ordered = kind == kSearchKindValue && ValueSize(SelectedValueType()) > 1;
    EnableWindow(byteOrderList_, ordered && !searching_ ? TRUE : FALSE);
    if (!fromHistory || queryBox_ == nullptr) {
        return;
    }
    // The list holds the entries of the selected type in stored order.
    const LRESULT picked = SendMessageW(queryBox_, CB_GETCURSEL, 0, 0);
    LRESULT index = 0;
    for (const SearchHistoryEntry& entry : history_) {
        if (ListsEntry(entry) && index++ == picked) {
            SendMessageW(ignoreCaseBox_, BM_SETCHECK,
                         entry.ignoreCase ? BST_CHECKED : BST_UNCHECKED, 0);
            if (const auto value = ParseSearchHistoryValueKind(entry.kind)) {
                SendMessageW(byteOrderList_, CB_SETCURSEL, static_cast<WPARAM>(value->byteOrder),
                             0);
            }
            break;
        }
    }
}

void SearchDialog::OnCloseRequest()
{
    if (searching_) {
        cancelRequested_ = true;
        return;
    }
    closed_ = true; // the modal loop destroys the window once the owner is enabled again
}

void SearchDialog::Request(SearchDirection direction)
{
    if (searching_) {
        return;
    }
    ReadSearchInputs();
    request_ = direction;
}

void SearchDialog::ReadSearchInputs()
{
    if (queryBox_ != nullptr || queryEdit_ != nullptr) {
        query_ = WindowText(queryBox_ != nullptr ? queryBox_ : queryEdit_);
    }
    kind_ = SelectedKind();
    valueType_ = SelectedValueType();
    const LRESULT order =
        byteOrderList_ != nullptr ? SendMessageW(byteOrderList_, CB_GETCURSEL, 0, 0) : 0;
    byteOrder_ = static_cast<ValueByteOrder>(std::clamp<LRESULT>(order, 0, 2));
    ignoreCase_ =
        ignoreCaseBox_ != nullptr && SendMessageW(ignoreCaseBox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SearchDialog::RefreshHistoryList()
{
    if (queryBox_ == nullptr || typeList_ == nullptr) {
        return;
    }
    const std::u16string kept = WindowText(queryBox_);
    SendMessageW(queryBox_, CB_RESETCONTENT, 0, 0);
    for (const SearchHistoryEntry& entry : history_) {
        if (ListsEntry(entry)) {
            SendMessageW(queryBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(entry.query)));
        }
    }
    SetWindowTextW(queryBox_, W(kept));
    SendMessageW(queryBox_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void SearchDialog::ApplyQueryLimit()
{
    if (queryBox_ == nullptr || typeList_ == nullptr) {
        return;
    }
    const std::uint32_t limit = QueryCharacterLimit(SelectedKind() != kSearchKindHex, textLimit_);
    SendMessageW(queryBox_, CB_LIMITTEXT, limit, 0);
    if (queryEdit_ != nullptr) {
        SendMessageW(queryEdit_, EM_LIMITTEXT, limit, 0);
    }
}

} // namespace orx::win
