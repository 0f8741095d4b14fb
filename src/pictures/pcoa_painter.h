// Draws a scatter plot of two principal coordinates with QPainter: the framed plot area with
// ticks on one scale for both axes, the axis titles with their share of the variance, each point
// in its group's colour and shape, optionally its label beside it, and the legend.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include "pictures/picture_scenes.h"

namespace vorn {

class PcoaDrawing {
 public:
  PcoaDrawing(const PcoaScene& scene, QSizeF size);

  void Paint(QPainter& painter) const;
  // The point drawn within radius pixels of position, the nearest; -1 for none.
  int PointAt(QPointF position, double radius) const;

 private:
  QPointF Place(double x, double y) const;

  const PcoaScene& scene_;
  QSizeF size_;
  QRectF plot_;
  PlotFrame frame_;
};

}  // namespace vorn
