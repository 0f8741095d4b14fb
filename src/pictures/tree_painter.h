// Draws a laid-out tree with QPainter: the title, the rectangular dendrogram, inner node labels
// at their nodes, tip labels in their group's colour, the legend and (to scale) a scale bar.
// The same drawing serves the viewer window at any zoom and the SVG and PNG files.
#pragma once

#include <QFont>
#include <QPainter>
#include <QSizeF>
#include <string>

#include "pictures/picture_scenes.h"

namespace vorn {

class TreeDrawing {
 public:
  // rowHeight: pixels from one tip to the next; treeWidth: pixels from the root to the right
  // end of the tree, where the tip labels begin.
  TreeDrawing(const TreeScene& scene, double rowHeight, double treeWidth);

  QSizeF Size() const;
  void Paint(QPainter& painter) const;

  // The width beyond the tree itself: margins, tip labels and legend, at this row height.
  static double WidthBesideTree(const TreeScene& scene, double rowHeight);
  // The height beyond the rows: margins, title and scale bar.
  static double HeightBesideRows();

 private:
  double X(double x) const;
  double Y(double y) const;
  void PaintLegend(QPainter& painter, double left) const;

  const TreeScene& scene_;
  double rowHeight_;
  double treeWidth_;
  QFont tipFont_;
  QFont smallFont_;
  double labelWidth_;
};

}  // namespace vorn
