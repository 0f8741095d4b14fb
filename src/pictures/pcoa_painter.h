// Draws a scatter plot of two principal coordinates with QPainter: the framed plot area with
// ticks on one scale for both axes, the axis titles with their share of the variance, each point
// in its group's colour and shape, optionally its label beside it, and the legend.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include <string>

#include "pictures/picture_scenes.h"
#include "pictures/plot_frame.h"

namespace vorn {

class PcoaDrawing {
 public:
  // scale: the size of text and marks, 1 on screen (FileTextScale for files).
  PcoaDrawing(const PcoaScene& scene, QSizeF size, double scale = 1);

  void Paint(QPainter& painter) const;
  // Why the size is too small for the plot; "" when it is not.
  std::string TooSmall() const { return frame_.TooSmall(); }
  // The point drawn within radius pixels of position, the nearest; -1 for none.
  int PointAt(QPointF position, double radius) const;

 private:
  QPointF Place(double x, double y) const;

  const PcoaScene& scene_;
  ScatterFrame frame_;
  PlotFrame axes_;
};

// The marker of group (GroupColour and GroupShape) centred at at; scale as the drawing's.
void DrawMarker(QPainter& painter, QPointF at, int group, double scale);

}  // namespace vorn
