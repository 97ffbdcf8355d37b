#pragma once

#include "app/MenuModel.h"
#include "ui/win/WinHandles.h"

#include <windows.h>

#include <vector>

namespace orx::win {

// Turns the menu model's tree into a menu bar: plain check marks, greyed items and
// submenus as the model says, labels shown as they stand.
[[nodiscard]] MenuHandle BuildMenuHandle(const std::vector<MenuItem>& bar);

} // namespace orx::win
