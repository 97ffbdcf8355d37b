#pragma once

#include "hexview/CopyFormats.h"
#include "hexview/TextEncoding.h"
#include "ui/Theme.h"
#include "localization/UiLanguage.h"

#include <cstddef>
#include <cstdint>

namespace orx {

// The main window's command numbers (low word of WM_COMMAND's wParam).
namespace cmd {
inline constexpr std::uint32_t kOpen = 1001;
inline constexpr std::uint32_t kSave = 1002;
inline constexpr std::uint32_t kClose = 1003;
inline constexpr std::uint32_t kToggleReadOnly = 1004;
inline constexpr std::uint32_t kFind = 1005;
inline constexpr std::uint32_t kGoTo = 1006;
inline constexpr std::uint32_t kEncodingFirst = 1007; // 1007..1013: TextEncoding 0..6
inline constexpr std::uint32_t kEncodingLast = 1013;
inline constexpr std::uint32_t kThemeFirst = 1014; // 1014..1016: Theme 0..2
inline constexpr std::uint32_t kThemeLast = 1016;
inline constexpr std::uint32_t kZoomOut = 1017;
inline constexpr std::uint32_t kZoomIn = 1018;
inline constexpr std::uint32_t kZoomReset = 1019;
inline constexpr std::uint32_t kFont = 1020;
inline constexpr std::uint32_t kToggleInspector = 1021;
inline constexpr std::uint32_t kToggleStructView = 1022;
inline constexpr std::uint32_t kExit = 1023;
inline constexpr std::uint32_t kLanguageFirst = 1024; // 1024..1026: UiLanguage 0..2
inline constexpr std::uint32_t kLanguageLast = 1026;
inline constexpr std::uint32_t kAbout = 1027;
inline constexpr std::uint32_t kChecksums = 1028;
inline constexpr std::uint32_t kCompare = 1029;
inline constexpr std::uint32_t kNextDifference = 1030;
inline constexpr std::uint32_t kPreviousDifference = 1031;
inline constexpr std::uint32_t kFindNextAgain = 1040;     // F3: the last query, forwards
inline constexpr std::uint32_t kFindPreviousAgain = 1041; // Shift+F3: backwards
inline constexpr std::uint32_t kAddRegion = 1050;         // Ctrl+B
inline constexpr std::uint32_t kRenameRegion = 1051;
inline constexpr std::uint32_t kRecolourRegion = 1052;
inline constexpr std::uint32_t kRemoveRegion = 1053;
inline constexpr std::uint32_t kNextRegion = 1054;     // F2
inline constexpr std::uint32_t kPreviousRegion = 1055; // Shift+F2
inline constexpr std::uint32_t kExportRegions = 1056;
inline constexpr std::uint32_t kImportRegions = 1057;
inline constexpr std::uint32_t kToggleBookmarksPanel = 1058;
inline constexpr std::uint32_t kCopyAsFirst = 1060; // 1060..1065: CopyFormat 0..5
inline constexpr std::uint32_t kCopyAsLast = 1065;
inline constexpr std::uint32_t kRecentFirst = 4000; // 4000 + index into the recent list
} // namespace cmd

enum class CommandKind {
    Open,
    Save,
    Close,
    ToggleReadOnly,
    Find,
    GoTo,
    SetEncoding,
    SetTheme,
    ZoomOut,
    ZoomIn,
    ZoomReset,
    Font,
    ToggleInspector,
    ToggleStructView,
    Exit,
    SetLanguage,
    About,
    Checksums,
    FindNextAgain,
    FindPreviousAgain,
    Compare,
    NextDifference,
    PreviousDifference,
    AddRegion,
    RenameRegion,
    RecolourRegion,
    RemoveRegion,
    NextRegion,
    PreviousRegion,
    ExportRegions,
    ImportRegions,
    ToggleBookmarksPanel,
    CopyAs,
    OpenRecent,
    Ignored, // an id of 4000 or more with no recent entry behind it
    Unknown, // any other id: default window procedure
};

// A decoded command id. `encoding`, `theme`, `language` and `recentIndex` are set for the
// commands that carry them.
struct Command {
    CommandKind kind = CommandKind::Unknown;
    TextEncoding encoding = TextEncoding::Ascii;
    Theme theme = Theme::Light;
    UiLanguage language = UiLanguage::System;
    std::size_t recentIndex = 0;
    CopyFormat copyFormat = CopyFormat::Hex;
};

[[nodiscard]] Command DecodeCommand(std::uint32_t id, std::size_t recentCount);

// Whether a decoded command may run now. Nothing runs while a save is busy: the save pumps
// messages, and a command that reached the window then (a queued click, a message sent by
// another program) would close or reopen the document under the running save.
// While Find All reads the document (`locked`), nothing may replace or write it: opening,
// closing and saving wait.
[[nodiscard]] bool CommandAllowed(const Command& command, bool busy, bool locked = false);

} // namespace orx
