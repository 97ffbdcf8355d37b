#include "app/win/MenuBuilder.h"

#include "platform/win32/WinString.h"

namespace orx::win {
namespace {

// Labels from the string table carry their mnemonics as '&'; a label made of a file path
// (no key) must show every '&' as it stands.
std::u16string MenuText(const MenuItem& item)
{
    if (!item.labelKey.empty()) {
        return item.label;
    }
    std::u16string text;
    for (char16_t c : item.label) {
        text.push_back(c);
        if (c == u'&') {
            text.push_back(u'&');
        }
    }
    return text;
}

UINT StateFlags(const MenuItem& item)
{
    return (item.enabled ? MF_ENABLED : MF_GRAYED) | (item.checked ? MF_CHECKED : MF_UNCHECKED);
}

bool AppendItems(HMENU menu, const std::vector<MenuItem>& items)
{
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) {
                return false;
            }
            break;
        case MenuItem::Kind::Command:
            if (!AppendMenuW(menu, MF_STRING | StateFlags(item), item.id, W(MenuText(item)))) {
                return false;
            }
            break;
        case MenuItem::Kind::Submenu: {
            MenuHandle submenu(CreatePopupMenu());
            if (!submenu || !AppendItems(submenu.Get(), item.children) ||
                !AppendMenuW(menu, MF_POPUP | MF_STRING | StateFlags(item),
                             reinterpret_cast<UINT_PTR>(submenu.Get()), W(MenuText(item)))) {
                return false;
            }
            submenu.Release(); // now owned by its parent menu
            break;
        }
        }
    }
    return true;
}

} // namespace

MenuHandle BuildMenuHandle(const std::vector<MenuItem>& bar)
{
    MenuHandle menu(CreateMenu());
    if (!menu || !AppendItems(menu.Get(), bar)) {
        return {};
    }
    return menu;
}

} // namespace orx::win
