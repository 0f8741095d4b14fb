#include "pictures/correlogram_painter.h"

#include <QPainterPath>
#include <QPolygonF>

#include "pictures/picture_text.h"

namespace vorn {
namespace {

constexpr double kDot = 4;          // the radius of a class's dot
constexpr double kCap = 4;          // half the width of a bootstrap bar's caps
constexpr double kLegendWidth = 112;  // room for "95 % bootstrap" beside its mark
constexpr double kLegendRow = 18;
const QColor kBand(0xd8, 0xd8, 0xd8);
const QColor kLine(0x1f, 0x5f, 0x9f);
const QColor kBar(0x55, 0x55, 0x55);

}  // namespace

CorrelogramDrawing::CorrelogramDrawing(const Correlogram& correlogram, QSizeF size, double scale)
    : correlogram_(correlogram), frame_(size, scale, {correlogram.title, correlogram.xCaption, "r"}, kLegendWidth) {
  std::vector<double> xs{0}, ys{0};
  for (const auto& c : correlogram.classes) {
    xs.push_back(c.meanDistance);
    for (const auto& value : {c.r, c.nullLow, c.nullHigh, c.bootLow, c.bootHigh}) {
      if (value) ys.push_back(*value);
    }
  }
  x_ = AxisAround(xs, frame_.Plot().width() / scale);
  y_ = AxisAround(ys, frame_.Plot().height() / scale);
}

QPointF CorrelogramDrawing::Place(double x, double y) const { return PlaceOnAxes(frame_.Plot(), x_, y_, x, y); }

void CorrelogramDrawing::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const PlotGrid grid{x_.low, x_.high, x_.step, y_.low, y_.high, y_.step, true};
  frame_.Paint(painter, grid, [this](double x, double y) { return Place(x, y); });
  const double s = frame_.Scale();
  const auto& classes = correlogram_.classes;

  // The null band over each run of classes that have one.
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBand);
  for (std::size_t first = 0; first < classes.size();) {
    std::size_t end = first;
    while (end < classes.size() && classes[end].nullLow) ++end;
    if (end > first) {
      QPolygonF band;
      for (std::size_t h = first; h < end; ++h) band << Place(classes[h].meanDistance, *classes[h].nullHigh);
      for (std::size_t h = end; h-- > first;) band << Place(classes[h].meanDistance, *classes[h].nullLow);
      if (end - first == 1) {
        const QPointF high = band[0], low = band[1];
        band = QPolygonF({high - QPointF(kCap * s, 0), high + QPointF(kCap * s, 0), low + QPointF(kCap * s, 0),
                          low - QPointF(kCap * s, 0)});
      }
      painter.drawPolygon(band);
    }
    first = end + 1;
  }

  painter.setPen(QPen(kBar, 1.2 * s));
  for (const auto& c : classes) {
    if (!c.bootLow) continue;
    const QPointF low = Place(c.meanDistance, *c.bootLow), high = Place(c.meanDistance, *c.bootHigh);
    painter.drawLine(low, high);
    painter.drawLine(low - QPointF(kCap * s, 0), low + QPointF(kCap * s, 0));
    painter.drawLine(high - QPointF(kCap * s, 0), high + QPointF(kCap * s, 0));
  }

  painter.setPen(QPen(kLine, 1.8 * s));
  for (std::size_t h = 1; h < classes.size(); ++h) {
    if (classes[h - 1].r && classes[h].r) {
      painter.drawLine(Place(classes[h - 1].meanDistance, *classes[h - 1].r), Place(classes[h].meanDistance, *classes[h].r));
    }
  }
  for (const auto& c : classes) {
    if (!c.r) continue;
    painter.setBrush(c.significant ? kLine : QColor(Qt::white));
    painter.drawEllipse(Place(c.meanDistance, *c.r), kDot * s, kDot * s);
  }
  PaintLegend(painter);
}

void CorrelogramDrawing::PaintLegend(QPainter& painter) const {
  const double s = frame_.Scale();
  const QRectF& plot = frame_.Plot();
  const double left = plot.right() + 10 * s, mark = left + 6 * s;
  double y = plot.top() + 12 * s;
  painter.setFont(frame_.Font(11));
  const auto text = [&](const char* caption) {
    painter.setPen(Qt::black);
    painter.drawText(QPointF(left + 16 * s, y + 4 * s), caption);
    y += kLegendRow * s;
  };
  painter.setPen(QPen(kLine, 1.8 * s));
  painter.setBrush(kLine);
  painter.drawEllipse(QPointF(mark, y), kDot * s, kDot * s);
  text("r, p <= 0.05");
  painter.setPen(QPen(kLine, 1.8 * s));
  painter.setBrush(Qt::white);
  painter.drawEllipse(QPointF(mark, y), kDot * s, kDot * s);
  text("r, p > 0.05");
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBand);
  painter.drawRect(QRectF(mark - 5 * s, y - 6 * s, 10 * s, 12 * s));
  text("95 % null band");
  painter.setPen(QPen(kBar, 1.2 * s));
  painter.drawLine(QPointF(mark, y - 6 * s), QPointF(mark, y + 6 * s));
  text("95 % bootstrap");
}

}  // namespace vorn
