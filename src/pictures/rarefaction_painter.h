// Draws the rarefied band richness curves with QPainter: two panels side by side, Br(g) and
// private Br(g) against g, each a frame of its own (plot_frame), one line with markers per
// population in the colour and shape the other pictures give the j-th group, and a legend of the
// populations beneath both panels, as many names to a row as fit.
#pragma once

#include <QPainter>
#include <QSizeF>
#include <string>
#include <vector>

#include "core/rarefaction_curves.h"
#include "pictures/plot_frame.h"

namespace vorn {

class RarefactionDrawing {
 public:
  // scale: the size of text and marks, 1 on screen (FileTextScale for files).
  RarefactionDrawing(const RarefactionCurves& curves, QSizeF size, double scale = 1);

  void Paint(QPainter& painter) const;
  // Why the size is too small for the two panels and the legend; "" when it is not.
  std::string TooSmall() const;

 private:
  void PaintPanel(QPainter& painter, const ScatterFrame& frame, double left, const PlotAxis& y,
                  const std::vector<std::vector<double>>& curve) const;
  void PaintLegend(QPainter& painter) const;

  const RarefactionCurves& curves_;
  QSizeF size_;
  double scale_;
  double columnWidth_ = 0;   // of a legend entry
  std::size_t columns_ = 1;  // legend entries in a row
  double legendHeight_ = 0;
  ScatterFrame richnessFrame_, privateFrame_;
  PlotAxis x_, richnessY_, privateY_;
};

}  // namespace vorn
