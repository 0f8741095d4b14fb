#include "pictures/plot_frame.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "pictures/picture_text.h"
#include "pictures/plot_scale.h"

namespace vorn {
namespace {

// Margins around the frame at scale 1: the title above, tick labels and captions left and below.
constexpr double kLeft = 84, kTop = 40, kRight = 20, kBottom = 58;
constexpr double kPictureMargin = 10;  // the title's distance from the picture's edges
constexpr double kLeastFrame = 40;     // the frame's least width and height
constexpr double kLeastShrink = 0.6;   // captions are set no smaller than this share of their size
constexpr double kTitlePixels = 14, kCaptionPixels = 13, kTickPixels = 11;
constexpr double kColumnPoints = 85 / 25.4 * 72;  // a journal's column
constexpr double kLeastPrintedPoints = 6;

// The font at pixels, made smaller to fit text into room, down to kLeastShrink of its size;
// what still does not fit is shortened with "...".
std::pair<QFont, QString> Fitted(const ScatterFrame& frame, double pixels, bool bold, const std::string& text, double room) {
  const QString shown = PictureText(text);
  QFont font = frame.Font(pixels, bold);
  const double width = QFontMetricsF(font).horizontalAdvance(shown);
  if (width <= room || width <= 0) return {font, shown};
  const int least = std::max(1, static_cast<int>(std::ceil(font.pixelSize() * kLeastShrink)));
  int size = std::max(least, static_cast<int>(std::floor(font.pixelSize() * room / width)));
  font.setPixelSize(size);
  while (size > least && QFontMetricsF(font).horizontalAdvance(shown) > room) font.setPixelSize(--size);
  return {font, QFontMetricsF(font).elidedText(shown, Qt::ElideRight, std::max(0.0, room))};
}

double TextWidth(const ScatterFrame& frame, double pixels, const std::string& text) {
  return QFontMetricsF(frame.Font(pixels)).horizontalAdvance(PictureText(text));
}

}  // namespace

PlotAxis AxisAround(const std::vector<double>& values, double pixels) {
  constexpr double kPixelsPerTick = 70;
  PlotAxis axis;
  if (values.empty()) return axis;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  const double span = *high - *low > 0 ? *high - *low : std::max(std::fabs(*low), 1.0);
  axis.low = *low - span * 0.04, axis.high = *high + span * 0.04;
  const double wanted = (axis.high - axis.low) * kPixelsPerTick / std::max(pixels, 1.0);
  axis.step = RoundStepBelow(wanted);
  if (axis.step < wanted) axis.step *= axis.step * 2 >= wanted ? 2 : 2.5;  // the round number at or above
  return axis;
}

QPointF PlaceOnAxes(const QRectF& plot, const PlotAxis& xAxis, const PlotAxis& yAxis, double x, double y) {
  return {plot.left() + (x - xAxis.low) / (xAxis.high - xAxis.low) * plot.width(),
          plot.bottom() - (y - yAxis.low) / (yAxis.high - yAxis.low) * plot.height()};
}

double FileTextScale(QSizeF size) {
  return std::max(1.0, size.width() / kColumnPoints * kLeastPrintedPoints / kTickPixels);
}

ScatterFrame::ScatterFrame(QSizeF size, double scale, PlotTexts texts, double legendWidth)
    : size_(size), scale_(scale), texts_(std::move(texts)), legendWidth_(legendWidth) {
  const double left = kLeft * scale_, top = kTop * scale_;
  plot_ = QRectF(left, top, std::max(1.0, size.width() - left - (kRight + legendWidth_) * scale_),
                 std::max(1.0, size.height() - top - kBottom * scale_));
}

QSizeF ScatterFrame::SizeAround(QSizeF plot, double scale) {
  return plot + QSizeF(kLeft + kRight, kTop + kBottom) * scale;
}

QFont ScatterFrame::Font(double pixels, bool bold) const {
  return PictureFont(static_cast<int>(std::lround(pixels * scale_)), bold);
}

std::string ScatterFrame::TooSmall() const {
  // The frame, and the captions set no smaller than kLeastShrink, at this size's scale.
  const double least = kLeastFrame * scale_;
  const double width = std::max(least, kLeastShrink * TextWidth(*this, kCaptionPixels, texts_.xCaption)) +
                       (kLeft + kRight + legendWidth_) * scale_;
  const double height = std::max(least, kLeastShrink * TextWidth(*this, kCaptionPixels, texts_.yCaption)) +
                        (kTop + kBottom) * scale_;
  if (size_.width() >= width && size_.height() >= height) return "";
  const auto pixels = [](double v) { return std::to_string(static_cast<long>(std::ceil(v))); };
  return "At " + pixels(size_.width()) + " x " + pixels(size_.height()) +
         " pixels the plot has no room for its frame and axis captions: choose at least " +
         pixels(std::max(width, size_.width())) + " x " + pixels(std::max(height, size_.height())) + ".";
}

void ScatterFrame::Paint(QPainter& painter, const PlotGrid& grid, const std::function<QPointF(double, double)>& place) const {
  const double s = scale_;
  painter.setPen(Qt::black);
  const auto [titleFont, title] = Fitted(*this, kTitlePixels, true, texts_.title, size_.width() - 2 * kPictureMargin * s);
  painter.setFont(titleFont);
  painter.drawText(QPointF(kPictureMargin * s, 24 * s), title);

  painter.setFont(Font(kTickPixels));
  const QFontMetricsF metrics(painter.font());
  const auto gridPen = [&](double v, double step) {
    const bool zero = grid.darkerZero && std::fabs(v) < step / 2;
    return QPen(zero ? QColor(0xb0, 0xb0, 0xb0) : QColor(0xe6, 0xe6, 0xe6), s);
  };
  const QPen tickPen(Qt::black, s);
  for (double v = std::ceil(grid.xLow / grid.xStep) * grid.xStep; v <= grid.xHigh; v += grid.xStep) {
    const double x = place(v, grid.yLow).x();
    painter.setPen(gridPen(v, grid.xStep));
    painter.drawLine(QPointF(x, plot_.top()), QPointF(x, plot_.bottom()));
    painter.setPen(tickPen);
    painter.drawLine(QPointF(x, plot_.bottom()), QPointF(x, plot_.bottom() + 4 * s));
    const QString text = PictureText(StepText(v, grid.xStep));
    painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2, plot_.bottom() + 18 * s), text);
  }
  for (double v = std::ceil(grid.yLow / grid.yStep) * grid.yStep; v <= grid.yHigh; v += grid.yStep) {
    const double y = place(grid.xLow, v).y();
    painter.setPen(gridPen(v, grid.yStep));
    painter.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
    painter.setPen(tickPen);
    painter.drawLine(QPointF(plot_.left() - 4 * s, y), QPointF(plot_.left(), y));
    const QString text = PictureText(StepText(v, grid.yStep));
    painter.drawText(QPointF(plot_.left() - 7 * s - metrics.horizontalAdvance(text), y + 4 * s), text);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(tickPen);
  painter.drawRect(plot_);

  const auto [xFont, x] = Fitted(*this, kCaptionPixels, false, texts_.xCaption, plot_.width());
  painter.setFont(xFont);
  painter.drawText(QPointF(plot_.center().x() - QFontMetricsF(xFont).horizontalAdvance(x) / 2, plot_.bottom() + 44 * s), x);
  const auto [yFont, y] = Fitted(*this, kCaptionPixels, false, texts_.yCaption, plot_.height());
  painter.save();
  painter.setFont(yFont);
  painter.translate(plot_.left() - 62 * s, plot_.center().y());
  painter.rotate(-90);
  painter.drawText(QPointF(-QFontMetricsF(yFont).horizontalAdvance(y) / 2, 0), y);
  painter.restore();
}

