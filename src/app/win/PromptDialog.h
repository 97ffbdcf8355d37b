#pragma once

#include "app/win/ModalDialog.h"
#include "ui/win/BaseWindow.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orx::win {

// A list to choose one item from below the text (a drop-down list).
struct PromptChoice {
    std::u16string label;
    std::vector<std::u16string> items;
    std::size_t selected = 0;
};

// What was in the dialog when OK was pressed.
struct PromptAnswer {
    std::u16string text;
    std::size_t choice = 0;
};

// "Orlin.PromptDialog": one line of text to edit, with OK and Cancel, and optionally a list
// to choose from below it.
class PromptDialog final : public BaseWindow<PromptDialog> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.PromptDialog";
    static constexpr int kPromptId = 3001;
    static constexpr int kEditId = 3002;
    static constexpr int kChoiceLabelId = 3003;
    static constexpr int kChoiceId = 3004;

    // The text in the box when OK (or Enter) was pressed; nothing on Cancel, Escape, the
    // close box, or when the dialog could not be shown. The initial text starts selected.
    static std::optional<std::u16string> Run(const DialogHost& host, const std::u16string& title,
                                             const std::u16string& prompt,
                                             const std::u16string& initialText);
    // The same with `choice` below the text; the answer holds the item chosen.
    static std::optional<PromptAnswer> Run(const DialogHost& host, const std::u16string& title,
                                           const std::u16string& prompt,
                                           const std::u16string& initialText,
                                           const PromptChoice& choice);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    PromptDialog() = default;

    std::u16string prompt_;
    std::u16string text_;
    std::optional<PromptChoice> choice_;
    bool accepted_ = false;
    bool done_ = false;
};

} // namespace orx::win
