// The frame the scatter plots share (the PCoA plot and the Mantel plot): grid lines and ticks at
// the multiples of each axis's step, the frame, and the two axis captions.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <string>

namespace vorn {

struct PlotGrid {
  double xLow = 0, xHigh = 1, xStep = 1;
  double yLow = 0, yHigh = 1, yStep = 1;
  bool darkerZero = false;  // the lines through zero a little darker
};

// place maps plot values to the picture; yCaptionGap is the distance of the vertical caption
// from the frame's left side.
void PaintPlotFrame(QPainter& painter, const QRectF& plot, const PlotGrid& grid,
                    const std::function<QPointF(double, double)>& place, const std::string& xCaption,
                    const std::string& yCaption, double yCaptionGap);

}  // namespace vorn
