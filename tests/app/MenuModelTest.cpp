#include "app/MenuModel.h"

#include "app/AppTestSupport.h"
#include "app/CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

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
         {1004, 1007, 1014, 1024},
         {1002, 1003, 1029, 1028, 1040, 1041, 1030, 1031}},
        {"editing", editing, {1013, 1016, 1026, 1022}, {}},
        {"Find All running: open, save, close",
         locked,
         {1013, 1016, 1026, 1022},
         {1001, 1002, 1003, 4000}},
        {"unknown values", damaged, {1004, 1007, 1014, 1024}, {}},
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
    // expectedRecent: between Close and the separator before Exit
    // clang-format off
    struct Case { int count; std::string expectedRecent; };
    const Case cases[] = {
        {0, ""},
        {8, "- recent#4000 recent#4001 recent#4002 recent#4003 recent#4004 recent#4005 recent#4006 "
            "recent#4007 "},
        {9, "- recent#4000 recent#4001 recent#4002 recent#4003 recent#4004 recent#4005 recent#4006 "
            "recent#4007 "
            "menu.file.more_recent{recent#4008} "},
        {16, "- recent#4000 recent#4001 recent#4002 recent#4003 recent#4004 recent#4005 "
             "recent#4006 recent#4007 "
             "menu.file.more_recent{recent#4008 recent#4009 recent#4010 recent#4011 recent#4012 "
             "recent#4013 "
             "recent#4014 recent#4015} "},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        MenuState state;
        state.documentOpen = true;
        state.recentFiles = Paths(c.count);
        const std::vector<MenuItem> bar = BuildMenuBar(state, kBracketLookup);
        EXPECT_EQ(
            Outline(bar[0].children),
            "menu.file.open#1001 menu.file.save#1002 menu.file.close#1003 menu.file.compare#1029 " +
                c.expectedRecent + "- menu.file.exit#1023");
        if (c.count >= 9) {
            EXPECT_EQ(FindMenuItem(bar, 4008)->label,
                      u"9 C:\\data\\filei.bin"); // no mnemonic, path as stored
        }
    }
}

} // namespace
} // namespace orx::test
