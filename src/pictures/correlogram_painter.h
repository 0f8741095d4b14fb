// Draws the correlogram of a spatial autocorrelation with QPainter: r against the mean distance
// of each class, joined by a line; the permutation null band (percentiles 2.5 to 97.5 of the
// permuted r) shaded behind it; the bootstrap interval of each class as a bar with caps; classes
// with p <= 0.05 as filled dots, the others open; a legend beside the frame.
#pragma once

#include <QPainter>
#include <QSizeF>
#include <string>

#include "core/correlogram.h"
#include "pictures/plot_frame.h"

namespace vorn {

class CorrelogramDrawing {
 public:
  // scale: the size of text and marks, 1 on screen (FileTextScale for files).
  CorrelogramDrawing(const Correlogram& correlogram, QSizeF size, double scale = 1);

  void Paint(QPainter& painter) const;
  // Why the size is too small for the plot; "" when it is not.
  std::string TooSmall() const { return frame_.TooSmall(); }

 private:
  QPointF Place(double x, double y) const;
  void PaintLegend(QPainter& painter) const;

  const Correlogram& correlogram_;
  ScatterFrame frame_;
  PlotAxis x_, y_;
};

}  // namespace vorn
