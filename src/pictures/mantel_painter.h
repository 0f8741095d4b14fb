// Draws the scatter plot of a Mantel test with QPainter: one dot per pair (geographic distance
// across, genetic distance up, each axis on its own scale), the least-squares line over the range
// of the geographic distances, ticks and captions on both axes, and the test's r and p as title.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <string>

#include "core/mantel_pairs.h"
#include "pictures/plot_frame.h"

namespace vorn {

class MantelDrawing {
 public:
  // scale: the size of text and marks, 1 on screen (FileTextScale for files).
  MantelDrawing(const MantelPairs& pairs, QSizeF size, double scale = 1);

  void Paint(QPainter& painter) const;
  // Why the size is too small for the plot; "" when it is not.
  std::string TooSmall() const { return frame_.TooSmall(); }

 private:
  QPointF Place(double x, double y) const;

  const MantelPairs& pairs_;
  ScatterFrame frame_;
  PlotAxis x_, y_;
};

}  // namespace vorn
