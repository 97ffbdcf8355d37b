#include "app/MenuModel.h"

#include "app/CommandIds.h"

#include <string>

namespace orx {

namespace {

class MenuBuilder {
public:
    MenuBuilder(const MenuState& state, const StringLookup& lookup) : state_(state), lookup_(lookup)
    {}

    MenuItem Item(std::uint32_t id, const char* key, bool checked = false,
                  bool enabled = true) const
    {
        MenuItem item;
        item.kind = MenuItem::Kind::Command;
        item.id = id;
        item.labelKey = key;
        item.label = lookup_(key);
        item.enabled = enabled && !state_.busy;
        item.checked = checked;
        return item;
    }

    MenuItem Submenu(const char* key, std::vector<MenuItem> children) const
    {
        MenuItem item;
        item.kind = MenuItem::Kind::Submenu;
        item.labelKey = key;
        item.label = lookup_(key);
        item.enabled = !state_.busy;
        item.children = std::move(children);
        return item;
    }

    static MenuItem Separator()
    {
        MenuItem item;
        item.kind = MenuItem::Kind::Separator;
        return item;
    }

    // Up to eight recent items from `start`, then a submenu holding the rest the same way.
    void AppendRecent(std::vector<MenuItem>& items, std::size_t start) const
    {
        const std::vector<std::u16string>& recent = state_.recentFiles;
        std::size_t i = start;
        for (; i < recent.size() && i < start + kRecentItemsPerMenu; ++i) {
            MenuItem item;
            item.kind = MenuItem::Kind::Command;
            item.id = cmd::kRecentFirst + static_cast<std::uint32_t>(i);
            item.label = RecentFileLabel(i, recent[i]);
            item.enabled = !state_.busy && !state_.locked;
            items.push_back(std::move(item));
        }
        if (i < recent.size()) {
            std::vector<MenuItem> more;
            AppendRecent(more, i);
            items.push_back(Submenu("menu.file.more_recent", std::move(more)));
        }
    }

    MenuItem FileMenu() const
    {
        std::vector<MenuItem> items;
        const bool free = !state_.locked;
        items.push_back(Item(cmd::kOpen, "menu.file.open", false, free));
        items.push_back(Item(cmd::kSave, "menu.file.save", false, free && state_.documentOpen));
        items.push_back(Item(cmd::kClose, "menu.file.close", false, free && state_.documentOpen));
        items.push_back(Item(cmd::kCompare, "menu.file.compare", false, state_.documentOpen));
        if (!state_.recentFiles.empty()) {
            items.push_back(Separator());
            AppendRecent(items, 0);
        }
        items.push_back(Separator());
        items.push_back(Item(cmd::kExit, "menu.file.exit"));
        return Submenu("menu.file", std::move(items));
    }

    MenuItem EditMenu() const
    {
        return Submenu("menu.edit",
                       {Item(cmd::kToggleReadOnly, "menu.edit.readonly", !state_.editingEnabled),
                        Separator(), CopyAsMenu(), Separator(),
                        Item(cmd::kChecksums, "menu.edit.checksums", false, state_.documentOpen)});
    }

    MenuItem CopyAsMenu() const
    {
        const bool can = state_.documentOpen;
        auto format = [&](CopyFormat value, const char* key) {
            return Item(cmd::kCopyAsFirst + static_cast<std::uint32_t>(value), key, false, can);
        };
        return Submenu("menu.edit.copy_as",
                       {format(CopyFormat::Hex, "menu.edit.copy_as.hex"),
                        format(CopyFormat::HexCompact, "menu.edit.copy_as.hex_compact"),
                        format(CopyFormat::CArray, "menu.edit.copy_as.c"),
                        format(CopyFormat::Python, "menu.edit.copy_as.python"),
                        format(CopyFormat::Base64, "menu.edit.copy_as.base64"),
                        format(CopyFormat::Text, "menu.edit.copy_as.text")});
    }

    MenuItem BookmarksMenu() const
    {
        const bool open = state_.documentOpen;
        return Submenu(
            "menu.bookmarks",
            {Item(cmd::kAddRegion, "menu.bookmarks.add", false, open),
             Item(cmd::kRenameRegion, "menu.bookmarks.rename", false, open),
             Item(cmd::kRecolourRegion, "menu.bookmarks.recolour", false, open),
             Item(cmd::kRemoveRegion, "menu.bookmarks.remove", false, open), Separator(),
             Item(cmd::kNextRegion, "menu.bookmarks.next", false, open),
             Item(cmd::kPreviousRegion, "menu.bookmarks.previous", false, open), Separator(),
             Item(cmd::kExportRegions, "menu.bookmarks.export", false, open),
             Item(cmd::kImportRegions, "menu.bookmarks.import", false, open), Separator(),
             Item(cmd::kToggleBookmarksPanel, "menu.bookmarks.panel",
                  state_.bookmarksPanelVisible)});
    }

