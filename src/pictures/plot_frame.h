// The frame the scatter plots share (the PCoA plot and the Mantel plot): the title above it, grid
// lines and ticks at the multiples of each axis's step, the frame, and the two axis captions.
// Everything stays inside the picture: a title or caption too long for its place is set smaller
// (down to three fifths of its size, then shortened with "..."), and a size too small for the frame
// and its captions is refused (TooSmall).
#pragma once

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorn {

// How much larger than on screen the text (and with it the margins, markers and lines) of a
// picture saved as a file is drawn: it grows with the width, so that the picture printed a
// journal's column wide (85 mm) still shows its smallest text, the tick labels, at 6 pt.
double FileTextScale(QSizeF size);

struct PlotGrid {
  double xLow = 0, xHigh = 1, xStep = 1;
  double yLow = 0, yHigh = 1, yStep = 1;
  bool darkerZero = false;  // the lines through zero a little darker
};

// The values an axis shows, a little wider than the data's, with ticks at multiples of step.
struct PlotAxis {
  double low = 0, high = 1, step = 0.2;
};

// The axis around values (the whole span, 4 % more on either side) for an axis pixels long
// (at scale 1), its ticks a round step apart and at least 70 pixels.
PlotAxis AxisAround(const std::vector<double>& values, double pixels);

// Where the values (x, y) lie in the frame plot spanned by the two axes.
QPointF PlaceOnAxes(const QRectF& plot, const PlotAxis& xAxis, const PlotAxis& yAxis, double x, double y);

struct PlotTexts {
  std::string title;
  std::string xCaption;
  std::string yCaption;
};

class ScatterFrame {
 public:
  // scale: 1 on screen, FileTextScale for files; legendWidth: room beside the frame on the right,
  // at scale 1.
  ScatterFrame(QSizeF size, double scale, PlotTexts texts, double legendWidth = 0);

  // The picture size whose frame is plot large (a frame drawn inside a larger picture).
  static QSizeF SizeAround(QSizeF plot, double scale);

  const QRectF& Plot() const { return plot_; }
  double Scale() const { return scale_; }
  // A font of the plot's text, pixels at scale 1.
  QFont Font(double pixels, bool bold = false) const;

  // Why size cannot hold the frame and its captions, with the least size that can; "" when it can.
  std::string TooSmall() const;

  // place maps plot values to the picture.
  void Paint(QPainter& painter, const PlotGrid& grid, const std::function<QPointF(double, double)>& place) const;

 private:
  QSizeF size_;
  double scale_;
  PlotTexts texts_;
  double legendWidth_;
  QRectF plot_;
};

// The frame drawn with its plot at area, inside a larger picture: at scale 1, the title of texts
// left out; place maps plot values into the picture.
void PaintFrameAt(QPainter& painter, const QRectF& area, const PlotTexts& texts, const PlotGrid& grid,
                  const std::function<QPointF(double, double)>& place);

// The part of the segment from a to b that lies within frame; nothing when none does. Drawings
// clip their lines here rather than leave it to the painter, which an SVG file does not obey.
std::optional<std::pair<QPointF, QPointF>> ClipSegment(QPointF a, QPointF b, const QRectF& frame);

}  // namespace vorn
