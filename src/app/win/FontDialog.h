#pragma once

#include "app/win/ModalDialog.h"
#include "ui/win/BaseWindow.h"

#include <optional>
#include <string>
#include <vector>

namespace orx::win {

struct FontSelection {
    std::u16string family;
    int sizePoints = 0;
    bool bold = false;
    bool italic = false;
};

struct FontDialogTexts {
    std::u16string title;
    std::u16string family;
    std::u16string size;
    std::u16string bold;
    std::u16string italic;
    std::u16string ok;
    std::u16string cancel;
};

// The installed fixed-pitch families of the screen, sorted without regard to case.
[[nodiscard]] std::vector<std::u16string> InstalledMonospaceFamilies();

// "Orlin.FontDialog": family and size lists, bold and italic, OK and Cancel; resizable, the
// family list following the width.
class FontDialog final : public BaseWindow<FontDialog> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.FontDialog";
    enum ControlId : int {
        kFamilyLabel = 3301,
        kFamilyList = 3302,
        kSizeLabel = 3303,
        kSizeList = 3304,
        kBold = 3305,
        kItalic = 3306,
    };

    // The chosen font, or nothing when cancelled or not shown. `current.sizePoints` is unused:
    // the size list preselects from `currentPoints`.
    static std::optional<FontSelection> Run(const DialogHost& host, FontDialogTexts texts,
                                            std::vector<std::u16string> families,
                                            FontSelection current, float currentPoints);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    FontDialog() = default;
    void OnCreate();
    void Layout();
    void Accept();

    FontDialogTexts texts_;
    std::vector<std::u16string> families_;
    FontSelection current_;
    float currentPoints_ = 0;
    FontSelection result_;
    bool accepted_ = false;
    bool done_ = false;
};

} // namespace orx::win
