// Draws the scatter plot of a Mantel test with QPainter: one dot per pair (geographic distance
// across, genetic distance up, each axis on its own scale), the least-squares line over the range
// of the geographic distances, ticks and captions on both axes, and the test's r and p as title.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include "core/mantel_pairs.h"

namespace vorn {

class MantelDrawing {
 public:
  MantelDrawing(const MantelPairs& pairs, QSizeF size);

  void Paint(QPainter& painter) const;

 private:
  // The values an axis shows, a little wider than the data's, with ticks at multiples of step.
  struct Axis {
    double low = 0, high = 1, step = 0.2;
  };
  static Axis AxisOf(const std::vector<double>& values, double pixels);
  QPointF Place(double x, double y) const;

  const MantelPairs& pairs_;
  QRectF plot_;
  Axis x_, y_;
};

}  // namespace vorn
