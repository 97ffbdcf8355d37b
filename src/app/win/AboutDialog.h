#pragma once

#include "app/win/ModalDialog.h"
#include "ui/win/BaseWindow.h"
#include "ui/win/WinHandles.h"

#include <functional>
#include <string>

namespace orx::win {

struct AboutTexts {
    std::u16string title;
    std::u16string name;
    std::u16string version; // label, a blank, the version
    std::u16string credits;
    std::u16string homepageLabel;
    std::u16string homepage;
    std::u16string licenseHeading;
    std::u16string license;
    std::u16string close;
};

// "Orlin.AboutDialog": name, version, credits, the homepage as a link, the licence. Closes
// with its button, Enter or the close box; Escape leaves it open.
class AboutDialog final : public BaseWindow<AboutDialog> {
public:
    static constexpr const wchar_t* kClassName = L"Orlin.AboutDialog";
    enum ControlId : int {
        kName = 3201,
        kVersion = 3202,
        kCredits = 3203,
        kHomepageLabel = 3204,
        kLink = 3205,
        kLicenseHeading = 3206,
        kLicense = 3207,
        kClose = IDOK,
    };

    static void Run(const DialogHost& host, AboutTexts texts,
                    std::function<void(const std::u16string&)> openLink);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    AboutDialog() = default;
    void OnCreate();

    AboutTexts texts_;
    std::function<void(const std::u16string&)> openLink_;
    FontHandle linkFont_;
    bool done_ = false;
};

} // namespace orx::win
