#include "pictures/structure_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <optional>

#include "pictures/picture_text.h"
#include "pictures/plot_frame.h"
#include "pictures/plot_scale.h"

namespace vorn {
namespace {

constexpr double kLeft = 64, kRight = 16, kTop = 34;
constexpr double kNames = 46;       // below the bars: the population names
constexpr double kCurves = 190;     // below the names: the two curves
constexpr double kPanelGap = 6;

}  // namespace

StructureDrawing::StructureDrawing(const StructureBars& bars, std::size_t shownK, bool curves, QSizeF size)
    : bars_(bars), curves_(curves && bars.clusters.size() > 1), size_(size) {
  for (std::size_t j = 0; j < bars.clusters.size(); ++j) {
    if (shownK == 0 || bars.clusters[j] == shownK) panels_.push_back(j);
  }
  const double bottom = kNames + (curves_ ? kCurves : 0);
  barsArea_ = QRectF(kLeft, kTop, std::max(40.0, size.width() - kLeft - kRight),
                      std::max(40.0, size.height() - kTop - bottom));
}

void StructureDrawing::PaintPanel(QPainter& painter, std::size_t panel, const QRectF& area) const {
  const std::size_t k = bars_.clusters[panel];
  const std::vector<double>& q = bars_.q[panel];
  const std::size_t n = bars_.individuals.size();
  const double width = area.width() / double(std::max<std::size_t>(n, 1));
  painter.setPen(Qt::NoPen);
  for (std::size_t i = 0; i < n; ++i) {
    double bottom = area.bottom();
    for (std::size_t c = 0; c < k; ++c) {
      const double height = q[i * k + c] * area.height();
      painter.setBrush(ToQColor(GroupColour(static_cast<int>(c))));
      // A hair wider than the bar, so that neighbours meet without a seam.
      painter.drawRect(QRectF(area.left() + double(i) * width, bottom - height, width + 0.3, height));
      bottom -= height;
    }
  }
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
  painter.setFont(PictureFont(12, k == bars_.reported));
  painter.drawText(QRectF(0, area.top(), kLeft - 8, area.height()), Qt::AlignRight | Qt::AlignVCenter,
                   PictureText("K=" + std::to_string(k)));
}

void StructureDrawing::PaintPopulations(QPainter& painter) const {
  const std::size_t n = bars_.individuals.size();
  const double width = barsArea_.width() / double(std::max<std::size_t>(n, 1));
  painter.setFont(PictureFont(11));
  const QFontMetricsF metrics(painter.font());
  for (std::size_t first = 0; first < n;) {
    std::size_t last = first;
    while (last + 1 < n && bars_.populations[last + 1] == bars_.populations[first]) ++last;
    const double left = barsArea_.left() + double(first) * width, right = barsArea_.left() + double(last + 1) * width;
    if (first > 0) {
      painter.setPen(QPen(Qt::black, 1.5));
      painter.drawLine(QPointF(left, barsArea_.top()), QPointF(left, barsArea_.bottom() + 6));
    }
    const QString name = metrics.elidedText(PictureText(bars_.populations[first]), Qt::ElideRight, right - left - 2);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(left, barsArea_.bottom() + 6, right - left, 20), Qt::AlignHCenter | Qt::AlignTop, name);
    first = last + 1;
  }
}

void StructureDrawing::PaintCurve(QPainter& painter, const QRectF& area, const std::vector<double>& values,
                                  const std::string& caption) const {
  const double kLow = double(bars_.clusters.front()) - 0.5, kHigh = double(bars_.clusters.back()) + 0.5;
  double low = INFINITY, high = -INFINITY;
  for (double v : values) {
    if (std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
  }
  if (!std::isfinite(low)) low = 0, high = 1;
  const double span = high > low ? high - low : std::max(std::fabs(low), 1.0);
  low -= span * 0.08, high += span * 0.08;
  double step = RoundStepBelow((high - low) / 4);
  const auto place = [&](double x, double y) {
    return QPointF(area.left() + (x - kLow) / (kHigh - kLow) * area.width(),
                   area.bottom() - (y - low) / (high - low) * area.height());
  };
  PaintFrameAt(painter, area, PlotTexts{"", "K", caption}, PlotGrid{kLow, kHigh, 1, low, high, step > 0 ? step : 1, false},
               place);
  painter.setPen(QPen(QColor(0x1f, 0x5f, 0x9f), 2));
  painter.setBrush(QColor(0x1f, 0x5f, 0x9f));
  std::optional<QPointF> previous;
  for (std::size_t j = 0; j < values.size(); ++j) {
    if (!std::isfinite(values[j])) {
      previous.reset();
      continue;
    }
    const QPointF point = place(double(bars_.clusters[j]), values[j]);
    if (previous) painter.drawLine(*previous, point);
    painter.drawEllipse(point, 3, 3);
    previous = point;
  }
}

void StructureDrawing::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(QRectF(QPointF(0, 0), size_), Qt::white);
  painter.setPen(Qt::black);
  painter.setFont(PictureFont(14, true));
  const std::string range = panels_.size() == 1 ? "K = " + std::to_string(bars_.clusters[panels_[0]])
                                                : "K = " + std::to_string(bars_.clusters.front()) + " to " +
                                                      std::to_string(bars_.clusters.back());
  painter.drawText(QPointF(kLeft, 22), PictureText("Population structure of " +
                                                   std::to_string(bars_.individuals.size()) + " individuals, " +
                                                   range));
  const double panelHeight =
      (barsArea_.height() - kPanelGap * double(panels_.size() - 1)) / double(std::max<std::size_t>(panels_.size(), 1));
  for (std::size_t p = 0; p < panels_.size(); ++p) {
    PaintPanel(painter, panels_[p],
               QRectF(barsArea_.left(), barsArea_.top() + double(p) * (panelHeight + kPanelGap), barsArea_.width(),
                      panelHeight));
  }
  PaintPopulations(painter);
  if (!curves_) return;
  const double top = barsArea_.bottom() + kNames + 14, height = kCurves - 60;
  const double half = (barsArea_.width() - 70) / 2;
  PaintCurve(painter, QRectF(barsArea_.left(), top, half, height), bars_.deltaK, "dK");
  if (!bars_.validationError.empty()) {
    PaintCurve(painter, QRectF(barsArea_.left() + half + 70, top, half, height), bars_.validationError,
               "CV error");
  }
}

}  // namespace vorn
