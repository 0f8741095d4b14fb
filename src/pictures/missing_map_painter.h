// Draws the missing data map with QPainter: the title, the individuals x loci grid of missing
// shares (white scored, dark red missing, blended where a pixel covers both) with the groups'
// colour strip on its left and their legend under it, and below them the histograms of the
// missing share per individual and per locus.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <string>

#include "core/data_matrix.h"
#include "pictures/missing_map.h"

namespace vorn {

// The colour of a pixel whose cells are share missing.
QRgb MissingShareColour(float share);

class MissingMapDrawing {
 public:
  // Aggregates the cells of data into the pixels of the grid's area at this size (the scale of
  // file text: 1 on screen).
  MissingMapDrawing(const MissingMap& map, const DataMatrix& data, QSizeF size);

  void Paint(QPainter& painter) const;
  // The grid's place in the picture.
  const QRectF& Grid() const { return grid_; }

 private:
  void PaintLegend(QPainter& painter) const;
  void PaintHistogram(QPainter& painter, const QRectF& area, const std::vector<double>& shares,
                      const std::string& caption) const;

  const MissingMap& map_;
  QSizeF size_;
  std::string title_;
  QRectF grid_;
  QImage pixels_;  // one pixel per aggregated pixel, stretched over grid_
  QImage strip_;   // one pixel per row of pixels_: the row's group colour
};

}  // namespace vorn
