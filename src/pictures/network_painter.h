// Draws a laid-out splits network with QPainter: the title, the outline with its parallel edges,
// the tips in their group's colour with their labels outward along their angle (a label that
// would cover another is left out and counted), the support of the splits from the threshold on,
// the tip found by name ringed, the legend and a scale bar. The same drawing serves the window at
// any zoom and the files.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <string>
#include <vector>

#include "pictures/network_layout.h"

namespace vorn {

class NetworkDrawing {
 public:
  NetworkDrawing(const NetworkScene& scene, QSizeF size);

  void Paint(QPainter& painter) const;
  // Where individual i's tip is drawn.
  QPointF TipPoint(std::size_t individual) const;
  std::size_t LabelsLeftOut() const { return labelsLeftOut_; }

 private:
  QPointF Place(const NetworkPoint& p) const;

  const NetworkScene& scene_;
  QSizeF size_;
  QFont font_;
  double scale_ = 1, left_ = 0, top_ = 0, minX_ = 0, minY_ = 0;
  std::vector<QRectF> labelBoxes_;  // per individual; empty when left out
  std::size_t labelsLeftOut_ = 0;
};

}  // namespace vorn
