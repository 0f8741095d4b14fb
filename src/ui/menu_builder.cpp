#include "ui/menu_builder.h"

#include <QAction>
#include <QMenu>

#include "ui/qt_text.h"

namespace vorn::ui {

QKeySequence ShortcutOf(std::string_view handler) {
  static const std::pair<std::string_view, QKeySequence> kShortcuts[] = {
      {"Load1Click", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"ImportCsvTable1Click", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
      {"Save1Click", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {"Exit1Click", QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {"Help1Click", QKeySequence(Qt::Key_F1)},
      {"Undo1Click", QKeySequence(Qt::CTRL | Qt::Key_Z)},
      {"Redo1Click", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
      {"NewMatrixFromClipboard1Click", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
  };
  for (const auto& [name, keys] : kShortcuts) {
    if (name == handler) return keys;
  }
  return {};
}

void AddMenuItems(QWidget& target, const std::vector<MenuItem>& items, const MenuRunner& run) {
  for (const MenuItem& item : items) {
    if (item.IsSeparator()) {
      auto* separator = new QAction(&target);
      separator->setSeparator(true);
      target.addAction(separator);
    } else if (item.IsSubmenu()) {
      auto* submenu = new QMenu(ToQt(item.caption), &target);
      AddMenuItems(*submenu, item.items, run);
      target.addAction(submenu->menuAction());
    } else {
      auto* action = new QAction(ToQt(item.caption), &target);
      action->setShortcut(ShortcutOf(item.handler));
      action->setData(ToQt(item.handler));
      QObject::connect(action, &QAction::triggered, &target, [run, item] { run(item); });
      target.addAction(action);
    }
  }
}

QAction* ActionOf(const QWidget& target, std::string_view handler) {
  for (QAction* action : target.actions()) {
    if (action->menu()) {
      if (QAction* found = ActionOf(*action->menu(), handler)) return found;
    } else if (!action->isSeparator() && action->data().toString() == ToQt(handler)) {
      return action;
    }
  }
  return nullptr;
}

}  // namespace vorn::ui
