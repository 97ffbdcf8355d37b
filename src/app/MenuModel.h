#pragma once

#include "hexview/TextEncoding.h"
#include "ui/Theme.h"
#include "localization/StringLookup.h"
#include "localization/UiLanguage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// One entry of the menu bar tree. Top-level entries are submenus.
struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    std::uint32_t id = 0;           // command id (Command only)
    std::string labelKey;           // string key of the label; empty for recent files
    std::u16string label;           // the text shown
    bool enabled = true;            // false: greyed
    bool checked = false;           // a plain check mark
    std::vector<MenuItem> children; // Submenu only
};

// The application state the menu depends on.
struct MenuState {
    bool busy = false;         // a save runs: everything greyed
    bool locked = false;       // Find All runs: open, save and close greyed
    bool documentOpen = false; // Save and Close need a document
    bool editingEnabled = false;
    TextEncoding encoding = TextEncoding::Ascii;
    Theme theme = Theme::Light;
    UiLanguage language = UiLanguage::System;
    bool inspectorVisible = false;
    bool structViewVisible = false;
    std::vector<std::u16string> recentFiles; // most recent first
    bool bookmarksPanelVisible = false;
};

// Recent files shown directly in the File menu (and in each nested submenu).
inline constexpr std::size_t kRecentItemsPerMenu = 8;

// The whole menu bar, top-level entries left to right.
[[nodiscard]] std::vector<MenuItem> BuildMenuBar(const MenuState& state,
                                                 const StringLookup& lookup);

// "3 C:\data\dump.bin": the 1-based position, a space, the path as stored.
[[nodiscard]] std::u16string RecentFileLabel(std::size_t index, const std::u16string& path);

// Finds the item with a command id anywhere in the tree (nullptr when absent).
[[nodiscard]] const MenuItem* FindMenuItem(const std::vector<MenuItem>& items, std::uint32_t id);

} // namespace orx
