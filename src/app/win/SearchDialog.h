#pragma once

#include "app/win/ModalDialog.h"
#include "search/SearchEngine.h"
#include "search/SearchQuery.h"
#include "settings/AppSettings.h"
#include "ui/win/BaseWindow.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orx::win {

// The localized texts of the search dialog, looked up before it opens.
struct SearchDialogTexts {
    std::u16string title;
    std::u16string typeLabel;
    std::u16string queryLabel;
    std::u16string closeText;
    std::u16string previousText;
    std::u16string nextText;
    std::u16string hexItem;
    std::u16string textItem;
    std::u16string allText;
    std::u16string ignoreCaseText;
    // Searching by value: the names of kSearchValueTypes, listed after hex and text, and the
    // byte order choice.
    std::vector<std::u16string> valueTypeItems{};
    std::u16string byteOrderLabel{};
    std::u16string littleItem{};
    std::u16string bigItem{};
    std::u16string eitherItem{};
};

// "Orlin.SearchDialog": query type, query box with the history of that type, the ignore-case
// box (text only), the byte order (values of more than one byte), and Find All, Previous,
// Next and Close. Each Next or Previous calls the
// handler while the dialog stays open; during that call the inputs are disabled and Close,
// Escape or the close box ask the running search to stop instead of closing. Find All hands
// the query to its own handler and closes the dialog: the list fills while the user works.
class SearchDialog final : public BaseWindow<SearchDialog> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.SearchDialog";
    enum ControlId : int {
        kTypeLabel = 3101,
        kTypeList = 3102,
        kQueryLabel = 3103,
        kQueryBox = 3104,
        kPrevious = 3105,
        kIgnoreCase = 3106,
        kFindAll = 3107,
        kByteOrderLabel = 3108,
        kByteOrderList = 3109,
        kNext = IDOK,
        kClose = IDCANCEL,
    };

    using Handler = std::function<void(const SearchDialogResult&, SearchDirection, SearchDialog&)>;
    // Returns false when the query was refused (the dialog then stays open).
    using FindAllHandler = std::function<bool(const SearchDialogResult&, HWND dialog)>;

    // Runs the dialog until it is closed; `textLimit` is the text query's character limit.
    static void Run(const DialogHost& host, SearchDialogTexts texts, std::u16string initialQuery,
                    std::vector<SearchHistoryEntry> history, std::uint32_t textLimit,
                    const Handler& handler, const FindAllHandler& findAll = {});

    // For the handler: the history shown from now on, and the running search's stop request.
    void SetHistory(std::vector<SearchHistoryEntry> history);
    void RequestCancel() { cancelRequested_ = true; }
    [[nodiscard]] bool CancelRequested() const { return cancelRequested_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    SearchDialog() = default;
    void OnCreate();
    void OnCloseRequest();
    void Request(SearchDirection direction);
    void RunPendingRequest(const Handler& handler, const FindAllHandler& findAll);
    [[nodiscard]] SearchDialogResult CurrentRequest() const;
    // The ignore-case box and the byte order follow the type, and a history entry picked
    // from the list.
    void UpdateIgnoreCase(bool fromHistory);
    // The selected type: a kSearchKind and, for a value, its type.
    [[nodiscard]] std::uint32_t SelectedKind() const;
    [[nodiscard]] ValueType SelectedValueType() const;
    // Whether a history entry belongs under the selected type.
    [[nodiscard]] bool ListsEntry(const SearchHistoryEntry& entry) const;
    void EnableInputs(bool enable);
    void ReadSearchInputs();
    void RefreshHistoryList();
    void ApplyQueryLimit();

    SearchDialogTexts texts_;
    std::u16string initialQuery_;
    std::vector<SearchHistoryEntry> history_;
    std::uint32_t textLimit_ = 0;
    std::u16string query_;
    std::uint32_t kind_ = kSearchKindHex;
    ValueType valueType_ = ValueType::Int8;
    ValueByteOrder byteOrder_ = ValueByteOrder::Little;
    bool ignoreCase_ = false;
    bool findAllRequested_ = false;
    bool closed_ = false;
    bool searching_ = false;
    bool cancelRequested_ = false;
    SearchDirection request_ = SearchDirection::None;
    HWND typeList_ = nullptr;
    HWND queryBox_ = nullptr;
    HWND queryEdit_ = nullptr;
    HWND ignoreCaseBox_ = nullptr;
    HWND byteOrderList_ = nullptr;
};

} // namespace orx::win
