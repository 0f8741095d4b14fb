#include "pictures/plot_frame.h"

#include <QFontMetricsF>
#include <cmath>

#include "pictures/picture_text.h"
#include "pictures/plot_scale.h"

namespace vorn {

void PaintPlotFrame(QPainter& painter, const QRectF& plot, const PlotGrid& grid,
                    const std::function<QPointF(double, double)>& place, const std::string& xCaption,
                    const std::string& yCaption, double yCaptionGap) {
  painter.setFont(PictureFont(11));
  const QFontMetricsF metrics(painter.font());
  const auto gridPen = [&](double v, double step) {
    const bool zero = grid.darkerZero && std::fabs(v) < step / 2;
    return QPen(zero ? QColor(0xb0, 0xb0, 0xb0) : QColor(0xe6, 0xe6, 0xe6), 1);
  };
  for (double v = std::ceil(grid.xLow / grid.xStep) * grid.xStep; v <= grid.xHigh; v += grid.xStep) {
    const double x = place(v, grid.yLow).x();
    painter.setPen(gridPen(v, grid.xStep));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
    const QString text = PictureText(StepText(v, grid.xStep));
    painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2, plot.bottom() + 18), text);
  }
  for (double v = std::ceil(grid.yLow / grid.yStep) * grid.yStep; v <= grid.yHigh; v += grid.yStep) {
    const double y = place(grid.xLow, v).y();
    painter.setPen(gridPen(v, grid.yStep));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(plot.left() - 4, y), QPointF(plot.left(), y));
    const QString text = PictureText(StepText(v, grid.yStep));
    painter.drawText(QPointF(plot.left() - 7 - metrics.horizontalAdvance(text), y + 4), text);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(plot);

  painter.setFont(PictureFont(13));
  const QFontMetricsF captionMetrics(painter.font());
  const QString x = PictureText(xCaption);
  painter.drawText(QPointF(plot.center().x() - captionMetrics.horizontalAdvance(x) / 2, plot.bottom() + 44), x);
  painter.save();
  painter.translate(plot.left() - yCaptionGap, plot.center().y());
  painter.rotate(-90);
  const QString y = PictureText(yCaption);
  painter.drawText(QPointF(-captionMetrics.horizontalAdvance(y) / 2, 0), y);
  painter.restore();
}

}  // namespace vorn
