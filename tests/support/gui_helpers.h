// Helpers for the desktop window's tests (Qt Test): finding a menu action by its captions and
// pressing a dialog's standard button as the mouse does.
#pragma once

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QtTest>

namespace vorn::testing {

// The action at a path of captions ("&File", "&Load") in the menu bar.
inline QAction* ActionAt(QMenuBar* bar, const QStringList& path) {
  QList<QAction*> actions = bar->actions();
  QAction* found = nullptr;
  for (const QString& caption : path) {
    found = nullptr;
    for (QAction* action : actions) {
      if (action->text() == caption) found = action;
    }
    if (!found) return nullptr;
    if (found->menu()) actions = found->menu()->actions();
  }
  return found;
}

// Shows a window as exec() would and presses one of its buttons; the window's result.
inline int Press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
  dialog.show();
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  QTest::mouseClick(buttons->button(which), Qt::LeftButton);
  return dialog.result();
}

}  // namespace vorn::testing
