// The Correlogram tab: the correlogram of the last spatial autocorrelation, drawn to the tab's
// size as View > Save Correlogram draws it into a file; after a load, a filter or a selection it
// says that the analysis belongs to other data.
#pragma once

#include <QWidget>

#include "core/session.h"

namespace vorn::ui {

class CorrelogramTab : public QWidget {
 public:
  explicit CorrelogramTab(Session& session, QWidget* parent = nullptr);

  // Draws the workspace's correlogram as it stands.
  void Refresh() { update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Session& session_;
};

}  // namespace vorn::ui