void PaintFrameAt(QPainter& painter, const QRectF& area, const PlotTexts& texts, const PlotGrid& grid,
                  const std::function<QPointF(double, double)>& place) {
  const ScatterFrame frame(ScatterFrame::SizeAround(area.size(), 1), 1, PlotTexts{"", texts.xCaption, texts.yCaption});
  const QPointF offset = area.topLeft() - frame.Plot().topLeft();
  painter.save();
  painter.translate(offset);
  frame.Paint(painter, grid, [&](double x, double y) { return place(x, y) - offset; });
  painter.restore();
}

std::optional<std::pair<QPointF, QPointF>> ClipSegment(QPointF a, QPointF b, const QRectF& frame) {
  // Liang-Barsky: the share t of the way from a to b runs over [enter, leave] inside each slab.
  double enter = 0, leave = 1;
  const QPointF d = b - a;
  const double p[] = {-d.x(), d.x(), -d.y(), d.y()};
  const double q[] = {a.x() - frame.left(), frame.right() - a.x(), a.y() - frame.top(), frame.bottom() - a.y()};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return std::nullopt;  // parallel to this side and outside it
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) enter = std::max(enter, t);
    else leave = std::min(leave, t);
  }
  if (enter > leave) return std::nullopt;
  return std::make_pair(a + d * enter, a + d * leave);
}

}  // namespace vorn