    MenuItem ViewMenu() const
    {
        MenuItem zoom =
            Submenu("menu.view.zoom", {Item(cmd::kZoomOut, "menu.view.zoom.out"),
                                       Item(cmd::kZoomIn, "menu.view.zoom.in"), Separator(),
                                       Item(cmd::kZoomReset, "menu.view.zoom.reset")});
        return Submenu(
            "menu.view",
            {Item(cmd::kFind, "menu.view.find"),
             Item(cmd::kFindNextAgain, "menu.view.find_next", false, state_.documentOpen),
             Item(cmd::kFindPreviousAgain, "menu.view.find_previous", false, state_.documentOpen),
             Item(cmd::kGoTo, "menu.view.goto"), Separator(),
             Item(cmd::kNextDifference, "menu.view.next_difference", false, state_.documentOpen),
             Item(cmd::kPreviousDifference, "menu.view.previous_difference", false,
                  state_.documentOpen),
             Separator(), std::move(zoom)});
    }

    MenuItem SettingsMenu() const
    {
        // Unknown stored values behave as ASCII, Light and System, so those carry the mark.
        auto encoding = static_cast<std::uint32_t>(state_.encoding);
        if (encoding > static_cast<std::uint32_t>(TextEncoding::EucKr)) {
            encoding = 0;
        }
        const auto theme =
            static_cast<std::uint32_t>(ThemeFromValue(static_cast<std::uint32_t>(state_.theme)));
        auto language = static_cast<std::uint32_t>(state_.language);
        if (language > static_cast<std::uint32_t>(UiLanguage::Japanese)) {
            language = 0;
        }
        auto encodingItem = [&](std::uint32_t value, const char* key) {
            return Item(cmd::kEncodingFirst + value, key, encoding == value);
        };
        MenuItem encodings = Submenu(
            "menu.view.encoding",
            {encodingItem(0, "menu.view.encoding.ascii"),
             encodingItem(1, "menu.view.encoding.utf8"),
             encodingItem(2, "menu.view.encoding.utf16le"),
             encodingItem(3, "menu.view.encoding.utf16be"), Separator(),
             Submenu("menu.view.encoding.japanese",
                     {encodingItem(4, "menu.view.encoding.shiftjis")}),
             Submenu("menu.view.encoding.korean", {encodingItem(5, "menu.view.encoding.windows949"),
                                                   encodingItem(6, "menu.view.encoding.euckr")})});
        auto themeItem = [&](std::uint32_t value, const char* key) {
            return Item(cmd::kThemeFirst + value, key, theme == value);
        };
        auto languageItem = [&](std::uint32_t value, const char* key) {
            return Item(cmd::kLanguageFirst + value, key, language == value);
        };
        MenuItem themes = Submenu("menu.view.theme", {themeItem(0, "menu.view.theme.light"),
                                                      themeItem(1, "menu.view.theme.darkblue"),
                                                      themeItem(2, "menu.view.theme.black")});
        MenuItem languages =
            Submenu("menu.view.language", {languageItem(0, "menu.view.language.system"),
                                           languageItem(1, "menu.view.language.english"),
                                           languageItem(2, "menu.view.language.japanese")});
        MenuItem analysis =
            Submenu("menu.settings.analysis",
                    {Item(cmd::kToggleInspector, "menu.settings.analysis.data_inspector",
                          state_.inspectorVisible),
                     Item(cmd::kToggleStructView, "menu.settings.analysis.struct_view",
                          state_.structViewVisible)});
        return Submenu("menu.settings",
                       {std::move(encodings), std::move(themes), std::move(languages),
                        std::move(analysis), Separator(), Item(cmd::kFont, "menu.settings.font")});
    }

    MenuItem HelpMenu() const
    {
        return Submenu("menu.help", {Item(cmd::kAbout, "menu.help.about")});
    }

private:
    const MenuState& state_;
    const StringLookup& lookup_;
};

} // namespace

std::vector<MenuItem> BuildMenuBar(const MenuState& state, const StringLookup& lookup)
{
    const MenuBuilder builder(state, lookup);
    std::vector<MenuItem> bar;
    bar.push_back(builder.FileMenu());
    bar.push_back(builder.EditMenu());
    bar.push_back(builder.ViewMenu());
    bar.push_back(builder.BookmarksMenu());
    bar.push_back(builder.SettingsMenu());
    bar.push_back(builder.HelpMenu());
    return bar;
}

std::u16string RecentFileLabel(std::size_t index, const std::u16string& path)
{
    std::u16string label;
    for (const char c : std::to_string(index + 1)) {
        label.push_back(static_cast<char16_t>(c));
    }
    label.push_back(u' ');
    label += path;
    return label;
}

const MenuItem* FindMenuItem(const std::vector<MenuItem>& items, std::uint32_t id)
{
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command && item.id == id) {
            return &item;
        }
        if (item.kind == MenuItem::Kind::Submenu) {
            if (const MenuItem* found = FindMenuItem(item.children, id)) {
                return found;
            }
        }
    }
    return nullptr;
}

} // namespace orx
