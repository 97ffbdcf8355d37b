#include "app/win/AppWindow.h"

#include "app/AppFlow.h"
#include "app/ParseOffset.h"
#include "app/win/AboutDialog.h"
#include "app/win/ChecksumDialog.h"
#include "app/win/FontDialog.h"
#include "app/win/LicenseText.h"
#include "app/win/PromptDialog.h"

namespace orx {
namespace {

constexpr std::u16string_view kCredits = u"Orlin 1.03 - made by the Orlin developers";
constexpr std::u16string_view kHomepage = u"https://orlin-hex.example/";

} // namespace

win::DialogHost AppWindow::Host() const
{
    return {window_, instance_, environment_.modalIdle};
}

void AppWindow::GoTo()
{
    if (!document_.IsOpen()) {
        return;
    }
    const std::u16string title = Text("dialog.goto.title");
    const auto answer = win::PromptDialog::Run(Host(), title, Text("dialog.goto.prompt"),
                                               GoToInitialText(hexView_.Model().CaretOffset()));
    if (!answer) {
        return;
    }
    const std::optional<std::uint64_t> offset = ParseOffset(*answer);
    if (!offset) {
        environment_.messageBox(window_, Text("error.goto_invalid"), title, MB_ICONERROR | MB_OK);
        return;
    }
    HexViewModel& view = hexView_.Model();
    hexView_.Apply(view.SetCaret(*offset));
    hexView_.Apply(view.ClearSelection());
    SetFocus(hexView_.Window());
    RefreshStatus();
}

void AppWindow::ShowFontDialog()
{
    std::vector<std::u16string> families = win::InstalledMonospaceFamilies();
    if (families.empty()) {
        ShowError(Text("error.font_not_monospace"));
        return;
    }
    const HexViewModel& view = hexView_.Model();
    win::FontDialogTexts texts{Text("dialog.font.title"),   Text("dialog.font.family"),
                               Text("dialog.font.size"),    Text("dialog.font.bold"),
                               Text("dialog.font.italic"),  Text("dialog.common.ok"),
                               Text("dialog.common.cancel")};
    const auto chosen = win::FontDialog::Run(
        Host(), std::move(texts), std::move(families),
        {view.FontFamily(), 0, view.FontBold(), view.FontItalic()}, view.FontSizePoints());
    if (!chosen) {
        return;
    }
    HexViewModel& target = hexView_.Model();
    hexView_.Apply(target.SetFont(chosen->family, static_cast<float>(chosen->sizePoints),
                                  chosen->bold, chosen->italic));
    settings_.fontFamily = chosen->family;
    settings_.fontSize = target.FontSizePoints(); // as limited by the view
    settings_.fontBold = chosen->bold;
    settings_.fontItalic = chosen->italic;
    StampAndSaveSettings();
    RefreshStatus();
}

void AppWindow::ShowAboutDialog()
{
    win::AboutTexts texts{Text("dialog.about.title"),
                          Text("app.title"),
                          Text("about.version_label") + u" " + std::u16string(kAppVersion),
                          std::u16string(kCredits),
                          Text("about.homepage_label"),
                          std::u16string(kHomepage),
                          Text("about.license_heading"),
                          win::LoadLicenseText(),
                          Text("dialog.common.close")};
    win::AboutDialog::Run(Host(), std::move(texts), environment_.openLink);
}

void AppWindow::ShowChecksumDialog()
{
    if (!document_.IsOpen()) {
        return;
    }
    const HexViewModel& view = hexView_.Model();
    const bool selection = view.HasSelection();
    const ChecksumRange range =
        selection
            ? ChecksumRange{view.SelectionLow(), view.SelectionHigh() - view.SelectionLow() + 1}
            : ChecksumRange{0, document_.Size()};
    const StringLookup lookup = [this](std::string_view key) { return Text(key); };
    win::ChecksumDialog::Run(Host(), lookup, document_, range, selection);
}

} // namespace orx
