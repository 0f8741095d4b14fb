// Draws the bar plot of a population structure run with QPainter: one stacked bar per individual
// (its q, cluster c in GroupColour(c)), one panel per K shown, population separators and names
// under the bars, and below them the dK and cross-validation curves over K.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include "core/structure_bars.h"

namespace vorn {

class StructureDrawing {
 public:
  // shownK: the one K drawn, or 0 for a panel per K; curves: the dK and cross-validation plots.
  StructureDrawing(const StructureBars& bars, std::size_t shownK, bool curves, QSizeF size);

  void Paint(QPainter& painter) const;

 private:
  void PaintPanel(QPainter& painter, std::size_t panel, const QRectF& area) const;
  void PaintPopulations(QPainter& painter) const;
  void PaintCurve(QPainter& painter, const QRectF& area, const std::vector<double>& values,
                  const std::string& caption) const;

  const StructureBars& bars_;
  std::vector<std::size_t> panels_;  // indices into bars.q
  bool curves_;
  QSizeF size_;
  QRectF barsArea_;  // all panels
};

}  // namespace vorn
