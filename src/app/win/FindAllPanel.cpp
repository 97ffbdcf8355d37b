#include "app/win/FindAllPanel.h"

namespace orx::win {

bool FindAllPanel::Create(HWND parent, Actions actions)
{
    ListPanel::Actions list;
    list.row = [row = std::move(actions.row)](std::uint64_t index) {
        HitRowText text = row(index);
        return std::vector<std::u16string>{std::move(text.offset), std::move(text.bytes),
                                           std::move(text.context)};
    };
    list.activate = std::move(actions.activate);
    list.copy = std::move(actions.copy);
    list.escape = actions.stop;
    list.button = [stop = actions.stop, copyAll = std::move(actions.copyAll),
                   close = std::move(actions.close)](int id) {
        const std::function<void()>& action = id == kStop ? stop : id == kCopyAll ? copyAll : close;
        if (action) {
            action();
        }
    };
    return panel_.Create(parent,
                         {.className = kClassName,
                          .listId = kList,
                          .columnWidths = {150, 300, 260},
                          .buttonIds = {kClose, kCopyAll, kStop},
                          .height = kHeight},
                         std::move(list));
}

void FindAllPanel::SetTexts(const FindAllPanelTexts& texts)
{
    const std::u16string columns[] = {texts.offsetColumn, texts.bytesColumn, texts.textColumn};
    const std::u16string buttons[] = {texts.close, texts.copyAll, texts.stop};
    panel_.SetTexts(columns, buttons);
}

} // namespace orx::win
