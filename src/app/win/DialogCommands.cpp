#include "app/win/DialogCommands.h"

#include "app/AppFlow.h"
#include "app/ParseOffset.h"
#include "app/win/AboutDialog.h"
#include "app/win/ChecksumDialog.h"
#include "app/win/FontDialog.h"
#include "app/win/LicenseText.h"
#include "app/win/PromptDialog.h"
#include "document/EditableDocument.h"
#include "hexview/win/HexView.h"
#include "settings/AppSettings.h"

namespace orx {
namespace {

constexpr std::u16string_view kCredits =
    u"Orlin " ORX_VERSION_TEXT u" - made by the Orlin developers";
constexpr std::u16string_view kHomepage = u"https://orlin-hex.example/";

} // namespace

void DialogCommands::GoTo()
{
    if (!context_.document.IsOpen()) {
        return;
    }
    HexView& hexView = context_.view;
    const std::u16string title = context_.Text("dialog.goto.title");
    const auto answer =
        win::PromptDialog::Run(context_.Host(), title, context_.Text("dialog.goto.prompt"),
                               GoToInitialText(hexView.Model().CaretOffset()));
    if (!answer) {
        return;
    }
    const std::optional<std::uint64_t> offset = ParseOffset(*answer);
    if (!offset) {
        context_.environment.messageBox(context_.window, context_.Text("error.goto_invalid"), title,
                                        MB_ICONERROR | MB_OK);
        return;
    }
    HexViewModel& view = hexView.Model();
    hexView.Apply(view.SetCaret(*offset));
    hexView.Apply(view.ClearSelection());
    SetFocus(hexView.Window());
    context_.events.Changed(Change::Caret);
}

void DialogCommands::ChooseFont()
{
    std::vector<std::u16string> families = win::InstalledMonospaceFamilies();
    if (families.empty()) {
        context_.events.ShowError(context_.Text("error.font_not_monospace"));
        return;
    }
    HexView& hexView = context_.view;
    const auto text = [this](std::string_view key) { return context_.Text(key); };
    HexViewModel& view = hexView.Model();
    win::FontDialogTexts texts{text("dialog.font.title"),   text("dialog.font.family"),
                               text("dialog.font.size"),    text("dialog.font.bold"),
                               text("dialog.font.italic"),  text("dialog.common.ok"),
                               text("dialog.common.cancel")};
    const auto chosen = win::FontDialog::Run(
        context_.Host(), std::move(texts), std::move(families),
        {view.FontFamily(), 0, view.FontBold(), view.FontItalic()}, view.FontSizePoints());
    if (!chosen) {
        return;
    }
    hexView.Apply(view.SetFont(chosen->family, static_cast<float>(chosen->sizePoints), chosen->bold,
                               chosen->italic));
    AppSettings& settings = context_.settings;
    settings.fontFamily = chosen->family;
    settings.fontSize = view.FontSizePoints(); // as limited by the view
    settings.fontBold = chosen->bold;
    settings.fontItalic = chosen->italic;
    context_.events.SettingsChanged();
    context_.events.Changed(Change::Mode);
}

void DialogCommands::ShowAbout()
{
    const auto text = [this](std::string_view key) { return context_.Text(key); };
    win::AboutTexts texts{text("dialog.about.title"),
                          text("app.title"),
                          text("about.version_label") + u" " + std::u16string(kAppVersion),
                          std::u16string(kCredits),
                          text("about.homepage_label"),
                          std::u16string(kHomepage),
                          text("about.license_heading"),
                          win::LoadLicenseText(),
                          text("dialog.common.close")};
    win::AboutDialog::Run(context_.Host(), std::move(texts), context_.environment.openLink);
}

void DialogCommands::ShowChecksums()
{
    if (!context_.document.IsOpen()) {
        return;
    }
    const HexViewModel& view = context_.view.Model();
    const bool selection = view.HasSelection();
    const ChecksumRange range =
        selection
            ? ChecksumRange{view.SelectionLow(), view.SelectionHigh() - view.SelectionLow() + 1}
            : ChecksumRange{0, context_.document.Size()};
    win::ChecksumDialog::Run(context_.Host(), context_.Lookup(), context_.document, range,
                             selection);
}

} // namespace orx
