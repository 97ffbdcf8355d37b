#pragma once

#include "app/win/ModalDialog.h"
#include "ui/win/BaseWindow.h"

#include <optional>
#include <string>

namespace orx::win {

// "Orlin.PromptDialog": one line of text to edit, with OK and Cancel.
class PromptDialog final : public BaseWindow<PromptDialog> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.PromptDialog";
    static constexpr int kPromptId = 3001;
    static constexpr int kEditId = 3002;

    // The text in the box when OK (or Enter) was pressed; nothing on Cancel, Escape, the
    // close box, or when the dialog could not be shown. The initial text starts selected.
    static std::optional<std::u16string> Run(const DialogHost& host, const std::u16string& title,
                                             const std::u16string& prompt,
                                             const std::u16string& initialText);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    PromptDialog() = default;

    std::u16string prompt_;
    std::u16string text_;
    bool accepted_ = false;
    bool done_ = false;
};

} // namespace orx::win
