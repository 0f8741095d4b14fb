// GroupManagerWindow: the Group Manager on the desktop, made by hand. Its widgets show the
// dialog's controls; each user action writes what the widgets hold back into the controls, runs
// the control's handler and shows the controls again, so the window keeps no state of its own.
// Widgets carry object names for tests: "groups", "members", "picked", "name", "loci", ...
#pragma once

#include <QDialog>

#include "core/group_manager_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vorn::ui {

class GroupManagerWindow : public QDialog {
 public:
  explicit GroupManagerWindow(GroupManagerView& dialog, QWidget* parent = nullptr);

 private:
  // The widgets' selections, ticks and typed names into the controls.
  void Collect();
  // The controls into the widgets, without running any handler.
  void ShowControls();
  // Collect, run the handler, show the result.
  void Run(void (GroupManagerView::*handler)());

  GroupManagerView& dialog_;
  bool showing_ = false;  // widgets are being filled: their signals are not the user's

  QLabel* dataSetName_ = nullptr;
  QLabel* dataSetCount_ = nullptr;
  QComboBox* groups_ = nullptr;
  QListWidget* members_ = nullptr;
  QCheckBox* fullPath_ = nullptr;
  QListWidget* picked_ = nullptr;
  QLabel* pickedCount_ = nullptr;
  QLineEdit* groupName_ = nullptr;

  QLabel* locusSetName_ = nullptr;
  QComboBox* locusSets_ = nullptr;
  QListWidget* loci_ = nullptr;
  QLabel* locusCount_ = nullptr;
  QLineEdit* locusSetNameField_ = nullptr;
};

}  // namespace vorn::ui
