// The menu's and the accelerators' commands, each handed to the controller that owns it.
#include "app/win/AppWindow.h"

#include "app/CommandIds.h"
#include "search/SearchEngine.h"
#include "ui/win/ClipboardText.h"

namespace orx {

void AppWindow::RunCommand(const Command& command)
{
    switch (command.kind) {
    case CommandKind::Open: files_.ChooseAndOpen(); break;
    case CommandKind::Save:
        (void)files_.Save(); // a failure has shown its box
        break;
    case CommandKind::Close: files_.Close(); break;
    case CommandKind::OpenRecent: files_.OpenRecent(command.recentIndex); break;
    case CommandKind::Exit:
        if (files_.ConfirmSaveChanges()) {
            DestroyWindow(window_);
        }
        break;
    case CommandKind::ToggleReadOnly:
    case CommandKind::SetEncoding:
    case CommandKind::SetTheme:
    case CommandKind::SetLanguage:
    case CommandKind::ZoomOut:
    case CommandKind::ZoomIn:
    case CommandKind::ZoomReset: ApplyViewSetting(command); break;
    case CommandKind::ToggleInspector: inspector_.SetVisible(!settings_.inspectorVisible); break;
    case CommandKind::ToggleStructView: structView_.SetVisible(!settings_.structViewVisible); break;
    case CommandKind::Find: search_.Find(); break;
    case CommandKind::FindNextAgain: search_.Repeat(SearchDirection::Next); break;
    case CommandKind::FindPreviousAgain: search_.Repeat(SearchDirection::Previous); break;
    case CommandKind::GoTo: dialogs_.GoTo(); break;
    case CommandKind::Font: dialogs_.ChooseFont(); break;
    case CommandKind::About: dialogs_.ShowAbout(); break;
    case CommandKind::Checksums: dialogs_.ShowChecksums(); break;
    case CommandKind::Compare:
        if (const auto path =
                environment_.chooseFile(window_, context_.Text("compare.choose_title"))) {
            if (!compare_.Open(window_, context_.instance, *path, sideWindows_.Docked())) {
                ShowError(context_.Text("error.open_failed"));
            }
        }
        break;
    case CommandKind::NextDifference: compare_.Step(true); break;
    case CommandKind::PreviousDifference: compare_.Step(false); break;
    case CommandKind::AddRegion: bookmarks_.Add(); break;
    case CommandKind::RenameRegion: bookmarks_.Rename(); break;
    case CommandKind::RecolourRegion: bookmarks_.Recolour(); break;
    case CommandKind::RemoveRegion: bookmarks_.Remove(); break;
    case CommandKind::NextRegion: bookmarks_.Step(true); break;
    case CommandKind::PreviousRegion: bookmarks_.Step(false); break;
    case CommandKind::ExportRegions: bookmarks_.Export(); break;
    case CommandKind::ImportRegions: bookmarks_.Import(); break;
    case CommandKind::ToggleBookmarksPanel: bookmarks_.TogglePanel(); break;
    case CommandKind::CopyAs: CopySelectionAs(command.copyFormat); break;
    case CommandKind::Ignored:
    case CommandKind::Unknown: break;
    }
}

// The view's mode, encoding, theme, language and zoom: the view and the windows that follow
// it take the new value, the settings keep it.
void AppWindow::ApplyViewSetting(const Command& command)
{
    HexViewModel& view = hexView_.Model();
    switch (command.kind) {
    case CommandKind::ToggleReadOnly:
        hexView_.Apply(view.ToggleEditingEnabled()); // repaints and notifies the change
        Changed(Change::Mode);
        return;
    case CommandKind::ZoomOut: hexView_.Apply(view.ZoomBy(-0.1f)); break;
    case CommandKind::ZoomIn: hexView_.Apply(view.ZoomBy(0.1f)); break;
    case CommandKind::ZoomReset: hexView_.Apply(view.ResetZoom()); break;
    case CommandKind::SetEncoding:
        hexView_.Apply(view.SetEncoding(command.encoding));
        search_.FindAll().RefreshTexts(); // the text around each hit
        settings_.encoding = command.encoding;
        SettingsChanged();
        break;
    case CommandKind::SetTheme:
        hexView_.Apply(view.SetTheme(command.theme));
        compare_.SetTheme(command.theme);
        search_.FindAll().SetTheme(command.theme);
        bookmarks_.SetTheme(command.theme);
        settings_.theme = command.theme;
        SettingsChanged();
        Changed(Change::Theme);
        return;
    case CommandKind::SetLanguage:
        strings_.SetLanguage(command.language);
        search_.FindAll().RefreshTexts();
        bookmarks_.RefreshTexts();
        settings_.language = command.language;
        SettingsChanged();
        Changed(Change::Language);
        return;
    default: return;
    }
    Changed(Change::Mode);
}

void AppWindow::CopySelectionAs(CopyFormat format)
{
    const HexViewModel& view = hexView_.Model();
    if (!view.HasSelection()) {
        return;
    }
    const ClipboardText copy =
        CopyAs(document_, view.SelectionLow(), view.SelectionHigh(), format, view.Encoding());
    if (copy.status == ClipboardText::Status::TooLarge) {
        Flash("status.copy_too_large"); // the clipboard keeps what it held
    } else if (copy.status == ClipboardText::Status::Ready) {
        (void)win::CopyTextToClipboard(window_, copy.text); // a failure leaves it as it was
    }
}

} // namespace orx
