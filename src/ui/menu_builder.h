// The menu bar drawn from the program's menu table: captions with their "&" accelerators,
// separators and submenus in table order; each command runs a copy of its table entry, so a
// command may change the table (the group submenu) while it runs.
#pragma once

#include <QKeySequence>
#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "commands/shell/menu_table.h"

namespace vorn::ui {

using MenuRunner = std::function<void(const MenuItem&)>;

// The shortcut of a command as desktop programs have it (Ctrl+O Load, Ctrl+Z Undo, F1 Help, ...);
// none for the others. Shortcuts hold Ctrl or a function key, so no Alt accelerator is taken.
QKeySequence ShortcutOf(std::string_view handler);

// Adds items to a menu bar or a menu (target), each command with its shortcut and its handler's
// name as the action's data.
void AddMenuItems(QWidget& target, const std::vector<MenuItem>& items, const MenuRunner& run);

// The first action, at any depth of target's menus, that runs handler; nullptr when none does.
QAction* ActionOf(const QWidget& target, std::string_view handler);

}  // namespace vorn::ui
