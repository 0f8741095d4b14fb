// The PCoA plot: two axes of the last principal coordinate analysis (1 and 2 at first), points
// coloured and shaped by the groups of a chosen level, a point's label on hover and optionally
// beside every point, one scale on both axes, export as SVG or PNG.
#pragma once

#include <QWidget>
#include <optional>

#include "core/session.h"
#include "pictures/picture_scenes.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace vorn::ui {

class PcoaCanvas;

class PcoaPlotWindow : public QWidget {
 public:
  PcoaPlotWindow(Session& session, QWidget* parent);

  // Takes the workspace's result and groups as they stand now.
  void Refresh();
  const PcoaScene* Scene() const { return scene_ ? &*scene_ : nullptr; }

 private:
  void Redraw();
  void Export();

  Session& session_;
  std::optional<PcoaScene> scene_;
  QSpinBox* xAxis_ = nullptr;
  QSpinBox* yAxis_ = nullptr;
  QComboBox* level_ = nullptr;
  QCheckBox* labels_ = nullptr;
  PcoaCanvas* canvas_ = nullptr;
};

}  // namespace vorn::ui
