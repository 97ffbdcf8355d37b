#include "app/CommandIds.h"

namespace orx {

Command DecodeCommand(std::uint32_t id, std::size_t recentCount)
{
    Command command;
    if (id >= cmd::kRecentFirst) {
        const std::uint64_t index = id - cmd::kRecentFirst;
        command.kind = index < recentCount ? CommandKind::OpenRecent : CommandKind::Ignored;
        command.recentIndex = static_cast<std::size_t>(index);
        return command;
    }
    if (id >= cmd::kEncodingFirst && id <= cmd::kEncodingLast) {
        command.kind = CommandKind::SetEncoding;
        command.encoding = static_cast<TextEncoding>(id - cmd::kEncodingFirst);
        return command;
    }
    if (id >= cmd::kThemeFirst && id <= cmd::kThemeLast) {
        command.kind = CommandKind::SetTheme;
        command.theme = static_cast<Theme>(id - cmd::kThemeFirst);
        return command;
    }
    if (id >= cmd::kLanguageFirst && id <= cmd::kLanguageLast) {
        command.kind = CommandKind::SetLanguage;
        command.language = static_cast<UiLanguage>(id - cmd::kLanguageFirst);
        return command;
    }
    if (id >= cmd::kCopyAsFirst && id <= cmd::kCopyAsLast) {
        command.kind = CommandKind::CopyAs;
        command.copyFormat = static_cast<CopyFormat>(id - cmd::kCopyAsFirst);
        return command;
    }
    switch (id) {
    case cmd::kAddRegion: command.kind = CommandKind::AddRegion; break;
    case cmd::kRenameRegion: command.kind = CommandKind::RenameRegion; break;
    case cmd::kRecolourRegion: command.kind = CommandKind::RecolourRegion; break;
    case cmd::kRemoveRegion: command.kind = CommandKind::RemoveRegion; break;
    case cmd::kNextRegion: command.kind = CommandKind::NextRegion; break;
    case cmd::kPreviousRegion: command.kind = CommandKind::PreviousRegion; break;
    case cmd::kExportRegions: command.kind = CommandKind::ExportRegions; break;
    case cmd::kImportRegions: command.kind = CommandKind::ImportRegions; break;
    case cmd::kToggleBookmarksPanel: command.kind = CommandKind::ToggleBookmarksPanel; break;
    case cmd::kOpen: command.kind = CommandKind::Open; break;
    case cmd::kSave: command.kind = CommandKind::Save; break;
    case cmd::kClose: command.kind = CommandKind::Close; break;
    case cmd::kToggleReadOnly: command.kind = CommandKind::ToggleReadOnly; break;
    case cmd::kFind: command.kind = CommandKind::Find; break;
    case cmd::kGoTo: command.kind = CommandKind::GoTo; break;
    case cmd::kZoomOut: command.kind = CommandKind::ZoomOut; break;
    case cmd::kZoomIn: command.kind = CommandKind::ZoomIn; break;
    case cmd::kZoomReset: command.kind = CommandKind::ZoomReset; break;
    case cmd::kFont: command.kind = CommandKind::Font; break;
    case cmd::kToggleInspector: command.kind = CommandKind::ToggleInspector; break;
    case cmd::kToggleStructView: command.kind = CommandKind::ToggleStructView; break;
    case cmd::kExit: command.kind = CommandKind::Exit; break;
    case cmd::kAbout: command.kind = CommandKind::About; break;
    case cmd::kChecksums: command.kind = CommandKind::Checksums; break;
    case cmd::kFindNextAgain: command.kind = CommandKind::FindNextAgain; break;
    case cmd::kFindPreviousAgain: command.kind = CommandKind::FindPreviousAgain; break;
    case cmd::kCompare: command.kind = CommandKind::Compare; break;
    case cmd::kNextDifference: command.kind = CommandKind::NextDifference; break;
    case cmd::kPreviousDifference: command.kind = CommandKind::PreviousDifference; break;
    default: command.kind = CommandKind::Unknown; break;
    }
    return command;
}

bool CommandAllowed(const Command& command, bool busy, bool locked)
{
    if (command.kind == CommandKind::Unknown || command.kind == CommandKind::Ignored) {
        return false;
    }
    if (locked) {
        switch (command.kind) {
        case CommandKind::Open:
        case CommandKind::Save:
        case CommandKind::Close:
        case CommandKind::OpenRecent: return false;
        default: break;
        }
    }
    return !busy;
}

} // namespace orx
