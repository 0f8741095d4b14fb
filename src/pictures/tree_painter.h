// Draws a laid-out tree with QPainter: the title, the rectangular dendrogram, inner node labels
// at their nodes (a label that would cover another is left out), a marker and the label of each
// tip in its group's colour (the markers stay when rows are too low for labels), the legend and
// (to scale) a scale bar.
// The same drawing serves the viewer window at any zoom and the SVG and PNG files.
#pragma once

#include <QFont>
#include <QPainter>
#include <QSizeF>
#include <string>
#include <utility>
#include <vector>

#include "pictures/picture_scenes.h"

namespace vorn {

class TreeDrawing {
 public:
  // rowHeight: pixels from one tip to the next; treeWidth: pixels from the root to the right
  // end of the tree, where the tip labels begin.
  TreeDrawing(const TreeScene& scene, double rowHeight, double treeWidth);

  QSizeF Size() const;
  void Paint(QPainter& painter) const;

  // Where the tip node's label begins, in the drawing's pixels.
  QPointF TipPoint(int tip) const;
  // The inner node labels left out because they would have covered another; 0 when none are drawn.
  std::size_t LabelsLeftOut() const { return labelsLeftOut_; }

  // The width beyond the tree itself: margins, tip labels and legend, at this row height.
  static double WidthBesideTree(const TreeScene& scene, double rowHeight);
  // The height beyond the rows: margins, title and scale bar.
  static double HeightBesideRows();

 private:
  double X(double x) const;
  double Y(double y) const;
  // The right end of a tip's branch: the tip, or its parent when a negative length (a
  // neighbour-joining tree) puts the tip to the left of it. The tip's marker and label start
  // there, clear of the branch.
  double TipEnd(int tip) const;
  void PaintLegend(QPainter& painter, double left) const;
  // The inner node labels that cover no other, with their baselines; counts those left out.
  void PlaceInnerLabels();

  const TreeScene& scene_;
  double rowHeight_;
  double treeWidth_;
  QFont tipFont_;
  QFont smallFont_;
  double labelWidth_;
  std::vector<std::pair<std::size_t, QPointF>> innerLabels_;
  std::size_t labelsLeftOut_ = 0;
};

}  // namespace vorn
