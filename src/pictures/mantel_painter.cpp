#include "pictures/mantel_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "pictures/picture_text.h"
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

  painter.setFont(PictureFont(11));
  const QFontMetricsF metrics(painter.font());
  const QColor grid(0xe6, 0xe6, 0xe6);
  for (double v = std::ceil(x_.low / x_.step) * x_.step; v <= x_.high; v += x_.step) {
    const double x = Place(v, y_.low).x();
    painter.setPen(QPen(grid, 1));
    painter.drawLine(QPointF(x, plot_.top()), QPointF(x, plot_.bottom()));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(x, plot_.bottom()), QPointF(x, plot_.bottom() + 4));
    const QString text = PictureText(StepText(v, x_.step));
    painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2, plot_.bottom() + 18), text);
  }
  for (double v = std::ceil(y_.low / y_.step) * y_.step; v <= y_.high; v += y_.step) {
    const double y = Place(x_.low, v).y();
    painter.setPen(QPen(grid, 1));
    painter.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(plot_.left() - 4, y), QPointF(plot_.left(), y));
    const QString text = PictureText(StepText(v, y_.step));
    painter.drawText(QPointF(plot_.left() - 7 - metrics.horizontalAdvance(text), y + 4), text);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(plot_);

  painter.setFont(PictureFont(13));
  const QFontMetricsF titleMetrics(painter.font());
  const QString xCaption = PictureText(pairs_.xCaption);
  painter.drawText(QPointF(plot_.center().x() - titleMetrics.horizontalAdvance(xCaption) / 2, plot_.bottom() + 44),
                   xCaption);
  painter.save();
  painter.translate(plot_.left() - 62, plot_.center().y());
  painter.rotate(-90);
  const QString yCaption = PictureText(pairs_.yCaption);
  painter.drawText(QPointF(-titleMetrics.horizontalAdvance(yCaption) / 2, 0), yCaption);
  painter.restore();

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
