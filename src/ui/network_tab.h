// The Network tab: the splits graph of the last NeighborNet, drawn as View > Save Network
// Picture draws it, fitted to the tab or zoomed (scrolling), with a tip found by name; a line
// below says how many labels were left out because they would cover each other at this size.
#pragma once

#include <QSizeF>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "core/session.h"
#include "pictures/network_layout.h"

class QLabel;
class QScrollArea;
class QString;

namespace vorn {
struct KeptNetwork;
}

namespace vorn::ui {

class NetworkCanvas;

class NetworkTab : public QWidget {
 public:
  // network gives the last NeighborNet, or nullptr before the first.
  NetworkTab(Session& session, std::function<const KeptNetwork*()> network, QWidget* parent = nullptr);

  // Takes the last network and the workspace's groups as they stand; a new network is fitted.
  void Refresh();
  // Rings the first tip whose name holds text (any case) and scrolls to it; false when none does.
  bool FindTip(const QString& text);
  // Enlarges (factor > 1) or shrinks the drawing; Fit draws it to the tab's size, and again
  // whenever the tab's size changes, until the next zoom.
  void Zoom(double factor);
  void Fit();

  const NetworkScene* Scene() const { return scene_ ? &*scene_ : nullptr; }
  QSizeF DrawingSize() const { return size_; }
  QString Note() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Redraw();

  Session& session_;
  std::function<const KeptNetwork*()> network_;
  // What tells the network shown from a later one: its order and its residual.
  std::vector<std::size_t> shownOrder_;
  Real shownResidual_ = -1;
  std::optional<NetworkScene> scene_;
  static constexpr double kSmallestSide = 200, kLargestSide = 20000;
  QSizeF size_{600, 600};
  bool fitted_ = true;
  QScrollArea* scroll_ = nullptr;
  NetworkCanvas* canvas_ = nullptr;
  QLabel* note_ = nullptr;
};

}  // namespace vorn::ui
