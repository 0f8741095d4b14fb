// The Structure tab: the bar plot of the last population structure run, every K in a panel with
// the dK and cross-validation curves, drawn to the tab's size as View > Save Structure Plot
// draws it into a file.
#pragma once

#include <QWidget>

#include "core/session.h"

namespace vorn::ui {

class StructureTab : public QWidget {
 public:
  explicit StructureTab(Session& session, QWidget* parent = nullptr);

  // Draws the workspace's run as it stands.
  void Refresh() { update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Session& session_;
};

}  // namespace vorn::ui
