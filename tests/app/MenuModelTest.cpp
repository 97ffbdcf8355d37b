#include "app/MenuModel.h"

#include "app/AppTestSupport.h"
#include "app/CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace orx::test {
namespace {

// Flattens a menu into one line per entry: "key#id" for commands, "-" for separators,
// "key{...}" for submenus; check marks as "*", greyed entries as "~".
std::string Outline(const std::vector<MenuItem>& items)
{
    std::string out;
    for (const MenuItem& item : items) {
        if (!out.empty()) {
            out += ' ';
        }
        if (item.kind == MenuItem::Kind::Separator) {
            out += '-';
            continue;
        }
        out += item.labelKey.empty() ? "recent" : item.labelKey;
        if (item.kind == MenuItem::Kind::Command) {
            out += '#' + std::to_string(item.id);
        }
        out += item.checked ? "*" : "";
        out += item.enabled ? "" : "~";
        if (item.kind == MenuItem::Kind::Submenu) {
            out += '{' + Outline(item.children) + '}';
        }
    }
    return out;
}

// A command as Outline writes it.
std::string CommandOutline(std::string_view key, std::uint32_t id)
{
    std::string out(key);
    out += '#';
    out += std::to_string(id);
    return out;
}

// `count` recent entries from index `first`, as Outline writes them.
std::string RecentOutline(int first, int count)
{
    std::string out;
    for (int i = first; i < first + count; ++i) {
        out += out.empty() ? "" : " ";
        out += CommandOutline("recent", cmd::kRecentFirst + i);
    }
    return out;
}

void ForEachItem(const std::vector<MenuItem>& items,
                 const std::function<void(const MenuItem&)>& visit)
{
    for (const MenuItem& item : items) {
        visit(item);
        ForEachItem(item.children, visit);
    }
}

std::vector<std::u16string> Paths(int count)
{
    std::vector<std::u16string> paths;
    for (int i = 1; i <= count; ++i) {
        paths.push_back(u"C:\\data\\file" + std::u16string(1, static_cast<char16_t>(u'a' + i - 1)) +
                        u".bin");
    }
    return paths;
}

TEST(MenuModel, GreyingAndCheckMarksFollowTheState)
{
    // clang-format off
    struct Case { const char* name; MenuState state; std::vector<std::uint32_t> checked;
        std::vector<std::uint32_t> greyed; };
    // clang-format on
    MenuState closed;
    MenuState editing;
    editing.documentOpen = true;
    editing.editingEnabled = true;
    editing.encoding = TextEncoding::EucKr;
    editing.theme = Theme::Black;
    editing.language = UiLanguage::Japanese;
    editing.structViewVisible = true;
    MenuState damaged; // values from a damaged settings file behave as ASCII, Light, System
    damaged.documentOpen = true;
    damaged.encoding = static_cast<TextEncoding>(9);
    damaged.theme = static_cast<Theme>(7);
    damaged.language = static_cast<UiLanguage>(5);
    MenuState locked = editing; // Find All reads the document
    locked.locked = true;
    locked.recentFiles = {u"C:\\a.bin"};
    const Case cases[] = {
        {"closed: document commands greyed",
         closed,
         {cmd::kToggleReadOnly, cmd::kEncodingFirst, cmd::kThemeFirst, cmd::kLanguageFirst},
         {cmd::kSave,
          cmd::kClose,
          cmd::kCompare,
          cmd::kCopyAsFirst,
          cmd::kCopyAsFirst + 1,
          cmd::kCopyAsFirst + 2,
          cmd::kCopyAsFirst + 3,
          cmd::kCopyAsFirst + 4,
          cmd::kCopyAsLast,
          cmd::kChecksums,
          cmd::kFindNextAgain,
          cmd::kFindPreviousAgain,
          cmd::kNextDifference,
          cmd::kPreviousDifference,
          cmd::kAddRegion,
          cmd::kRenameRegion,
          cmd::kRecolourRegion,
          cmd::kRemoveRegion,
          cmd::kNextRegion,
          cmd::kPreviousRegion,
          cmd::kExportRegions,
          cmd::kImportRegions}},
        {"editing",
         editing,
         {cmd::kEncodingLast, cmd::kThemeLast, cmd::kLanguageLast, cmd::kToggleStructView},
         {}},
        {"Find All running: open, save, close",
         locked,
         {cmd::kEncodingLast, cmd::kThemeLast, cmd::kLanguageLast, cmd::kToggleStructView},
         {cmd::kOpen, cmd::kSave, cmd::kClose, cmd::kRecentFirst}},
        {"unknown values",
         damaged,
         {cmd::kToggleReadOnly, cmd::kEncodingFirst, cmd::kThemeFirst, cmd::kLanguageFirst},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint32_t> checked;
        std::vector<std::uint32_t> greyed;
        ForEachItem(BuildMenuBar(c.state, kBracketLookup), [&](const MenuItem& item) {
            if (item.checked) {
                checked.push_back(item.id);
            }
            if (!item.enabled) {
                greyed.push_back(item.id);
            }
        });
        std::sort(checked.begin(), checked.end());
        std::vector<std::uint32_t> expectedChecked = c.checked;
        std::sort(expectedChecked.begin(), expectedChecked.end());
        EXPECT_EQ(checked, expectedChecked);
        EXPECT_EQ(greyed, c.greyed);
    }
}

TEST(MenuModel, BusyGreysEverythingIncludingTopLevelAndRecentEntries)
{
    MenuState state;
    state.busy = true;
    state.documentOpen = true;
    state.recentFiles = Paths(12);
    int items = 0;
    ForEachItem(BuildMenuBar(state, kBracketLookup), [&](const MenuItem& item) {
        if (item.kind != MenuItem::Kind::Separator) {
            ++items;
            EXPECT_FALSE(item.enabled) << item.id << " " << item.labelKey;
        }
    });
    EXPECT_GT(items, 40);
}

TEST(MenuModel, RecentFilesFillTheFileMenuThenAMoreSubmenu)
{
    // How many recent entries the File menu holds between Close and the separator before Exit,
    // and how many its More submenu holds.
    struct Case {
        int count;
        int inFileMenu;
        int inMore;
    };
    const Case cases[] = {{0, 0, 0}, {8, 8, 0}, {9, 8, 1}, {16, 8, 8}};
    const std::pair<std::string_view, std::uint32_t> kFileCommands[] = {
        {"menu.file.open", cmd::kOpen},
        {"menu.file.save", cmd::kSave},
        {"menu.file.close", cmd::kClose},
        {"menu.file.compare", cmd::kCompare}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        MenuState state;
        state.documentOpen = true;
        state.recentFiles = Paths(c.count);
        const std::vector<MenuItem> bar = BuildMenuBar(state, kBracketLookup);
        // Appended piece by piece: GCC 12's -Wrestrict misreads operator+ on strings at -O3.
        std::string expected;
        for (const auto& [key, id] : kFileCommands) {
            expected += CommandOutline(key, id);
            expected += ' ';
        }
        if (c.inFileMenu > 0) {
            expected += "- ";
            expected += RecentOutline(0, c.inFileMenu);
            expected += ' ';
        }
        if (c.inMore > 0) {
            expected += "menu.file.more_recent{";
            expected += RecentOutline(c.inFileMenu, c.inMore);
            expected += "} ";
        }
        expected += "- ";
        expected += CommandOutline("menu.file.exit", cmd::kExit);
        EXPECT_EQ(Outline(bar[0].children), expected);
        if (c.count >= 9) {
            EXPECT_EQ(FindMenuItem(bar, cmd::kRecentFirst + 8)->label,
                      u"9 C:\\data\\filei.bin"); // no mnemonic, path as stored
        }
    }
}

} // namespace
} // namespace orx::test
