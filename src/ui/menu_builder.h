// The menu bar drawn from the program's menu table: captions with their "&" accelerators,
// separators and submenus in table order; each command runs a copy of its table entry, so a
// command may change the table (the group submenu) while it runs.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "commands/menu_table.h"

namespace vorn::ui {

using MenuRunner = std::function<void(const MenuItem&)>;

// Adds items to a menu bar or a menu (target).
void AddMenuItems(QWidget& target, const std::vector<MenuItem>& items, const MenuRunner& run);

}  // namespace vorn::ui
