#include "ui/menu_builder.h"

#include <QAction>
#include <QMenu>

#include "ui/qt_text.h"

namespace vorn::ui {

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
      QObject::connect(action, &QAction::triggered, &target, [run, item] { run(item); });
      target.addAction(action);
    }
  }
}

}  // namespace vorn::ui
