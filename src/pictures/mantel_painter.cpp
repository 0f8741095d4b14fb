#include "pictures/mantel_painter.h"

#include <algorithm>
#include <cmath>

#include "pictures/picture_text.h"
#include "pictures/plot_scale.h"

namespace vorn {
namespace {

constexpr double kDot = 2.2;           // the radius of a pair's dot

}  // namespace

MantelDrawing::MantelDrawing(const MantelPairs& pairs, QSizeF size, double scale)
    : pairs_(pairs), frame_(size, scale, {pairs.title, pairs.xCaption, pairs.yCaption}) {
  // Ticks as far apart, in text sizes, at any scale.
  x_ = AxisAround(pairs.geographic, frame_.Plot().width() / scale);
  y_ = AxisAround(pairs.genetic, frame_.Plot().height() / scale);
}

QPointF MantelDrawing::Place(double x, double y) const { return PlaceOnAxes(frame_.Plot(), x_, y_, x, y); }

void MantelDrawing::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const PlotGrid grid{x_.low, x_.high, x_.step, y_.low, y_.high, y_.step, false};
  frame_.Paint(painter, grid, [this](double x, double y) { return Place(x, y); });

  const double s = frame_.Scale();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1f, 0x5f, 0x9f, 150));
  for (std::size_t k = 0; k < pairs_.geographic.size(); ++k) {
    painter.drawEllipse(Place(pairs_.geographic[k], pairs_.genetic[k]), kDot * s, kDot * s);
  }
  if (!pairs_.geographic.empty()) {
    const auto [low, high] = std::minmax_element(pairs_.geographic.begin(), pairs_.geographic.end());
    const auto line = ClipSegment(Place(*low, pairs_.intercept + pairs_.slope * *low),
                                  Place(*high, pairs_.intercept + pairs_.slope * *high), frame_.Plot());
    if (line) {
      painter.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2 * s));
      painter.drawLine(line->first, line->second);
    }
  }
}

}  // namespace vorn
