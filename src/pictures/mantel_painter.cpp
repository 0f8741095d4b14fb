#include "pictures/mantel_painter.h"

#include <algorithm>
#include <cmath>

#include "pictures/picture_text.h"
#include "pictures/plot_frame.h"
#include "pictures/plot_scale.h"

namespace vorn {
namespace {

constexpr double kDot = 2.2;           // the radius of a pair's dot
constexpr double kPixelsPerTick = 70;  // ticks at least this far apart

}  // namespace

MantelDrawing::Axis MantelDrawing::AxisOf(const std::vector<double>& values, double pixels) {
  Axis axis;
  if (values.empty()) return axis;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  const double span = *high - *low > 0 ? *high - *low : std::max(std::fabs(*low), 1.0);
  axis.low = *low - span * 0.04, axis.high = *high + span * 0.04;
  const double wanted = (axis.high - axis.low) * kPixelsPerTick / std::max(pixels, 1.0);
  axis.step = RoundStepBelow(wanted);
  if (axis.step < wanted) axis.step *= axis.step * 2 >= wanted ? 2 : 2.5;  // the round number at or above
  return axis;
}

MantelDrawing::MantelDrawing(const MantelPairs& pairs, QSizeF size) : pairs_(pairs) {
  const double left = 84, top = 40, right = 20, bottom = 58;
  plot_ = QRectF(left, top, std::max(40.0, size.width() - left - right), std::max(40.0, size.height() - top - bottom));
  x_ = AxisOf(pairs.geographic, plot_.width());
  y_ = AxisOf(pairs.genetic, plot_.height());
}

QPointF MantelDrawing::Place(double x, double y) const {
  return {plot_.left() + (x - x_.low) / (x_.high - x_.low) * plot_.width(),
          plot_.bottom() - (y - y_.low) / (y_.high - y_.low) * plot_.height()};
}

void MantelDrawing::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setPen(Qt::black);
  painter.setFont(PictureFont(14, true));
  painter.drawText(QPointF(plot_.left(), 24), PictureText(pairs_.title));

  const PlotGrid grid{x_.low, x_.high, x_.step, y_.low, y_.high, y_.step, false};
  PaintPlotFrame(painter, plot_, grid, [this](double x, double y) { return Place(x, y); }, pairs_.xCaption,
                 pairs_.yCaption, 62);

  painter.save();
  painter.setClipRect(plot_);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1f, 0x5f, 0x9f, 150));
  for (std::size_t k = 0; k < pairs_.geographic.size(); ++k) {
    painter.drawEllipse(Place(pairs_.geographic[k], pairs_.genetic[k]), kDot, kDot);
  }
  if (!pairs_.geographic.empty()) {
    const auto [low, high] = std::minmax_element(pairs_.geographic.begin(), pairs_.geographic.end());
    painter.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2));
    painter.drawLine(Place(*low, pairs_.intercept + pairs_.slope * *low),
                     Place(*high, pairs_.intercept + pairs_.slope * *high));
  }
  painter.restore();
}

}  // namespace vorn
