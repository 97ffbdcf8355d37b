#include "app/AppFlow.h"
#include "app/CommandIds.h"
#include "app/Placement.h"

#include <gtest/gtest.h>

namespace orx::test {
namespace {

TEST(Commands, IdsDecodeToCommandsAndTheirValues)
{
    // value: encoding, theme, language or recent index
    // clang-format off
    struct Case { std::uint32_t id; std::size_t recentCount; CommandKind kind; std::uint32_t value; };
    const Case cases[] = {
        {cmd::kOpen, 0, CommandKind::Open, 0},
        {cmd::kEncodingFirst, 0, CommandKind::SetEncoding, 0},
        {cmd::kEncodingLast, 0, CommandKind::SetEncoding, 6},
        {cmd::kThemeFirst, 0, CommandKind::SetTheme, 0},
        {cmd::kThemeLast, 0, CommandKind::SetTheme, 2},
        {cmd::kZoomOut, 0, CommandKind::ZoomOut, 0},
        {cmd::kExit, 0, CommandKind::Exit, 0},
        {cmd::kLanguageFirst, 0, CommandKind::SetLanguage, 0},
        {cmd::kLanguageLast, 0, CommandKind::SetLanguage, 2},
        {cmd::kAbout, 0, CommandKind::About, 0},
        {cmd::kOpen - 1, 0, CommandKind::Unknown, 0},
        {cmd::kChecksums, 0, CommandKind::Checksums, 0},
        {cmd::kCompare, 0, CommandKind::Compare, 0},
        {cmd::kPreviousDifference, 0, CommandKind::PreviousDifference, 0},
        {cmd::kPreviousDifference + 1, 0, CommandKind::Unknown, 0},
        {cmd::kFindNextAgain, 0, CommandKind::FindNextAgain, 0},
        {cmd::kFindPreviousAgain, 0, CommandKind::FindPreviousAgain, 0},
        {cmd::kRecentFirst - 1, 5, CommandKind::Unknown, 0},
        {cmd::kRecentFirst + 4, 5, CommandKind::OpenRecent, 4},
        {cmd::kRecentFirst + 5, 5, CommandKind::Ignored, 5},
        {0xFFFF, 16, CommandKind::Ignored, 0xFFFF - cmd::kRecentFirst},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const Command command = DecodeCommand(c.id, c.recentCount);
        EXPECT_EQ(command.kind, c.kind);
        switch (command.kind) {
        case CommandKind::SetEncoding:
            EXPECT_EQ(static_cast<std::uint32_t>(command.encoding), c.value);
            break;
        case CommandKind::SetTheme:
            EXPECT_EQ(static_cast<std::uint32_t>(command.theme), c.value);
            break;
        case CommandKind::SetLanguage:
            EXPECT_EQ(static_cast<std::uint32_t>(command.language), c.value);
            break;
        case CommandKind::OpenRecent:
        case CommandKind::Ignored: EXPECT_EQ(command.recentIndex, c.value); break;
        default: break;
        }
    }
}

TEST(Commands, NothingRunsWhileASaveIsBusy)
{
    for (std::uint32_t id = cmd::kOpen; id <= cmd::kPreviousDifference; ++id) {
        const Command command = DecodeCommand(id, 3);
        EXPECT_TRUE(CommandAllowed(command, false)) << id;
        EXPECT_FALSE(CommandAllowed(command, true)) << id;
    }
    EXPECT_FALSE(CommandAllowed(DecodeCommand(cmd::kRecentFirst, 3), true));
    EXPECT_TRUE(CommandAllowed(DecodeCommand(cmd::kRecentFirst + 2, 3), false));
    EXPECT_FALSE(CommandAllowed(DecodeCommand(cmd::kRecentFirst + 3, 3), false));
    // While Find All reads the document only what would replace or write it waits.
    for (const std::uint32_t id : {cmd::kOpen, cmd::kSave, cmd::kClose, cmd::kRecentFirst}) {
        EXPECT_FALSE(CommandAllowed(DecodeCommand(id, 3), false, true)) << id;
    }
    for (const std::uint32_t id : {cmd::kToggleReadOnly, cmd::kFind, cmd::kChecksums,
                                   cmd::kFindNextAgain, cmd::kFindPreviousAgain}) {
        EXPECT_TRUE(CommandAllowed(DecodeCommand(id, 3), false, true)) << id;
    }
}

TEST(AppFlow, DropsOpenTheFirstFileThatOpensHereAndTheRestElsewhere)
{
    // opens: whether each file would open here; expected: H: opened here, N: new instance
    // clang-format off
    struct Case { const char* name; bool documentOpen; std::vector<bool> opens; std::string expected; };
    const Case cases[] = {
        {"no document, three files", false, {true, true, true}, "HNN"},
        {"first fails, second tried here", false, {false, true, true}, "HHN"},
        {"all fail", false, {false, false}, "HH"},
        {"a document is open", true, {true, true}, "NN"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DropRouter router(c.documentOpen);
        std::string routes;
        for (const bool opens : c.opens) {
            if (router.OpenHere()) {
                routes += 'H';
                router.ReportOpened(opens);
            } else {
                routes += 'N';
            }
        }
        EXPECT_EQ(routes, c.expected);
    }
}

TEST(AppFlow, TextsForTheShell)
{
    EXPECT_EQ(SaveFailureMessage(u"Could not save.", u""),
              u"Could not save."); // a short read has no reason
    EXPECT_EQ(SaveFailureMessage(u"Could not save.", u"Access is denied."),
              u"Could not save.\r\n\r\nAccess is denied.");
    EXPECT_EQ(NewInstanceCommandLine(u"C:\\Orlin\\orlin.exe", u"D:\\my files\\a.bin"),
              u"\"C:\\Orlin\\orlin.exe\" \"D:\\my files\\a.bin\"");
    EXPECT_EQ(GoToInitialText(0), u"0");
    EXPECT_EQ(GoToInitialText(0x1A), u"1A");
    EXPECT_EQ(GoToInitialText(~0ull), u"FFFFFFFFFFFFFFFF");

    using Args = std::vector<std::u16string>;
    EXPECT_EQ(StartupPathFromArguments(Args{u"orlin.exe"}), std::nullopt);
    EXPECT_EQ(StartupPathFromArguments(Args{u"orlin.exe", u""}), std::nullopt);
    EXPECT_EQ(StartupPathFromArguments(Args{u"orlin.exe", u"a.bin", u"b.bin"}), u"a.bin");
    EXPECT_EQ(StartupPathFromArguments(Args{}), std::nullopt);
}

TEST(Placement, CentredInTheWorkAreaOrAtItsCorner)
{
    const ScreenRect primary{0, 0, 1920, 1040};
    // clang-format off
    struct Case { std::optional<ScreenRect> monitor; std::int32_t width, height; ScreenPoint expected; };
    // clang-format on
    const Case cases[] = {
        {std::nullopt, 1000, 800, {460, 120}},
        {ScreenRect{}, 1000, 800, {460, 120}}, // an all-zero answer counts as none
        {ScreenRect{1920, 0, 3200, 1024}, 1000, 800, {2060, 112}},  // second monitor
        {ScreenRect{-1280, 100, 0, 1124}, 1001, 801, {-1141, 211}}, // odd remainders truncate
        {ScreenRect{0, 0, 800, 600}, 1000, 800, {0, 0}},            // too large: top-left corner
        {ScreenRect{0, 0, 800, 600}, 700, 800, {50, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CenterIn(ChooseWorkArea(c.monitor, primary), c.width, c.height), c.expected);
    }
}

TEST(Placement, SideWindowsDockOnePixelAway)
{
    const ScreenRect main{100, 50, 1100, 850};
    EXPECT_EQ(DockRightOf(main, 520), (ScreenRect{1101, 50, 1621, 850}));
    EXPECT_EQ(DockLeftOf(main, 300), (ScreenRect{-201, 50, 99, 850}));
}

} // namespace
} // namespace orx::test
